#pragma once

#include "recording/journalevents.h"

#include <QDate>
#include <QString>
#include <QStringList>
#include <QTime>

#include <vector>

class QWidget;

namespace quorvia {

class Worksheet;

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
// The save dialog asks before replacing an existing file; the open dialog accepts only existing
// files.
class FileDialogs {
public:
    virtual ~FileDialogs() = default;
    virtual QString saveFileName(QWidget* parent, const FileDialogRequest& request) = 0;
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

// Writes a worksheet as a one-sheet workbook file. Returns false when the file could not be
// written completely; a file already at that path is then left as it was.
class WorkbookWriter {
public:
    virtual ~WorkbookWriter() = default;
    virtual bool write(const Worksheet& sheet, const QString& path) = 0;
    // Several named worksheets in one workbook, in order, saved the same way.
    struct NamedSheet {
        QString name;
        const Worksheet* sheet = nullptr;
    };
    virtual bool writeSheets(const std::vector<NamedSheet>& sheets, const QString& path) = 0;
};

// How the journal stood once it was opened. Reasons are sentences without the full stop.
struct JournalStatus {
    QString path;           // the journal file
    QString setAside;       // where a damaged journal found there was moved; empty when none was
    QString setAsideReason; // why it was ("It is not an SQLite database")
    QString unwritable;     // why the journal cannot be written; empty when it can
};

// The journal of the running session on disk. Each write has been committed when it returns
// true, so that it survives the end of the process; sync() makes it survive a power cut as well.
class JournalStore {
public:
    virtual ~JournalStore() = default;
    // A new session; its id, or 0 when it could not be written.
    virtual std::int64_t addSession(const JournalSessionStart& start) = 0;
    virtual bool addEvent(std::int64_t session, const JournalEvent& event) = 0;
    virtual bool sync() = 0;
    // Deletes the session, overwriting what it held.
    virtual bool removeSession(std::int64_t session) = 0;
    // The sessions in the journal, oldest first.
    virtual std::vector<JournaledSession> sessions() = 0;
    // Whether the journal can be written at all.
    virtual bool isOpen() const = 0;
    virtual JournalStatus status() const = 0;
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
