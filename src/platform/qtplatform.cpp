#include "platform/qtplatform.h"

#include "platform/tonestream.h"

#include <QApplication>
#include <QAudioDevice>
#include <QAudioSink>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QMediaDevices>
#include <QMessageBox>
#include <QStandardPaths>
#include <QTimer>
#include <QtEndian>

namespace quorvia {

QString documentsFolder() {
    const QString folder = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    if (!folder.isEmpty() && QDir(folder).exists())
        return folder;
    return QDir::homePath();
}

QTime SystemClock::timeOfDay() const {
    return QTime::currentTime();
}

QDate SystemClock::today() const {
    return QDate::currentDate();
}

QUrl ToneBeeper::toneSource() {
    return QUrl(QStringLiteral("qrc:/sounds/beep.wav"));
}

ToneSound ToneBeeper::loadTone() {
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

ToneBeeper::ToneBeeper() {
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
ToneBeeper::~ToneBeeper() {
    closeOutput();
}

void ToneBeeper::closeOutput() {
    // Suspended first: closing a running output can deliver one of its pending reads after its
    // stream is gone, which aborts the program.
    if (output_)
        output_->suspend();
    output_.reset();
}

bool ToneBeeper::outputOpen() const {
    if (!output_)
        return false;
    const QAudio::Error error = output_->error();
    return (error == QAudio::NoError || error == QAudio::UnderrunError) &&
           (output_->state() == QAudio::ActiveState || output_->state() == QAudio::IdleState);
}

bool ToneBeeper::openOutput() {
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

void ToneBeeper::beep() {
    if (outputOpen()) {
        stream_->startTone();
    } else if (!openOutput()) {
        closeOutput();
        QApplication::beep();
        return;
    }
    idleCheck_.start();
}

QString QtFileDialogs::saveFileName(QWidget* parent, const FileDialogRequest& request) {
    QFileDialog dialog(parent, request.title, request.directory, request.filter);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setObjectName(QStringLiteral("SaveAsDialog"));
    if (!request.proposedName.isEmpty())
        dialog.selectFile(request.proposedName);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return {};
    return dialog.selectedFiles().constFirst();
}

QString QtFileDialogs::openFileName(QWidget* parent, const FileDialogRequest& request) {
    QFileDialog dialog(parent, request.title, request.directory, request.filter);
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setFileMode(QFileDialog::ExistingFile);
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setObjectName(QStringLiteral("OpenFileDialog"));
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return {};
    return dialog.selectedFiles().constFirst();
}

QStringList QtFileDialogs::openFileNames(QWidget* parent, const FileDialogRequest& request) {
    QFileDialog dialog(parent, request.title, request.directory, request.filter);
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setFileMode(QFileDialog::ExistingFiles);
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setObjectName(QStringLiteral("OpenFilesDialog"));
    if (dialog.exec() != QDialog::Accepted)
        return {};
    return dialog.selectedFiles();
}

QString QtFileDialogs::folderName(QWidget* parent, const FileDialogRequest& request) {
    QFileDialog dialog(parent, request.title, request.directory);
    dialog.setFileMode(QFileDialog::Directory);
    dialog.setOption(QFileDialog::ShowDirsOnly);
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setObjectName(QStringLiteral("OpenFolderDialog"));
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return {};
    return dialog.selectedFiles().constFirst();
}

void QtMessageBoxes::inform(QWidget* parent, const QString& text) {
    QMessageBox box(QMessageBox::NoIcon, QApplication::applicationDisplayName(), text,
                    QMessageBox::Ok, parent);
    box.exec();
}

namespace {

bool askYesNoWithDefault(QWidget* parent, const QString& text, QMessageBox::StandardButton def) {
    QMessageBox box(QMessageBox::NoIcon, QApplication::applicationDisplayName(), text,
                    QMessageBox::Yes | QMessageBox::No, parent);
    box.setDefaultButton(def);
    return box.exec() == QMessageBox::Yes;
}

} // namespace

bool QtMessageBoxes::askYesNo(QWidget* parent, const QString& text) {
    return askYesNoWithDefault(parent, text, QMessageBox::No);
}

bool QtMessageBoxes::askYesNoDefaultYes(QWidget* parent, const QString& text) {
    return askYesNoWithDefault(parent, text, QMessageBox::Yes);
}

} // namespace quorvia
