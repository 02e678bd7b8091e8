#include "legacy_tool/com_port.h"

#include "legacy_tool/user_prompts.h"
#include "link/port_names.h"

namespace vk::legacy {

namespace {
constexpr qint64 kInputBuffer = 4096;
constexpr int kHighestListedPort = 50;
} // namespace

ComPort::ComPort(UserPrompts& prompts, QObject* parent)
    : QObject(parent), prompts_(prompts), port_(new QSerialPort(this)) {
    port_->setReadBufferSize(kInputBuffer);
    connect(port_, &QSerialPort::readyRead, this,
            [this] { emit TriggerAvail(static_cast<int>(port_->bytesAvailable())); });
    connect(port_, &QSerialPort::errorOccurred, this, &ComPort::OnError);
}

bool ComPort::Open() {
    Close();
    losing_ = false;
    int number = portNumber_;
    if (number == 0) {
        std::vector<ComDevice> devices = ListComDevices(kHighestListedPort);
        QStringList names;
        for (const ComDevice& d : devices)
            names << QString("COM%1").arg(d.number);
        std::optional<int> chosen = prompts_.SelectPort(names);
        if (!chosen || *chosen < 0 || *chosen >= static_cast<int>(devices.size()))
            return false;
        number = devices[static_cast<std::size_t>(*chosen)].number;
    }
    std::string device = ResolvePortName("COM" + std::to_string(number));
    port_->setPortName(QString::fromStdString(device));
    bool ok = port_->open(QIODevice::ReadWrite) && port_->setBaudRate(baud_) &&
              port_->setDataBits(QSerialPort::Data8) && port_->setParity(QSerialPort::NoParity) &&
              port_->setStopBits(QSerialPort::OneStop) &&
              port_->setFlowControl(QSerialPort::NoFlowControl);
    if (!ok) {
        port_->close();
        return false;
    }
    // A pseudo-terminal has no modem lines; that is no reason to fail.
    port_->setDataTerminalReady(true);
    port_->setRequestToSend(true);
    port_->clearError();
    return true;
}

void ComPort::Close() {
    if (port_->isOpen())
        port_->close();
}

bool ComPort::IsOpen() const {
    return port_->isOpen();
}

void ComPort::Write(const Bytes& bytes) {
    if (!port_->isOpen() || bytes.empty())
        return;
    port_->write(reinterpret_cast<const char*>(bytes.data()), static_cast<qint64>(bytes.size()));
    port_->flush();
}

QByteArray ComPort::ReadAll() {
    return port_->isOpen() ? port_->readAll() : QByteArray();
}

void ComPort::DiscardInput() {
    if (port_->isOpen())
        port_->clear(QSerialPort::Input);
}

void ComPort::LowerLines() {
    if (!port_->isOpen())
        return;
    port_->setDataTerminalReady(false);
    port_->setRequestToSend(false);
    port_->clearError();
}

void ComPort::OnError(QSerialPort::SerialPortError error) {
    // A read of end-of-file or a hang-up: the device went away. Left open, the port would
    // be reported readable for ever and the event loop would spin on it. It is closed
    // once the port object has finished the read that failed.
    if (error != QSerialPort::ResourceError && error != QSerialPort::ReadError)
        return;
    if (losing_ || !port_->isOpen())
        return;
    losing_ = true;
    QMetaObject::invokeMethod(this, &ComPort::CloseLost, Qt::QueuedConnection);
}

void ComPort::CloseLost() {
    if (!losing_)
        return; // opened again meanwhile
    losing_ = false;
    Close();
    emit Lost();
}

} // namespace vk::legacy
