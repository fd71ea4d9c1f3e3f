#ifndef FIRMWAREHEX_H
#define FIRMWAREHEX_H

#include <QByteArray>
#include <QString>

namespace bench {

// The 256 KiB of firmware the measurements read: irregular bytes for the
// device addresses 0x08000000-0x0803FFFF.
QByteArray firmwareBytes();

// The same firmware as an Intel HEX file, the way firmware builds write it:
// CR LF line ends, an extended linear address record every 64 KiB, 16-byte data
// records in the first half and 32-byte records in the second. Written once,
// into the scratch directory; returns its path.
QString firmwareHexFile();

} // namespace bench

#endif // FIRMWAREHEX_H
