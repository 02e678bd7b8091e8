#pragma once
// UserPrompts: every message box and file dialog the utility shows goes through this one
// interface, so tests can install a scripted answerer instead of blocking on a window.

#include <QString>

class QWidget;

namespace vk {

class UserPrompts {
public:
    virtual ~UserPrompts() = default;
    // A warning box (exclamation icon, OK) over `parent` (may be null).
    virtual void Warn(QWidget* parent, const QString& text) = 0;
    // An error box (stop icon, OK).
    virtual void Error(QWidget* parent, const QString& text) = 0;
    // A question box with Yes and No (question icon); true for Yes.
    virtual bool AskYesNo(QWidget* parent, const QString& text) = 0;
    // The open-file dialog with a filter such as "VKT02 Files (*.vkt02)"; the chosen
    // path, or an empty text when cancelled.
    virtual QString OpenFile(QWidget* parent, const QString& filter) = 0;
    // The open-file dialog starting at `start` (the file chosen before, or empty), which
    // adds `defaultSuffix` to a name typed without one. By default OpenFile.
    virtual QString OpenFileFrom(QWidget* parent, const QString& filter, const QString& start,
                                 const QString& defaultSuffix);
    // The save-file dialog starting at `suggestedName`, whose extension a typed name
    // without one gets; the chosen path or empty. It does not ask before an existing file
    // is chosen: what we save is appended to the file.
    virtual QString SaveFile(QWidget* parent, const QString& filter,
                             const QString& suggestedName) = 0;
};

// Message boxes and file dialogs of Qt, titled "VkUil" like the rest of the profile.
class QtUserPrompts : public UserPrompts {
public:
    void Warn(QWidget* parent, const QString& text) override;
    void Error(QWidget* parent, const QString& text) override;
    bool AskYesNo(QWidget* parent, const QString& text) override;
    QString OpenFile(QWidget* parent, const QString& filter) override;
    QString OpenFileFrom(QWidget* parent, const QString& filter, const QString& start,
                         const QString& defaultSuffix) override;
    QString SaveFile(QWidget* parent, const QString& filter, const QString& suggestedName) override;
};

} // namespace vk
