#ifndef TOOL_DRIVERS_H
#define TOOL_DRIVERS_H

#include "tool/console.h"
#include "usb/usbrq518.h"

#include <QList>
#include <QString>

// Which driver a device command of vn274-tool talks to, and the words for a
// driver that cannot be used.
namespace tool {

// Why no driver could be used, in words. The permission case says how access
// is granted rather than blaming the cable; with a serial number selected, a
// missing driver is named by it.
QString connectionProblem(UsbDevice::ConnectionFailure failure, const QByteArray &serial = QByteArray());
QString connectionProblem(USBRQ518 &usb);

// "application", "bootloader" or "unknown", as the serial string tells.
QString modeWord(const QByteArray &serial);

// A Vn274 on the buses that identified itself (request 255), with where it is.
struct DriverOnBus
{
    QString bus;        // "002"
    QString device;     // "003"
    QByteArray serial;

    // "bus 002 device 003 application 240611027"
    QString line() const;
    QJsonObject json() const;
};

// The drivers on the buses; the devices with the Vn274's ids that could not be
// opened go to *unusable (those of another model are left out).
QList<DriverOnBus> findDrivers(USBRQ518 &usb, QList<UsbDevice::FoundDevice> *unusable = nullptr);

// The option that names a driver: "--serial S".
extern const QString SerialOption;

// Points usb at the driver a device command is for: the one --serial names
// (either form of its serial string), else the only one there is; with
// several drivers and no --serial the command is refused (ExitBadInput) with
// the list of them, so that a station never changes the wrong one. Returns
// ExitSuccess or the status of the refusal, which has been reported.
int chooseDriver(USBRQ518 &usb, const Arguments &args, Console &console);

// The drivers a command for several drivers at once works on: those --serial
// names (it may be given several times; either form of the serial string),
// else every one there is, in the order the buses list them. Refused before
// anything is touched: two drivers with one serial number (ExitBadInput),
// for a change could not tell them apart through their restarts, and a
// serial number named that is not there (ExitFailure). The devices with the
// driver's ids that cannot be opened go to *unusable. Returns ExitSuccess or
// the status of the refusal, which has been reported.
int chooseDrivers(USBRQ518 &usb, const Arguments &args, Console &console, QList<DriverOnBus> *chosen,
                  QList<UsbDevice::FoundDevice> *unusable);

// "bus 002 device 003: the Vn274 is there but ...": why a device could not be used.
QString unusableDevice(const UsbDevice::FoundDevice &device);

} // namespace tool

#endif // TOOL_DRIVERS_H
