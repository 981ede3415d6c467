#include "link/usb_port_finder.h"

#include <QRegularExpression>
#include <QSerialPortInfo>

#include <optional>

namespace tq {

namespace {

QString &foundDevice() {
    static QString path;
    return path;
}

QString &searchedDeviceId() {
    static QString id;
    return id;
}

struct UsbId {
    quint16 vendor;
    quint16 product;
};

std::optional<UsbId> parseDeviceId(const QString &deviceId) {
    static const QRegularExpression pattern(QStringLiteral("VID_([0-9A-F]{4})&PID_([0-9A-F]{4})"),
                                            QRegularExpression::CaseInsensitiveOption);
    const auto match = pattern.match(deviceId);
    if (!match.hasMatch())
        return std::nullopt;
    return UsbId{match.captured(1).toUShort(nullptr, 16), match.captured(2).toUShort(nullptr, 16)};
}

QStringList converterDevices(const QString &deviceId) {
    const QString named = qEnvironmentVariable("TQ6200_SERIAL_PORT");
    if (!named.isEmpty())
        return {named};
    QStringList devices;
    const auto id = parseDeviceId(deviceId);
    if (!id)
        return devices;
    for (const QSerialPortInfo &info : QSerialPortInfo::availablePorts()) {
        if (info.hasVendorIdentifier() && info.hasProductIdentifier() &&
            info.vendorIdentifier() == id->vendor && info.productIdentifier() == id->product)
            devices << info.systemLocation();
    }
    return devices;
}

} // namespace

ConverterSearch FindUsbSerialPort(const QString &deviceId) {
    searchedDeviceId() = deviceId;
    const QStringList devices = converterDevices(deviceId);
    foundDevice() = devices.size() == 1 ? devices.first() : QString();
    if (devices.isEmpty())
        return ConverterSearch::None;
    return devices.size() == 1 ? ConverterSearch::One : ConverterSearch::Several;
}

qint16 ConverterPortNumber(ConverterSearch search) {
    return search == ConverterSearch::One ? kConverterPortNumber : 0;
}

QString FindConverterAgain() {
    if (foundDevice().isEmpty())
        return {};
    const QStringList devices = converterDevices(searchedDeviceId());
    if (devices.size() != 1)
        return {};
    foundDevice() = devices.first();
    return foundDevice();
}

QString SerialDevicePath(qint16 portNumber) {
    if (portNumber == kConverterPortNumber && !foundDevice().isEmpty())
        return foundDevice();
    return QStringLiteral("/dev/ttyS%1").arg(portNumber - 1);
}

} // namespace tq
