// The release signature reader, readSignatureFile, on any input. What it
// accepts has the fields of minisign's sizes and one of its two algorithms,
// and a trusted comment of one line, as minisign shows it.
#include "fuzzinput.h"

#include "upgrade/signaturefile.h"

#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    FuzzInput input(data, size);
    const SignatureFile file = readSignatureFile(input.device());
    if (file.result == SignatureFile::Result::Ok
        && (file.keyId.size() != signaturefile::KeyIdSize || file.signature.size() != signaturefile::SignatureSize
            || file.globalSignature.size() != signaturefile::SignatureSize
            || (file.algorithm != "ED" && file.algorithm != "Ed") || size > size_t(signaturefile::MaxSize)
            || file.trustedComment.contains('\n') || file.trustedComment.contains('\r')
            || file.trustedComment.contains('\0')))
        std::abort();
    if (file.result != SignatureFile::Result::Ok && file.result != SignatureFile::Result::TooLarge && !file.problem)
        std::abort();
    return 0;
}
