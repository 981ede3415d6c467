#pragma once

#include <QString>

namespace tq {

// The device id of the detector's USB serial converter.
inline constexpr char kConverterDeviceId[] = "VID_10C4&PID_EA60";
// The serial port number that opens the converter found.
inline constexpr qint16 kConverterPortNumber = 1;

// The line settings of the converter port, for CommSettings.
inline constexpr char kConverterCommSettings[] = "921600,n,8,1";

enum class ConverterSearch { None, One, Several };

// Looks for serial ports of the USB device `deviceId` ("VID_xxxx&PID_yyyy"): exactly one
// converter's device SerialDevicePath(kConverterPortNumber) then names. The environment
// variable TQ6200_SERIAL_PORT, when set, replaces the search: it names the one converter's
// device. With several converters the caller tells the user (message 20014, titled 20015).
ConverterSearch FindUsbSerialPort(const QString &deviceId);
// The IrCommPort a search gives: kConverterPortNumber for one converter, 0 ("none") for
// none or several.
qint16 ConverterPortNumber(ConverterSearch search);

// Looks for the converter found by FindUsbSerialPort again, after its device went away: a
// converter plugged back may get another device name. Its device when exactly one converter
// of the same ids is attached (or the device TQ6200_SERIAL_PORT names), which port
// kConverterPortNumber then opens; empty otherwise. IrCommPort is left as it is.
QString FindConverterAgain();

// The device that serial port `portNumber` opens: the converter found for its number,
// otherwise the platform's n-th serial port.
QString SerialDevicePath(qint16 portNumber);

} // namespace tq
