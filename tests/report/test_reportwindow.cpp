// "Yes" and "No" at the end of a session, driven through the main window with fake services:
// the worksheet window, the Save As dialog and every message of the save.
#include "app/mainwindow.h"
#include "report/worksheetwindow.h"
#include "sessionscript.h"
#include "support/fakeplatform.h"

#include <QCheckBox>
#include <QFile>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QTableView>
#include <QTemporaryDir>
#include <QTest>

using namespace quorvia;
using namespace quorvia::test;

namespace {

// The window with its fake services, set up for participant P07, session 3: 30 s in intervals of
// 10 s, key a counting Talking, key b switching Seated on and off.
struct Observation {
    FakePlatform fake;
    MainWindow window{fake.platform};
    QTemporaryDir folder;

    Observation() {
        window.show();
        const QStringList texts{"P07", "3", "base", "KT", "2026/12/06", "30", "ab"};
        for (std::size_t i = 0; i < 4; ++i)
            window.Text2[i]->setText(texts[static_cast<qsizetype>(i)]);
        window.Text3->setText(texts[4]);
        window.Text22->setText(texts[5]);
        window.Text1->setText(texts[6]);
        window.setCombo1Text(QStringLiteral("10"));
    }

    // Set, Check Keys, Start; a twice and b once in interval 1, a once in interval 3 (a dot is a
    // tick), to the end.
    void recordSession() {
        window.command3Click();
        window.Text4[1]->setText(QStringLiteral("Talking"));
        window.Text4[2]->setText(QStringLiteral("Seated"));
        window.Check3[2]->setChecked(true);
        window.command3Click();
        window.command1Click();
        for (const QChar c : QStringLiteral("aab") + QString(20, u'.') + u'a' + QString(10, u'.'))
            c == u'.' ? window.timer1Timer() : window.keyPress(c);
    }

    // "Yes", the dialog answering with the name in the folder (an empty name cancels it).
    void yes(const QString& chosen) {
        if (!chosen.isEmpty())
            fake.dialogs.answers = {folder.filePath(chosen)};
        window.command7Click();
    }

    WorksheetWindow* sheetWindow() const { return window.findChild<WorksheetWindow*>(); }
};

} // namespace

class ReportWindowTest : public QObject {
    Q_OBJECT

private slots:
    void yesShowsTheWorksheetAndSavesIt() {
        Observation o;
        o.recordSession();
        o.yes(QStringLiteral("data.xls"));
        QVERIFY(o.fake.dialogs.calls.size() == 1 && o.fake.dialogs.calls[0].save);
        const FileDialogRequest& asked = o.fake.dialogs.calls[0].request;
        QCOMPARE((QStringList{asked.title, asked.directory, asked.proposedName, asked.filter}),
                 (QStringList{"Save As", documentsFolder(), "P07-3-base-KT.xlsx",
                              "Excel File (*.xlsx)"}));
        const QString saved = o.folder.filePath(QStringLiteral("data.xls.xlsx"));
        QCOMPARE(o.fake.workbooks.paths, QStringList{saved});
        QCOMPARE(o.window.filePath(), saved);
        QCOMPARE(o.fake.messages.informed + o.fake.messages.asked, QStringList());

        // The cells come from the record and the controls (the key counter shows the key as "A").
        QCOMPARE(sheetDifference(
                     *o.fake.workbooks.lastSheet,
                     "E14=s:a|E15=s:Talking|E16=s:Hits|F15=s:Seated|F16=s:On/Off|F18=s:66.67%|"
                     "A6=s:Session Started at   09:05:07.25|"
                     "A10=s:Session Finished at   09:05:07.25"),
                 QString());

        // The worksheet window showed them in a read-only grid and closed after the save.
        const WorksheetWindow* sheetWindow = o.sheetWindow();
        QVERIFY(sheetWindow != nullptr && !sheetWindow->isVisible());
        QCOMPARE(sheetWindow->windowTitle(), QStringLiteral("P07-3-base-KT.xlsx"));
        const QAbstractItemModel* grid = sheetWindow->grid->model();
        QCOMPARE(QSize(grid->columnCount(), grid->rowCount()), QSize(6, 26)); // to F26
        QCOMPARE(grid->headerData(4, Qt::Horizontal).toString(), QStringLiteral("E"));
        QCOMPARE(grid->headerData(25, Qt::Vertical).toString(), QStringLiteral("26"));
        QCOMPARE(grid->index(19, 4).data().toString(), QStringLiteral("6"));
        QVERIFY(!(grid->flags(grid->index(13, 4)) & Qt::ItemIsEditable));
    }

