#pragma once

#include <QByteArray>
#include <QIODevice>

namespace quorvia {

// What the sound output reads while it is open: the tone from its start each time one is asked
// for, and silence otherwise. The output never runs dry and is never stopped in the middle of a
// tone, so every tone plays whole and equally long.
class ToneStream final : public QIODevice {
public:
    explicit ToneStream(QByteArray tone);

    // The next bytes read are the tone from its start, also when one is still playing.
    void startTone();
    // Bytes of silence read since the last tone ended.
    qint64 silenceRead() const { return silenceRead_; }

    bool isSequential() const override { return true; }
    qint64 bytesAvailable() const override;

protected:
    qint64 readData(char* data, qint64 maxSize) override;
    qint64 writeData(const char* data, qint64 maxSize) override;

private:
    QByteArray tone_;
    qint64 position_ = 0; // in tone_; its size when no tone plays
    qint64 silenceRead_ = 0;
};

} // namespace quorvia
