// Measures SetupVk2 against a paced simulated VKT02 at 57600 baud: the live view's cycle
// ("Show All" unticked) beside the wire-limited cycle, with the CPU time of the window's
// thread, and the upload of a 64000-byte DSP image beside its wire time.
//
// The live view and the reference exchange take turns, each on a line of its own, so the
// load of a shared machine falls on both alike. Both are timed the same way, a round's wall
// time over the cycles in it; the medians of the rounds and the best rounds are shown.
//
//   bench_legacy [ROUNDS] [LIVE_SECONDS_PER_ROUND]
#include "bench/wire_time.h"
#include "legacy_tool/main_form.h"
#include "legacy_tool/sensor_settings_page.h"
#include "legacy_tool/upload_sequence.h"
#include "link/dcs_link.h"
#include "link/frame.h"
#include "link/xmodem.h"
#include "sim/sim_line.h"

#include <QApplication>
#include <QLabel>
#include <QPushButton>
#include <QTabWidget>
#include <QTimer>

#include <sys/resource.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <vector>

using namespace vk;
using Clock = std::chrono::steady_clock;
using vk::bench::WireMs;

namespace {

constexpr double kBaud = 57600;

// Every question answered yes, the prepared file chosen.
class BenchPrompts : public legacy::UserPrompts {
public:
    QString file;
    void Error(const QString& text) override {
        std::fprintf(stderr, "bench: %s\n", text.toLocal8Bit().constData());
    }
    bool AskYesNo(const QString&) override { return true; }
    std::optional<int> SelectPort(const QStringList&) override { return std::nullopt; }
    QString OpenFile(const legacy::FileDialogRequest&) override { return file; }
    QString SaveFile(const legacy::FileDialogRequest&) override { return file; }
};

double MsSince(Clock::time_point start) {
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

// CPU time of the calling thread in milliseconds.
double ThreadCpuMs() {
    rusage r{};
    getrusage(RUSAGE_THREAD, &r);
    return (r.ru_utime.tv_sec + r.ru_stime.tv_sec) * 1e3 +
           (r.ru_utime.tv_usec + r.ru_stime.tv_usec) / 1e3;
}

std::size_t FrameBytes(std::size_t payload) {
    return FrameSize(CheckMethod::Checksum, LengthByte(CheckMethod::Checksum, payload));
}

void Report(const char* what, double measuredMs, double referenceMs, const char* reference) {
    std::printf("%-36s %10.3f ms   %s %10.3f ms   ratio %.3f\n", what, measuredMs, reference,
                referenceMs, measuredMs / referenceMs);
}

// The range reading (12) exchanged with a plain link on COM2, a line of its own, for
// `seconds`: the wire time of the cycle plus the simulator's turnaround, the best any host
// can do. Timed like the live view, as the whole run over the exchanges it made: a median of
// single exchanges would leave out the slow ones a loaded machine brings, which the live
// view's figure cannot leave out, and so would not be a rate to compare it with.
double ReferenceCycleMs(double seconds) {
    DcsLink link;
    if (!link.OpenPortName("COM2", static_cast<std::int32_t>(kBaud), 0, 0, 8, 100, 100))
        return 0;
    std::uint8_t reply[2];
    int exchanges = 0;
    auto start = Clock::now();
    while (MsSince(start) < seconds * 1000) {
        if (!link.dcs_Transact(1, CheckMethod::Checksum, 12, nullptr, 0, reply, sizeof reply))
            return 0;
        ++exchanges;
    }
    double ms = MsSince(start);
    link.ClosePort();
    return ms / exchanges;
}

struct LiveRound {
    double cycleMs;
    double cpuShare; // of one core, by the window's thread
};

// Runs the live view for `seconds` and counts its requests on the line.
LiveRound LiveView(QWidget& form, sim::SimLine& line, double seconds) {
    line.TakeReceived();
    auto* stop = form.findChild<QPushButton*>("btnStopSpot");
    QTimer::singleShot(static_cast<int>(seconds * 1000), stop, &QPushButton::click);
    double cpuBefore = ThreadCpuMs();
    auto start = Clock::now();
    form.findChild<QPushButton*>("btnStartSpot")->click();
    double ms = MsSince(start);
    double cpu = ThreadCpuMs() - cpuBefore;
    line.WaitIdle(1000);
    double cycles = static_cast<double>(line.TakeReceived().size()) / FrameBytes(0);
    return {ms / cycles, cpu / ms};
}

double Median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

} // namespace

int main(int argc, char** argv) {
    int rounds = argc > 1 ? std::atoi(argv[1]) : 7;
    double liveSeconds = argc > 2 ? std::atof(argv[2]) : 1.0;
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);

