#include "util_app/port_list_box.h"

#include "util_app/connect_fields.h"

#include <QComboBox>

namespace vk {

QComboBox* NewPortListBox(const std::vector<ComDevice>& devices, QWidget* parent) {
    auto* box = new QComboBox(parent);
    box->setObjectName(QStringLiteral("portName"));
    box->setEditable(true);
    box->setInsertPolicy(QComboBox::NoInsert);
    for (const std::string& entry : PortListEntries(devices))
        box->addItem(QString::fromStdString(entry));
    return box;
}

} // namespace vk
