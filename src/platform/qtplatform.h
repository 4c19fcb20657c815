#pragma once

#include "platform/platform.h"

#include <QLibrary>

#include <memory>

namespace quorvia {

class SystemClock final : public Clock {
public:
    QTime timeOfDay() const override;
    QDate today() const override;
};

// No tone: the windows beside the recorder have no session clock.
class SilentBeeper final : public Beeper {
public:
    void beep() override {}
};

// The interval tone through the default sound output; the desktop bell where there is none or
// where the tone's module cannot be loaded. The module is loaded by prepare() (the program calls
// it once its window is shown) or else at the first tone.
class ToneBeeper final : public Beeper {
public:
    ToneBeeper();
    ~ToneBeeper() override;
    void beep() override;
    // Loads the tone's module; whether the tone can play through it.
    bool prepare();

private:
    QLibrary module_;
    std::unique_ptr<Beeper> tone_;
    bool tried_ = false;
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
