// "Yes" and "No" at the end of a session, driven through the main window with fake services:
// the worksheet window, the Save As dialog and every message of the save.
#include "app/mainwindow.h"
#include "report/worksheetwindow.h"
#include "support/fakeplatform.h"

#include <QCheckBox>
#include <QFile>
#include <QGroupBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTableView>
#include <QTemporaryDir>
#include <QTest>

using namespace quorvia;
using namespace quorvia::test;

namespace {

struct Observation {
    FakePlatform fake;
    MainWindow window{fake.platform};
    QTemporaryDir folder;

    // P07, session 3: 30 s in intervals of 10 s, key a counting Talking, key b switching Seated;
    // a twice and b once in interval 1, a once in interval 3 (a dot is a tick), to the end.
    void recordSession() {
        window.show();
        for (std::size_t i = 0; i < 4; ++i)
            window.Text2[i]->setText(QStringList{"P07", "3", "base", "KT"}[qsizetype(i)]);
        window.Text3->setText(QStringLiteral("2026/12/06"));
        window.Text22->setText(QStringLiteral("30"));
        window.Text1->setText(QStringLiteral("ab"));
        window.setCombo1Text(QStringLiteral("10"));
        window.command3Click();
        window.Text4[1]->setText(QStringLiteral("Talking"));
        window.Text4[2]->setText(QStringLiteral("Seated"));
        window.Check3[2]->setChecked(true);
        window.command3Click();
        window.command1Click();
        for (const QChar c : QStringLiteral("aab") + QString(20, u'.') + u'a' + QString(10, u'.'))
            c == u'.' ? window.timer1Timer() : window.keyPress(c.unicode());
    }

    WorksheetWindow* sheetWindow() const { return window.findChild<WorksheetWindow*>(); }
};

} // namespace

class ReportWindowTest : public QObject {
    Q_OBJECT

private slots:
    void yesShowsTheWorksheetAndKeepsItUntilSaved() {
        Observation o;
        o.recordSession();
        o.fake.dialogs.answers = {o.folder.filePath(QStringLiteral("data.xls"))};
        o.window.command7Click();
        QVERIFY(o.fake.dialogs.calls.size() == 1 && o.fake.dialogs.calls[0].save);
        const FileDialogRequest& asked = o.fake.dialogs.calls[0].request;
        QCOMPARE((QStringList{asked.title, asked.directory, asked.proposedName, asked.filter}),
                 (QStringList{"Save As", documentsFolder(), "P07-3-base-KT.xlsx",
                              "Excel File (*.xlsx)"}));
        const QString saved = o.folder.filePath(QStringLiteral("data.xls.xlsx"));
        QCOMPARE(o.fake.workbooks.paths, QStringList{saved});
        QCOMPARE(o.window.filePath(), saved);
        QCOMPARE(o.fake.messages.informed + o.fake.messages.asked, QStringList());

        // The worksheet window showed the cells of the record and the controls (the key counter
        // shows the key as "A") in a read-only grid, and closed after the save.
        const WorksheetWindow* sheetWindow = o.sheetWindow();
        QVERIFY(sheetWindow != nullptr && !sheetWindow->isVisible());
        QCOMPARE(sheetWindow->windowTitle(), QStringLiteral("P07-3-base-KT.xlsx"));
        const QAbstractItemModel* grid = sheetWindow->grid->model();
        auto cell = [grid](int r, int c) {
            return grid->index(r - 1, c - 1).data().toString();
        };
        QCOMPARE((QStringList{grid->headerData(4, Qt::Horizontal).toString(),
                              grid->headerData(25, Qt::Vertical).toString(), cell(6, 1),
                              cell(14, 5), cell(15, 5), cell(15, 6), cell(16, 6), cell(20, 5)}),
                 (QStringList{"E", "26", "Session Started at   09:05:07.25", "a", "Talking",
                              "Seated", "On/Off", "6"}));
        QVERIFY(!(grid->flags(grid->index(13, 4)) & Qt::ItemIsEditable));
        o.window.command1Click(); // Confirm
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);

        // The next session: its save fails; then the dialog is cancelled; then "results" becomes
        // results.xlsx, which exists and which the dialog never asked about: it is not replaced.
        QFile existing(o.folder.filePath(QStringLiteral("results.xlsx")));
        QVERIFY(existing.open(QIODevice::WriteOnly));
        o.recordSession();
        o.fake.workbooks.succeed = false;
        o.fake.dialogs.answers = {o.folder.filePath(QStringLiteral("full-disk")), QString(),
                                  o.folder.filePath(QStringLiteral("results"))};
        o.window.command7Click();
        QCOMPARE(o.window.filePath(), QString());
        WorksheetWindow* unsaved = o.sheetWindow();
        unsaved->saveAsButton->click();
        unsaved->saveAsButton->click();
        QCOMPARE(o.fake.workbooks.paths.constLast(), o.folder.filePath("full-disk.xlsx"));
        // The worksheet stays open, and neither window closes unasked while it is unsaved.
        QVERIFY(unsaved->isVisible() && !unsaved->close() && !o.window.close());
        QStringList messages{"An error has occured.\r\nData were not saved.",
                             "Data were not saved.", "Data were not saved."};
        messages << "results.xlsx already exists.\r\nDo you want to replace it?"
                 << kCloseUnsavedQuestion << kCloseUnsavedQuestion;
        QCOMPARE(o.fake.messages.informed + o.fake.messages.asked, messages);

        // "Save As..." saves it; a name typed with its extension is the dialog's to ask about.
        o.fake.workbooks.succeed = true;
        o.fake.dialogs.answers = {existing.fileName()};
        unsaved->saveAsButton->click();
        QCOMPARE(o.fake.workbooks.paths.constLast(), existing.fileName());
        QCOMPARE(o.window.filePath(), existing.fileName());
        QCOMPARE(o.fake.messages.informed + o.fake.messages.asked, messages); // nothing more
        QVERIFY(!unsaved->isVisible());
    }

    void noOrFailedWorksheetKeepsNothing() {
        Observation no;
        no.recordSession();
        no.window.command8Click();
        Observation failed; // "Yes" with no recorded session: no worksheet to build
        failed.window.command7Click();
        for (const Observation* o : {&no, &failed}) {
            QVERIFY(!o->window.Frame3->isEnabled() && o->window.Command1->isEnabled());
            QVERIFY(o->fake.dialogs.calls.isEmpty() && o->sheetWindow() == nullptr);
        }
        QCOMPARE(no.fake.messages.informed + failed.fake.messages.informed,
                 QStringList{"Excel does not exist.\r\nData were not saved."});
    }
};

QTEST_MAIN(ReportWindowTest)
#include "test_reportwindow.moc"
