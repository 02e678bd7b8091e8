#include "legacy_tool/settings_location.h"

#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

namespace vk::legacy {

QString SettingsFilePath(const QString& programDir) {
    const QString name = "SetupVk2.ini";
    const QDir dir(programDir);
    // An installed program keeps its settings per user, also where the user owns the
    // prefix (~/.local/bin): a bin folder is no place for them. A file already there is
    // one somebody put there on purpose.
    const bool installed = dir.dirName() == "bin" && !dir.exists(name);
    if (QFileInfo(programDir).isWritable() && !installed)
        return dir.filePath(name);
    QDir config(QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation));
    config.mkpath("Korvel");
    return config.filePath("Korvel/" + name);
}

} // namespace vk::legacy
