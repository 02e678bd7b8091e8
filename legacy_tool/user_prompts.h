#pragma once
// Every message box and dialog of the setup tool goes through UserPrompts, so tests can
// script the answers and read what was shown.

#include <QString>
#include <QStringList>

#include <optional>

class QWidget;

namespace vk::legacy {

// A file dialog: its filters in Qt's form ("Cal File  (*.cal)"), the one selected first,
// the name it proposes and the suffix added to a name typed without one. It starts in the
// folder of the file last chosen in any of the tool's file dialogs, the first time in the
// current directory.
struct FileDialogRequest {
    QStringList filters;
    int filterIndex = 0;
    QString defaultName;
    QString defaultSuffix;
};

class UserPrompts {
public:
    virtual ~UserPrompts() = default;
    // An error box with an OK button.
    virtual void Error(const QString& text) = 0;
    // Yes: true.
    virtual bool AskYesNo(const QString& text) = 0;
    // The "Select Port" dialog for an invalid configured port: the index of the chosen
    // entry of `ports`; nothing when cancelled.
    virtual std::optional<int> SelectPort(const QStringList& ports) = 0;
    // The file chosen to read, or to append to; empty when cancelled.
    virtual QString OpenFile(const FileDialogRequest& request) = 0;
    virtual QString SaveFile(const FileDialogRequest& request) = 0;
};

// The real boxes and dialogs, modal to `parent`.
class QtUserPrompts : public UserPrompts {
public:
    explicit QtUserPrompts(QWidget* parent = nullptr) : parent_(parent) {}
    void SetParent(QWidget* parent) { parent_ = parent; }

    void Error(const QString& text) override;
    bool AskYesNo(const QString& text) override;
    std::optional<int> SelectPort(const QStringList& ports) override;
    QString OpenFile(const FileDialogRequest& request) override;
    QString SaveFile(const FileDialogRequest& request) override;

private:
    QString AskForFile(const FileDialogRequest& request, bool save);

    QWidget* parent_;
    QString lastFolder_; // of the file last chosen; empty before the first
};

} // namespace vk::legacy
