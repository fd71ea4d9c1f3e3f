#include "usb/transferscrambling.h"

#include <QByteArray>
#include <QtDebug>
#include <QtEndian>

#include <cstdint>

// Our own 32 key words. A real Vn274 driver needs its firmware's own table
// here: the tool and the firmware must use the same words, or every page,
// image and scene that crosses the link is garbage to the other side.
alignas(4) const unsigned char transferKey[128] = {
    0x6a, 0x93, 0xc2, 0xe0, 0x79, 0x50, 0xbc, 0x65, 0x22, 0xee, 0xdd, 0x17, 0x95, 0x59, 0xbf, 0x8c,
    0x07, 0x0e, 0x58, 0x8e, 0x1d, 0x3d, 0x9c, 0xbb, 0x50, 0x2c, 0x03, 0x1d, 0xb1, 0xbb, 0xe0, 0x77,
    0x28, 0xf9, 0x73, 0xef, 0x6a, 0x30, 0x67, 0x24, 0xda, 0xd6, 0x71, 0xd3, 0x6c, 0x80, 0x6d, 0x23,
    0x65, 0x0b, 0x41, 0xfd, 0x3d, 0x6c, 0x35, 0xec, 0xee, 0x92, 0xc0, 0xe1, 0x33, 0xcc, 0x2a, 0x8e,
    0xa3, 0xe0, 0x6a, 0xa5, 0x1f, 0xfb, 0x27, 0xe1, 0xfa, 0x1a, 0xad, 0x70, 0xef, 0x9d, 0xfe, 0xe2,
    0x2e, 0x0d, 0x86, 0x79, 0x4b, 0x9c, 0xd7, 0x63, 0x1d, 0xd4, 0xa7, 0xbb, 0x0b, 0xc7, 0x51, 0xd4,
    0xc4, 0x8d, 0x63, 0x78, 0xcf, 0xe8, 0x97, 0x2f, 0xae, 0xfb, 0xf4, 0x6e, 0xb8, 0xc4, 0x6e, 0x43,
    0x49, 0x96, 0x3e, 0x94, 0x08, 0x60, 0x92, 0xa2, 0xfd, 0x40, 0xd7, 0x21, 0xe3, 0x1d, 0xf0, 0x87,
};

namespace {

constexpr int KeyWords = 32;

// On x86-64 Linux the two loops are also built for AVX2, and the loader picks
// the build that the processor runs best.
#if defined(__GNUC__) && !defined(__clang__) && defined(__x86_64__) && defined(__linux__)
#define SCRAMBLING_CLONES __attribute__((target_clones("avx2", "default")))
#else
#define SCRAMBLING_CLONES
#endif

struct Key
{
    uint32_t word[KeyWords];
};

// The key as host-order words, in a local copy so that the compiler knows the
// area being scrambled cannot overlap it and keeps the key in registers.
inline Key loadKey()
{
    Key key;
    for (int i = 0; i < KeyWords; ++i)
        key.word[i] = qFromLittleEndian<uint32_t>(transferKey + 4 * i);
    return key;
}

inline void encodeWord(unsigned char *p, uint32_t k)
{
    qToLittleEndian<uint32_t>((qFromLittleEndian<uint32_t>(p) ^ k) + k, p);
}

inline void decodeWord(unsigned char *p, uint32_t k)
{
    qToLittleEndian<uint32_t>((qFromLittleEndian<uint32_t>(p) - k) ^ k, p);
}

// Whole key cycles of 32 words, then the rest: straight loops without
// branches, which the compiler turns into vector code (this file is always
// built with -O3, see CMakeLists.txt).
SCRAMBLING_CLONES void encodeWords(unsigned char *p, int words)
{
    const Key key = loadKey();
    for (; words >= KeyWords; words -= KeyWords, p += 4 * KeyWords)
        for (int i = 0; i < KeyWords; ++i)
            encodeWord(p + 4 * i, key.word[i]);
    for (int i = 0; i < words; ++i)
        encodeWord(p + 4 * i, key.word[i]);
}

SCRAMBLING_CLONES void decodeWords(unsigned char *p, int words)
{
    const Key key = loadKey();
    for (; words >= KeyWords; words -= KeyWords, p += 4 * KeyWords)
        for (int i = 0; i < KeyWords; ++i)
            decodeWord(p + 4 * i, key.word[i]);
    for (int i = 0; i < words; ++i)
        decodeWord(p + 4 * i, key.word[i]);
}

QByteArray pointerText(const void *p)
{
    return QByteArray::number(quintptr(p), 16).rightJustified(int(2 * sizeof(void *)), '0');
}

} // namespace

int encodeTransfer(void *area, int length)
{
    unsigned char *p = static_cast<unsigned char *>(area);
    const int words = length >> 2;
    qDebug("Encoding started @ 0x%s", pointerText(p).constData());
    encodeWords(p, words);
    qDebug("Encoding end @ 0x%s", pointerText(p + 4 * words).constData());
    return 0;
}

int decodeTransfer(void *area, int length)
{
    decodeWords(static_cast<unsigned char *>(area), length >> 2);
    return 0;
}
