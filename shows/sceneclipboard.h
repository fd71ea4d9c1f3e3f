#ifndef SCENECLIPBOARD_H
#define SCENECLIPBOARD_H

#include "shows/showtables.h"

#include <optional>

class QMimeData;

// A scene as an editor tab shows it, on the system clipboard, so that it can be
// pasted into any program step or stand-alone scene, also of a window built
// later (a language switch) or of another copy of the program.
namespace Shows {

extern const char SceneMimeType[];   // "application/x-vn274-scene"

struct CopiedScene
{
    SceneRecord record{};        // the lamp colours, XFade and Scene Time; reserved bytes zero
    bool hasEndMarker = false;   // copied on the Programs tab: record.endMarker is meant
};

// On the clipboard: the 48 bytes of the record as in files, then one byte, 1
// when the end marker is meant, else 0. Anything else is no scene.
QMimeData *sceneMimeData(const CopiedScene &scene);
std::optional<CopiedScene> sceneFromMimeData(const QMimeData *mime);

void copySceneToClipboard(const CopiedScene &scene);
std::optional<CopiedScene> sceneOnClipboard();
bool clipboardHoldsScene();

// A whole program: its 20 steps (960 bytes) as in files, nothing else.
extern const char ProgramMimeType[];   // "application/x-vn274-program"
void copyProgramToClipboard(const QByteArray &steps);
std::optional<QByteArray> programOnClipboard();

} // namespace Shows

#endif // SCENECLIPBOARD_H
