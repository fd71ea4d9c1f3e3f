#ifndef SIGNEDUPGRADE_H
#define SIGNEDUPGRADE_H

#include "upgrade/releasesignature.h"
#include "upgrade/upgradefile.h"

// An upgrade file as the paths that write firmware take it: its release
// signature is checked first and only a file it accepts is read. Both happen
// on one opening of the file, so that the bytes read are those checked even
// when the name is given to another file meanwhile.
struct SignedUpgradeFile
{
    SignatureCheck signature;
    UpgradeFileContent content;   // CannotOpen, regions empty, unless the signature was accepted

    bool usable() const { return signature.accepted() && content.result == UpgradeFileResult::Ok; }
};

// With the key the build pins (none: NotChecked, the file is read as before).
SignedUpgradeFile readSignedUpgradeFile(const QString &fileName);
SignedUpgradeFile readSignedUpgradeFile(const QString &fileName, const std::optional<ReleaseKey> &key);

#endif // SIGNEDUPGRADE_H
