#include "legacy_tool/key_filter_hook.h"

#include <QComboBox>
#include <QEvent>
#include <QKeyEvent>
#include <QKeySequence>
#include <QLineEdit>
#include <QMouseEvent>

namespace vk::legacy {

namespace {

// Characters the filters judge: the printable ones, and the backspace and Enter they
// name. Other control characters (Tab, Escape, Ctrl+A) move the focus or edit, and pass.
bool Judged(QChar c) {
    char16_t u = c.unicode();
    return u == kKeyBackspace || u == kKeyEnter || (u >= 0x20 && u != 0x7F);
}

bool IsMiddleClick(QEvent* event) {
    switch (event->type()) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick:
        // X11 pastes its selection on a middle click.
        return static_cast<QMouseEvent*>(event)->button() == Qt::MiddleButton;
    default:
        return false;
    }
}

class KeyFilterHook : public QObject {
public:
    KeyFilterHook(QObject* owner, KeyFilter filter) : QObject(owner), filter_(filter) {}

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        auto* edit = qobject_cast<QLineEdit*>(watched);
        if (edit && IsMiddleClick(event))
            return true;
        if (event->type() != QEvent::KeyPress)
            return false;
        auto* key = static_cast<QKeyEvent*>(event);
        if (edit && key->matches(QKeySequence::Paste))
            return true;
        std::string text;
        if (edit)
            text = edit->text().toStdString();
        for (QChar c : key->text()) {
            if (Judged(c) && !KeyAccepted(filter_, c.unicode(), text))
                return true;
        }
        return false;
    }

private:
    KeyFilter filter_;
};

class LengthLimit : public QObject {
public:
    LengthLimit(QLineEdit* owner, int maxLength) : QObject(owner), edit_(owner), max_(maxLength) {}

protected:
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() != QEvent::KeyPress)
            return false;
        QString typed = static_cast<QKeyEvent*>(event)->text();
        if (typed.isEmpty() || !typed.front().isPrint())
            return false;
        qsizetype kept = edit_->text().size() - edit_->selectedText().size();
        return kept + typed.size() > max_;
    }

private:
    QLineEdit* edit_;
    int max_;
};

class ExitGuard : public QObject {
public:
    ExitGuard(QObject* owner, std::function<void()> guard)
        : QObject(owner), guard_(std::move(guard)) {}

protected:
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::FocusOut)
            guard_();
        return false;
    }

private:
    std::function<void()> guard_;
};

} // namespace

void InstallKeyFilter(QLineEdit* edit, KeyFilter filter) {
    edit->installEventFilter(new KeyFilterHook(edit, filter));
    edit->setContextMenuPolicy(Qt::NoContextMenu);
    edit->setAcceptDrops(false);
    // Composed text would arrive whole, past the filter; these fields need no composing.
    edit->setAttribute(Qt::WA_InputMethodEnabled, false);
}

void InstallKeyFilter(QComboBox* list, KeyFilter filter) {
    list->installEventFilter(new KeyFilterHook(list, filter));
}

void InstallLengthLimit(QLineEdit* edit, int maxLength) {
    edit->installEventFilter(new LengthLimit(edit, maxLength));
}

void InstallExitGuard(QComboBox* list, std::function<void()> guard) {
    list->installEventFilter(new ExitGuard(list, std::move(guard)));
}

void RemoveExitGuards(QWidget* root) {
    for (QComboBox* list : root->findChildren<QComboBox*>()) {
        const QObjectList children = list->children(); // a copy: deleting changes the list
        for (QObject* child : children) {
            if (dynamic_cast<ExitGuard*>(child))
                delete child;
        }
    }
}

} // namespace vk::legacy
