#pragma once

#include "platform/platform.h"

#include <QAudioFormat>
#include <QByteArray>
#include <QTimer>
#include <QUrl>

#include <memory>

class QAudioSink;

namespace quorvia {

class SystemClock final : public Clock {
public:
    QTime timeOfDay() const override;
    QDate today() const override;
};

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
class ToneBeeper final : public Beeper {
public:
    ToneBeeper();
    ~ToneBeeper() override;
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

class QtFileDialogs final : public FileDialogs {
public:
    QString saveFileName(QWidget* parent, const FileDialogRequest& request) override;
    QString openFileName(QWidget* parent, const FileDialogRequest& request) override;
    QStringList openFileNames(QWidget* parent, const FileDialogRequest& request) override;
    QString folderName(QWidget* parent, const FileDialogRequest& request) override;
};

class QtMessageBoxes final : public MessageBoxes {
public:
    void inform(QWidget* parent, const QString& text) override;
    bool askYesNo(QWidget* parent, const QString& text) override;
    bool askYesNoDefaultYes(QWidget* parent, const QString& text) override;
};

// Writes the workbook with libxlsxwriter into a temporary file beside the target and renames it
// into place, so that no half-written file is ever left at the target path. A symbolic link is
// followed to the file it names, and a replaced file keeps its permission bits. Every text is
// stored so that it reads back as typed; one longer than a cell holds (32,767 characters) is cut.
class XlsxWorkbookWriter final : public WorkbookWriter {
public:
    bool write(const Worksheet& sheet, const QString& path) override;
    bool writeSheets(const std::vector<NamedSheet>& sheets, const QString& path) override;
};

} // namespace quorvia
