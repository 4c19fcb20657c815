#include "platform/qtplatform.h"

#include <QApplication>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QLibrary>
#include <QMessageBox>
#include <QStandardPaths>

namespace quorvia {

QTime SystemClock::timeOfDay() const {
    return QTime::currentTime();
}

QDate SystemClock::today() const {
    return QDate::currentDate();
}

QFunctionPointer moduleFunction(QLibrary& module, const QString& fileName, const char* function) {
    // The program's own folder first (the build folder), then where the package puts them.
    const QString here = QFileInfo(QStringLiteral("/proc/self/exe")).canonicalPath();
    for (const QString& folder : {here, QDir(here).filePath(QStringLiteral(QUORVIA_MODULE_DIR))}) {
        module.setFileName(QDir(folder).filePath(fileName));
        if (const QFunctionPointer found = module.resolve(function))
            return found;
    }
    return nullptr;
}

// The tone is played by a module of its own: the sound libraries it needs are many, and loading
// them with the program would hold up the window.
ToneBeeper::ToneBeeper() = default;
ToneBeeper::~ToneBeeper() = default;

bool ToneBeeper::prepare() {
    if (tone_ || tried_)
        return tone_ != nullptr;
    tried_ = true;
    tone_ =
        moduleObject<Beeper>(module_, QStringLiteral("libquorvia_tone.so"), "quorvia_create_tone");
    return tone_ != nullptr;
}

void ToneBeeper::beep() {
    if (prepare())
        tone_->beep();
    else
        QApplication::beep();
}

XlsxModuleWriter::XlsxModuleWriter() = default;
XlsxModuleWriter::~XlsxModuleWriter() = default;

bool XlsxModuleWriter::prepare() {
    if (writer_ || tried_)
        return writer_ != nullptr;
    tried_ = true;
    writer_ = moduleObject<WorkbookWriter>(module_, QStringLiteral("libquorvia_xlsx.so"),
                                           "quorvia_create_workbook_writer");
    return writer_ != nullptr;
}

bool XlsxModuleWriter::write(const Worksheet& sheet, const QString& path) {
    return prepare() && writer_->write(sheet, path);
}

bool XlsxModuleWriter::writeSheets(const std::vector<NamedSheet>& sheets, const QString& path) {
    return prepare() && writer_->writeSheets(sheets, path);
}

namespace {

// Runs one of the program's own (not the desktop's) file dialogs, named for the outside checks;
// the chosen paths, or none when cancelled.
QStringList chosenPaths(QFileDialog& dialog, const char* name) {
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setObjectName(QLatin1String(name));
    if (dialog.exec() != QDialog::Accepted)
        return {};
    return dialog.selectedFiles();
}

QString firstOf(const QStringList& paths) {
    return paths.isEmpty() ? QString() : paths.constFirst();
}

} // namespace

QString QtFileDialogs::saveFileName(QWidget* parent, const FileDialogRequest& request,
                                    QString* chosenFilter) {
    QFileDialog dialog(parent, request.title, request.directory, request.filter);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    if (!request.proposedName.isEmpty())
        dialog.selectFile(request.proposedName);
    const QString chosen = firstOf(chosenPaths(dialog, "SaveAsDialog"));
    if (chosenFilter)
        *chosenFilter = dialog.selectedNameFilter();
    return chosen;
}

QString QtFileDialogs::openFileName(QWidget* parent, const FileDialogRequest& request) {
    QFileDialog dialog(parent, request.title, request.directory, request.filter);
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setFileMode(QFileDialog::ExistingFile);
    return firstOf(chosenPaths(dialog, "OpenFileDialog"));
}

QStringList QtFileDialogs::openFileNames(QWidget* parent, const FileDialogRequest& request) {
    QFileDialog dialog(parent, request.title, request.directory, request.filter);
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setFileMode(QFileDialog::ExistingFiles);
    return chosenPaths(dialog, "OpenFilesDialog");
}

QString QtFileDialogs::folderName(QWidget* parent, const FileDialogRequest& request) {
    QFileDialog dialog(parent, request.title, request.directory);
    dialog.setFileMode(QFileDialog::Directory);
    dialog.setOption(QFileDialog::ShowDirsOnly);
    return firstOf(chosenPaths(dialog, "OpenFolderDialog"));
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
