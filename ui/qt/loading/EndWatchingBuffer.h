// A read-only device over bytes in memory that notes whether its reader ever asked for more than
// there is. Qt's BMP reader takes the rows that a cut-off file lacks as black and still reports
// success; a picture read through this is whole only if the reader never ran short.
#pragma once

#include <QByteArray>
#include <QIODevice>

namespace orvel {

class EndWatchingBuffer : public QIODevice {
public:
    // Opened for reading, unbuffered, so that each read of the reader reaches readData as it is.
    explicit EndWatchingBuffer(QByteArray bytes);

    // Whether a read asked for bytes past the end.
    bool ranShort() const { return m_ranShort; }

    bool isSequential() const override { return false; }
    qint64 size() const override { return m_bytes.size(); }

protected:
    qint64 readData(char* data, qint64 maxSize) override;
    qint64 writeData(const char* data, qint64 maxSize) override;

private:
    QByteArray m_bytes;
    bool m_ranShort = false;
};

}  // namespace orvel
