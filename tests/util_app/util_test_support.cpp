#include "util_test_support.h"

#include "util_app/connect_dialog.h"
#include "util_app/docking_bars.h"
#include "util_app/document.h"
#include "util_app/frame.h"
#include "util_app/log_dialog.h"
#include "util_app/main_actions.h"

#include <QAction>

#include <QApplication>
#include <QComboBox>
#include <QElapsedTimer>
#include <QPushButton>
#include <QSettings>
#include <QTimer>

#include <cstdlib>
#include <filesystem>
#include <unistd.h>

namespace vk::test {

void EnsureApplication() {
    if (QApplication::instance())
        return;
    static int argc = 1;
    static char name[] = "util_app_test";
    static char* argv[] = {name, nullptr};
    // Kept for the whole program: widgets of static objects may outlive any scope.
    static QApplication* application = new QApplication(argc, argv);
    (void)application;
}

IsolatedProfile::IsolatedProfile() {
    std::string pattern =
        (std::filesystem::temp_directory_path() / "vkutil-profile-XXXXXX").string();
    if (mkdtemp(pattern.data()))
        path_ = pattern;
    setenv("XDG_CONFIG_HOME", path_.c_str(), 1);
    const QString dir = QString::fromStdString(path_);
    for (QSettings::Format format : {QSettings::NativeFormat, QSettings::IniFormat}) {
        QSettings::setPath(format, QSettings::UserScope, dir);
        QSettings::setPath(format, QSettings::SystemScope, dir);
    }
}

IsolatedProfile::~IsolatedProfile() {
    std::error_code ec;
    std::filesystem::remove_all(path_, ec);
}

void ScriptedPrompts::Warn(QWidget*, const QString& text) {
    shown.push_back({"warn", text.toStdString()});
}

void ScriptedPrompts::Error(QWidget*, const QString& text) {
    shown.push_back({"error", text.toStdString()});
}

bool ScriptedPrompts::AskYesNo(QWidget*, const QString& text) {
    shown.push_back({"ask", text.toStdString()});
    if (yesNoAnswers.empty())
        return false;
    const bool answer = yesNoAnswers.front();
    yesNoAnswers.pop_front();
    return answer;
}

QString ScriptedPrompts::OpenFile(QWidget*, const QString& filter) {
    shown.push_back({"open", filter.toStdString()});
    if (openFileAnswers.empty())
        return {};
    QString answer = openFileAnswers.front();
    openFileAnswers.pop_front();
    return answer;
}

QString ScriptedPrompts::OpenFileFrom(QWidget* parent, const QString& filter, const QString& start,
                                      const QString& defaultSuffix) {
    return OpenFile(parent, filter + " | " + start + " | " + defaultSuffix);
}

QString ScriptedPrompts::SaveFile(QWidget*, const QString& filter, const QString& suggestedName) {
    shown.push_back({"save", filter.toStdString() + " " + suggestedName.toStdString()});
    if (savePaths.empty())
        return {};
    QString path = savePaths.front();
    savePaths.pop_front();
    return path;
}

WhenModal::WhenModal(std::function<bool(QWidget*)> action, int timeoutMs)
    : done_(std::make_shared<bool>(false)) {
    auto* timer = new QTimer;
    auto started = std::make_shared<QElapsedTimer>();
    started->start();
    QObject::connect(timer, &QTimer::timeout, timer,
                     [timer, action, started, done = done_, timeoutMs] {
                         QWidget* modal = QApplication::activeModalWidget();
                         if (modal && action(modal))
                             *done = true;
                         if (*done || started->elapsed() > timeoutMs) {
                             timer->stop();
                             timer->deleteLater();
                         }
                     });
    timer->start(10);
}

WhenModal::~WhenModal() = default;

void ExpectCommandStates(const CMainFrame& frame, const CommandContext& context) {
    for (const auto& [id, action] : frame.Actions().All()) {
        const CommandState expected = CommandStateFor(id, context);
        EXPECT_EQ(action->isEnabled(), expected.enabled) << static_cast<int>(id);
        if (action->isCheckable()) {
            EXPECT_EQ(action->isChecked(), expected.checked) << static_cast<int>(id);
        }
    }
}

std::vector<std::uint8_t> Frames(CheckMethod method, std::uint8_t address,
                                 std::initializer_list<std::uint8_t> ids) {
    std::vector<std::uint8_t> frames;
    for (std::uint8_t id : ids) {
        const std::vector<std::uint8_t> frame = sim::test::Frame(method, address, id);
        frames.insert(frames.end(), frame.begin(), frame.end());
    }
    return frames;
}

UtilTest::UtilTest() {
    EnsureApplication();
}

UtilTest::~UtilTest() {
    app.reset();
    line.reset();
}

void UtilTest::Start(std::vector<std::string> arguments) {
    app = std::make_unique<CVkUtilApp>(std::move(arguments), &prompts);
    ASSERT_TRUE(app->InitInstance());
}

void UtilTest::StartLine(const std::string& model, CheckMethod method) {
    line.reset();
    line = std::make_unique<sim::SimLine>();
    line->AddSensor(sim::test::Sensor(1, model, method));
    std::string error;
    ASSERT_TRUE(line->Start(&error)) << error;
}

bool UtilTest::ConnectThroughDialog(const QString& port) {
    WhenModal confirm([port](QWidget* modal) {
        auto* dialog = qobject_cast<QDialog*>(modal);
        if (!dynamic_cast<CConnectDialog*>(modal))
            return false;
        modal->findChild<QComboBox*>(QStringLiteral("portName"))->setEditText(port);
        modal->findChild<QPushButton*>(QStringLiteral("ok"))->click();
        return dialog != nullptr;
    });
    Frame().RunCommand(CommandId::Connect);
    EXPECT_TRUE(confirm.Done());
    return Doc().IsConnected();
}

bool UtilTest::ConnectQuiet(const std::string& model, CheckMethod method,
                            const std::function<void()>& beforeConnect) {
    StartLine(model, method);
    if (HasFatalFailure())
        return false;
    if (beforeConnect)
        beforeConnect();
    const bool connected = ConnectThroughDialog();
    Doc().Ticker().StopThread();
    Sent();
    return connected;
}

std::vector<std::string> UtilTest::LogTexts() const {
    std::vector<std::string> texts;
    const CLogDialog* log = Frame().LogBar()->Log();
    for (int i = 0; i < log->LineCount(); ++i)
        texts.push_back(log->LineText(i).toStdString());
    return texts;
}

std::vector<LogIcon> UtilTest::LogIcons() const {
    std::vector<LogIcon> icons;
    const CLogDialog* log = Frame().LogBar()->Log();
    for (int i = 0; i < log->LineCount(); ++i)
        icons.push_back(log->LineIcon(i));
    return icons;
}

std::vector<std::uint8_t> UtilTest::Sent() {
    EXPECT_TRUE(line->WaitIdle(3000));
    return line->TakeReceived();
}

CMainFrame& UtilTest::Frame() const {
    return *app->MainFrame();
}

CVKT02Doc& UtilTest::Doc() const {
    return *app->GetDocument();
}

} // namespace vk::test

// Fontconfig keeps a little memory to the end of the process, which the leak checker of
// the sanitizer build reports for every Qt program that draws text. It is not ours.
extern "C" const char* __lsan_default_suppressions() {
    return "leak:libfontconfig.so\n";
}
