// The command log: lines with their icons, always scrolled to the newest, cleared at once.
#include "util_test_support.h"

#include "util_app/log_dialog.h"

#include <QCoreApplication>
#include <QHeaderView>
#include <QScrollBar>
#include <QTreeWidget>

namespace vk::test {
namespace {

TEST(LogDialog, AddsLinesWithIconsAndIgnoresNullTexts) {
    EnsureApplication();
    CLogDialog log;
    EXPECT_EQ(log.List()->headerItem()->text(1), "Command log");
    EXPECT_EQ(log.List()->headerItem()->text(0), "");
    EXPECT_EQ(log.List()->iconSize(), QSize(12, 12));
    log.AddEntry("Disconnected...", LogIcon::Warning);
    log.AddEntry(nullptr, LogIcon::Error);
    log.AddEntry("Command GetPeak failed. x", LogIcon::Error);
    log.AddEntry("Close", LogIcon::Information);
    ASSERT_EQ(log.LineCount(), 3);
    EXPECT_EQ(log.LineText(0), "Disconnected...");
    EXPECT_EQ(log.LineIcon(0), LogIcon::Warning);
    EXPECT_EQ(log.LineIcon(1), LogIcon::Error);
    EXPECT_EQ(log.LineIcon(2), LogIcon::Information);
    // Each row shows its icon in the first column, no text there.
    EXPECT_FALSE(log.List()->topLevelItem(0)->icon(0).isNull());
    EXPECT_TRUE(log.List()->topLevelItem(0)->text(0).isEmpty());

    log.Clear();
    EXPECT_EQ(log.LineCount(), 0);
    log.AddEntry("next", LogIcon::Information);
    EXPECT_EQ(log.LineText(0), "next");
}

TEST(LogDialog, NewestLineStaysInViewAndColumnsFollowTheWidth) {
    EnsureApplication();
    CLogDialog log;
    log.resize(300, 120);
    log.show();
    EXPECT_EQ(log.List()->columnWidth(0), 20);
    EXPECT_EQ(log.List()->columnWidth(1), 275);
    for (int i = 0; i < 200; ++i)
        log.AddEntry(std::to_string(i).c_str(), LogIcon::Information);
    QCoreApplication::processEvents();
    QScrollBar* bar = log.List()->verticalScrollBar();
    EXPECT_GT(bar->maximum(), 0);
    EXPECT_EQ(bar->value(), bar->maximum());
    const QRect last = log.List()->visualItemRect(log.List()->topLevelItem(199));
    EXPECT_TRUE(log.List()->viewport()->rect().contains(last.topLeft()));

    log.resize(500, 200);
    QCoreApplication::processEvents();
    EXPECT_EQ(log.List()->columnWidth(1), 475);
    EXPECT_EQ(bar->value(), bar->maximum());
}

} // namespace
} // namespace vk::test
