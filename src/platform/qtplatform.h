#pragma once

#include "platform/platform.h"

#include <QUrl>

#include <memory>

class QSoundEffect;

namespace quorvia {

class SystemClock final : public Clock {
public:
    QTime timeOfDay() const override;
    QDate today() const override;
};

// A short tone through the sound output, prepared once so that it sounds without delay; the
// desktop bell where there is no sound output.
class ToneBeeper final : public Beeper {
public:
    ToneBeeper();
    ~ToneBeeper() override;
    void beep() override;

    // The tone: a WAV of about 150 ms kept as a resource of the executable.
    static QUrl toneSource();

private:
    std::unique_ptr<QSoundEffect> effect_;
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
};

// Writes the workbook with libxlsxwriter into a temporary file beside the target and renames it
// into place, so that no half-written file is ever left at the target path.
class XlsxWorkbookWriter final : public WorkbookWriter {
public:
    bool write(const Worksheet& sheet, const QString& path) override;
};

} // namespace quorvia
