// The Intel HEX reader, HexToBin, on any input, with the window of the
// upgrade file's application and that of a bootloader image.
#include "fuzzinput.h"

#include "upgrade/hextobin.h"

#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    struct Window { quint32 first; quint32 last; };
    const Window windows[] = {
        { 0x08004000, 0x0801FFFF },   // the application, as the upgrade file's builder reads it
        { 0x08000000, 0x08003FFF },   // a bootloader image
    };
    // Each image exactly of its window's size: a byte stored outside it is
    // an overflow.
    static std::vector<unsigned char> images[] = { std::vector<unsigned char>(0x1C000),
                                                   std::vector<unsigned char>(0x4000) };
    for (int i = 0; i < 2; ++i) {
        FuzzInput input(data, size);
        HexToBin(input.device(), images[i].data(), windows[i].first, windows[i].last);
    }
    return 0;
}
