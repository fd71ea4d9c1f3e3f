// Transfer scrambling against the fastest possible pass over the same memory.
#include "benchmark.h"

#include "usb/transferscrambling.h"

#include <QByteArray>

#include <cstring>

void measureScrambling()
{
    const int size = 262144;
    QByteArray source(size, 'a');
    QByteArray target(size, 'b');
    QByteArray area(size, 'c');

    // Through a volatile pointer, so that the copy cannot be optimised away.
    void *(*volatile copy)(void *, const void *, size_t) = std::memcpy;
    const double memcpySeconds = bench::bestSeconds([&] { copy(target.data(), source.constData(), size); });
    const double encodeSeconds = bench::bestSeconds([&] { encodeTransfer(area.data(), size); });
    const double decodeSeconds = bench::bestSeconds([&] { decodeTransfer(area.data(), size); });

    bench::report("encode_vs_memcpy", memcpySeconds / encodeSeconds, "x");
    bench::report("decode_vs_memcpy", memcpySeconds / decodeSeconds, "x");
}
