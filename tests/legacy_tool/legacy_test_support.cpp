#include "legacy_test_support.h"

#include <QAbstractButton>
#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QTest>

#include <algorithm>
#include <fstream>
#include <sstream>

namespace vk::legacy::test {

void EnsureApplication() {
    if (QCoreApplication::instance())
        return;
    static int argc = 1;
    static char name[] = "legacy_test";
    static char* argv[] = {name, nullptr};
    new QApplication(argc, argv);
}

bool ScriptedPrompts::AskYesNo(const QString& text) {
    shown.push_back({"ask", text});
    if (answers.empty())
        return false;
    bool a = answers.front();
    answers.pop_front();
    return a;
}

std::optional<int> ScriptedPrompts::SelectPort(const QStringList& list) {
    shown.push_back({"port", list.join(",")});
    lastPortList = list;
    if (ports.empty())
        return std::nullopt;
    auto p = ports.front();
    ports.pop_front();
    return p;
}

namespace {

QString NextFile(std::deque<QString>& files) {
    if (files.empty())
        return {};
    QString f = files.front();
    files.pop_front();
    return f;
}

} // namespace

QString ScriptedPrompts::OpenFile(const FileDialogRequest& request) {
    shown.push_back({"open", request.defaultName});
    lastFileDialog = request;
    return NextFile(files);
}

QString ScriptedPrompts::SaveFile(const FileDialogRequest& request) {
    shown.push_back({"save", request.defaultName});
    lastFileDialog = request;
    return NextFile(files);
}

std::vector<QString> ScriptedPrompts::TakeErrors() {
    std::vector<QString> errors;
    std::vector<Shown> rest;
    for (Shown& s : shown) {
        if (s.kind == "error")
            errors.push_back(s.text);
        else
            rest.push_back(s);
    }
    shown.swap(rest);
    return errors;
}

FormFixture::FormFixture() {
    EnsureApplication();
    settingsPath = dir.Path() + "/SetupVk2.ini";
}

FormFixture::~FormFixture() {
    form.reset();
    if (line)
        line->Stop();
}

void FormFixture::StartLine(const std::vector<sim::SensorConfig>& sensors) {
    line = std::make_unique<sim::SimLine>();
    for (const auto& s : sensors)
        line->AddSensor(s);
    std::string error;
    ASSERT_TRUE(line->Start(&error)) << error;
}

void FormFixture::WriteSettings(const std::string& content) {
    std::ofstream(settingsPath, std::ios::binary) << content;
}

void FormFixture::MakeForm() {
    form = std::make_unique<TfrmMain>(prompts, QString::fromStdString(settingsPath));
    form->show();
    form->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(form.get()));
}

void FormFixture::MakeConnectedForm(const std::vector<sim::SensorConfig>& sensors) {
    StartLine(sensors);
    MakeForm();
    Click("BtnConnect");
    ASSERT_TRUE(form->State().connected) << Status().toStdString();
    ShowSettingsPage();
    LineBytes();
}

void FormFixture::SetText(const char* edit, const QString& text) const {
    Find<QLineEdit>(edit)->setText(text);
}

QString FormFixture::Text(const char* widget) const {
    QWidget* w = Find(widget);
    if (auto* e = qobject_cast<QLineEdit*>(w))
        return e->text();
    if (auto* l = qobject_cast<QLabel*>(w))
        return l->text();
    return {};
}

void FormFixture::Click(const char* button) const {
    Find<QAbstractButton>(button)->click();
}

void FormFixture::ShowSettingsPage() const {
    Find<QTabWidget>("PageControl1")->setCurrentIndex(1);
    QCoreApplication::processEvents();
}

QWidget* FormFixture::Focused() const {
    return QApplication::focusWidget();
}

Bytes FormFixture::Cat(std::initializer_list<Bytes> parts) {
    Bytes all;
    for (const Bytes& p : parts)
        all.insert(all.end(), p.begin(), p.end());
    return all;
}

void FormFixture::ExpectRefused(const char* field, const QString& message) {
    EXPECT_EQ(prompts.TakeErrors(), std::vector<QString>{message}) << field;
    EXPECT_EQ(Focused(), Find(field)) << field;
    EXPECT_TRUE(LineBytes().empty()) << field;
    EXPECT_FALSE(form->State().busy) << field;
}

