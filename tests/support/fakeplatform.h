#pragma once

// Platform services for tests: they record what the window asked for and give scripted answers.

#include "base/services.h"
#include "workbook/workbookwriter.h"

#include <QStringList>

#include <deque>
#include <functional>

namespace quorvia::test {

class FakeClock final : public Clock {
public:
    QTime time{9, 5, 7, 250};
    QDate date{2026, 12, 6};
    QTime timeOfDay() const override { return time; }
    QDate today() const override { return date; }
};

class FakeBeeper final : public Beeper {
public:
    int beeps = 0;
    void beep() override { ++beeps; }
};

class FakeFileDialogs final : public FileDialogs {
public:
    struct Call {
        bool save = false;
        FileDialogRequest request;
    };
    QList<Call> calls;
    // Answers given in turn; an empty text is a cancelled dialog. When none is left: cancelled.
    std::deque<QString> answers;

    // The filter a save dialog reports as chosen; empty: the first.
    QString chosenFilter;
    QString saveFileName(QWidget*, const FileDialogRequest& request,
                         QString* chosen = nullptr) override {
        if (chosen)
            *chosen = chosenFilter;
        return answer(true, request);
    }
    QString openFileName(QWidget*, const FileDialogRequest& request) override {
        return answer(false, request);
    }
    // One answer holds the chosen files joined by line feeds.
    QStringList openFileNames(QWidget*, const FileDialogRequest& request) override {
        const QString files = answer(false, request);
        return files.isEmpty() ? QStringList() : files.split(QLatin1Char('\n'));
    }
    QString folderName(QWidget*, const FileDialogRequest& request) override {
        return answer(false, request);
    }

private:
    QString answer(bool save, const FileDialogRequest& request) {
        calls.append({save, request});
        if (answers.empty())
            return {};
        QString next = answers.front();
        answers.pop_front();
        return next;
    }
};

class FakeMessageBoxes final : public MessageBoxes {
public:
    QStringList informed; // texts of the OK boxes, in order
    QStringList asked;    // texts of the Yes/No questions, in order
    bool answerYes = false;
    // Runs while a question is open, before it is answered (the real box runs the event loop).
    std::function<void()> whileAsking;

    void inform(QWidget*, const QString& text) override { informed << text; }
    bool askYesNo(QWidget*, const QString& text) override {
        asked << text;
        if (whileAsking)
            whileAsking();
        return answerYes;
    }
};

class FakeWorkbookWriter final : public WorkbookWriter {
public:
    QStringList paths; // paths written to, in order
    bool succeed = true;

    bool write(const Worksheet&, const QString& path) override {
        paths << path;
        return succeed;
    }
    bool writeSheets(const std::vector<NamedSheet>&, const QString& path) override {
        paths << path;
        return succeed;
    }
};

// All fakes together, with the Platform the window is given.
struct FakePlatform {
    FakeClock clock;
    FakeBeeper beeper;
    FakeFileDialogs dialogs;
    FakeMessageBoxes messages;
    FakeWorkbookWriter workbooks;
    Platform platform{clock, beeper, dialogs, messages, workbooks};
};

} // namespace quorvia::test
