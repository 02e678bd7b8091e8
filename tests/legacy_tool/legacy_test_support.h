#pragma once
// What the tool's line and window tests share: the application object, scripted
// prompts, and a simulated line with the main form on it.

#include "legacy_tool/legacy_codes.h"
#include "legacy_tool/main_form.h"
#include "legacy_tool/user_prompts.h"
#include "sim_test_support.h"
#include "tests/link/pty_peer.h"

#include <QString>

#include <atomic>
#include <chrono>
#include <deque>
#include <initializer_list>
#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <vector>

class QWidget;

namespace vk::legacy::test {

// The QApplication every Qt part needs (offscreen in the tests), made once.
void EnsureApplication();

// Records every text shown and answers from a script; an unscripted question gets "No",
// an unscripted port choice or file dialog is cancelled.
class ScriptedPrompts : public UserPrompts {
public:
    struct Shown {
        std::string kind; // "error", "ask", "port", "open", "save"
        QString text;
    };
    std::vector<Shown> shown;
    std::deque<bool> answers;
    std::deque<std::optional<int>> ports;
    QStringList lastPortList;
    std::deque<QString> files;
    FileDialogRequest lastFileDialog;

    void Error(const QString& text) override { shown.push_back({"error", text}); }
    bool AskYesNo(const QString& text) override;
    std::optional<int> SelectPort(const QStringList& ports) override;
    QString OpenFile(const FileDialogRequest& request) override;
    QString SaveFile(const FileDialogRequest& request) override;

    // The texts of the error boxes, oldest first, and forgets them.
    std::vector<QString> TakeErrors();
};

// The link of the tool, opened on COM1 of whatever the port directory holds.
struct CommUnderTest {
    ToolState state;
    ScriptedPrompts prompts;
    ComPort port{prompts};
    KorvelComm comm{state, port};

    bool Open() {
        port.SetPortNumber(1);
        port.SetBaudRate(57600);
        return port.Open();
    }
    bool Ask(std::uint8_t code, std::uint8_t address, Bytes& reply, int timeoutMs = kReplyMs) {
        bool crc = state.method == CheckMethod::Crc16;
        comm.SendPacket(code, address, {}, crc);
        return comm.GetPacket(reply, crc, timeoutMs);
    }
};

// A line on COM1 of a private port directory and the main form with its own settings file.
class FormFixture : public ::testing::Test {
protected:
    FormFixture();
    ~FormFixture() override;

    void StartLine(const std::vector<sim::SensorConfig>& sensors);
    // Writes the settings file before the form starts (not written: the form creates it).
    void WriteSettings(const std::string& content);
    // Makes the form, shows and activates it.
    void MakeForm();
    // A form connected to the line's sensors; the connection must succeed.
    void MakeConnectedForm(const std::vector<sim::SensorConfig>& sensors);

    template <typename T = QWidget> T* Find(const char* name) const {
        T* w = form->findChild<T*>(name);
        EXPECT_NE(w, nullptr) << name;
        return w;
    }
    void SetText(const char* edit, const QString& text) const;
    QString Text(const char* widget) const; // a QLineEdit's or QLabel's text
    void Click(const char* button) const;
    void ShowSettingsPage() const;
    // Which widget has the keyboard focus now.
    QWidget* Focused() const;

    QString Status() const { return Text("lblStatus"); }
    int ComErrors() const { return Text("pnlComErrors").toInt(); }
    // Every byte the tool wrote since the last call.
    std::vector<std::uint8_t> LineBytes() { return line->TakeReceived(); }

    // A request to `address` as the tool frames it in `m`.
    Bytes Req(std::uint8_t code, const Bytes& payload = {}, std::uint8_t address = 1) const {
        return sim::test::Frame(m, address, code, payload);
    }
    static Bytes Cat(std::initializer_list<Bytes> parts);
    // A refused entry: its message, the focus on the field, nothing on the line, and the
    // tool no longer busy.
    void ExpectRefused(const char* field, const QString& message);

    sim::test::ScopedPortDir dir;
    std::unique_ptr<sim::SimLine> line;
    ScriptedPrompts prompts;
    std::string settingsPath;
    std::unique_ptr<TfrmMain> form;
    CheckMethod m = CheckMethod::Checksum; // the check method of Req
};

// Every byte the tool writes to `line` from now on, with the time the line took it in,
// gathered by a thread of its own (the tool's waits run on the test's thread). It takes
// the bytes that LineBytes() would return.
class LineRecorder {
public:
    explicit LineRecorder(sim::SimLine& line);
    ~LineRecorder();
    LineRecorder(const LineRecorder&) = delete;
    LineRecorder& operator=(const LineRecorder&) = delete;

    // Ends the recording once the line is quiet. The line must have taken `requests` one
    // after another, first to last (more may follow); the milliseconds from the start of
    // the recording at which each began to arrive. Empty, with a failure, otherwise.
    std::vector<double> Arrivals(const std::vector<std::vector<std::uint8_t>>& requests);

private:
    using Clock = std::chrono::steady_clock;
    struct Chunk {
        double atMs;
        std::vector<std::uint8_t> bytes;
    };
    void Record();
    void Finish();

    sim::SimLine& line_;
    Clock::time_point start_;
    std::atomic<bool> stop_{false};
    std::mutex mutex_;
    std::vector<Chunk> chunks_;
    std::thread thread_;
};

// Answers every request that reaches `peer`, from a thread of its own (the tool's waits
// run on the test's thread): in the checksum variant, from address 1, with the payload
// `payloads` holds for the request's packet ID, or else `otherwise`.
class PeerResponder {
public:
    PeerResponder(vk::test::PtyPeer& peer, std::map<std::uint8_t, Bytes> payloads,
                  Bytes otherwise = {});
    ~PeerResponder();
    PeerResponder(const PeerResponder&) = delete;
    PeerResponder& operator=(const PeerResponder&) = delete;

private:
    void Answer();

    vk::test::PtyPeer& peer_;
    std::map<std::uint8_t, Bytes> payloads_;
    Bytes otherwise_;
    std::atomic<bool> stop_{false};
    std::thread thread_;
};

// The whole content of a file; empty when it cannot be read.
std::string FileText(const std::string& path);

// Expects the request after `times[i]` to have come `waitMs` after it. The simulator's
// thread notes the arrivals; a loaded machine may wake it late for one request and not
// the next, so a gap may seem a little shorter than the wait was and a good deal longer.
void ExpectGap(const std::vector<double>& times, std::size_t i, double waitMs,
               const std::string& what);

} // namespace vk::legacy::test
