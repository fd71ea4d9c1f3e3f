#ifndef PINNEDRELEASEKEY_H
#define PINNEDRELEASEKEY_H

// The maker's release key the build pins: the base64 line of minisign's public
// key file, empty in a build without one. Defined by a generated source in a
// library of its own (vn274releasekey, or vn274releasekey_test for the test
// programs), so that the test programs link the project's test key without a
// second build of the code.
extern const char pinnedReleaseKeyText[];

#endif // PINNEDRELEASEKEY_H
