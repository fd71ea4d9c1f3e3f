// The programs file reader, Shows::loadProgramsFile, on any input.
#include "showfilefuzz.h"

#include "shows/showtables.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    return loadShowFile(data, size, Shows::loadProgramsFile, Shows::ProgramTableSize);
}
