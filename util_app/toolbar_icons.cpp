#include "util_app/toolbar_icons.h"

#include <QDir>
#include <QPainter>
#include <QPixmap>
#include <QStringList>

#include <initializer_list>

namespace vk {

namespace {

// A 16x16 rounded tile with one or two letters: enough to tell the buttons apart.
QIcon LetterIcon(const QString& letters, const QColor& colour) {
    QPixmap pixmap(16, 16);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(colour.darker(150));
    painter.setBrush(colour);
    painter.drawRoundedRect(QRectF(0.5, 0.5, 15, 15), 3, 3);
    QFont font = painter.font();
    font.setPixelSize(letters.size() > 1 ? 7 : 10);
    font.setBold(true);
    painter.setFont(font);
    painter.setPen(Qt::white);
    painter.drawText(QRect(0, 0, 16, 16), Qt::AlignCenter, letters);
    return QIcon(pixmap);
}

// The first of `names` the icon theme has, plain or in the "-symbolic" form that newer
// themes keep alone; a letter tile only when it has none of them.
QIcon Themed(std::initializer_list<const char*> names, const QString& letters,
             const QColor& colour) {
    for (const char* name : names) {
        for (const QString& candidate :
             {QString::fromLatin1(name), QString::fromLatin1(name) + "-symbolic"}) {
            // A theme of pictures this Qt cannot draw (SVG without its plugin) is no help.
            QIcon icon = QIcon::fromTheme(candidate);
            if (!icon.isNull() && !icon.pixmap(16, 16).isNull())
                return icon;
        }
    }
    return LetterIcon(letters, colour);
}

} // namespace

void UseDesktopIconTheme() {
    const QString current = QIcon::themeName();
    if (!current.isEmpty() && current != QLatin1String("hicolor"))
        return;
    // Without a desktop session (a plain X server, a window manager alone) Qt names no
    // theme, although the desktop's themes are installed: take the first of the common ones.
    for (const char* theme :
         {"breeze", "Adwaita", "Yaru", "Papirus", "elementary", "oxygen", "Tango", "gnome"}) {
        for (const QString& path : QIcon::themeSearchPaths()) {
            if (QDir(path).exists(QString::fromLatin1(theme) + "/index.theme")) {
                QIcon::setThemeName(QString::fromLatin1(theme));
                return;
            }
        }
    }
}

QIcon ToolbarIcon(CommandId id) {
    switch (id) {
    case CommandId::Connect:
        return Themed({"network-connect", "network-wired", "network-transmit-receive"},
                      QStringLiteral("C"), QColor(0, 128, 0));
    case CommandId::Disconnect:
        return Themed({"network-disconnect", "network-offline", "process-stop"},
                      QStringLiteral("D"), QColor(160, 0, 0));
    case CommandId::Address:
        return Themed({"address-book-new", "contact-new"}, QStringLiteral("A"), QColor(0, 80, 160));
    case CommandId::SetDefaults:
        return Themed({"document-revert", "edit-undo"}, QStringLiteral("SD"), QColor(160, 96, 0));
    case CommandId::ReloadSettings:
        return Themed({"view-refresh"}, QStringLiteral("R"), QColor(0, 112, 112));
    case CommandId::About:
        return Themed({"help-about"}, QStringLiteral("?"), QColor(96, 96, 96));
    default:
        return {};
    }
}

QIcon ProgramIcon() {
    // The installed program finds the picture of its desktop entry.
    return QIcon::fromTheme(QStringLiteral("korvel-vkutil"),
                            LetterIcon(QStringLiteral("Vk"), QColor(0, 64, 128)));
}

} // namespace vk
