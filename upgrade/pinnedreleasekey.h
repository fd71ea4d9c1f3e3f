#ifndef PINNEDRELEASEKEY_H
#define PINNEDRELEASEKEY_H

// The maker's release keys the build pins: the base64 lines of minisign's
// public key files, one a line, empty in a build without keys. Defined by a generated source in a
// library of its own (vn274releasekey, or vn274releasekey_test for the test
// programs), so that the test programs link the project's test key without a
// second build of the code.
extern const char pinnedReleaseKeyText[];

#endif // PINNEDRELEASEKEY_H
