#include "platform/tonestream.h"

#include <algorithm>
#include <cstring>
#include <limits>

namespace quorvia {

ToneStream::ToneStream(QByteArray tone)
    : tone_(std::move(tone))
    , position_(tone_.size()) {}

void ToneStream::startTone() {
    position_ = 0;
    silenceRead_ = 0;
}

qint64 ToneStream::bytesAvailable() const {
    return std::numeric_limits<int>::max() + QIODevice::bytesAvailable(); // silence never ends
}

qint64 ToneStream::readData(char* data, qint64 maxSize) {
    const qint64 toneBytes = std::clamp<qint64>(tone_.size() - position_, 0, maxSize);
    std::memcpy(data, tone_.constData() + position_, static_cast<std::size_t>(toneBytes));
    std::memset(data + toneBytes, 0, static_cast<std::size_t>(maxSize - toneBytes));
    position_ += toneBytes;
    silenceRead_ += maxSize - toneBytes;
    return maxSize;
}

qint64 ToneStream::writeData(const char*, qint64) {
    return -1;
}

} // namespace quorvia
