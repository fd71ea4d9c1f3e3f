#ifndef HEXDUMP_H
#define HEXDUMP_H

#include <QByteArray>

// Text dump of a memory area: a line with the area's address, then 16 bytes a
// line as offset, hex pairs and printable characters:
//
//    src address: 0x00005581e2a3c2b0
//   0x0000: 41 0a c8 ...  < A.. ... >
//
// Bytes below 0x20 as signed 8-bit values (0x00-0x1f, 0x80-0xff) show as '.'.
QByteArray hexDump(const void *area, int length);

#endif // HEXDUMP_H
