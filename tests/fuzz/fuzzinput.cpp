#include "fuzzinput.h"

// libFuzzer calls this once before the first input.
extern "C" int LLVMFuzzerInitialize(int *, char ***)
{
    // The readers' debug lines (the scrambling narrates every call) would
    // cost more than the reading.
    QLoggingCategory::setFilterRules(QStringLiteral("default.debug=false"));
    return 0;
}
