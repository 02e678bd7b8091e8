#pragma once
// The device control block that sc_SetSettings writes, built apart from the call that
// writes it so that every field can be checked without a port.

#include "link/port_settings.h"

#include <windows.h>

namespace vk {

// `reported` (what GetCommState gave) with the settings' speed, framing, handshakes and
// XON/XOFF characters and limits written in, and binary mode, parity checking, transmit
// after XOFF and abort on error forced on, error-character replacement, null stripping
// and DSR sensitivity off, the error, end-of-file and event characters and the reserved
// word 0. Every other bit keeps what the device reported.
// The system refuses a block whose XON and XOFF characters are equal, so when neither
// direction uses XON/XOFF and the settings give two equal ones (the defaults are both 0),
// the device's own characters stay, or DC1 and DC3 where those are equal too.
DCB CommStateFor(const DCB& reported, const PortSettings& settings);

} // namespace vk
