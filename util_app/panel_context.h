#pragma once
// PanelContext: all that a model panel or a settings dialog may ask of the document.
// The shell's document implements it; panels and dialogs get it in their constructor
// and never reach the shell any other way.

#include "sensor/log_sink.h"
#include "sensor/model_table.h"
#include "util_app/exchange_guard.h"
#include "util_app/poll_sample.h"
#include "util_app/range_modes.h"

#include <cstdint>
#include <string>

namespace vk {

class SensorDevice;
class UserPrompts;

class PanelContext {
public:
    virtual ~PanelContext() = default;
    // Whether a sensor is connected now.
    virtual bool IsConnected() const = 0;
    // The model detected at the last connect (VKT02 before any).
    virtual ModelType Model() const = 0;
    // The display text of one raw range value in the current model's range mode
    // ("12.345 inch", "Out of Range", ...).
    virtual std::string FormatRange(std::uint16_t raw) const = 0;
    // The same value as a number in the current range mode's unit; none by default.
    virtual RangeReading ReadRange(std::uint16_t) const { return {}; }
    // A panel's poll succeeded; `sample` is what it read (the recorder writes it). A
    // context without a recorder ignores it.
    virtual void PollSampled(const PollSample&) {}
    // The command object of the connection; it lives as long as the document.
    virtual SensorDevice& Sensor() = 0;
    // One line for the command log. `text` is only read during the call.
    virtual void LogMessage(const char* text, LogIcon icon) = 0;
    // Queues a refill of the "System:" bar; it runs after the caller has returned to the
    // event loop.
    virtual void PostRefreshSensorBar() = 0;
    // Message boxes and file dialogs. While one is up the refresh ticks run, even inside
    // a sequence that holds the exchange guard.
    virtual UserPrompts& Prompts() = 0;
    // The guard that keeps refresh ticks out of a sequence: every button that talks to the
    // sensor holds it while it does (ExchangeGuard::Hold hold(context.Exchanges());).
    virtual ExchangeGuard& Exchanges() = 0;
};

} // namespace vk
