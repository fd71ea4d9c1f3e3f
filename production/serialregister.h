#ifndef SERIALREGISTER_H
#define SERIALREGISTER_H

#include "production/recorddatabase.h"

#include <QList>
#include <QSet>
#include <QString>
#include <QStringList>

#include <optional>

// The serial numbers (YYMMDDNNN) the production line issued, in the record.
// One register is one batch: it reserves its serial numbers in one
// transaction before any image is made, and confirms those whose image was
// written. The unique key on the serial number is what keeps two stations
// from ever taking the same one; a reserved number is never given again, even
// when its batch died before confirming it, and is not counted as issued.
class SerialRegister
{
public:
    enum class Result {
        Done,
        Refused,   // the day has too few numbers left, or serials clash
        Failed     // the database failed; *reason tells
    };

    struct Entry
    {
        QString serial;
        QString status;      // "issued", or "reserved" for a batch that never confirmed it
        QString station;
        QString imageFile;
        QString issuedAt;    // UTC; the reservation's time while only reserved
        int reissues = 0;
    };

    struct Image
    {
        QString serial;
        QString file;
    };

    explicit SerialRegister(RecordDatabase &record);

    // The lowest `count` numbers of `day` (YYMMDD) that have never been taken,
    // reserved for this batch.
    Result reserveNext(const QString &day, int count, QStringList *serials, QString *reason);

    // These serial numbers reserved for this batch. Those issued or reserved
    // before are the clashes: refused (all of them in *clashes, those only
    // reserved, by a batch that has not confirmed them, also in *unfinished)
    // unless `reissue`, when they are made again and recorded as reissues.
    Result reserve(const QStringList &serials, bool reissue, QStringList *clashes, QString *reason,
                   QStringList *unfinished = nullptr);

    // The images written: their serial numbers issued, in one transaction.
    bool confirm(const QList<Image> &images, QString *reason);

    // What this batch reserved and did not confirm is void: free again.
    bool voidUnconfirmed(QString *reason);

    // Issued and reserved serial numbers, of one day (YYMMDD) or of all.
    std::optional<QList<Entry>> entries(const QString &day, QString *reason);

    // Whether the record ever issued this serial number.
    std::optional<bool> wasIssued(const QString &serial, QString *reason);

private:
    RecordDatabase &record;
    const QString batch;          // this batch's reservations
    QSet<QString> reissued;       // reserved before, made again by this batch
};

#endif // SERIALREGISTER_H
