#include "shows/editgestures.h"

int EditGestures::startNew()
{
    return ++key;   // never 0, which merges with nothing
}

int EditGestures::keyFor(int target)
{
    if (held)
        return key;
    if (alone) {
        alone = false;
        lastTarget = -1;
        return startNew();
    }
    const bool sameBurst = target == lastTarget && sinceLastEdit.isValid()
                           && sinceLastEdit.elapsed() < BurstGapMs;
    lastTarget = target;
    sinceLastEdit.start();
    return sameBurst ? key : startNew();
}

void EditGestures::beginDrag()
{
    startNew();
    held = true;
}

void EditGestures::endDrag()
{
    held = false;
    interrupt();
}

void EditGestures::beginCommand()
{
    beginDrag();
}

void EditGestures::endCommand()
{
    endDrag();
}

void EditGestures::interrupt()
{
    lastTarget = -1;
}

void EditGestures::nextEditAlone()
{
    alone = true;
}
