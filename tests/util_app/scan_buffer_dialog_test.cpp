// The scan buffer reader against a simulated VKT02: the requests it puts on the line, the
// list and the plot it fills, Stop during a read, bad replies, and the file every save
// appends to.
#include "util_test_support.h"

#include "util_app/document.h"
#include "util_app/scan_buffer_dialog.h"
#include "util_app/scan_plot.h"

#include <QFile>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QTableView>
#include <QTemporaryDir>

namespace vk::test {
namespace {

constexpr auto kSum = CheckMethod::Checksum;

class ReadBufferDialogTest : public UtilTest {
protected:
    void SetUp() override {
        Start();
        ASSERT_TRUE(ConnectQuiet("VKT02"));
        // Mode 0 (unsigned inches): the second range is out of range.
        line->Modify(1, [](sim::SensorState& s) {
            s.scanBuffer[0] = 12345;
            s.scanBuffer[1] = 0x8000;
            s.scanBuffer[2] = 5;
        });
        dialog = std::make_unique<CReadBufferDialog>(Doc());
        dialog->SetRangesAvailable(300);
    }
    template <typename T> T* Find(const char* name) const {
        T* child = dialog->findChild<T*>(QString::fromLatin1(name));
        EXPECT_NE(child, nullptr) << name;
        return child;
    }
    QPushButton* Button(const char* name) const { return Find<QPushButton>(name); }
    // Types `count` into "Ranges to read:" and presses Start.
    void Read(const char* count) {
        Find<QLineEdit>("rangesToRead")->setText(QString::fromLatin1(count));
        Button("start")->click();
    }
    // Runs `action` once, when the first portion has come in.
    void AfterFirstPortion(std::function<void()> action) {
        QObject::connect(Find<QProgressBar>("progress"), &QProgressBar::valueChanged, dialog.get(),
                         [this, action = std::move(action)](int value) {
                             if (value == 0 || done)
                                 return;
                             done = true;
                             EXPECT_TRUE(Doc().Exchanges().Held()); // no tick in between
                             action();
                         });
    }
    static std::vector<std::uint8_t> Portion(std::uint16_t first, std::uint16_t count) {
        return sim::test::Frame(kSum, 1, 11,
                                {static_cast<std::uint8_t>(first),
                                 static_cast<std::uint8_t>(first >> 8),
                                 static_cast<std::uint8_t>(count), 0});
    }
    void ExpectIdle() const {
        EXPECT_TRUE(Button("start")->isEnabled());
        EXPECT_TRUE(Button("close")->isEnabled());
        EXPECT_TRUE(Button("save")->isEnabled());
        EXPECT_FALSE(Button("stop")->isEnabled());
        EXPECT_FALSE(dialog->Reading());
    }