    void unsavedWorksheetStaysOpen_data() {
        QTest::addColumn<QString>("chosen"); // empty: the dialog is cancelled
        QTest::addColumn<bool>("writeFails");
        QTest::addColumn<QStringList>("messages"); // shown, then asked
        QTest::newRow("dialog cancelled") << "" << false << QStringList{"Data were not saved."};
        QTest::newRow("save failed")
            << "full-disk" << true << QStringList{"An error has occured.\r\nData were not saved."};
        // "results" becomes results.xlsx, which exists and which the dialog never asked about.
        QTest::newRow("replacing declined")
            << "results" << false
            << QStringList{"Data were not saved.",
                           "results.xlsx already exists.\r\nDo you want to replace it?"};
    }

    void unsavedWorksheetStaysOpen() {
        QFETCH(QString, chosen);
        QFETCH(bool, writeFails);
        QFETCH(QStringList, messages);
        // A first session saved and confirmed, so that filePath holds a name before the second.
        Observation o;
        o.recordSession();
        o.yes(QStringLiteral("first.xlsx"));
        o.window.command1Click(); // Confirm
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QFile existing(o.folder.filePath(QStringLiteral("results.xlsx")));
        QVERIFY(chosen != u"results" || existing.open(QIODevice::WriteOnly));
        o.recordSession();
        o.fake.workbooks.succeed = !writeFails;
        o.yes(chosen);

        QCOMPARE(o.fake.messages.informed + o.fake.messages.asked, messages);
        QCOMPARE(o.window.filePath(), QString());
        QCOMPARE(o.fake.workbooks.paths.size(), writeFails ? 2 : 1);
        QPointer<WorksheetWindow> sheetWindow = o.sheetWindow();
        QVERIFY(sheetWindow && sheetWindow->isVisible());

        // Its "Save As..." saves again; a name typed with its extension is the dialog's to ask
        // about.
        o.fake.workbooks.succeed = true;
        o.fake.dialogs.answers = {existing.fileName()};
        sheetWindow->saveAsButton->click();
        QCOMPARE(o.fake.dialogs.calls.at(2).request.proposedName,
                 QStringLiteral("P07-4-base-KT.xlsx"));
        QCOMPARE(o.fake.workbooks.paths.constLast(), existing.fileName());
        QCOMPARE(o.window.filePath(), existing.fileName());
        QCOMPARE(o.fake.messages.informed + o.fake.messages.asked, messages); // nothing more
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QVERIFY(sheetWindow.isNull());
    }

    void noOrFailedWorksheetKeepsNothing_data() {
        QTest::addColumn<bool>("yes"); // else "No"
        QTest::addColumn<QStringList>("informed");
        QTest::newRow("No") << false << QStringList();
        // A "Yes" with no recorded session has no worksheet to build.
        QTest::newRow("Yes without a session")
            << true << QStringList{"Excel does not exist.\r\nData were not saved."};
    }

    void noOrFailedWorksheetKeepsNothing() {
        QFETCH(bool, yes);
        QFETCH(QStringList, informed);
        Observation o;
        if (!yes)
            o.recordSession();
        yes ? o.window.command7Click() : o.window.command8Click();
        QVERIFY(!o.window.Frame3->isEnabled() && o.window.Command1->isEnabled());
        QCOMPARE(o.fake.messages.informed, informed);
        QVERIFY(o.fake.dialogs.calls.isEmpty() && o.sheetWindow() == nullptr);
    }

    void closingWithAnUnsavedWorksheetAsks() {
        Observation o;
        o.recordSession();
        o.yes({});                // cancelled
        o.window.command1Click(); // Confirm: the session itself needs nothing more
        WorksheetWindow* sheetWindow = o.sheetWindow();
        QVERIFY(!sheetWindow->close() && !o.window.close());
        QVERIFY(sheetWindow->isVisible() && o.window.isVisible());
        o.fake.messages.answerYes = true;
        QVERIFY(sheetWindow->close() && !sheetWindow->isVisible());
        QVERIFY(o.window.close()); // nothing unsaved is left: no question
        QCOMPARE(
            o.fake.messages.asked,
            QStringList(3, QStringLiteral("Session data have not been saved.\r\nClose anyway?")));
    }
};

QTEST_MAIN(ReportWindowTest)
#include "test_reportwindow.moc"
