#include "legacy_tool/settings_location.h"

#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

namespace vk::legacy {

QString SettingsFilePath(const QString& programDir) {
    const QString name = "SetupVk2.ini";
    if (QFileInfo(programDir).isWritable())
        return QDir(programDir).filePath(name);
    QDir config(QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation));
    config.mkpath("Korvel");
    return config.filePath("Korvel/" + name);
}

} // namespace vk::legacy
