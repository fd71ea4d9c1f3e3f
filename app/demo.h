#ifndef DEMO_H
#define DEMO_H

#include <QByteArray>

// The demo program's driver is the simulated one. It starts with a few light
// shows in its external flash, kept scrambled as the real driver keeps them,
// so that "Get Programs Form Vn274" shows colours at once.

QByteArray demoPrograms();   // a programs table (7680 bytes)
QByteArray demoScenes();     // a scenes table (384 bytes)

// Writes both tables, scrambled, to their places in the external flash of
// every simulated driver; each further driver's scenes turned by one more.
void seedDemoDriver();

#endif // DEMO_H
