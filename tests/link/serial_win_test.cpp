// The Windows half of the port layer without a line: the control block it writes and
// what a port that is not there says.
#include "link/comm_state_win.h"
#include "link/serial.h"

#include <gtest/gtest.h>

#include <string>

using namespace vk;

TEST(SerialWindows, TheControlBlockTakesTheSettingsAndKeepsTheRest) {
    DCB reported{};
    reported.DCBlength = sizeof(DCB);
    reported.fOutxCtsFlow = 1;
    reported.fNull = 1;
    reported.fErrorChar = 1;
    reported.EofChar = 0x1A;
    reported.XonChar = 0x11;
    reported.XoffChar = 0x13;
    reported.fDummy2 = 5;
    reported.wReserved1 = 0x1234;

    PortSettings settings;
    DCB dcb = CommStateFor(reported, settings);
    EXPECT_EQ(dcb.BaudRate, 57600u);
    EXPECT_EQ(dcb.ByteSize, 8);
    EXPECT_EQ(dcb.Parity, NOPARITY);
    EXPECT_EQ(dcb.StopBits, ONESTOPBIT);
    EXPECT_EQ(dcb.fRtsControl, unsigned{RTS_CONTROL_ENABLE});
    EXPECT_EQ(dcb.fDtrControl, unsigned{DTR_CONTROL_ENABLE});
    EXPECT_EQ(dcb.fOutxCtsFlow, 0u);
    EXPECT_EQ(dcb.fOutX + dcb.fInX, 0u);
    EXPECT_EQ(dcb.fBinary + dcb.fParity + dcb.fTXContinueOnXoff + dcb.fAbortOnError, 4u);
    EXPECT_EQ(dcb.fNull + dcb.fErrorChar + dcb.fDsrSensitivity, 0u);
    EXPECT_EQ(dcb.EofChar, 0);
    EXPECT_EQ(dcb.fDummy2, 5u);
    EXPECT_EQ(dcb.wReserved1, 0x1234);
    // The default characters are both 0, which the system refuses; unused, the device's
    // own stay, or DC1 and DC3 where the device's are equal too.
    EXPECT_EQ(dcb.XonChar, 0x11);
    EXPECT_EQ(dcb.XoffChar, 0x13);
    reported.XonChar = reported.XoffChar = 0;
    dcb = CommStateFor(reported, settings);
    EXPECT_EQ(dcb.XonChar, 0x11);
    EXPECT_EQ(dcb.XoffChar, 0x13);

    // Characters in use are the caller's, refused or not.
    settings.baudRate = 9600;
    settings.dataBits = 7;
    settings.parity = kParityEven;
    settings.stopBits = kStopTwo;
    settings.xonXoffInput = 1;
    settings.xonChar = 'Q';
    settings.xoffChar = 'S';
    dcb = CommStateFor(reported, settings);
    EXPECT_EQ(dcb.BaudRate, 9600u);
    EXPECT_EQ(dcb.ByteSize, 7);
    EXPECT_EQ(dcb.Parity, EVENPARITY);
    EXPECT_EQ(dcb.StopBits, TWOSTOPBITS);
    EXPECT_EQ(dcb.fInX, 1u);
    EXPECT_EQ(dcb.XonChar, 'Q');
    EXPECT_EQ(dcb.XoffChar, 'S');
}

TEST(SerialWindows, APortThatIsNotThereSaysWhichAndWhy) {
    CommError err;
    EXPECT_EQ(sc_Open(250, &err), kInvalidPortHandle);
    EXPECT_EQ(err.code, kErrOpenFailed);
    const std::string text = err.text;
    const std::string named = "sc_Open: could not open COM250 (";
    EXPECT_EQ(text.rfind(named, 0), 0u) << text;
    EXPECT_GT(text.size(), named.size() + 1) << "the system's reason is missing: " << text;
    EXPECT_EQ(text.back(), ')');
}
