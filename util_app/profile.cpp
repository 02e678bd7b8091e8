#include "util_app/profile.h"

#include <QSettings>

namespace vk {

QString Profile::Key(const std::string& section, const std::string& name) {
    QString key = QString::fromStdString(section);
    key.replace(QLatin1Char('\\'), QLatin1Char('/'));
    return key + QLatin1Char('/') + QString::fromStdString(name);
}

// Each call opens the profile afresh: the program writes rarely, and a QSettings kept
// open would miss a path change that tests make.
void Profile::WriteInt(const std::string& section, const std::string& name, std::int64_t value) {
    QSettings settings(QString::fromLatin1(kOrganisation), QString::fromLatin1(kApplication));
    settings.setValue(Key(section, name), static_cast<qlonglong>(value));
}

void Profile::WriteText(const std::string& section, const std::string& name,
                        const std::string& value) {
    QSettings settings(QString::fromLatin1(kOrganisation), QString::fromLatin1(kApplication));
    settings.setValue(Key(section, name), QString::fromStdString(value));
}

std::string Profile::ReadText(const std::string& section, const std::string& name) const {
    QSettings settings(QString::fromLatin1(kOrganisation), QString::fromLatin1(kApplication));
    return settings.value(Key(section, name)).toString().toStdString();
}

std::int64_t Profile::ReadInt(const std::string& section, const std::string& name,
                              std::int64_t fallback) const {
    QSettings settings(QString::fromLatin1(kOrganisation), QString::fromLatin1(kApplication));
    bool ok = false;
    const qlonglong value = settings.value(Key(section, name)).toLongLong(&ok);
    return ok ? value : fallback;
}

} // namespace vk
