#include "legacy_tool/key_filter_hook.h"

#include <QComboBox>
#include <QEvent>
#include <QKeyEvent>
#include <QLineEdit>

namespace vk::legacy {

namespace {

class KeyFilterHook : public QObject {
public:
    KeyFilterHook(QObject* owner, KeyFilter filter) : QObject(owner), filter_(filter) {}

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() != QEvent::KeyPress)
            return false;
        auto* key = static_cast<QKeyEvent*>(event);
        QString typed = key->text();
        // Keys without a character (arrows, Delete, Home) are no keystrokes to filter.
        if (typed.isEmpty())
            return false;
        std::string text;
        if (auto* edit = qobject_cast<QLineEdit*>(watched))
            text = edit->text().toStdString();
        for (QChar c : typed) {
            if (!KeyAccepted(filter_, c.unicode(), text))
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
    // Pasting would bring in what no key could type.
    edit->setContextMenuPolicy(Qt::NoContextMenu);
    edit->setAcceptDrops(false);
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

} // namespace vk::legacy
