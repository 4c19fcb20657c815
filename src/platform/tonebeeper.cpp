#include "platform/tonebeeper.h"

#include "platform/tonestream.h"

#include <QApplication>
#include <QAudioDevice>
#include <QAudioSink>
#include <QFile>
#include <QMediaDevices>
#include <QtEndian>

namespace quorvia {

QUrl SoundToneBeeper::toneSource() {
    return QUrl(QStringLiteral("qrc:/sounds/beep.wav"));
}

ToneSound SoundToneBeeper::loadTone() {
    QFile file(u':' + toneSource().path());
    if (!file.open(QIODevice::ReadOnly))
        return {};
    const QByteArray wave = file.readAll();
    auto u16 = [&](qsizetype at) {
        return qFromLittleEndian<quint16>(wave.constData() + at);
    };
    if (wave.size() < 12 || !wave.startsWith("RIFF") || wave.mid(8, 4) != "WAVE")
        return {};
    // Chunks: a four-letter name, a 32-bit size and the data, padded to an even size. The tone
    // is 16-bit PCM: its "fmt " chunk comes before its "data".
    ToneSound tone;
    for (qsizetype at = 12; at + 8 <= wave.size();) {
        const QByteArray name = wave.mid(at, 4);
        const qint64 size = qFromLittleEndian<quint32>(wave.constData() + at + 4);
        const qsizetype body = at + 8;
        if (size > wave.size() - body)
            return {};
        if (name == "fmt " && size >= 16 && u16(body) == 1 && u16(body + 14) == 16) {
            tone.format.setChannelCount(u16(body + 2));
            tone.format.setSampleRate(
                static_cast<int>(qFromLittleEndian<quint32>(wave.constData() + body + 4)));
            tone.format.setSampleFormat(QAudioFormat::Int16);
        } else if (name == "data" && tone.format.isValid()) {
            tone.samples = wave.mid(body, size - size % tone.format.bytesPerFrame());
            return tone;
        }
        at = body + size + size % 2;
    }
    return {};
}

SoundToneBeeper::SoundToneBeeper() {
    idleCheck_.setInterval(1000);
    QObject::connect(&idleCheck_, &QTimer::timeout, &idleCheck_, [this] {
        // Closed once it has played a few seconds of silence: the tone has long left it.
        if (stream_ && stream_->silenceRead() >= tone_.format.bytesForDuration(3000000)) {
            closeOutput();
            idleCheck_.stop();
        }
    });
}

// The output goes before the stream it reads.
SoundToneBeeper::~SoundToneBeeper() {
    closeOutput();
}

void SoundToneBeeper::closeOutput() {
    // Suspended first: closing a running output can deliver one of its pending reads after its
    // stream is gone, which aborts the program.
    if (output_)
        output_->suspend();
    output_.reset();
}

bool SoundToneBeeper::outputOpen() const {
    if (!output_)
        return false;
    const QAudio::Error error = output_->error();
    return (error == QAudio::NoError || error == QAudio::UnderrunError) &&
           (output_->state() == QAudio::ActiveState || output_->state() == QAudio::IdleState);
}

bool SoundToneBeeper::openOutput() {
    closeOutput();
    if (!stream_) {
        tone_ = loadTone();
        if (tone_.samples.isEmpty())
            return false;
        stream_ = std::make_unique<ToneStream>(tone_.samples);
        stream_->open(QIODevice::ReadOnly);
    }
    // Looked up anew each time: a sound server may have started, or the default changed.
    const QAudioDevice device = QMediaDevices::defaultAudioOutput();
    if (device.isNull())
        return false;
    output_ = std::make_unique<QAudioSink>(device, tone_.format);
    // A fifth of a second: the tone starts soon after it is asked for, and the output does not
    // run dry while the program is busy for a moment.
    output_->setBufferSize(tone_.format.bytesForDuration(200000));
    stream_->startTone();
    output_->start(stream_.get());
    return outputOpen();
}

void SoundToneBeeper::beep() {
    if (outputOpen()) {
        stream_->startTone();
    } else if (!openOutput()) {
        closeOutput();
        QApplication::beep();
        return;
    }
    idleCheck_.start();
}

} // namespace quorvia

quorvia::Beeper* quorvia_create_tone() {
    return new quorvia::SoundToneBeeper();
}
