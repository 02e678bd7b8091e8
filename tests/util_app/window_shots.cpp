// Pictures of every window of the utility for every model, for reading the layout by eye:
// the main window (each page, the "System:" tabs, the line trace, a failed connect) at
// 800x600 and 1400x1000, and every dialog at the size it opens with. Not a test, and built
// only on request: `cmake -B build -DVK_WINDOW_SHOTS=ON && ninja -C build window_shots`.
// Run it by hand:
//   VK_SHOTS_DIR=/tmp/shots VK_SHOTS_FONT_DELTA=1 build/tests/util_app/window_shots
// (the font delta makes the application font that many points larger).

#include "util_test_support.h"

#include "util_app/docking_bars.h"
#include "util_app/document.h"
#include "util_app/frame.h"
#include "util_app/line_trace_bar.h"
#include "util_app/sensor_info.h"
#include "util_app/view.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QPushButton>
#include <QTabWidget>

#include <cstdlib>

namespace vk::test {
namespace {

class WindowShots : public UtilTest {
protected:
    void SetUp() override {
        const char* dir = std::getenv("VK_SHOTS_DIR");
        folder = QString::fromLocal8Bit(dir ? dir : "/tmp/vkutil-shots");
        QDir().mkpath(folder);
        if (const char* delta = std::getenv("VK_SHOTS_FONT_DELTA")) {
            QFont font = QApplication::font();
            font.setPointSizeF(font.pointSizeF() + std::atof(delta));
            QApplication::setFont(font);
        }
    }
    void Save(QWidget* window, const QString& name) {
        // What the events handled first queue (a refill, then the layout it asks for).
        for (int round = 0; round < 3; ++round)
            QCoreApplication::processEvents();
        const QString path = folder + "/" + name + ".png";
        EXPECT_TRUE(window->grab().save(path)) << path.toStdString();
    }
    // The main window at both sizes.
    void SaveFrame(const QString& name) {
        for (QSize size : {QSize(800, 600), QSize(1400, 1000)}) {
            Frame().resize(size);
            Save(&Frame(),
                 QStringLiteral("%1-%2x%3").arg(name).arg(size.width()).arg(size.height()));
        }
        Frame().resize(800, 600);
    }
    // Runs `open`, then `prepare` and a picture of the dialog it opened, which is closed.
    void SaveDialog(const std::function<void()>& open, const QString& name,
                    const std::function<void(QWidget*)>& prepare = {}) {
        WhenModal shoot([this, name, prepare](QWidget* modal) {
            modal->show();
            if (prepare)
                prepare(modal);
            Save(modal, name);
            modal->close();
            return true;
        });
        open();
        EXPECT_TRUE(shoot.Done()) << name.toStdString();
    }
    void Poll(int times) {
        for (int i = 0; i < times; ++i)
            Frame().View()->UpdatePanel();
    }
    QString folder;
};

TEST_F(WindowShots, EveryWindowOfEveryModel) {
    Start({"-QXV"});
    Frame().show();
    SaveFrame(QStringLiteral("not-connected"));
    SaveDialog([this] { Frame().RunCommand(CommandId::Connect); }, QStringLiteral("connect"));
    StartLine("VKT02");
    line->InjectFault(1, {sim::FaultKind::Silence, -1});
    EXPECT_FALSE(ConnectThroughDialog());
    SaveFrame(QStringLiteral("connect-failed"));

    for (const char* model : {"VKT02", "VKT04", "BF", "RMXS", "RMXL"}) {
        const QString m = QString::fromLatin1(model);
        ASSERT_TRUE(ConnectQuiet(model)) << model;
        QWidget* panel = Frame().View()->CurrentPanel();
        for (QCheckBox* box : panel->findChildren<QCheckBox*>(QStringLiteral("updateDiagnostics")))
            box->click();
        Poll(12);
        SaveFrame(m + "-panel");
        Frame().SensorBar()->Info()->Tabs()->setCurrentIndex(1);
        SaveFrame(m + "-settings-tab");
        Frame().SensorBar()->Info()->Tabs()->setCurrentIndex(0);
        if (auto* tabs = panel->findChild<QTabWidget*>(QStringLiteral("panelTabs"))) {
            tabs->setCurrentIndex(1);
            SaveFrame(m + "-scan-page");
            tabs->setCurrentIndex(2);
            for (QPushButton* get : panel->findChildren<QPushButton*>(QStringLiteral("getErrors")))
                get->click();
            SaveFrame(m + "-errors-page");
            tabs->setCurrentIndex(1);
        }
        Frame().LineTraceBar()->toggleViewAction()->trigger();
        Poll(3);
        Frame().LineTraceBar()->Drain();
        SaveFrame(m + "-line-trace");
        Frame().LineTraceBar()->toggleViewAction()->trigger();

        const std::pair<CommandId, const char*> dialogs[] = {
            {CommandId::SensorSettings, "settings"}, {CommandId::Address, "address"},
            {CommandId::BaudRate, "baudrate"},       {CommandId::SerialAndModel, "serial-model"},
            {CommandId::Upload, "upload"},           {CommandId::About, "about"}};
        for (const auto& [id, name] : dialogs)
            SaveDialog([this, id = id] { Frame().RunCommand(id); }, m + "-" + name);
        for (auto* read : panel->findChildren<QPushButton*>(QStringLiteral("readScanBuffer"))) {
            SaveDialog([read] { read->click(); }, m + "-scan-buffer",
                       [](QWidget* dialog) {
                           if (auto* start =
                                   dialog->findChild<QPushButton*>(QStringLiteral("start")))
                               start->click();
                       });
        }
        Frame().RunCommand(CommandId::Disconnect);
    }
}

} // namespace
} // namespace vk::test
