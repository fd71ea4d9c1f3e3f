// The JSON show reader, Shows::readShowJson, on any input. A show it accepts
// is a whole table of its kind, and the JSON written from that table reads
// back as the same bytes; a refusal says why and hands back no table.
#include "fuzzinput.h"

#include "shows/showjson.h"
#include "shows/showtables.h"

#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    FuzzInput input(data, size);
    const Shows::JsonShow show = Shows::readShowJson(input.device(), std::nullopt);
    if (!show.ok) {
        if (show.problem.isEmpty() || !show.table.isEmpty())
            std::abort();
        return 0;
    }
    const int tableSize = show.kind == Shows::ShowKind::Programs ? Shows::ProgramTableSize : Shows::SceneTableSize;
    if (show.table.size() != tableSize)
        std::abort();

    QByteArray written = Shows::showToJson(show.kind, show.table);
    QBuffer again(&written);
    again.open(QIODevice::ReadOnly);
    const Shows::JsonShow reread = Shows::readShowJson(again, show.kind);
    if (!reread.ok || reread.table != show.table)
        std::abort();
    return 0;
}
