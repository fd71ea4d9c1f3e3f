#include "shows/pendingchanges.h"

PendingChanges::PendingChanges(const QByteArray &inStep)
    : inStep(inStep)
{
}

void PendingChanges::markInStep(const QByteArray &table)
{
    inStep = table;
}

bool PendingChanges::pendingIn(const QByteArray &table) const
{
    return table != inStep;
}

QByteArray PendingChanges::inStepBytes() const
{
    return inStep;
}
