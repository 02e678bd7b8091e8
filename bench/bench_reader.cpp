// Measures the scan buffer reader of VkUtil against a paced simulated VKT02 at 57600
// baud: all 8192 ranges read through the dialog with its list filled, beside the wire
// time of the bytes and beside the same read made by the command layer alone; then the
// time to fill and to paint the list of 8192 rows by itself.
//
// Runs on the display Qt finds, or on the offscreen platform when there is none.
#include "bench/bench_line.h"
#include "bench/wire_time.h"
#include "sensor/scan_buffer_area.h"
#include "sensor/scan_buffer_read.h"
#include "sensor/sensor_device.h"
#include "util_app/panel_context.h"
#include "util_app/range_list_model.h"
#include "util_app/range_modes.h"
#include "util_app/scan_buffer_dialog.h"
#include "util_app/user_prompts.h"

#include <QApplication>
#include <QPushButton>
#include <QTableView>

#include <algorithm>
#include <cstdio>
#include <cstdlib>

using namespace vk;
using namespace vk::bench;
using Clock = std::chrono::steady_clock;

namespace {

// What the reader asks of the program, answered for one connected VKT02.
class BenchContext : public PanelContext, public LogSink {
public:
    explicit BenchContext(DcsLink& link) : sensor_(this) {
        sensor_.SetLink(&link);
        sensor_.SetAddress(1);
        sensor_.SetCheckMethod(CheckMethod::Checksum);
    }
    bool IsConnected() const override { return true; }
    ModelType Model() const override { return ModelType::VKT02; }
    std::string FormatRange(std::uint16_t raw) const override {
        return vk::FormatRange(ModelType::VKT02, sensor_.Replies(), raw);
    }
    SensorDevice& Sensor() override { return sensor_; }
    void LogMessage(const char* text, LogIcon) override { std::fprintf(stderr, "%s\n", text); }
    void PostRefreshSensorBar() override {}
    UserPrompts& Prompts() override { return prompts_; }
    ExchangeGuard& Exchanges() override { return guard_; }

private:
    SensorDevice sensor_;
    QtUserPrompts prompts_;
    ExchangeGuard guard_;
};

} // namespace

int main(int argc, char** argv) {
    const int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 3;
    if (!std::getenv("DISPLAY") && !std::getenv("WAYLAND_DISPLAY") &&
        !std::getenv("QT_QPA_PLATFORM"))
        setenv("QT_QPA_PLATFORM", "offscreen", 1);
    QApplication application(argc, argv);

    BenchLine line(true);
    if (!line.Start())
        return 1;
    BenchContext context(line.Link());
    std::printf("paced simulated VKT02, %d baud, checksum variant, platform %s\n", kBenchBaud,
                qPrintable(QApplication::platformName()));
    const double wire = WireMs(ScanReadWireBytes(kScanBufferSamples), kBenchBaud);

    double layerBest = 1e30;
    for (int r = 0; r < runs; ++r) {
        const auto start = Clock::now();
        if (ReadScanRanges(context.Sensor(), 0, kScanBufferSamples).outcome !=
            ScanReadOutcome::Complete)
            return 1;
        layerBest = std::min(layerBest, MsSince(start));
    }

    CReadBufferDialog dialog(context);
    dialog.resize(420, 600);
    dialog.show();
    QApplication::processEvents();
    auto* start = dialog.findChild<QPushButton*>(QStringLiteral("start"));
    auto* list = dialog.findChild<QTableView*>(QStringLiteral("rangeList"));
    double dialogBest = 1e30;
    double paintedBest = 1e30;
    for (int r = 0; r < runs; ++r) {
        const auto begin = Clock::now();
        start->click(); // returns with the list filled
        if (dialog.RangeTexts().size() != kScanBufferSamples)
            return 1;
        dialogBest = std::min(dialogBest, MsSince(begin));
        list->repaint();
        paintedBest = std::min(paintedBest, MsSince(begin));
    }

    // The list alone: 8192 texts through FormatRange into the model, then one paint.
    double fillBest = 1e30;
    for (int r = 0; r < runs; ++r) {
        const auto begin = Clock::now();
        std::vector<QString> texts;
        texts.reserve(kScanBufferSamples);
        for (std::uint16_t raw : dialog.Ranges())
            texts.push_back(QString::fromStdString(context.FormatRange(raw)));
        auto* model = static_cast<RangeListModel*>(list->model());
        model->SetValues(std::move(texts));
        list->repaint();
        fillBest = std::min(fillBest, MsSince(begin));
    }

    Report("read 8192, command layer (best)", layerBest, wire);
    Report("read 8192 via dialog, list filled", dialogBest, wire);
    Report("  ... and the list painted", paintedBest, wire);
    std::printf("%-34s %10.3f ms\n", "fill and paint 8192 rows alone", fillBest);
    return 0;
}