    char dirTemplate[] = "/tmp/vk-bench-XXXXXX";
    if (!mkdtemp(dirTemplate))
        return 1;
    const std::string dir = dirTemplate;
    setenv("KORVEL_PORT_DIR", dir.c_str(), 1);
    sim::SimLine line({1, dir, true});
    sim::SimLine referenceLine({2, dir, true});
    std::string error;
    for (sim::SimLine* l : {&line, &referenceLine}) {
        l->AddSensor(sim::ConfigForModel("VKT02"));
        if (!l->Start(&error)) {
            std::fprintf(stderr, "bench: %s\n", error.c_str());
            return 1;
        }
    }
    std::printf("SetupVk2 against a paced simulated VKT02, %d baud, checksum variant\n",
                static_cast<int>(kBaud));

    BenchPrompts prompts;
    auto form =
        std::make_unique<legacy::TfrmMain>(prompts, QString::fromStdString(dir + "/SetupVk2.ini"));
    form->show();
    form->BtnConnectClick();
    if (!form->State().connected) {
        std::fprintf(stderr, "bench: SetupVk2 did not connect\n");
        return 1;
    }
    form->findChild<QTabWidget*>("PageControl1")->setCurrentIndex(2);
    QCoreApplication::processEvents();

    // Live view, "Show All" unticked: range readings as fast as they come, until Stop.
    std::vector<double> references, cycles, cpu;
    for (int r = 0; r < rounds; ++r) {
        references.push_back(ReferenceCycleMs(liveSeconds));
        LiveRound round = LiveView(*form, line, liveSeconds);
        cycles.push_back(round.cycleMs);
        cpu.push_back(round.cpuShare);
        if (references.back() <= 0) {
            std::fprintf(stderr, "bench: the reference exchange failed\n");
            return 1;
        }
    }
    double wire = WireMs(FrameBytes(0) + FrameBytes(2), kBaud);
    double reference = Median(references);
    double cycle = Median(cycles);
    double bestCycle = *std::min_element(cycles.begin(), cycles.end());
    double bestReference = *std::min_element(references.begin(), references.end());
    std::printf("live view, %d rounds of %.1f s: %.1f cycles/s (best %.1f); reference %.1f/s "
                "(best %.1f)\n",
                rounds, liveSeconds, 1000 / cycle, 1000 / bestCycle, 1000 / reference,
                1000 / bestReference);
    Report("live view cycle (median)", cycle, wire, "wire    ");
    Report("live view cycle (median)", cycle, reference, "wire+sim");
    Report("live view cycle (best)", bestCycle, bestReference, "wire+sim");
    std::printf("%-36s %10.3f\n", "live view rate / reference rate", reference / cycle);
    std::printf("%-36s %10.1f %% of one core (window thread, median)\n", "live view CPU",
                100 * Median(cpu));

    // Upload: 500 blocks of a 64000-byte DSP image.
    prompts.file = QString::fromStdString(dir + "/bench_rt.bin");
    {
        std::ofstream file(prompts.file.toStdString(), std::ios::binary);
        for (int i = 0; i < 64000; ++i)
            file.put(static_cast<char>(i * 13 + i / 256));
    }
    form->SettingsPage().ApplyServiceMode(true);
    line.TakeReceived();
    double cpuBefore = ThreadCpuMs();
    auto start = Clock::now();
    form->findChild<QPushButton*>("btnUpload")->click();
    double uploadMs = MsSince(start);
    double uploadCpu = ThreadCpuMs() - cpuBefore;
    QString status = form->findChild<QLabel*>("lblStatus")->text();
    const std::size_t blocks = 500;
    // Each block and its ACK, then EOT and its ACK.
    double transferWire = WireMs(blocks * (xmodem::kBlockSize + 1) + 2, kBaud);
    // Unlock, upload command and its answer, with the pauses around them.
    double fixedMs = 3 * 100.0 + WireMs(2 * FrameBytes(1) + 2 * FrameBytes(0), kBaud);
    std::printf("upload status: %s\n", status.toLocal8Bit().constData());
    Report("upload 64000 bytes (whole button)", uploadMs, transferWire + fixedMs, "wire+pauses");
    Report("upload 64000 bytes (transfer)", uploadMs - fixedMs, transferWire, "wire    ");
    std::printf("%-36s %10.1f %% of one core (window thread)\n", "upload CPU",
                100 * uploadCpu / uploadMs);
    std::vector<std::uint8_t> image = line.Snapshot(1).flash.Image(sim::UploadKind::Code);
    std::printf("image received: %zu bytes\n", image.size());

    form.reset();
    line.Stop();
    referenceLine.Stop();
    std::filesystem::remove_all(dir);
    return status == "Success!" ? 0 : 1;
}
