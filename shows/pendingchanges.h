#ifndef PENDINGCHANGES_H
#define PENDINGCHANGES_H

#include <QByteArray>

// Whether a table holds changes that would be lost: it differs from what it
// last was in step with, that is loaded from or saved to a file, got from or
// set in the driver. Bytes are compared, not edits counted, so an edit undone
// by hand is no change.
class PendingChanges
{
public:
    explicit PendingChanges(const QByteArray &inStep = QByteArray());

    void markInStep(const QByteArray &table);
    bool pendingIn(const QByteArray &table) const;
    QByteArray inStepBytes() const;

private:
    QByteArray inStep;
};

#endif // PENDINGCHANGES_H
