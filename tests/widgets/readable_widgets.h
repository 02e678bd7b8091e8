#pragma once
// What a screen reader or a GUI test tool finds in a window: every control it can act on
// has a name, every name/value list shows its names whole, no text is cut (CutTexts) and
// nothing is covered (Overlapping).

#include <QAbstractButton>
#include <QAbstractItemView>
#include <QAbstractSlider>
#include <QAbstractSpinBox>
#include <QAccessible>
#include <QCheckBox>
#include <QComboBox>
#include <QCoreApplication>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QStyle>
#include <QStyleOptionComboBox>
#include <QStyleOptionFrame>
#include <QTabBar>
#include <QTableWidget>
#include <QTextEdit>
#include <QWidget>

#include <string>
#include <vector>

namespace vk::test {

// Where a widget sits, for a failure message: class and objectName of it and its parents.
inline std::string WidgetPath(const QWidget* w) {
    std::string path;
    for (; w; w = w->parentWidget()) {
        std::string step = w->metaObject()->className();
        if (!w->objectName().isEmpty())
            step += "#" + w->objectName().toStdString();
        path = path.empty() ? step : step + " < " + path;
    }
    return path;
}

inline bool IsControl(const QWidget* w) {
    // The parts Qt builds inside a control (a spin box's line edit, a combo box's popup
    // list, a list's header, a scroll bar, a toolbar's overflow button) are reached
    // through the control itself.
    for (const QWidget* p = w->parentWidget(); p; p = p->parentWidget()) {
        if (qobject_cast<const QAbstractSpinBox*>(p) || qobject_cast<const QComboBox*>(p) ||
            qobject_cast<const QAbstractItemView*>(p))
            return false;
    }
    if (w->inherits("QScrollBar") || w->objectName().startsWith(QLatin1String("qt_")) ||
        w->window() != w->parentWidget()->window())
        return false;
    return qobject_cast<const QAbstractButton*>(w) || qobject_cast<const QComboBox*>(w) ||
           qobject_cast<const QLineEdit*>(w) || qobject_cast<const QAbstractSpinBox*>(w) ||
           qobject_cast<const QAbstractSlider*>(w) || qobject_cast<const QAbstractItemView*>(w) ||
           qobject_cast<const QTextEdit*>(w) || qobject_cast<const QPlainTextEdit*>(w);
}

// Every control below `root` whose accessible name (its own, its buddy label's, its text)
// is empty, as WidgetPath gives it.
inline std::vector<std::string> UnnamedControls(QWidget* root) {
    std::vector<std::string> unnamed;
    for (QWidget* w : root->findChildren<QWidget*>()) {
        if (!IsControl(w))
            continue;
        QAccessibleInterface* face = QAccessible::queryAccessibleInterface(w);
        if (!face || face->text(QAccessible::Name).trimmed().isEmpty())
            unnamed.push_back(WidgetPath(w));
    }
    return unnamed;
}

// Every name/value list below `root` whose name column is narrower than its longest name.
inline std::vector<std::string> ClippedNameColumns(QWidget* root) {
    QCoreApplication::processEvents(); // columns sized to their contents follow lazily
    std::vector<std::string> clipped;
    for (QTableWidget* list : root->findChildren<QTableWidget*>()) {
        // What the names need, as the view itself measures its cells.
        const int needed = static_cast<const QAbstractItemView*>(list)->sizeHintForColumn(0);
        if (list->columnCount() == 2 && list->rowCount() > 0 && list->columnWidth(0) < needed)
            clipped.push_back(WidgetPath(list) + ": " + std::to_string(list->columnWidth(0)) +
                              " < " + std::to_string(needed));
    }
    return clipped;
}

// The width `edit` has for its text.
inline int TextRoom(const QLineEdit* edit) {
    QStyleOptionFrame option;
    option.initFrom(edit);
    option.lineWidth = edit->hasFrame()
                           ? edit->style()->pixelMetric(QStyle::PM_DefaultFrameWidth, &option, edit)
                           : 0;
    const QRect room = edit->style()->subElementRect(QStyle::SE_LineEditContents, &option, edit);
    const QMargins margins = edit->textMargins();
    const int inner = 2; // QLineEdit keeps this much free on either side of its text
    return room.width() - margins.left() - margins.right() - 2 * inner;
}

// Every two labels, tab bars or controls shown below `root` that overlap, as WidgetPath
// gives them. Only what is shown counts: call it with each page in front.
inline std::vector<std::string> Overlapping(QWidget* root) {
    QCoreApplication::processEvents(); // layouts follow lazily
    std::vector<std::string> faults;
    std::vector<QWidget*> shown;
    for (QWidget* w : root->findChildren<QWidget*>()) {
        const bool texty = qobject_cast<QLabel*>(w) || qobject_cast<QTabBar*>(w);
        if (w->isVisible() && w->window() == root->window() && (texty || IsControl(w)))
            shown.push_back(w);
    }
    for (std::size_t i = 0; i < shown.size(); ++i) {
        for (std::size_t j = i + 1; j < shown.size(); ++j) {
            QWidget* a = shown[i];
            QWidget* b = shown[j];
            if (a->isAncestorOf(b) || b->isAncestorOf(a))
                continue;
            const QRect ra(a->mapTo(root, QPoint(0, 0)), a->size());
            const QRect rb(b->mapTo(root, QPoint(0, 0)), b->size());
            if (ra.intersects(rb))
                faults.push_back(WidgetPath(a) + " overlaps " + WidgetPath(b));
        }
    }
    return faults;
}

// The words a control shows, without mnemonic markers.
inline QString ShownWords(QString text) {
    text.replace(QLatin1String("&&"), QLatin1String("\x01"));
    text.remove(QLatin1Char('&'));
    text.replace(QLatin1Char('\x01'), QLatin1Char('&'));
    return text;
}

// Every label, button, check box, field, spin box, tab, group box title and combo box
// entry shown below `root` that its widget is too narrow or too low to show whole, as
// "<path>: "<text>" needs <n> px, has <m>" (" px high" for the height).
inline std::vector<std::string> CutTexts(QWidget* root) {
    QCoreApplication::processEvents(); // layouts follow lazily
    std::vector<std::string> cut;
    auto check = [&cut](const QWidget* w, const QString& text, int needed, int has,
                        const char* unit = " px") {
        if (needed > has)
            cut.push_back(WidgetPath(w) + ": \"" + text.toStdString() + "\" needs " +
                          std::to_string(needed) + unit + ", has " + std::to_string(has));
    };
    // A line of text needs no less height than the widget's least size gives it.
    auto checkHeight = [&check](const QWidget* w, const QString& text) {
        check(w, text, w->minimumSizeHint().height(), w->height(), " px high");
    };
    for (QWidget* w : root->findChildren<QWidget*>()) {
        if (!w->isVisibleTo(root) || w->window() != root->window())
            continue;
        const QFontMetrics metrics = w->fontMetrics();
        if (auto* label = qobject_cast<QLabel*>(w); label && !label->text().isEmpty()) {
            if (label->wordWrap()) {
                check(label, label->text(), label->heightForWidth(label->width()), label->height(),
                      " px high");
            } else {
                check(label, label->text(), label->sizeHint().width(), label->width());
                checkHeight(label, label->text());
            }
        } else if (qobject_cast<QCheckBox*>(w) || qobject_cast<QRadioButton*>(w)) {
            auto* button = static_cast<QAbstractButton*>(w);
            check(button, button->text(), button->sizeHint().width(), button->width());
            checkHeight(button, button->text());
        } else if (auto* button = qobject_cast<QPushButton*>(w);
                   button && !button->text().isEmpty()) {
            // The style may make a button wider than its words need; only the words count.
            const QString words = ShownWords(button->text());
            const int margin =
                button->style()->pixelMetric(QStyle::PM_ButtonMargin, nullptr, button);
            check(button, words, metrics.horizontalAdvance(words) + margin, button->width());
            checkHeight(button, words);
        } else if (auto* group = qobject_cast<QGroupBox*>(w); group && !group->title().isEmpty()) {
            const QString words = ShownWords(group->title());
            check(group, words, metrics.horizontalAdvance(words), group->width());
        } else if (auto* box = qobject_cast<QComboBox*>(w)) {
            // Whichever entry is chosen must fit where the box shows it.
            QStyleOptionComboBox option;
            option.initFrom(box);
            option.editable = box->isEditable();
            option.frame = box->hasFrame();
            const QRect field = box->style()->subControlRect(QStyle::CC_ComboBox, &option,
                                                             QStyle::SC_ComboBoxEditField, box);
            for (int i = 0; i < box->count(); ++i)
                check(box, box->itemText(i), metrics.horizontalAdvance(box->itemText(i)),
                      field.width());
            checkHeight(box, box->currentText());
        } else if (auto* edit = qobject_cast<QLineEdit*>(w); edit && IsControl(edit)) {
            // A field needs room for what it holds.
            check(edit, edit->text(), metrics.horizontalAdvance(edit->text()), TextRoom(edit));
            checkHeight(edit, edit->text());
        } else if (auto* spin = qobject_cast<QAbstractSpinBox*>(w)) {
            check(spin, spin->text(), spin->minimumSizeHint().width(), spin->width());
            checkHeight(spin, spin->text());
        } else if (auto* tabs = qobject_cast<QTabBar*>(w)) {
            for (int i = 0; i < tabs->count(); ++i) {
                const QString words = ShownWords(tabs->tabText(i));
                if (tabs->isTabVisible(i))
                    check(tabs, words, metrics.horizontalAdvance(words), tabs->tabRect(i).width());
            }
            checkHeight(tabs, tabs->tabText(tabs->currentIndex()));
        }
    }
    return cut;
}

} // namespace vk::test
