#pragma once
// What the pages of the main form may ask of it: the shared state and link, the status
// strip, the header panels and a new Connect. Pages reach the form only through this.

#include "legacy_tool/legacy_session.h"
#include "legacy_tool/tool_state.h"
#include "legacy_tool/user_prompts.h"

#include <QString>

namespace vk::legacy {

class FormHost {
public:
    virtual ~FormHost() = default;
    virtual ToolState& State() = 0;
    virtual LegacySession& Session() = 0;
    virtual UserPrompts& Prompts() = 0;

    virtual void SetStatus(const QString& text) = 0;
    // Shows the text of a last-error code and counts it in "COM Errors".
    virtual void ProcessErrorMsg(int code) = 0;

    virtual void ShowSerialNumber(const QString& text) = 0;
    virtual void ShowModelNumber(const QString& text) = 0;
    virtual void ShowVersions(const QString& firmware, const QString& fpga) = 0;
    virtual void ShowRangeUnit(const QString& label) = 0;
    // The progress bar of the status strip: its position (0 to 100) and whether it shows.
    virtual void SetProgress(int percent, bool visible) = 0;

    // The Connect page's Address field, global addressing and baud list.
    virtual void SetConnectAddress(const QString& text) = 0;
    virtual bool GlobalAddressing() const = 0;
    virtual int HostBaudPosition() const = 0;
    virtual void SetHostBaudPosition(int position) = 0;

    // Runs Connect as its button would (it takes the busy flag itself).
    virtual void BtnConnectClick() = 0;
};

// The handler rules: a handler that finds the tool busy does nothing; otherwise it holds
// the busy flag, starting with a clear status line, until it ends or hands over.
class HandlerScope {
public:
    explicit HandlerScope(FormHost& host) : state_(host.State()) {
        if (state_.busy)
            return;
        entered_ = true;
        state_.busy = true;
        host.SetStatus({});
    }
    ~HandlerScope() { Release(); }
    HandlerScope(const HandlerScope&) = delete;
    HandlerScope& operator=(const HandlerScope&) = delete;

    bool Entered() const { return entered_; }
    // Clears busy before the handler starts Connect, which takes the flag itself.
    void Release() {
        if (entered_)
            state_.busy = false;
        entered_ = false;
    }

private:
    ToolState& state_;
    bool entered_ = false;
};

} // namespace vk::legacy
