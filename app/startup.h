#ifndef STARTUP_H
#define STARTUP_H

#include <QString>

#include <functional>

class QTranslator;
class Vn274_bootloader;

// Called each time a main window has been built and shown, with the translator
// it was built under (tests use it to drive the running loop).
using WindowShown = std::function<void(Vn274_bootloader &window, const QTranslator &translator)>;

// Runs the program in the existing QApplication: installs the translation of the
// system locale (with Qt's own texts in the same language), shows the main
// window and runs the event loop. When the loop ends with a restart code
// (Language menu) the window and the translators are destroyed and built again
// under the chosen language; the new window takes over the old one's tables,
// selections and pending changes. Any other code is returned.
int runMainWindow(const QString &systemLocaleName, const WindowShown &shown = WindowShown());

#endif // STARTUP_H
