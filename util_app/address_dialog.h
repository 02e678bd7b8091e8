#pragma once
// CAddressDialog ("Sensor Address"): shows the sensor's serial number and takes a new
// address for it. Address 0 is accepted although the arrows stop at 1.

#include <QDialog>

#include <cstdint>
#include <string>

class QLineEdit;

namespace vk {

class UpDownEdit;
class UserPrompts;

class CAddressDialog : public QDialog {
public:
    // `serial8` is shown read-only; `address` is the preset.
    CAddressDialog(UserPrompts& prompts, const std::string& serial8, std::uint8_t address,
                   QWidget* parent = nullptr);

    // The confirmed address; the preset until OK succeeded.
    std::uint8_t address() const { return address_; }

    void accept() override;

private:
    UserPrompts& prompts_;
    UpDownEdit* edit_;
    std::uint8_t address_;
};

} // namespace vk
