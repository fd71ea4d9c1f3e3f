#ifndef SIM_DESCRIPTORS_H
#define SIM_DESCRIPTORS_H

#include <QByteArray>

namespace sim::model {

struct Device;

// The standard descriptors of a simulated device, as the device sends them
// (little-endian). The Vn274 has configuration 1 with interface 0 (vendor
// class) and the bulk pair 0x02/0x81; a root hub has the hub class and its
// interrupt endpoint; other devices a vendor interface without endpoints.
QByteArray deviceDescriptor(const Device &device);
QByteArray configurationDescriptor(const Device &device);   // with its interface and endpoints
// The serial number text: for a Vn274 as its mode has it now.
QByteArray serialNumber(const Device &device);
// Index 0 (languages), 1 (maker), 2 (product), 3 (serial: for a Vn274 as
// its mode has it); empty for any other index.
QByteArray stringDescriptor(const Device &device, int index);

} // namespace sim::model

#endif // SIM_DESCRIPTORS_H
