#ifndef SERVICEPRESETS_H
#define SERVICEPRESETS_H

#include <QString>

// What the service panel's dialogs propose: the last values the user gave,
// starting from the values below. One copy for the whole process, so that
// they survive the window being rebuilt on a language change; nothing is
// saved between runs.
struct ServicePresets
{
    // Read (internal memory)
    quint32 readAddress = 0x08000000;
    int readLength = 256;
    // WritePage
    int fillByte = 0;
    // WriteExternalFlash
    quint32 extWriteAddress = 0;
    int extWriteLength = 1;
    quint32 extWriteData = 1;   // its low byte is written
    // ReadExternalFlash
    quint32 extReadAddress = 0;
    int extReadLength = 512;
};

// The process-wide presets. Assigning ServicePresets() starts them afresh.
ServicePresets &servicePresets();

// How an address or data preset is proposed: "0x" and the value in lower-case
// hexadecimal without leading zeros ("0x8000000").
QString hexPresetText(quint32 value);

#endif // SERVICEPRESETS_H
