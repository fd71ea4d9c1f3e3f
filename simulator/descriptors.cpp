#include "simulator/descriptors.h"

#include "simulator/device.h"

#include <QtEndian>

namespace sim::model {

namespace {

constexpr char DeviceType = 1;
constexpr char ConfigurationType = 2;
constexpr char StringType = 3;
constexpr char InterfaceType = 4;
constexpr char EndpointType = 5;
constexpr char HubClass = 9;
constexpr char VendorClass = char(0xFF);
constexpr char Bulk = 2;
constexpr char Interrupt = 3;

void appendWord(QByteArray &bytes, quint16 word)
{
    char little[2];
    qToLittleEndian(word, little);
    bytes.append(little, 2);
}

QByteArray endpoint(char address, char type, quint16 maxPacket, char interval)
{
    QByteArray bytes;
    bytes += char(7);
    bytes += EndpointType;
    bytes += address;
    bytes += type;
    appendWord(bytes, maxPacket);
    bytes += interval;
    return bytes;
}

QByteArray text(const QByteArray &latin1)
{
    QByteArray descriptor(2, '\0');
    for (char c : latin1.left(126)) {
        descriptor += c;
        descriptor += '\0';
    }
    descriptor[0] = char(descriptor.size());
    descriptor[1] = StringType;
    return descriptor;
}

} // namespace

QByteArray deviceDescriptor(const Device &device)
{
    QByteArray bytes;
    bytes += char(18);
    bytes += DeviceType;
    appendWord(bytes, 0x0200);              // USB 2.0
    bytes += char(device.deviceClass);
    bytes += char(0);                       // subclass
    bytes += char(device.isRootHub() ? 1 : 0);   // protocol: a hub with one transaction translator
    bytes += char(64);                      // bMaxPacketSize0
    appendWord(bytes, device.vendorId);
    appendWord(bytes, device.productId);
    appendWord(bytes, 0x0100);              // bcdDevice
    bytes += char(1);                       // iManufacturer
    bytes += char(2);                       // iProduct
    bytes += char(3);                       // iSerialNumber
    bytes += char(1);                       // bNumConfigurations
    return bytes;
}

QByteArray configurationDescriptor(const Device &device)
{
    QByteArray endpoints;
    if (device.isRootHub())
        endpoints = endpoint(char(0x81), Interrupt, 4, 12);
    else if (device.isVn274())
        endpoints = endpoint(0x02, Bulk, 64, 0) + endpoint(char(0x81), Bulk, 64, 0);

    QByteArray interface;
    interface += char(9);
    interface += InterfaceType;
    interface += char(0);                   // bInterfaceNumber
    interface += char(0);                   // bAlternateSetting
    interface += char(endpoints.size() / 7);
    interface += device.isRootHub() ? HubClass : VendorClass;
    interface += char(0);
    interface += char(0);
    interface += char(0);                   // iInterface

    QByteArray bytes;
    bytes += char(9);
    bytes += ConfigurationType;
    appendWord(bytes, quint16(9 + interface.size() + endpoints.size()));
    bytes += char(1);                       // bNumInterfaces
    bytes += char(1);                       // bConfigurationValue
    bytes += char(0);                       // iConfiguration
    bytes += device.isRootHub() ? char(0xE0) : char(0x80);   // self / bus powered
    bytes += device.isRootHub() ? char(0) : char(50);        // 0 / 100 mA
    return bytes + interface + endpoints;
}

QByteArray serialNumber(const Device &device)
{
    return device.isVn274() ? device.firmware->serialString() : device.serial;
}

QByteArray stringDescriptor(const Device &device, int index)
{
    switch (index) {
    case 0: return QByteArray("\x04\x03\x09\x04", 4);   // US English
    case 1: return text(device.isRootHub() ? "Linux Foundation" : "Vn274");
    case 2: return text(device.isRootHub() ? "Root Hub" : "RGB LED driver");
    case 3: return text(serialNumber(device));
    default: return QByteArray();
    }
}

} // namespace sim::model
