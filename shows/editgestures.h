#ifndef EDITGESTURES_H
#define EDITGESTURES_H

#include <QElapsedTimer>

// Which edits of an editor tab make one undo step. Every edit is given a merge
// key; consecutive edits of the same record with the same key merge:
// - a slider drag, from press to release, whatever it moves (the selected
//   sliders of other lamps too): one key;
// - a command such as Brighter: one key for all it changes;
// - otherwise a burst on one target (one slider's wheel or key steps, a held
//   "+" button, the digits typed into one field): the same key while the
//   target stays the same and the edits come less than BurstGapMs apart;
// - a whole colour chosen for a lamp: a key of its own.
class EditGestures
{
public:
    static constexpr int BurstGapMs = 1000;

    // target: a number for the slider or field the edit comes from.
    int keyFor(int target);

    void beginDrag();
    void endDrag();
    void beginCommand();
    void endCommand();
    // The next edit starts a new step (another record shown, an undo...).
    void interrupt();
    // The next edit is one action of its own (a colour chosen for a lamp):
    // it merges with no edit before or after it.
    void nextEditAlone();

private:
    int startNew();

    int key = 0;
    int lastTarget = -1;
    bool held = false;    // a drag or a command is under way
    bool alone = false;   // nextEditAlone()
    QElapsedTimer sinceLastEdit;
};

#endif // EDITGESTURES_H
