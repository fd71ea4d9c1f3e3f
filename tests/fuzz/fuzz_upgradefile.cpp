// The upgrade file reader, inspectUpgradeFile, on any input. A file it
// accepts has regions of the format's sizes.
#include "fuzzinput.h"

#include "upgrade/upgradefile.h"

#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    FuzzInput input(data, size);
    const UpgradeFileFields fields = inspectUpgradeFile(input.device());
    if (fields.result == UpgradeFileResult::Ok && fields.image.size() != upgradefile::ImageSize)
        std::abort();
    return 0;
}
