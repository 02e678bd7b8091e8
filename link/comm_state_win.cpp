#include "link/comm_state_win.h"

namespace vk {

namespace {

constexpr char kDc1 = 0x11;
constexpr char kDc3 = 0x13;

} // namespace

DCB CommStateFor(const DCB& reported, const PortSettings& s) {
    DCB dcb = reported;
    dcb.BaudRate = static_cast<DWORD>(s.baudRate);
    dcb.ByteSize = static_cast<BYTE>(s.dataBits);
    dcb.Parity = static_cast<BYTE>(s.parity);
    dcb.StopBits = static_cast<BYTE>(s.stopBits);
    dcb.fRtsControl = static_cast<DWORD>(s.rtsControl) & 3;
    dcb.fDtrControl = static_cast<DWORD>(s.dtrControl) & 3;
    dcb.fOutxCtsFlow = s.ctsOutputFlow ? 1 : 0;
    dcb.fOutxDsrFlow = s.dsrOutputFlow ? 1 : 0;
    dcb.fOutX = s.xonXoffOutput ? 1 : 0;
    dcb.fInX = s.xonXoffInput ? 1 : 0;
    dcb.XonChar = static_cast<char>(s.xonChar);
    dcb.XoffChar = static_cast<char>(s.xoffChar);
    if (dcb.XonChar == dcb.XoffChar && !dcb.fOutX && !dcb.fInX) {
        // Unused characters, but equal ones make SetCommState fail on the system's own
        // serial driver.
        const bool deviceDiffers = reported.XonChar != reported.XoffChar;
        dcb.XonChar = deviceDiffers ? reported.XonChar : kDc1;
        dcb.XoffChar = deviceDiffers ? reported.XoffChar : kDc3;
    }
    dcb.XonLim = static_cast<WORD>(s.xonLimit);
    dcb.XoffLim = static_cast<WORD>(s.xoffLimit);
    dcb.fBinary = 1;
    dcb.fParity = 1;
    dcb.fTXContinueOnXoff = 1;
    dcb.fErrorChar = 0;
    dcb.fNull = 0;
    dcb.fAbortOnError = 1;
    dcb.fDsrSensitivity = 0;
    dcb.ErrorChar = 0;
    dcb.EofChar = 0;
    dcb.EvtChar = 0;
    dcb.wReserved = 0;
    return dcb;
}

} // namespace vk
