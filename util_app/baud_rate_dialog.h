#pragma once
// CBoudRateDialog ("Sensor boudrate"): the speed the sensor and the port move to.

#include <QDialog>

#include <cstdint>

class QComboBox;

namespace vk {

class CBoudRateDialog : public QDialog {
public:
    // Preset from the port's current rate; a rate outside the list presets 9600.
    explicit CBoudRateDialog(std::int32_t currentRate, QWidget* parent = nullptr);

    // The chosen rate.
    std::int32_t baudRate() const;

private:
    QComboBox* list_;
};

} // namespace vk
