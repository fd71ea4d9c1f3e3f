#ifndef SAMPLEFIRMWARE_H
#define SAMPLEFIRMWARE_H

#include <QByteArray>
#include <QList>
#include <QPair>
#include <QtGlobal>

// A made-up firmware release for the demo program and the tests: an
// application for the internal flash and a data block for the external flash,
// written as the firmware build writes its Intel HEX output. Not part of the
// tool itself; the demo's upgrade file is built from it at build time.
namespace samplefirmware {

inline constexpr quint32 ApplicationAddress = 0x08004000;
inline constexpr quint32 DataBlockAddress = 0x08020000;

QByteArray application();   // starts at ApplicationAddress, about 40 KiB
QByteArray dataBlock();     // starts at DataBlockAddress, about 20 KiB

// Intel HEX text holding each block at its absolute address: 16-byte data
// records, an extended linear address record wherever the upper half of the
// address changes, an end-of-file record, CR LF line ends.
QByteArray intelHex(const QList<QPair<quint32, QByteArray>> &blocks);

// Both blocks as one HEX file.
QByteArray hexFile();

} // namespace samplefirmware

#endif // SAMPLEFIRMWARE_H
