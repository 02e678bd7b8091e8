// The numeric entry field under real key presses on the offscreen platform.
#include "panels/numeric_edit.h"

#include <QAbstractEventDispatcher>
#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QEventLoop>
#include <QKeyEvent>
#include <QMenu>
#include <QTest>

#include <gtest/gtest.h>

#include <memory>

namespace vk {
namespace {

class QtApplication : public ::testing::Environment {
public:
    void SetUp() override {
        static int argc = 1;
        static char name[] = "numeric_edit_test";
        static char* argv[] = {name, nullptr};
        app_ = std::make_unique<QApplication>(argc, argv);
    }
    void TearDown() override { app_.reset(); }

private:
    std::unique_ptr<QApplication> app_;
};

[[maybe_unused]] const auto* const kQtApplication =
    ::testing::AddGlobalTestEnvironment(new QtApplication);

class NumericEditTest : public ::testing::Test {
protected:
    void SetUp() override {
        edit_.show();
        edit_.setFocus();
    }

    // Types `text` one key at a time, as a user would.
    void Type(const char* text) {
        for (const char* c = text; *c != '\0'; ++c)
            QTest::keyClick(&edit_, *c);
    }

    void Key(Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
        QTest::keyClick(&edit_, key, modifiers);
    }

    // Lets the event loop run until it has nothing left to do.
    static void RunUntilIdle() {
        QEventLoop loop;
        QObject::connect(QAbstractEventDispatcher::instance(),
                         &QAbstractEventDispatcher::aboutToBlock, &loop, &QEventLoop::quit);
        loop.exec();
    }

    QString Text() const { return edit_.text(); }

    CNumericEdit edit_;
};

TEST_F(NumericEditTest, TypingKeepsExactlyOneNumber) {
    Type("1 2.5"); // the space is swallowed
    EXPECT_EQ(Text(), "12.5");
    EXPECT_FALSE(edit_.DroppingTypeAhead());
    // A second point would leave no number: refused, all of it selected.
    Type(".");
    EXPECT_EQ(Text(), "12.5");
    EXPECT_EQ(edit_.selectedText(), "12.5");
    RunUntilIdle();
    Key(Qt::Key_End);
    Type("e");
    EXPECT_EQ(Text(), "12.5");
}

TEST_F(NumericEditTest, SignAndPointNeedADigit) {
    Type("-");
    RunUntilIdle();
    Type(".");
    EXPECT_EQ(Text(), "");
    RunUntilIdle();
    Type("5");
    Key(Qt::Key_Home);
    Type("-");
    EXPECT_EQ(Text(), "-5");
}

TEST_F(NumericEditTest, BackspaceCannotEmptyTheFieldButDeleteCan) {
    Type("5");
    Key(Qt::Key_Backspace);
    EXPECT_EQ(Text(), "5");
    RunUntilIdle();
    Key(Qt::Key_Home);
    Key(Qt::Key_Delete);
    EXPECT_EQ(Text(), "");
}

TEST_F(NumericEditTest, KeysTypedAheadOfARefusalAreDropped) {
    // Three keys already queued when the first refusal happens.
    for (char c : {'1', 'x', '2', '3'}) {
        QCoreApplication::postEvent(&edit_,
                                    new QKeyEvent(QEvent::KeyPress, Qt::Key_0 + (c - '0'),
                                                  Qt::NoModifier, QString(QChar::fromLatin1(c))));
    }
    QCoreApplication::sendPostedEvents(&edit_);
    EXPECT_EQ(Text(), "1");
    EXPECT_TRUE(edit_.DroppingTypeAhead());
    // Navigation is not a character and still works.
    Key(Qt::Key_Home);
    EXPECT_EQ(edit_.cursorPosition(), 0);

    RunUntilIdle();
    EXPECT_FALSE(edit_.DroppingTypeAhead());
    Key(Qt::Key_End);
    Type("2");
    EXPECT_EQ(Text(), "12");
}

TEST_F(NumericEditTest, DigitsOnlySwallowsOtherCharacters) {
    edit_.SetDigitsOnly(true);
    Type("1-.2a3");
    EXPECT_EQ(Text(), "123");
    EXPECT_FALSE(edit_.DroppingTypeAhead());
}

TEST_F(NumericEditTest, PasteIsCheckedWithoutItsSpaces) {
    QClipboard* clipboard = QGuiApplication::clipboard();
    clipboard->setText(" -2 .5\n");
    Key(Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(Text(), "-2.5");

    clipboard->setText("x");
    Key(Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(Text(), "-2.5");
    RunUntilIdle();

    edit_.clear();
    edit_.SetDigitsOnly(true);
    clipboard->setText("12.5");
    Key(Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(Text(), "");
}

// The context menu's actions reach the field by no key.
TEST_F(NumericEditTest, EditsByOtherRoutesMayOnlyEmptyTheField) {
    // A menu's actions are enabled as things stand when it opens.
    const auto trigger = [this](const char* label) {
        const std::unique_ptr<QMenu> menu(edit_.createStandardContextMenu());
        for (QAction* action : menu->actions()) {
            if (action->text().startsWith(label))
                action->trigger();
        }
    };
    Type("12");
    QGuiApplication::clipboard()->setText("x");
    trigger("&Paste");
    EXPECT_EQ(Text(), "12");
    EXPECT_EQ(edit_.selectedText(), "12");
    trigger("Delete");
    EXPECT_EQ(Text(), "");
    QGuiApplication::clipboard()->setText("-7");
    trigger("&Paste");
    EXPECT_EQ(Text(), "-7");
}

TEST_F(NumericEditTest, BoundsGovernTypingAndValue) {
    edit_.SetBounds({0.0f, 10.0f});
    Type("11");
    EXPECT_EQ(Text(), "1");

    edit_.SetValue(2.5f);
    EXPECT_EQ(Text(), "2.500000");
    EXPECT_EQ(edit_.Value(), 2.5f);
    edit_.setText("12"); // text the program sets is not checked
    EXPECT_EQ(edit_.CheckOwnText(), kNumberOutOfRange);
    EXPECT_EQ(edit_.Value(), 0.0f);
    edit_.setText("4x");
    EXPECT_EQ(edit_.CheckOwnText(), kNotANumber);
    EXPECT_EQ(edit_.CheckText("4x"), kNumberValid);
}

TEST_F(NumericEditTest, ReportsOnlyWhenAsked) {
    QStringList reports;
    edit_.SetErrorReporter([&reports](const QString& message) { reports << message; });
    edit_.setText("x");
    edit_.CheckOwnText();
    EXPECT_TRUE(reports.isEmpty());

    edit_.SetReportErrors(true);
    edit_.SetBounds({0.0f, 1.0f});
    edit_.CheckOwnText();
    edit_.CheckText("7");
    EXPECT_EQ(reports,
              QStringList({"Characters must be a number.\n", "Given value is out of range.\n"}));
}

} // namespace
} // namespace vk
