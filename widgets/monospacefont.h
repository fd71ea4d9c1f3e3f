#ifndef MONOSPACEFONT_H
#define MONOSPACEFONT_H

#include <QString>

// The face of the channel digits and the hex dumps, which the forms ask for as
// "Courier New": that family where the system has it, else the face the
// system's fixed-width font resolves to (the one a monospace hint found).
//
// Found once per run. Where "Courier New" is missing, the first call makes that
// name stand for the face found, so every form that asks for it gets the face
// directly: a missing family with a hint makes Qt walk the font
// configuration's fallbacks for each font asked for that way. Call it before
// building a form that asks for "Courier New".
QString monospaceFamily();

class QTextEdit;

// Gives the text field the face above, under the name "Courier New", when its
// first text arrives. An empty field shows no letter, and finding the face is
// one of the dearer steps of opening a window, so it waits until it is needed.
void useMonospaceFromFirstText(QTextEdit *field);

#endif // MONOSPACEFONT_H
