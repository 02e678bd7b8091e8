#pragma once
// What the settings dialog tests share: the running utility connected to one simulated
// sensor, the model's settings dialog opened without a modal loop of its own (so a test
// can act between the steps), its controls by name, the requests a button should put on
// the line, and the warning of a refusal that sends nothing.
#include "util_test_support.h"

#include "panels/numeric_edit.h"
#include "util_app/document.h"

#include <QComboBox>
#include <QCoreApplication>
#include <QPushButton>

#include <functional>
#include <initializer_list>
#include <string>
#include <vector>

namespace vk::test {

using Bytes = std::vector<std::uint8_t>;

inline Bytes operator+(Bytes a, const Bytes& b) {
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

template <typename Dialog> class SettingsDlgTest : public UtilTest {
protected:
    // Connects to a sensor of `model` at address 1 answering in `method`, whose dialog
    // reads the settings with the requests `reloadIds`; `beforeConnect` runs on the line
    // first.
    void ConnectTo(const std::string& model, CheckMethod method,
                   std::initializer_list<std::uint8_t> reloadIds,
                   const std::function<void()>& beforeConnect = {}) {
        method_ = method;
        reload_ = Frames(method, 1, reloadIds);
        ASSERT_TRUE(ConnectQuiet(model, method, beforeConnect));
        dialog_ = dynamic_cast<Dialog*>(Doc().ActiveSettingsDialog());
        ASSERT_NE(dialog_, nullptr);
    }
    void Open() {
        dialog_->show();
        QCoreApplication::processEvents();
    }

    CNumericEdit* Field(const char* name) const {
        return dialog_->template findChild<CNumericEdit*>(QString::fromLatin1(name));
    }
    QComboBox* Box(const char* name) const {
        return dialog_->template findChild<QComboBox*>(QString::fromLatin1(name));
    }
    std::string Shown(const char* name) const { return Field(name)->text().toStdString(); }
    void Type(const char* name, const char* text) {
        Field(name)->setText(QString::fromLatin1(text));
    }
    void Press(const char* name) {
        dialog_->template findChild<QPushButton*>(QString::fromLatin1(name))->click();
    }

    Bytes Request(std::uint8_t id, const Bytes& payload = {}) const {
        return sim::test::Frame(method_, 1, id, payload);
    }
    Bytes Words(std::initializer_list<int> values) const {
        Bytes bytes;
        for (int value : values)
            bytes = bytes + sim::test::Word(static_cast<std::uint16_t>(value), method_);
        return bytes;
    }
    // The reads that follow every write.
    const Bytes& Reload() const { return reload_; }
    // A refusal: its warning, nothing on the line.
    void ExpectRefused(const char* button, const std::string& warning) {
        const std::size_t shown = prompts.shown.size();
        Press(button);
        ASSERT_EQ(prompts.shown.size(), shown + 1);
        EXPECT_EQ(prompts.shown.back(), (ScriptedPrompts::Shown{"warn", warning}));
        EXPECT_TRUE(Sent().empty());
    }
    sim::SensorSettings Held() const { return line->Snapshot(1).settings; }
    // The dialog's pairs for the "System:" bar.
    std::vector<std::pair<std::string, std::string>> SettingsList() const {
        std::vector<std::string> names, values;
        dialog_->GetSettingsList(names, values);
        std::vector<std::pair<std::string, std::string>> rows;
        for (std::size_t i = 0; i < names.size() && i < values.size(); ++i)
            rows.emplace_back(names[i], values[i]);
        return rows;
    }

    CheckMethod method_ = CheckMethod::Checksum;
    Dialog* dialog_ = nullptr;
    Bytes reload_;
};

} // namespace vk::test
