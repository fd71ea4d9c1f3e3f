#ifndef SIGNEDUPGRADE_H
#define SIGNEDUPGRADE_H

#include "upgrade/releasesignature.h"
#include "upgrade/upgradefile.h"

// An upgrade file as the paths that write firmware take it: its release
// signature is checked first and only a file it accepts is read. With a key
// the file is read once, into memory, and both work on those bytes, so that
// the bytes used are those checked even when the name is given to another
// file or the file is written over meanwhile; a file larger than an upgrade
// file is refused (FileTooLarge).
struct SignedUpgradeFile
{
    SignatureCheck signature;
    UpgradeFileContent content;   // CannotOpen, regions empty, unless the signature was accepted

    bool usable() const { return signature.accepted() && content.result == UpgradeFileResult::Ok; }
};

// With the keys the build pins (none: NotChecked, the file is read as before).
SignedUpgradeFile readSignedUpgradeFile(const QString &fileName);
SignedUpgradeFile readSignedUpgradeFile(const QString &fileName, const ReleaseKeys &keys);

#endif // SIGNEDUPGRADE_H
