// The utility against simulated sensors: connecting through the Connect dialog to each
// model, failed and cancelled connects, the commands of the Edit menu, and what the log
// shows for each.
#include "util_test_support.h"

#include "sim/net_server.h"
#include "util_app/address_dialog.h"
#include "util_app/baud_rate_dialog.h"
#include "util_app/command_rules.h"
#include "util_app/connect_dialog.h"
#include "util_app/docking_bars.h"
#include "util_app/document.h"
#include "util_app/find_sensors_dialog.h"
#include "util_app/frame.h"
#include "util_app/main_actions.h"
#include "util_app/profile.h"
#include "util_app/view.h"

#include <QAction>
#include <QComboBox>
#include <QElapsedTimer>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QSignalSpy>
#include <QStatusBar>
#include <QTableWidget>
#include <QTest>

namespace vk::test {
namespace {

constexpr auto kSum = CheckMethod::Checksum;

class ConnectionTest : public UtilTest {};

TEST_F(ConnectionTest, ConnectsToEachModelThroughTheDialogAndDisconnects) {
    Start();
    const struct {
        const char* model;
        const char* name;
    } models[] = {{"VKT02", "VKT02"},
                  {"VKT04", "VKT04"},
                  {"RMXL", "Rmx Long"},
                  {"RMXS", "Rmx Short"},
                  {"BF", "VKT04 Vezir Orududu"}};
    for (const auto& m : models) {
        SCOPED_TRACE(m.model);
        StartLine(m.model);
        ASSERT_TRUE(ConnectThroughDialog());
        EXPECT_EQ(LogTexts().back(),
                  std::string("Successfully connected to ") + m.name + " type sensor");
        EXPECT_EQ(LogIcons().back(), LogIcon::Information);
        EXPECT_EQ(ModelDisplayName(Doc().Model()), std::string(m.name));
        EXPECT_EQ(Frame().View()->CurrentPanel(), Frame().View()->ModelPanel(Doc().Model()));
        EXPECT_EQ(Doc().Ticker().GetState(), WorkerThread::State::Running);
        CommandContext context;
        context.connected = true;
        ExpectCommandStates(Frame(), context);

        ASSERT_TRUE(Frame().RunCommand(CommandId::Disconnect));
        EXPECT_EQ(LogTexts().back(), "Disconnected...");
        EXPECT_EQ(LogIcons().back(), LogIcon::Warning);
        EXPECT_EQ(Frame().View()->CurrentPanel(), Frame().View()->NotConnectedPanel());
        EXPECT_EQ(Doc().Ticker().GetState(), WorkerThread::State::Ended);
        ExpectCommandStates(Frame(), CommandContext{});
    }
    // Connect wrote the last connection's settings.
    Profile stored;
    EXPECT_EQ(stored.ReadInt("Settings", "port name", 0), 1);
    EXPECT_EQ(stored.ReadInt("Settings\\1", "boudrate", 0), 57600);
    EXPECT_EQ(stored.ReadInt("Settings\\Communication timeouts", "read timeout", 0), 100);

    Frame().close();
    EXPECT_EQ(LogTexts().back(), "Close");
    EXPECT_EQ(LogIcons().back(), LogIcon::Information);
}

TEST_F(ConnectionTest, TicksReachTheShownPanelWhileConnected) {
    Start();
    StartLine("VKT02");
    ASSERT_TRUE(ConnectThroughDialog());
    const std::uint64_t before = Doc().Ticker().TicksHandled();
    QElapsedTimer elapsed;
    elapsed.start();
    ASSERT_TRUE(QTest::qWaitFor([&] { return Doc().Ticker().TicksHandled() >= before + 3; }, 3000));
    EXPECT_GE(elapsed.elapsed(), 450);
    QElapsedTimer stop;
    stop.start();
    ASSERT_TRUE(Frame().RunCommand(CommandId::Disconnect));
    EXPECT_LT(stop.elapsed(), 500);
}

TEST_F(ConnectionTest, CancelledOrFailedConnects) {
    Start();
    StartLine("VKT02");
    WhenModal cancel([](QWidget* modal) {
        if (!dynamic_cast<CConnectDialog*>(modal))
            return false;
        modal->findChild<QPushButton*>(QStringLiteral("cancel"))->click();
        return true;
    });
    ASSERT_TRUE(Frame().RunCommand(CommandId::Connect));
    EXPECT_TRUE(cancel.Done());
    EXPECT_FALSE(Doc().IsConnected());
    EXPECT_TRUE(LogTexts().empty());
    EXPECT_TRUE(Sent().empty());

    // No COM in the name: nothing is opened and nothing sent.
    EXPECT_FALSE(ConnectThroughDialog(QStringLiteral("USB1")));
    EXPECT_EQ(LogTexts(),
              (std::vector<std::string>{"sc_Open: could not open USB1 (No such file or directory)",
                                        "Cannot connect to the sensor...", "Disconnected..."}));
    EXPECT_EQ(LogIcons(), (std::vector<LogIcon>{LogIcon::Error, LogIcon::Error, LogIcon::Warning}));
    EXPECT_TRUE(Sent().empty());

    // A port with nothing behind it: the log says which device it stood for.
    EXPECT_FALSE(ConnectThroughDialog(QStringLiteral("COM200")));
    ASSERT_EQ(LogTexts().size(), 6u);
    EXPECT_EQ(LogTexts()[3], "sc_Open: could not open COM200 (" + ports.Path() +
                                 "/COM200) (No such file or directory)");
    EXPECT_EQ(LogTexts()[4], "Cannot connect to the sensor...");
    EXPECT_EQ(Frame().View()->CurrentPanel(), Frame().View()->NotConnectedPanel());
    ExpectCommandStates(Frame(), CommandContext{});

    // A sensor that does not answer: before the summary, one hint says what was tried
    // and what to do.
    line->InjectFault(1, {sim::FaultKind::Silence, -1});
    EXPECT_FALSE(ConnectThroughDialog());
    const std::vector<std::string> log = LogTexts();
    ASSERT_GE(log.size(), 3u);
    EXPECT_EQ(log[log.size() - 3], "hint: tried COM1 (" + line->DevicePath() +
                                       ") at 57600 baud, address 1, with checksum and with CRC; "
                                       "no answer: check the cable and the sensor's power, or use "
                                       "Find Sensors");
    EXPECT_EQ(LogIcons()[log.size() - 3], LogIcon::Information);
    EXPECT_EQ(log[log.size() - 2], "Cannot connect to the sensor...");
}

TEST_F(ConnectionTest, ConnectsThroughASerialDeviceServerAndOffersItAgain) {
    Start();
    StartLine("VKT02");
    sim::NetServer server;
    std::string error;
    ASSERT_TRUE(server.Start({NetProtocol::Rfc2217, "127.0.0.1", 0}, line->DevicePath(), &error))
        << error;
    const QString url = QString::fromStdString(server.Url());
    ASSERT_TRUE(ConnectThroughDialog(url));
    EXPECT_EQ(LogTexts().back(), "Successfully connected to VKT02 type sensor");
    Profile stored;
    EXPECT_EQ(stored.ReadText("Settings", "network port"), server.Url());
    EXPECT_EQ(stored.ReadInt("Settings", "port name", 0), 0); // no COM number to file
    ASSERT_TRUE(Frame().RunCommand(CommandId::Disconnect));

    QStringList entries;
    WhenModal look([&entries](QWidget* modal) {
        if (!dynamic_cast<CConnectDialog*>(modal))
            return false;
        auto* port = modal->findChild<QComboBox*>(QStringLiteral("portName"));
        for (int i = 0; i < port->count(); ++i)
            entries << port->itemText(i);
        modal->findChild<QPushButton*>(QStringLiteral("cancel"))->click();
        return true;
    });
    ASSERT_TRUE(Frame().RunCommand(CommandId::Connect));
    EXPECT_TRUE(look.Done());
    EXPECT_TRUE(entries.contains(url)) << entries.join(QLatin1Char(' ')).toStdString();
}

TEST_F(ConnectionTest, CrcSensorConnectsAfterAFailedChecksumAttempt) {
    Start();
    StartLine("VKT04", CheckMethod::Crc16);
    ASSERT_TRUE(ConnectThroughDialog());
    ASSERT_EQ(LogTexts().size(), 2u);
    EXPECT_EQ(LogTexts()[0], "Command GetModelName failed. dcs_ReadHeader timeout waiting for STX");
    EXPECT_EQ(LogIcons()[0], LogIcon::Error);
    EXPECT_TRUE(Frame().Actions().Action(CommandId::Crc)->isChecked());
    EXPECT_FALSE(Frame().Actions().Action(CommandId::Checksum)->isChecked());
}

TEST_F(ConnectionTest, SetSensorDefaultsAsksFirst) {
    Start();
    StartLine("VKT02");
    ASSERT_TRUE(ConnectThroughDialog());
    Sent();

    prompts.yesNoAnswers = {false};
    ASSERT_TRUE(Frame().RunCommand(CommandId::SetDefaults));
    EXPECT_EQ(prompts.shown.back(),
              (ScriptedPrompts::Shown{"ask", "Reset sensor to factory defaults ?"}));
    EXPECT_TRUE(Sent().empty());

    // The defaults, then the settings dialog reads the settings back.
    prompts.yesNoAnswers = {true};
    ASSERT_TRUE(Frame().RunCommand(CommandId::SetDefaults));
    EXPECT_EQ(Sent(), Frames(kSum, 1, {66, 19, 130, 129, 27, 32}));
}

TEST_F(ConnectionTest, ManufacturingModeEnablesTheFactoryCommandsOnlyWhenConnected) {
    StartLine("VKT02");
    Start({"-QXV"});
    ASSERT_TRUE(ConnectThroughDialog());
    CommandContext context;
    context.connected = true;
    context.manufacturing = true;
    ExpectCommandStates(Frame(), context);
    for (CommandId id : {CommandId::SerialAndModel, CommandId::Upload, CommandId::ResetSensor})
        EXPECT_TRUE(Frame().Actions().Action(id)->isEnabled()) << static_cast<int>(id);
    Sent();
    ASSERT_TRUE(Frame().RunCommand(CommandId::ResetSensor));
    EXPECT_EQ(Sent(), sim::test::Frame(kSum, 1, 6));

    // An unknown model string connects as a VKT02 in manufacturing mode only.
    ASSERT_TRUE(Frame().RunCommand(CommandId::Disconnect));
    StartLine("0 NEW-MODEL");
    ASSERT_TRUE(ConnectThroughDialog());
    EXPECT_EQ(LogTexts()[LogTexts().size() - 2],
              "Sensor responded with unknown model string.Since in manufacturing mode "
              "initializing as VKT02.");
    EXPECT_EQ(Frame().View()->CurrentPanel(), Frame().View()->ModelPanel(ModelType::VKT02));
}

TEST_F(ConnectionTest, EditCommandsThroughTheirDialogs) {
    Start();
    StartLine("VKT02");
    ASSERT_TRUE(ConnectThroughDialog());
    Sent();

    // Address: the serial number is shown, the new address goes to address 0.
    std::string serialShown;
    WhenModal address([&](QWidget* modal) {
        if (!dynamic_cast<CAddressDialog*>(modal))
            return false;
        serialShown =
            modal->findChild<QLineEdit*>(QStringLiteral("serialNumber"))->text().toStdString();
        modal->findChild<QLineEdit*>(QStringLiteral("address"))->setText(QStringLiteral("5"));
        modal->findChild<QPushButton*>(QStringLiteral("ok"))->click();
        return true;
    });
    ASSERT_TRUE(Frame().RunCommand(CommandId::Address));
    EXPECT_EQ(serialShown, "VK000001");
    EXPECT_EQ(Doc().Sensor().Address(), 5);
    EXPECT_TRUE(line->HasSensor(5));
    EXPECT_EQ(Profile().ReadInt("Settings\\1", "address", 0), 5);

    // Check method: the sensor is told, then the program follows.
    ASSERT_TRUE(Frame().RunCommand(CommandId::Crc));
    EXPECT_TRUE(Frame().Actions().Action(CommandId::Crc)->isChecked());
    EXPECT_EQ(line->Snapshot(5).config.method, CheckMethod::Crc16);

    // Baud rate: sensor and port move together.
    WhenModal baud([](QWidget* modal) {
        if (!dynamic_cast<CBoudRateDialog*>(modal))
            return false;
        modal->findChild<QComboBox*>(QStringLiteral("baudRate"))->setCurrentIndex(2);
        modal->findChild<QPushButton*>(QStringLiteral("ok"))->click();
        return true;
    });
    ASSERT_TRUE(Frame().RunCommand(CommandId::BaudRate));
    EXPECT_EQ(LogTexts().back(), "Set boudrate to 38400");
    EXPECT_EQ(Doc().Connection().Link().Settings().baudRate, 38400);
    EXPECT_EQ(line->Snapshot(5).config.baudRate, 38400);
    EXPECT_EQ(Profile().ReadInt("Settings\\1", "boudrate", 0), 38400);
    // Still talking: the sensor answers at the new speed in the new method.
    EXPECT_TRUE(Doc().Sensor().GetSerialNum());
}

TEST_F(ConnectionTest, ACommandThatFindsThePortLostEndsTheConnectionWhenItIsOver) {
    StartLine("VKT02");
    Start({"-QXV"});
    ASSERT_TRUE(ConnectThroughDialog());
    const std::string lost = "Port lost: COM1 (" + line->DevicePath() + ")";
    line->Unplug();
    const std::size_t before = LogTexts().size();
    prompts.yesNoAnswers = {true};
    QSignalSpy changes(&Doc(), &CVKT02Doc::connectionChanged);
    ASSERT_TRUE(Frame().RunCommand(CommandId::SetDefaults));
    EXPECT_EQ(changes.count(), 1); // the command and the loss it found, told once
    // The reload after the defaults stops at its first failed read; then the program
    // says why it stops and is disconnected, with the panel still in view.
    ASSERT_EQ(LogTexts().size(), before + 4);
    EXPECT_EQ(LogTexts()[before].rfind("Command SetDefaults failed. ", 0), 0u);
    EXPECT_EQ(LogTexts()[before + 1].rfind("Command GetSensorSetup failed. ", 0), 0u);
    EXPECT_EQ(LogTexts()[before + 2], lost);
    EXPECT_EQ(LogIcons()[before + 2], LogIcon::Error);
    EXPECT_EQ(LogTexts()[before + 3], "Disconnected...");
    EXPECT_FALSE(Doc().IsConnected());
    EXPECT_FALSE(Frame().Actions().Action(CommandId::ResetSensor)->isEnabled());
    EXPECT_TRUE(Frame().Actions().Action(CommandId::Connect)->isEnabled());
    EXPECT_EQ(Frame().View()->CurrentPanel(), Frame().View()->ModelPanel(ModelType::VKT02));
    EXPECT_EQ(Frame().statusBar()->currentMessage().toStdString(), lost);
}

TEST_F(ConnectionTest, FindSensorsConnectsToTheChosenSensorWhereItWasFound) {
    // A Rmx Short at 19200 baud, CRC, address 9: only the profile knows where it was.
    line = std::make_unique<sim::SimLine>();
    sim::SensorConfig config = sim::test::Sensor(9, "RMXS", CheckMethod::Crc16, "VK000009");
    config.baudRate = 19200;
    line->AddSensor(config);
    std::string error;
    ASSERT_TRUE(line->Start(&error)) << error;
    Profile stored;
    stored.WriteInt("Settings", "port name", 1);
    stored.WriteInt("Settings\\1", "boudrate", 19200);
    stored.WriteInt("Settings\\1", "address", 9);
    Start();

    // Stop and Cancel end a search mid-way, Cancel at once.
    {
        CFindSensorsDlg find("COM1", {}, {});
        auto* progress = find.findChild<QProgressBar*>(QStringLiteral("progress"));
        find.show();
        EXPECT_EQ(progress->maximum(), 0); // busy until the search says how far it goes
        ASSERT_TRUE(QTest::qWaitFor([&] { return progress->maximum() > 0; }, 5000));
        find.findChild<QPushButton*>(QStringLiteral("stop"))->click();
        ASSERT_TRUE(QTest::qWaitFor([&] { return !find.Searching(); }, 5000));
        EXPECT_TRUE(find.findChild<QLabel*>(QStringLiteral("status"))
                        ->text()
                        .startsWith(QStringLiteral("Stopped: ")));
        find.findChild<QPushButton*>(QStringLiteral("search"))->click();
        ASSERT_TRUE(QTest::qWaitFor([&] { return progress->value() > 0; }, 5000));
        QElapsedTimer cancelling;
        cancelling.start();
        find.findChild<QPushButton*>(QStringLiteral("cancel"))->click();
        EXPECT_LT(cancelling.elapsed(), 1000);
        EXPECT_FALSE(find.Searching());
        EXPECT_EQ(find.result(), QDialog::Rejected);
    }

    bool searching = false;
    WhenModal choose(
        [&](QWidget* modal) {
            auto* find = dynamic_cast<CFindSensorsDlg*>(modal);
            if (!find || find->Sensors().empty())
                return false;
            // The row is there while the rest of the line is still being searched.
            searching = find->Searching();
            EXPECT_EQ(find->findChild<QTableWidget*>(QStringLiteral("sensors"))->item(0, 4)->text(),
                      QStringLiteral("VK000009"));
            find->findChild<QPushButton*>(QStringLiteral("ok"))->click();
            return true;
        },
        10000);
    ASSERT_TRUE(Frame().RunCommand(CommandId::FindSensors));
    EXPECT_TRUE(choose.Done());
    EXPECT_TRUE(searching);
    ASSERT_TRUE(Doc().IsConnected());
    EXPECT_EQ(Doc().Model(), ModelType::RmxShort);
    EXPECT_EQ(Doc().Sensor().Address(), 9);
    EXPECT_EQ(Doc().Sensor().Method(), CheckMethod::Crc16);
    EXPECT_EQ(Doc().Connection().Link().Settings().baudRate, 19200);
    // The method was known: no checksum try failed first.
    for (const std::string& text : LogTexts())
        EXPECT_EQ(text.find("failed"), std::string::npos) << text;
}

} // namespace
} // namespace vk::test
