#ifndef MONOSPACEFONT_H
#define MONOSPACEFONT_H

#include <QString>

// The faces the forms ask for by name: "Courier New" for channel digits and
// hex dumps, "MS Shell Dlg" for the lamp editors' labels. Where the system
// lacks one, Qt used to walk the font configuration's fallbacks for it
// (milliseconds each); instead each missing name is made to stand for the
// face the system's own font of that kind resolves to, found once per run:
// the fixed-width font for "Courier New" (what a monospace hint found), the
// general font for "MS Shell Dlg" (what the fallback found).

// Makes the missing names stand for their faces; call before building a form.
// Returns the face for monospace text: "Courier New" where the system has it.
QString monospaceFamily();

#endif // MONOSPACEFONT_H
