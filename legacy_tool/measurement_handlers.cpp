// The buttons of the "Sensor Settings" page that write measurement parameters: offsets,
// scan variables, analog output and averaging period.

#include "legacy_tool/sensor_settings_page.h"
#include "legacy_tool/settings_sequences.h"

#include <QLineEdit>

namespace vk::legacy {

namespace {

std::string Text(const QLineEdit* edit) {
    return edit->text().toStdString();
}

} // namespace

void SensorSettingsPage::BtnOffsetsClick() {
    HandlerScope scope(host_);
    if (!scope.Entered())
        return;
    ToolState& state = host_.State();
    Checked<Bytes> request = CheckOffsets(Text(editCosine_), Text(editMultiplier_),
                                          Text(editRangeOffset_), state.sensorMode, state.method);
    if (!request.Ok())
        return Refuse(*request.refusal);
    ReadBack<SetupFields> r = WriteOffsets(host_.Session(), request.value);
    if (r.value)
        ShowOffsets(*r.value);
    else
        host_.ProcessErrorMsg(r.lastError);
}

void SensorSettingsPage::btnScanVarsClick() {
    HandlerScope scope(host_);
    if (!scope.Entered())
        return;
    QLineEdit* fields[4] = {editDropouts_, editSmooth_, editOrder_, editScanInterval_};
    std::array<std::string, 4> texts;
    for (std::size_t i = 0; i < 4; ++i)
        texts[i] = Text(fields[i]);
    Checked<ScanVariables> request = CheckScanVariables(texts, host_.State().method);
    for (std::size_t i = 0; i < 4; ++i)
        fields[i]->setText(QString::fromStdString(texts[i]));
    if (!request.Ok())
        return Refuse(*request.refusal);
    ReadBack<SetupFields> r = WriteScanVariables(host_.Session(), request.value);
    if (r.value)
        ShowScanVariables(*r.value);
    else
        host_.ProcessErrorMsg(r.lastError);
}

void SensorSettingsPage::btnAnalogClick() {
    HandlerScope scope(host_);
    if (!scope.Entered())
        return;
    ToolState& state = host_.State();
    std::array<std::string, 6> texts = {Text(editMinRange_), Text(editMaxRange_),
                                        Text(editMinVolt_),  Text(editMaxVolt_),
                                        Text(editOutVolt_),  Text(editOffsetVolt_)};
    Checked<Bytes> request = CheckAnalog(texts, state.sensorMode, state.method);
    if (!request.Ok())
        return Refuse(*request.refusal);
    ReadBack<AnalogTexts> r = WriteAnalog(host_.Session(), request.value);
    if (r.value)
        ShowAnalog(*r.value);
    else
        host_.ProcessErrorMsg(r.lastError);
}

void SensorSettingsPage::btnAvgClick() {
    HandlerScope scope(host_);
    if (!scope.Entered())
        return;
    std::string text = Text(editAvg_);
    Checked<Bytes> request = AveragingRequest(host_.State(), text);
    editAvg_->setText(QString::fromStdString(text));
    if (!request.Ok())
        return Refuse(*request.refusal);
    ReadBack<ConfigFields> r = WriteAveraging(host_.Session(), request.value);
    if (r.value)
        editAvg_->setText(QString::fromStdString(r.value->period));
    else
        host_.ProcessErrorMsg(r.lastError);
}

} // namespace vk::legacy
