#ifndef TRANSFERSCRAMBLING_H
#define TRANSFERSCRAMBLING_H

// Scrambling of the payloads that travel between the tool and the driver:
// firmware images, internal flash pages and the programs and scenes kept in
// external flash. The area is taken as little-endian 32-bit words; word i of a
// call is combined with key word i mod 32, and every call starts at key word 0.
// Up to three trailing bytes (length not a multiple of 4) are left untouched.
//
//   encode: w' = (w XOR k) + k      decode: w = (w' - k) XOR k     (mod 2^32)

#include <QString>

// The 32 key words, little-endian, as one 128-byte constant. The driver's
// firmware holds the same table; the simulated driver uses this one. Our own
// table (transferkey.cpp) unless the build was configured with the firmware's
// in VN274_TRANSFER_KEY_FILE. Defined with 16-byte alignment: the x86-64 ABI
// gives an array of this size that much, and code that sees only this
// declaration may load it with aligned vector instructions.
extern const unsigned char transferKey[128];

// The first 16 hex digits of the SHA-256 of the 128 key bytes: tells which
// table a build carries without showing it.
QString transferKeyFingerprint();

// Scramble length bytes at area in place. Returns 0. Writes two debug lines,
// "Encoding started @ 0x..." and "Encoding end @ 0x..." (the address just past
// the last word processed).
int encodeTransfer(void *area, int length);

// Undo encodeTransfer over the same length. Returns 0. Logs nothing.
int decodeTransfer(void *area, int length);

#endif // TRANSFERSCRAMBLING_H