LineRecorder::LineRecorder(sim::SimLine& line) : line_(line), start_(Clock::now()) {
    line_.TakeReceived();
    thread_ = std::thread([this] { Record(); });
}

LineRecorder::~LineRecorder() {
    Finish();
}

void LineRecorder::Record() {
    while (!stop_) {
        if (!line_.WaitReceived(1, 10))
            continue;
        double at = std::chrono::duration<double, std::milli>(Clock::now() - start_).count();
        std::vector<std::uint8_t> bytes = line_.TakeReceived();
        std::lock_guard lock(mutex_);
        chunks_.push_back({at, std::move(bytes)});
    }
}

void LineRecorder::Finish() {
    if (!thread_.joinable())
        return;
    line_.WaitIdle(2000);
    stop_ = true;
    thread_.join();
    std::vector<std::uint8_t> late = line_.TakeReceived();
    if (!late.empty()) {
        double at = std::chrono::duration<double, std::milli>(Clock::now() - start_).count();
        chunks_.push_back({at, std::move(late)});
    }
}

std::vector<double> LineRecorder::Arrivals(const std::vector<std::vector<std::uint8_t>>& requests) {
    Finish();
    std::vector<std::uint8_t> stream;
    std::vector<double> byteTimes;
    for (const Chunk& c : chunks_) {
        stream.insert(stream.end(), c.bytes.begin(), c.bytes.end());
        byteTimes.insert(byteTimes.end(), c.bytes.size(), c.atMs);
    }
    std::vector<double> times;
    std::size_t at = 0;
    for (const auto& request : requests) {
        bool follows = at + request.size() <= stream.size() &&
                       std::equal(request.begin(), request.end(),
                                  stream.begin() + static_cast<std::ptrdiff_t>(at));
        if (!follows) {
            ADD_FAILURE() << "request " << times.size() << " is not where it belongs on the line";
            return {};
        }
        times.push_back(byteTimes[at]);
        at += request.size();
    }
    return times;
}

PeerResponder::PeerResponder(vk::test::PtyPeer& peer, std::map<std::uint8_t, Bytes> payloads,
                             Bytes otherwise)
    : peer_(peer), payloads_(std::move(payloads)), otherwise_(std::move(otherwise)) {
    thread_ = std::thread([this] { Answer(); });
}

PeerResponder::~PeerResponder() {
    stop_ = true;
    thread_.join();
}

void PeerResponder::Answer() {
    Bytes pending;
    while (!stop_) {
        Bytes in = peer_.Received(10);
        pending.insert(pending.end(), in.begin(), in.end());
        // Bytes outside a frame (the wake byte) are passed over.
        while (!pending.empty() && pending.front() != kStx)
            pending.erase(pending.begin());
        while (pending.size() >= kHeaderSize) {
            std::size_t size = FrameSize(CheckMethod::Checksum, pending[2]);
            if (pending.size() < size)
                break;
            std::uint8_t id = pending[3];
            pending.erase(pending.begin(), pending.begin() + static_cast<std::ptrdiff_t>(size));
            auto found = payloads_.find(id);
            peer_.Send(sim::test::Frame(CheckMethod::Checksum, 1, id,
                                        found != payloads_.end() ? found->second : otherwise_));
            while (!pending.empty() && pending.front() != kStx)
                pending.erase(pending.begin());
        }
    }
}

std::string FileText(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

void ExpectGap(const std::vector<double>& times, std::size_t i, double waitMs,
               const std::string& what) {
    constexpr double kEarly = 30;
    constexpr double kLate = 150;
    ASSERT_GT(times.size(), i + 1) << what;
    double gap = times[i + 1] - times[i];
    EXPECT_GE(gap, waitMs - kEarly) << what;
    EXPECT_LT(gap, waitMs + kLate) << what;
}

} // namespace vk::legacy::test

// Fontconfig keeps a little memory to the end of the process, which the leak checker of
// the sanitizer build would otherwise report as ours.
extern "C" const char* __lsan_default_suppressions() {
    return "leak:libfontconfig.so\n";
}
