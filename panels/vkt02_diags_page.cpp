#include "panels/vkt02_diags_page.h"

#include "panels/live_values.h"
#include "panels/value_rows.h"
#include "panels/vkt02_diagnostics.h"
#include "sensor/sensor_device.h"
#include "util_app/name_value_list.h"
#include "util_app/panel_context.h"

#include <QCheckBox>
#include <QTableWidget>
#include <QVBoxLayout>

namespace vk {

CVKT02DiagsDlg::CVKT02DiagsDlg(PanelContext& context, QWidget* parent)
    : QWidget(parent), context_(context), list_(new QTableWidget(0, 2, this)),
      updateBox_(new QCheckBox(QStringLiteral("Update diagnostics"), this)) {
    setObjectName(QStringLiteral("diagnosticPage"));
    list_->setObjectName(QStringLiteral("diagnosticList"));
    updateBox_->setObjectName(QStringLiteral("updateDiagnostics"));

    SetUpNameValueList(list_);
    connect(updateBox_, &QCheckBox::clicked, this,
            [this](bool ticked) { updateEnabled_ = ticked; });

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(updateBox_);
    layout->addWidget(list_, 1);
    BuildRows();
}

void CVKT02DiagsDlg::BuildRows() {
    InsertNamedRows(list_, kVkt02DiagnosticRowNames);
}

void CVKT02DiagsDlg::Update() {
    if (!context_.IsConnected()) {
        list_->setRowCount(0);
        return;
    }
    if (!updateEnabled_)
        return;
    if (list_->rowCount() == 0)
        BuildRows();

    SensorDevice& sensor = context_.Sensor();
    if (!PollVkt02Diagnostics(sensor))
        return;
    const ReplyStore& replies = sensor.Replies();
    WriteRowValues(list_,
                   Vkt02DiagnosticValues(replies.vkt02State, replies.laserPower, replies.peak,
                                         context_.FormatRange(replies.vkt02State.range)));
}

} // namespace vk