    std::unique_ptr<CReadBufferDialog> dialog;
    bool done = false;
};

TEST_F(ReadBufferDialogTest, ReadsInPortionsListsTheRangesAndEverySaveAppendsABlock) {
    EXPECT_EQ(dialog->windowTitle(), "Read sensor ranges buffer");
    EXPECT_EQ(Find<QLineEdit>("rangesAvailable")->text(), "300");
    EXPECT_FALSE(Find<QLineEdit>("rangesAvailable")->isEnabled());
    EXPECT_EQ(Find<QLineEdit>("startIndex")->text(), "0");
    EXPECT_FALSE(Find<QLineEdit>("startIndex")->isEnabled());
    const QAbstractItemModel* model = Find<QTableView>("rangeList")->model();
    EXPECT_EQ(model->headerData(0, Qt::Horizontal).toString(), "Range #");
    EXPECT_EQ(model->headerData(1, Qt::Horizontal).toString(), "Range value");
    ExpectIdle();

    // "Ranges to read:" starts at what is available.
    Button("start")->click();
    std::vector<std::uint8_t> expected = Portion(0, 126);
    for (const auto& next : {Portion(126, 126), Portion(252, 48)})
        expected.insert(expected.end(), next.begin(), next.end());
    EXPECT_EQ(Sent(), expected);
    ASSERT_EQ(dialog->RangeTexts().size(), 300u);
    EXPECT_EQ(Find<QProgressBar>("progress")->value(), 300);
    EXPECT_EQ(Find<QProgressBar>("progress")->text(), "300 of 300");
    EXPECT_EQ(model->data(model->index(299, 0)).toString(), "300");
    ExpectIdle();

    Read("3");
    EXPECT_EQ(Sent(), Portion(0, 3));
    EXPECT_EQ(dialog->RangeTexts(),
              (std::vector<QString>{"12.345 inch", "Out of Range", "0.005 inch"}));
    EXPECT_EQ(model->data(model->index(1, 0)).toString(), "2");
    // The plot has the same ranges, "Out of Range" as a gap.
    EXPECT_EQ(dialog->Plot()->Ranges(),
              (std::vector<std::optional<double>>{12.345, std::nullopt, 0.005}));

    QTemporaryDir folder;
    const QString path = folder.filePath(QStringLiteral("scanbuffer.txt"));
    prompts.savePaths = {path, path};
    Button("save")->click();
    Button("save")->click();
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QByteArray block = "\nSensor: VK000001 \t Address: 1\n\nScan buffer: Size: 3\n"
                             "#0:\t\t12.345 inch\n#1:\t\tOut of Range\n#2:\t\t0.005 inch\n";
    EXPECT_EQ(file.readAll(), block + block);
    EXPECT_EQ(
        prompts.shown.at(0),
        (ScriptedPrompts::Shown{"save", "Text files (*.txt);;All files (*.*) scanbuffer.txt"}));

    // A file that cannot be opened for appending is named; the list stays.
    prompts.savePaths = {folder.path()};
    Button("save")->click();
    ASSERT_EQ(prompts.shown.size(), 4u);
    EXPECT_EQ(prompts.shown[3].kind, "error");
    EXPECT_EQ(prompts.shown[3].text.rfind(
                  "Cannot open \"" + folder.path().toStdString() + "\" for appending: ", 0),
              0u)
        << prompts.shown[3].text;
    EXPECT_EQ(dialog->RangeTexts().size(), 3u);
    EXPECT_TRUE(Sent().empty());
}

TEST_F(ReadBufferDialogTest, NothingToReadRefusedFieldsAndStopLeaveTheListEmpty) {
    Read("0");
    EXPECT_TRUE(Sent().empty());
    EXPECT_TRUE(dialog->RangeTexts().empty());
    EXPECT_TRUE(prompts.shown.empty());

    Read("abc");
    Read("302");
    Read("301"); // passes the check, then does not fit
    EXPECT_EQ(prompts.shown, (std::vector<ScriptedPrompts::Shown>{
                                 {"warn", "Please enter an integer."},
                                 {"warn", "Please enter an integer between 0 and 301."}}));
    EXPECT_TRUE(Sent().empty());

    // Stop goes through the event queue that the read drains between portions.
    Read("3");
    Sent();
    QPushButton* stop = Button("stop");
    AfterFirstPortion([stop] {
        EXPECT_TRUE(stop->isEnabled());
        QMetaObject::invokeMethod(stop, &QPushButton::click, Qt::QueuedConnection);
    });
    Read("300");
    EXPECT_EQ(Sent(), Portion(0, 126));
    EXPECT_TRUE(dialog->RangeTexts().empty());
    EXPECT_TRUE(dialog->Ranges().empty());
    EXPECT_TRUE(dialog->Plot()->Ranges().empty());
    ExpectIdle();
}

TEST_F(ReadBufferDialogTest, ABadReplyEndsTheReadWithItsLineAndAnEmptyList) {
    Read("3");
    ASSERT_EQ(dialog->RangeTexts().size(), 3u);

    // A packet short of its portion: never the samples of an earlier read as new ones.
    sim::Fault shorter{sim::FaultKind::ShortPayload};
    shorter.cutAfter = 2;
    line->InjectFault(1, shorter);
    Read("3");
    EXPECT_TRUE(dialog->RangeTexts().empty());
    EXPECT_EQ(LogTexts().back(), "The sensor sent 2 of 3 samples at 0.");
    ExpectIdle();

    // The sensor goes silent after the first portion.
    AfterFirstPortion([this] { line->InjectFault(1, {sim::FaultKind::Silence, -1}); });
    Read("300");
    EXPECT_TRUE(dialog->RangeTexts().empty());
    EXPECT_EQ(LogTexts().back(),
              "Command GetScanBufferPortion failed. dcs_ReadHeader timeout waiting for STX");
    EXPECT_EQ(LogIcons().back(), LogIcon::Error);
    ExpectIdle();
}

} // namespace
} // namespace vk::test
