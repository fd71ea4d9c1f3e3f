#ifndef TOOL_STANDARDSTREAM_H
#define TOOL_STANDARDSTREAM_H

#include <QIODevice>

// Standard output or error as a device for QTextStream: each write goes to
// the descriptor at once, and one that fails keeps the system's reason in
// errorString() ("No space left on device", "Broken pipe"), which a QFile on
// the same descriptor reports as "Unknown error".
class StandardStream : public QIODevice
{
public:
    explicit StandardStream(int descriptor);

protected:
    qint64 readData(char *data, qint64 maxSize) override;
    qint64 writeData(const char *data, qint64 size) override;

private:
    const int descriptor;
};

#endif // TOOL_STANDARDSTREAM_H
