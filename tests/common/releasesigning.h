#ifndef RELEASESIGNING_H
#define RELEASESIGNING_H

#include <QString>

// Release signatures made by the real minisign program, as the maker makes
// them, with the project's test key pair (tests/keys, made by minisign -G -W:
// the secret key is not encrypted) or with pairs made at run time.
namespace releasesigning {

QString testPublicKeyFile();
QString testSecretKeyFile();
// A key's id as minisign itself writes it into the public key file's comment
// ("minisign public key 53BE7B6EA04F19A8"), in 16 digits.
QString keyIdFromMinisign(const QString &publicKeyFile);

// minisign -S: fileName.minisig beside the file with this trusted comment; a
// legacy signature ("Ed", minisign -l) when asked. False when minisign fails,
// with its words in a warning.
bool sign(const QString &fileName, const QString &trustedComment = QStringLiteral("Vn274 test release"),
          const QString &secretKey = testSecretKeyFile(), bool legacy = false);

// minisign -V: whether minisign itself takes this signature of the file.
bool minisignVerifies(const QString &fileName, const QString &signatureFile,
                      const QString &publicKey = testPublicKeyFile());

// minisign -G -W: a fresh unencrypted key pair in `folder`, named `name`.key
// and `name`.pub.
bool generateKeyPair(const QString &folder, const QString &name, QString *secretKey, QString *publicKey);

} // namespace releasesigning

#endif // RELEASESIGNING_H
