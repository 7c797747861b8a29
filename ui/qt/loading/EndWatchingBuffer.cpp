#include "ui/qt/loading/EndWatchingBuffer.h"

#include <algorithm>
#include <cstring>
#include <utility>

namespace orvel {

EndWatchingBuffer::EndWatchingBuffer(QByteArray bytes) : m_bytes(std::move(bytes)) {
    open(QIODevice::ReadOnly | QIODevice::Unbuffered);
}

// QIODevice keeps the position and moves it by what this returns.
qint64 EndWatchingBuffer::readData(char* data, qint64 maxSize) {
    const qint64 position = pos();
    const qint64 available = std::max<qint64>(0, m_bytes.size() - position);
    const qint64 count = std::min(maxSize, available);
    if (count < maxSize)
        m_ranShort = true;
    if (count > 0)
        std::memcpy(data, m_bytes.constData() + position, static_cast<std::size_t>(count));
    return count;
}

qint64 EndWatchingBuffer::writeData(const char* /*data*/, qint64 /*maxSize*/) {
    return -1;
}

}  // namespace orvel
