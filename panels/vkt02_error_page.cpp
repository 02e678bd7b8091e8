#include "panels/vkt02_error_page.h"

#include "panels/value_rows.h"
#include "panels/vkt02_error_counters.h"
#include "sensor/sensor_device.h"
#include "util_app/name_value_list.h"
#include "util_app/panel_context.h"

#include <QGroupBox>
#include <QHBoxLayout>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

namespace vk {

CVKT02ErrorDlg::CVKT02ErrorDlg(PanelContext& context, QWidget* parent)
    : QWidget(parent), context_(context), list_(new QTableWidget(0, 2, this)),
      getErrors_(new QPushButton(QStringLiteral("Get Errors"), this)) {
    setObjectName(QStringLiteral("sensorErrorsPage"));
    list_->setObjectName(QStringLiteral("errorList"));
    getErrors_->setObjectName(QStringLiteral("getErrors"));
    SetUpNameValueList(list_);
    list_->setColumnWidth(0, 150);
    InsertNamedRows(list_, kVkt02ErrorRowNames);
    connect(getErrors_, &QPushButton::clicked, this, &CVKT02ErrorDlg::OnGetErrors);

    auto* box = new QGroupBox(this);
    auto* boxLayout = new QHBoxLayout(box);
    boxLayout->addWidget(getErrors_);
    boxLayout->addStretch(1);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(list_, 1);
    layout->addWidget(box);
}

void CVKT02ErrorDlg::OnGetErrors() {
    if (!RowsReadyToFill(list_, context_.IsConnected(), kVkt02ErrorRowNames))
        return;
    ExchangeGuard::Hold hold(context_.Exchanges());
    SensorDevice& sensor = context_.Sensor();
    if (!sensor.GetErrorState())
        return;
    WriteRowValues(list_, Vkt02ErrorValues(sensor.Replies().errorState));
}

} // namespace vk
