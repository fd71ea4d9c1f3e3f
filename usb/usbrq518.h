#ifndef USBRQ518_H
#define USBRQ518_H

#include "usb/usbdevice.h"

// The Vn274's request set on top of the USB link: addresses, chunking,
// retries, scrambling of payloads and progress signals.
//
// A 32-bit device address travels as wValue = bits 0-15, wIndex = bits 16-31.
// Results: 0 for success, -1 for failure; nothing is shown to the user.
class USBRQ518 : public UsbDevice
{
    Q_OBJECT

public:
    // The driver's vendor requests.
    enum Request : quint8 {
        ReadRequest = 1,                // in:  internal memory, <= 2048 bytes, scrambled by the device
        TestWriteRequest = 2,           // out: 512 bytes test pattern (i mod 256), not scrambled
        WritePageRequest = 3,           // out: one 1024-byte internal flash page, scrambled by the host
        RunApplicationRequest = 4,      // out: no data; the device restarts into its other firmware
        ReadExternalFlashRequest = 5,   // in:  external flash, <= 512 bytes, as stored
        WriteExternalFlashRequest = 6,  // out: external flash, <= 256 bytes, as given
        StatusSetRequest = 7,           // out: 4-byte mask, bits to set
        StatusClrRequest = 8,           // out: 4-byte mask, bits to clear
        StatusGetRequest = 9,           // in:  4-byte status word
        IdentifyRequest = 255           // in:  2-byte identification word
    };

    static constexpr quint16 Vn274VendorId = 0x16C0;
    static constexpr quint16 Vn274ProductId = 0x0789;
    static constexpr quint16 Vn274DeviceId = 0x00BA;

    USBRQ518();

    // Talk only to the driver with this serial number, in either mode and
    // through every restart: its application reports the nine characters, its
    // bootloader the same followed by "b"; either form may be given. Empty:
    // the first driver found, as the window has it.
    void selectSerial(const QByteArray &serial);
    QByteArray selectedSerial();   // the serial number selected, empty for none
    // The serial number of a serial string: without the bootloader's "b".
    static QByteArray serialNumber(const QByteArray &serialString);

    // Reads length bytes in transfers of up to 2048 bytes and descrambles each
    // transfer; -1 at the first short or failed transfer, without retry.
    int ReadFromAddress(void *buffer, quint32 address, quint32 length);
    // Scrambles the 1024 bytes in place (the buffer stays scrambled) and sends
    // them as one page; -1 unless all 1024 bytes went out.
    int WritePageToAddress(void *buffer, quint32 address);
    // External flash, raw, in chunks of 512 (read) or 256 (write) bytes. A
    // failed chunk is repeated; 100 failures are tolerated per call, shared by
    // all chunks, the 101st ends it with -1. The percent signal follows every
    // completed chunk.
    int ReadExternalFlashFromAddress(void *buffer, quint32 address, quint32 length);
    int WriteExternalFlashToAddress(const void *buffer, quint32 address, quint32 length);
    // Sends request 4 without examining the result. The device leaves the bus
    // and comes back in its other firmware; callers disconnect right after.
    void RunApplication();

    int StatusGet(quint32 *status);   // *status untouched unless exactly 4 bytes came back
    int StatusSet(quint32 mask);
    int StatusClr(quint32 mask);
    // Reconnects, then up to 11 attempts to see status bit 0 set, setting it
    // whenever it reads clear.
    int StatusAcquire();
    int StatusRelease();

signals:
    void sendPercentExtFlashWrite(int percent);
    void sendPercentExtFlashRead(int percent);

private:
    enum class Direction { Read, Write };
    int transferExternalFlash(Direction direction, unsigned char *data, quint32 address, quint32 length);
};

#endif // USBRQ518_H
