#pragma once

#include <QDate>
#include <QString>
#include <QStringList>
#include <QTime>

class QWidget;

namespace quorvia {

class JournalStore;
class WorkbookWriter;

// The time of day and today's date.
class Clock {
public:
    virtual ~Clock() = default;
    virtual QTime timeOfDay() const = 0;
    virtual QDate today() const = 0;
};

// The interval tone.
class Beeper {
public:
    virtual ~Beeper() = default;
    virtual void beep() = 0;
};

struct FileDialogRequest {
    QString title;        // "Save As", "Open File"
    QString directory;    // folder the dialog opens in
    QString proposedName; // file name filled in (save only)
    QString filter;       // one filter, such as "Parameter File (*.p)"
};

// The modal file dialogs. Each returns the chosen full path, or an empty text when cancelled.
// The save dialog asks before replacing an existing file and, when chosenFilter is given, sets it
// to the filter chosen; the open dialog accepts only existing files.
class FileDialogs {
public:
    virtual ~FileDialogs() = default;
    virtual QString saveFileName(QWidget* parent, const FileDialogRequest& request,
                                 QString* chosenFilter = nullptr) = 0;
    virtual QString openFileName(QWidget* parent, const FileDialogRequest& request) = 0;
    // Several existing files at once; an empty list when cancelled.
    virtual QStringList openFileNames(QWidget* parent, const FileDialogRequest& request) = 0;
    // An existing folder (no proposed name, no filter); an empty text when cancelled.
    virtual QString folderName(QWidget* parent, const FileDialogRequest& request) = 0;
};

// Modal message boxes with the application's title and no icon.
class MessageBoxes {
public:
    virtual ~MessageBoxes() = default;
    // OK button only.
    virtual void inform(QWidget* parent, const QString& text) = 0;
    // Yes and No buttons, No the default. True for Yes.
    virtual bool askYesNo(QWidget* parent, const QString& text) = 0;
    // Yes and No buttons, Yes the default. True for Yes.
    virtual bool askYesNoDefaultYes(QWidget* parent, const QString& text) {
        return askYesNo(parent, text);
    }
};

// The services a window is given. Without a journal, sessions are kept in memory only.
struct Platform {
    Clock& clock;
    Beeper& beeper;
    FileDialogs& dialogs;
    MessageBoxes& messages;
    WorkbookWriter& workbooks;
    JournalStore* journal = nullptr;
};

// The user's documents folder, where the file dialogs open.
QString documentsFolder();

} // namespace quorvia
