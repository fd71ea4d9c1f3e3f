#ifndef VERSION_H
#define VERSION_H

// The program's version text, shown in the window title and in the about box.
inline constexpr char vn274Version[] = "1.02";

#endif // VERSION_H
