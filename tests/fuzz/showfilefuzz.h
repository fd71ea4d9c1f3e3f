#ifndef SHOWFILEFUZZ_H
#define SHOWFILEFUZZ_H

#include "fuzzinput.h"

#include "shows/showfiles.h"

#include <cstdlib>

// A programs or scenes file loader on any input: the table keeps its size,
// and is left alone unless the file is accepted.
inline int loadShowFile(const uint8_t *data, size_t size,
                        Shows::FileResult (*load)(QIODevice &, QByteArray &), int tableSize)
{
    const QByteArray before(tableSize, '\x5A');
    QByteArray table = before;
    FuzzInput input(data, size);
    const Shows::FileResult result = load(input.device(), table);
    if (table.size() != tableSize || (result != Shows::FileResult::Ok && table != before))
        std::abort();
    return 0;
}

#endif // SHOWFILEFUZZ_H
