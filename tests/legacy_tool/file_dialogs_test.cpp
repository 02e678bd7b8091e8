// The tool's own file dialogs, as a user meets them: where each one starts and the
// extension it adds to a name typed without one.

#include "legacy_test_support.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QTemporaryDir>
#include <QTimer>

namespace vk::legacy::test {
namespace {

TEST(LegacyFileDialogs, StartWhereTheLastFileWasChosenAndAddTheirExtension) {
    EnsureApplication();
    QTemporaryDir root;
    ASSERT_TRUE(root.isValid());
    const QString lists = root.filePath("lists"), images = root.filePath("images");
    for (const QString& file : {lists + "/Address.txt", images + "/top_rt.bin"}) {
        QDir().mkpath(QFileInfo(file).path());
        QFile f(file);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    }
    QtUserPrompts prompts;
    QString startedIn;
    // Notes where the dialog that comes up starts, and types `name` into it in `folder`.
    auto answer = [&](const QString& folder, const QString& name) {
        QTimer::singleShot(0, [&startedIn, folder, name] {
            auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
            ASSERT_NE(dialog, nullptr);
            startedIn = dialog->directory().absolutePath();
            dialog->setDirectory(folder);
            dialog->selectFile(name);
            static_cast<QDialog*>(dialog)->accept(); // the file dialog's own Open or Save
        });
    };

    answer(lists, "Address");
    EXPECT_EQ(prompts.OpenFile({{"Text File (*.TXT)"}, 0, "Address.txt", "txt"}),
              lists + "/Address.txt");
    EXPECT_EQ(startedIn, QDir::currentPath());
    answer(images, "top_rt");
    EXPECT_EQ(prompts.OpenFile({{"DSP File  (*rt*.bin)"}, 0, {}, "bin"}), images + "/top_rt.bin");
    EXPECT_EQ(startedIn, lists);
    answer(images, "Samples.txt");
    EXPECT_EQ(prompts.SaveFile({{}, 0, "Samples.txt", {}}), images + "/Samples.txt");
    EXPECT_EQ(startedIn, images);
}

} // namespace
} // namespace vk::legacy::test
