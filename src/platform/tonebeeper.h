#pragma once

#include "base/services.h"

#include <QAudioFormat>
#include <QByteArray>
#include <QTimer>
#include <QUrl>

#include <memory>

class QAudioSink;

// The interval tone itself, built as a module of its own (libquorvia_tone.so) that the program
// loads once its window is shown; quorvia_create_tone() makes its beeper.
namespace quorvia {

// The interval tone's samples.
struct ToneSound {
    QAudioFormat format;
    QByteArray samples;
};

class ToneStream;

// A short tone through the default sound output; the desktop bell where there is none. Nothing
// is prepared before the first tone. The output then stays open and plays silence between tones,
// so that no tone is cut off; it is closed once it has played a few seconds of silence. It is
// looked up again each time it is opened, so a sound server that starts after the program is
// used as well.
class SoundToneBeeper final : public Beeper {
public:
    SoundToneBeeper();
    ~SoundToneBeeper() override;
    void beep() override;

    // The tone: a 16-bit PCM WAV of about 150 ms kept as a resource of the executable.
    static QUrl toneSource();
    // Its samples; none when it cannot be read.
    static ToneSound loadTone();

private:
    bool outputOpen() const;
    bool openOutput();
    void closeOutput();

    ToneSound tone_;
    std::unique_ptr<ToneStream> stream_; // read by the output
    std::unique_ptr<QAudioSink> output_;
    QTimer idleCheck_;
};

} // namespace quorvia

extern "C" Q_DECL_EXPORT quorvia::Beeper* quorvia_create_tone();
