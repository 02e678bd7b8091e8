#pragma once
// What the utility's widget tests share: one QApplication on the offscreen platform, a
// profile in a private folder, message boxes that answer from a script, a way to act
// on the next modal dialog, and a started utility with simulated sensors to talk to.

#include "sim_test_support.h"
#include "util_app/app.h"
#include "util_app/command_rules.h"
#include "util_app/user_prompts.h"

#include <QString>
#include <QWidget>

#include <gtest/gtest.h>

#include <cstdint>
#include <deque>
#include <functional>
#include <initializer_list>
#include <memory>
#include <string>
#include <vector>

namespace vk {
class CMainFrame;
class CVKT02Doc;
} // namespace vk

namespace vk::test {

// The one QApplication of the test program (created on first use).
void EnsureApplication();

// Points every QSettings of the process at a fresh temporary folder while it lives, so
// no test reads or writes the user's real profile.
class IsolatedProfile {
public:
    IsolatedProfile();
    ~IsolatedProfile();
    IsolatedProfile(const IsolatedProfile&) = delete;
    IsolatedProfile& operator=(const IsolatedProfile&) = delete;
    const std::string& Path() const { return path_; }

private:
    std::string path_;
};

// Message boxes and file dialogs that answer from a script and remember what they
// were asked.
class ScriptedPrompts : public UserPrompts {
public:
    struct Shown {
        std::string kind; // "warn", "error", "ask", "open", "save"
        std::string text;
        friend bool operator==(const Shown&, const Shown&) = default;
    };

    void Warn(QWidget* parent, const QString& text) override;
    void Error(QWidget* parent, const QString& text) override;
    bool AskYesNo(QWidget* parent, const QString& text) override;
    QString OpenFile(QWidget* parent, const QString& filter) override;
    // Shown as "<filter> | <start> | <default suffix>".
    QString OpenFileFrom(QWidget* parent, const QString& filter, const QString& start,
                         const QString& defaultSuffix) override;
    QString SaveFile(QWidget* parent, const QString& filter, const QString& suggestedName) override;

    std::deque<bool> yesNoAnswers;       // taken in order; No once they run out
    std::deque<QString> savePaths;       // the save dialog's answers in order; cancelled after them
    std::deque<QString> openFileAnswers; // taken in order; cancelled once they run out
    std::vector<Shown> shown;
};

// Runs `action` on the first modal widget that appears (polling every 10 ms from the
// event loop that is running then) and keeps trying while it returns false. Gives up
// after `timeoutMs`; `Pending()` tells whether it is still waiting.
class WhenModal {
public:
    explicit WhenModal(std::function<bool(QWidget*)> action, int timeoutMs = 5000);
    ~WhenModal();
    bool Done() const { return *done_; }

private:
    std::shared_ptr<bool> done_;
};

// Every command's enabled and checked state in `frame` is what the rules give for
// `context`.
void ExpectCommandStates(const CMainFrame& frame, const CommandContext& context);

// The request frames of `ids` (no payloads) to sensor `address`, one after the other.
std::vector<std::uint8_t> Frames(CheckMethod method, std::uint8_t address,
                                 std::initializer_list<std::uint8_t> ids);

// The started utility, its scripted prompts and a private port folder and profile.
class UtilTest : public ::testing::Test {
protected:
    UtilTest();
    ~UtilTest() override;

    // Starts the utility with `arguments` as its command line.
    void Start(std::vector<std::string> arguments = {});
    // A line on COM1 with one sensor of `model` ("VKT02", "VKT04", "RMXS", "RMXL", "BF" or
    // a model string), answering in `method`.
    void StartLine(const std::string& model, CheckMethod method = CheckMethod::Checksum);
    // File > Connect with the Connect dialog confirmed on `port`; whether the document
    // is connected afterwards.
    bool ConnectThroughDialog(const QString& port = QStringLiteral("COM1"));
    // StartLine, then `beforeConnect` (faults, frozen readings...), then
    // ConnectThroughDialog; then the refresh ticker is stopped and what the connect sent
    // is dropped, so every tick and every byte that follows is the test's own. Whether
    // the document is connected.
    [[nodiscard]] bool ConnectQuiet(const std::string& model,
                                    CheckMethod method = CheckMethod::Checksum,
                                    const std::function<void()>& beforeConnect = {});
    // The texts and icons in the command log, oldest first.
    std::vector<std::string> LogTexts() const;
    std::vector<LogIcon> LogIcons() const;
    // Every byte the program has written to the line since the last call, once the line
    // went quiet.
    std::vector<std::uint8_t> Sent();

    CMainFrame& Frame() const;
    CVKT02Doc& Doc() const;

    IsolatedProfile profile;
    sim::test::ScopedPortDir ports;
    ScriptedPrompts prompts;
    std::unique_ptr<CVkUtilApp> app;
    std::unique_ptr<sim::SimLine> line;
};

} // namespace vk::test
