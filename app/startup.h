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
// system locale, shows the main window and runs the event loop. When the loop
// ends with a restart code (Language menu) the window and the translator are
// destroyed and built again under the chosen language; any other code is
// returned.
int runMainWindow(const QString &systemLocaleName, const WindowShown &shown = WindowShown());

#endif // STARTUP_H
