#pragma once
// The tool's serial port: a COM number and a baud rate, 8 data bits, no parity, one stop
// bit, no flow control, DTR and RTS raised while open. Received bytes are announced by
// TriggerAvail on the user-interface thread.

#include "legacy_tool/korvel_codec.h"

#include <QObject>
#include <QSerialPort>

namespace vk::legacy {

class UserPrompts;

class ComPort : public QObject {
    Q_OBJECT
public:
    ComPort(UserPrompts& prompts, QObject* parent = nullptr);

    // Take effect at the next Open.
    void SetPortNumber(int number) { portNumber_ = number; }
    void SetBaudRate(int baud) { baud_ = baud; }
    int PortNumber() const { return portNumber_; }

    // Opens "COM<number>" (as the port directory resolves it). Port number 0 first asks
    // for a port among COM1 to COM50 that exist; cancelling fails the open.
    bool Open();
    void Close();
    bool IsOpen() const;

    // Queues every byte for sending; nothing happens while the port is closed.
    void Write(const Bytes& bytes);
    // Every received byte waiting now.
    QByteArray ReadAll();
    // Throws away every received byte not read yet, also those still in the driver.
    void DiscardInput();
    void LowerLines();

signals:
    // Bytes are waiting; `count` of them.
    void TriggerAvail(int count);
    // The device went away (adapter pulled, cable cut): the port has been closed and
    // stays closed until the next Open. Sent once for each open.
    void Lost();

private:
    void OnError(QSerialPort::SerialPortError error);
    void CloseLost();

    UserPrompts& prompts_;
    QSerialPort* port_;
    int portNumber_ = 1;
    int baud_ = 57600;
    bool losing_ = false; // a loss was seen and the port is about to close
};

} // namespace vk::legacy
