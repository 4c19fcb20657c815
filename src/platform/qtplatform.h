#pragma once

#include "base/services.h"
#include "workbook/workbookwriter.h"

#include <QLibrary>

#include <memory>

namespace quorvia {

// A function of one of the program's modules (fileName, such as "libquorvia_tone.so"), looked up
// beside the executable and then in the program's module folder; null when neither has it.
QFunctionPointer moduleFunction(QLibrary& module, const QString& fileName, const char* function);

// The object a module's factory function (T* function()) makes; null when it cannot be loaded.
template <typename T>
std::unique_ptr<T> moduleObject(QLibrary& module, const QString& fileName, const char* function) {
    using Create = T* (*)();
    const auto create = reinterpret_cast<Create>(moduleFunction(module, fileName, function));
    return std::unique_ptr<T>(create ? create() : nullptr);
}

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
    QString saveFileName(QWidget* parent, const FileDialogRequest& request,
                         QString* chosenFilter = nullptr) override;
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

// The workbook writer of the module libquorvia_xlsx.so (the writer below), so that the writing
// library and the cryptography it brings along do not load with the program. The module is loaded
// by prepare() (the program calls it once its window is shown) or else at the first write; a
// write fails when it cannot be loaded.
class XlsxModuleWriter final : public WorkbookWriter {
public:
    XlsxModuleWriter();
    ~XlsxModuleWriter() override;
    bool write(const Worksheet& sheet, const QString& path) override;
    bool writeSheets(const std::vector<NamedSheet>& sheets, const QString& path) override;
    // Loads the module; whether workbooks can be written through it.
    bool prepare();

private:
    QLibrary module_;
    std::unique_ptr<WorkbookWriter> writer_;
    bool tried_ = false;
};

} // namespace quorvia
