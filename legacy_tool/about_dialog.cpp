#include "legacy_tool/about_dialog.h"

#include "legacy_tool/key_filter_hook.h"
#include "legacy_tool/number_format.h"

#include <QFrame>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPushButton>
#include <QVBoxLayout>

namespace vk::legacy {

namespace {

constexpr double kVersion = 3.0;

bool IsLeftWithShift(const QMouseEvent* e) {
    return e->button() == Qt::LeftButton && (e->modifiers() & Qt::ShiftModifier);
}

} // namespace

TdlgAbout::TdlgAbout(QWidget* parent) : QDialog(parent) {
    setObjectName("dlgAbout");
    setWindowTitle("About");
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint);
    setStyleSheet("QLabel { color: red; font-weight: bold; }");

    auto* layout = new QVBoxLayout(this);
    layout->setSizeConstraint(QLayout::SetFixedSize);
    Panel1_ = new QFrame(this);
    Panel1_->setObjectName("Panel1");
    Panel1_->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    auto* panel = new QVBoxLayout(Panel1_);
    auto* program = new QLabel("SetupVk2.exe", Panel1_);
    program->setStyleSheet("QLabel { color: black; }");
    lblVersion_ = new QLabel(Panel1_);
    lblVersion_->setObjectName("lblVersion");
    editPasswrod_ = new QLineEdit(Panel1_);
    editPasswrod_->setObjectName("editPasswrod");
    editPasswrod_->setVisible(false);
    editPasswrod_->setAccessibleName("Access code");
    panel->addWidget(program);
    panel->addWidget(lblVersion_);
    panel->addWidget(editPasswrod_);
    layout->addWidget(Panel1_);

    for (const char* line : {"Korvel Sensor Systems", "Single-point laser range sensors",
                             "Setup and service of the VKT02"})
        layout->addWidget(new QLabel(line, this));
    auto* ok = new QPushButton("OK", this);
    ok->setObjectName("btnOK");
    ok->setDefault(true);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
    layout->addWidget(ok, 0, Qt::AlignHCenter);

    // Only the key handler changes the code; any other edit of the field (Delete, a cut,
    // Ctrl+K, undo) would leave it showing more or fewer "*" than the code holds.
    connect(editPasswrod_, &QLineEdit::textEdited, this, &TdlgAbout::ShowEntry);

    Panel1_->installEventFilter(this);
    // Installed after this dialog's own filter, the key filter sees each key first and
    // refuses what the code cannot hold, pasting included.
    editPasswrod_->installEventFilter(this);
    InstallKeyFilter(editPasswrod_, KeyFilter::AccessCode);
}

void TdlgAbout::HideEntry() {
    editPasswrod_->setVisible(false);
    editPasswrod_->setAccessibleName("Access code");
    editPasswrod_->clear();
}

void TdlgAbout::showEvent(QShowEvent* event) {
    FormActivate();
    QDialog::showEvent(event);
}

void TdlgAbout::done(int result) {
    FormClose();
    QDialog::done(result);
}

void TdlgAbout::FormActivate() {
    lblVersion_->setText(QString::fromStdString("Version " + FormatFixed(kVersion, 15, 2)));
    pressedWithShift_ = false;
    releasedWithShift_ = false;
}

void TdlgAbout::FormClose() {
    pressedWithShift_ = false;
    releasedWithShift_ = false;
}

bool TdlgAbout::eventFilter(QObject* watched, QEvent* event) {
    if (watched == Panel1_) {
        switch (event->type()) {
        case QEvent::MouseButtonPress:
            Panel1MouseDown(IsLeftWithShift(static_cast<QMouseEvent*>(event)));
            break;
        case QEvent::MouseButtonRelease:
            Panel1MouseUp(IsLeftWithShift(static_cast<QMouseEvent*>(event)));
            break;
        case QEvent::MouseButtonDblClick:
            // The second press of a double click is a press as well.
            Panel1DblClick();
            Panel1MouseDown(IsLeftWithShift(static_cast<QMouseEvent*>(event)));
            break;
        default:
            break;
        }
        return false;
    }
    if (watched == editPasswrod_ && event->type() == QEvent::KeyPress) {
        auto* key = static_cast<QKeyEvent*>(event);
        // A shortcut such as Ctrl+X edits the field and types nothing into the code, whatever
        // text the platform gives it; AltGr arrives as Ctrl+Alt and does type.
        Qt::KeyboardModifiers held = key->modifiers();
        if ((held & Qt::ControlModifier) && !(held & Qt::AltModifier))
            return false;
        QString text = key->text();
        return text.size() == 1 && editPasswrodKeyPress(text.front().unicode());
    }
    return false;
}

void TdlgAbout::Panel1MouseDown(bool leftWithShift) {
    pressedWithShift_ = leftWithShift;
}

void TdlgAbout::Panel1MouseUp(bool leftWithShift) {
    releasedWithShift_ = leftWithShift;
}

void TdlgAbout::Panel1DblClick() {
    if (!pressedWithShift_ || !releasedWithShift_)
        return;
    entry_.clear();
    ShowEntry();
    editPasswrod_->setVisible(true);
    editPasswrod_->setFocus();
}

bool TdlgAbout::editPasswrodKeyPress(char32_t key) {
    // Enter goes on to the dialog's default button; other control keys move the focus.
    if (key == kKeyEnter || (key < 0x20 && key != kKeyBackspace))
        return false;
    // Only what the code may hold goes into it (the key filter has seen every printable
    // character; Delete, 0x7F, is none).
    if (!KeyAccepted(KeyFilter::AccessCode, key, {}))
        return true;
    if (key == kKeyBackspace) {
        if (!entry_.empty())
            entry_.pop_back();
    } else {
        entry_.push_back(static_cast<char>(key));
    }
    ShowEntry();
    return true;
}

void TdlgAbout::ShowEntry() {
    editPasswrod_->setText(QString(static_cast<qsizetype>(entry_.size()), '*'));
}

} // namespace vk::legacy
