#include "widgets/lampgroup.h"

#include "widgets/superrgb.h"

#include <utility>

LampGroup::LampGroup(const QList<SuperRGB *> &lamps, QObject *parent)
    : QObject(parent)
{
    setLamps(lamps);
}

void LampGroup::setLamps(const QList<SuperRGB *> &editors)
{
    for (SuperRGB *lamp : std::as_const(lamps))
        disconnect(lamp, &SuperRGB::selectedSliderValueChange, this, &LampGroup::setSelectedValue);
    lamps = editors;
    for (SuperRGB *lamp : std::as_const(lamps))
        connect(lamp, &SuperRGB::selectedSliderValueChange, this, &LampGroup::setSelectedValue);
}

QList<bool> LampGroup::selection() const
{
    QList<bool> selected;
    for (const SuperRGB *lamp : lamps)
        selected << lamp->isRedSelected() << lamp->isGreenSelected() << lamp->isBlueSelected();
    return selected;
}

void LampGroup::setSelection(const QList<bool> &selected)
{
    for (int i = 0; i < lamps.size(); ++i) {
        lamps.at(i)->selectRed(selected.value(3 * i));
        lamps.at(i)->selectGreen(selected.value(3 * i + 1));
        lamps.at(i)->selectBlue(selected.value(3 * i + 2));
    }
}

bool LampGroup::hasSelection() const
{
    return selection().contains(true);
}

// Setting a value emits no further selectedSliderValueChange, so this does not
// come back to itself.
void LampGroup::setSelectedValue(int value)
{
    for (SuperRGB *lamp : lamps)
        lamp->setValueIfSelected(value);
}

void LampGroup::brighter()
{
    for (SuperRGB *lamp : lamps)
        lamp->changePercentifSelected(PercentStep);
}

void LampGroup::darker()
{
    for (SuperRGB *lamp : lamps)
        lamp->changePercentifSelected(-PercentStep);
}

void LampGroup::selectNone()
{
    for (SuperRGB *lamp : lamps)
        lamp->setAll(false);
}
