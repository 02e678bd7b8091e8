#include "util_app/toolbar_icons.h"

#include <QPainter>
#include <QPixmap>

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

QIcon Themed(const char* name, const QString& letters, const QColor& colour) {
    return QIcon::fromTheme(QString::fromLatin1(name), LetterIcon(letters, colour));
}

} // namespace

QIcon ToolbarIcon(CommandId id) {
    switch (id) {
    case CommandId::Connect:
        return Themed("network-connect", QStringLiteral("C"), QColor(0, 128, 0));
    case CommandId::Disconnect:
        return Themed("network-disconnect", QStringLiteral("D"), QColor(160, 0, 0));
    case CommandId::Address:
        return Themed("address-book-new", QStringLiteral("A"), QColor(0, 80, 160));
    case CommandId::SetDefaults:
        return Themed("edit-undo", QStringLiteral("SD"), QColor(160, 96, 0));
    case CommandId::ReloadSettings:
        return Themed("view-refresh", QStringLiteral("R"), QColor(0, 112, 112));
    case CommandId::About:
        return Themed("help-about", QStringLiteral("?"), QColor(96, 96, 96));
    default:
        return {};
    }
}

QIcon ProgramIcon() {
    return LetterIcon(QStringLiteral("Vk"), QColor(0, 64, 128));
}

} // namespace vk
