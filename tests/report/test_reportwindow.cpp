// "Yes" and "No" at the end of a session, driven through the main window with fake services:
// the worksheet window, the Save As dialog, the name rules and every message of the save.
#include "app/mainwindow.h"
#include "report/worksheetwindow.h"
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

const QString kNotSaved = QStringLiteral("Data were not saved.");
const QString kSaveFailed = QStringLiteral("An error has occured.\r\nData were not saved.");
const QString kNoWorkbook = QStringLiteral("Excel does not exist.\r\nData were not saved.");
const QString kCloseQuestion = QStringLiteral("Session data have not been saved.\r\nClose anyway?");

// The window with its fake services, through one or more recorded sessions.
struct Observation {
    FakePlatform fake;
    MainWindow window{fake.platform};

    Observation() {
        window.show();
        window.Text2[0]->setText(QStringLiteral("P07"));
        window.Text2[1]->setText(QStringLiteral("3"));
        window.Text2[2]->setText(QStringLiteral("base"));
        window.Text2[3]->setText(QStringLiteral("KT"));
        window.Text3->setText(QStringLiteral("2026/12/06"));
        window.setCombo1Text(QStringLiteral("10"));
        window.Text22->setText(QStringLiteral("30"));
        window.Text1->setText(QStringLiteral("ab"));
    }

    // Set, Check Keys and Start: key a counts Talking, key b switches Seated on and off.
    void start() {
        window.command3Click();
        window.Text4[1]->setText(QStringLiteral("Talking"));
        window.Text4[2]->setText(QStringLiteral("Seated"));
        window.Check3[2]->setChecked(true);
        window.command3Click();
        window.command1Click();
    }

    void type(const QString& characters) {
        for (const QChar c : characters)
            window.keyPress(c);
    }

    void tick(int seconds) {
        for (int i = 0; i < seconds; ++i)
            window.timer1Timer();
    }

    // Presses a twice and b once in interval 1, a once in interval 3; runs to its end at 30 s.
    void recordFinishedSession() {
        start();
        type(QStringLiteral("aab"));
        tick(20);
        type(QStringLiteral("a"));
        tick(10);
    }

    WorksheetWindow* sheetWindow() const { return window.findChild<WorksheetWindow*>(); }

    // A first session saved under a path, so that filePath holds a name before the next one.
    QString saveFirstSession(const QString& folder) {
        recordFinishedSession();
        const QString path = folder + QStringLiteral("/first.xlsx");
        fake.dialogs.answers = {path};
        window.command7Click();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        window.command1Click(); // Confirm
        fake.dialogs.calls.clear();
        fake.workbooks.paths.clear();
        return path;
    }
};

// A cell as "text: ..." or "number: ...", or "empty" when nothing was written there.
QString cell(const Worksheet& sheet, int row, int column) {
    const CellValue* value = sheet.at(row, column);
    if (value == nullptr)
        return QStringLiteral("empty");
    if (const auto* text = std::get_if<QString>(value))
        return QStringLiteral("text: ") + *text;
    return QStringLiteral("number: ") + QString::number(std::get<double>(*value), 'g', 17);
}

QString text(const QString& value) {
    return QStringLiteral("text: ") + value;
}

QString number(double value) {
    return QStringLiteral("number: ") + QString::number(value, 'g', 17);
}

} // namespace

class ReportWindowTest : public QObject {
    Q_OBJECT

private slots:
    void yesSavesUnderTheChosenName_data();
    void yesSavesUnderTheChosenName();
    void worksheetWindowShowsTheGrid();
    void cancelledDialogKeepsTheWorksheet();
    void failedSaveKeepsTheWorksheet();
    void replacingUnderTheExtendedNameIsAsked();
    void failedWorksheetShowsNoDialog();
    void terminatedBeforeTheFirstTickIsSaved();
    void noKeepsNothing();
    void closingWithAnUnsavedWorksheetAsks();
    void closingTheWindowAnywayTakesTheWorksheetAlong();
};

void ReportWindowTest::yesSavesUnderTheChosenName_data() {
    QTest::addColumn<QString>("chosen");
    QTest::addColumn<QString>("saved");
    QTest::newRow("no extension") << "results"
                                  << "results.xlsx";
    QTest::newRow("upper case extension") << "Results.XLSX"
                                          << "Results.XLSX";
    QTest::newRow("older extension") << "data.xls"
                                     << "data.xls.xlsx";
}

void ReportWindowTest::yesSavesUnderTheChosenName() {
    QFETCH(QString, chosen);
    QFETCH(QString, saved);
    QTemporaryDir folder;
    Observation o;
    o.recordFinishedSession();
    QVERIFY(o.window.Frame3->isEnabled());
    o.fake.dialogs.answers = {folder.filePath(chosen)};
    o.window.command7Click();

    QVERIFY(!o.window.Frame3->isEnabled());
    QVERIFY(o.window.Command1->isEnabled());
    QCOMPARE(o.fake.dialogs.calls.size(), 1);
    const FakeFileDialogs::Call& call = o.fake.dialogs.calls.constFirst();
    QVERIFY(call.save);
    QCOMPARE(call.request.title, QStringLiteral("Save As"));
    QCOMPARE(call.request.filter, QStringLiteral("Excel File (*.xlsx)"));
    QCOMPARE(call.request.directory, documentsFolder());
    QCOMPARE(call.request.proposedName, QStringLiteral("P07-3-base-KT.xlsx"));
    QCOMPARE(o.fake.workbooks.paths, QStringList{folder.filePath(saved)});
    QCOMPARE(o.window.filePath(), folder.filePath(saved));
    QCOMPARE(o.fake.messages.informed, QStringList());
    QCOMPARE(o.fake.messages.asked, QStringList());
    // The worksheet window closed after the save, without a question.
    QVERIFY(o.sheetWindow() == nullptr || !o.sheetWindow()->isVisible());

    // What was handed to the writer comes from the record and the window's controls.
    const Worksheet& sheet = *o.fake.workbooks.lastSheet;
    QCOMPARE(o.window.Label5[1]->text(), QStringLiteral("A"));
    QCOMPARE(cell(sheet, 14, 5), text(QStringLiteral("a")));
    QCOMPARE(cell(sheet, 15, 5), text(QStringLiteral("Talking")));
    QCOMPARE(cell(sheet, 16, 5), text(QStringLiteral("Hits")));
    QCOMPARE(cell(sheet, 20, 5), number(6.0));
    QCOMPARE(cell(sheet, 21, 5), text(QStringLiteral("66.67%")));
    QCOMPARE(cell(sheet, 16, 6), text(QStringLiteral("On/Off")));
    QCOMPARE(cell(sheet, 15, 6), text(QStringLiteral("Seated")));
    QCOMPARE(cell(sheet, 18, 6), text(QStringLiteral("66.67%")));
    QCOMPARE(cell(sheet, 6, 1), text(QStringLiteral("Session Started at   09:05:07.25")));
    QCOMPARE(cell(sheet, 10, 1),
             text(QStringLiteral("Session Finished at   ") + o.window.Label25->text()));
    QCOMPARE(cell(sheet, 20, 2), text(QStringLiteral("Session Finished")));
}

void ReportWindowTest::worksheetWindowShowsTheGrid() {
    Observation o;
    o.recordFinishedSession();
    o.window.command7Click(); // the dialog is cancelled
    WorksheetWindow* sheetWindow = o.sheetWindow();
    QVERIFY(sheetWindow != nullptr);
    QVERIFY(sheetWindow->isVisible());
    QCOMPARE(sheetWindow->windowTitle(), QStringLiteral("P07-3-base-KT.xlsx"));
    const QAbstractItemModel* model = sheetWindow->grid->model();
    QCOMPARE(model->rowCount(), 26);   // to the last interval row
    QCOMPARE(model->columnCount(), 6); // to slot 2's column F
    QCOMPARE(model->headerData(4, Qt::Horizontal).toString(), QStringLiteral("E"));
    QCOMPARE(model->headerData(25, Qt::Vertical).toString(), QStringLiteral("26"));
    QCOMPARE(model->index(13, 4).data().toString(), QStringLiteral("a"));
    QCOMPARE(model->index(19, 4).data().toString(), QStringLiteral("6"));
    QCOMPARE(model->index(0, 2).data(), QVariant());
    QVERIFY(!(model->flags(model->index(13, 4)) & Qt::ItemIsEditable));
}

void ReportWindowTest::cancelledDialogKeepsTheWorksheet() {
    QTemporaryDir folder;
    Observation o;
    const QString first = o.saveFirstSession(folder.path());
    QCOMPARE(o.window.filePath(), first);

    o.recordFinishedSession();
    o.window.command7Click(); // no answer: cancelled
    QCOMPARE(o.fake.dialogs.calls.constFirst().request.proposedName,
             QStringLiteral("P07-4-base-KT.xlsx"));
    QCOMPARE(o.fake.messages.informed, QStringList{kNotSaved});
    QCOMPARE(o.window.filePath(), QString());
    QVERIFY(o.fake.workbooks.paths.isEmpty());
    QVERIFY(!o.window.Frame3->isEnabled());
    QPointer<WorksheetWindow> sheetWindow = o.sheetWindow();
    QVERIFY(sheetWindow && sheetWindow->isVisible());
    QCOMPARE(cell(sheetWindow->sheet(), 20, 5), number(6.0));

    // Its Save As runs the save again with the same dialog and rules.
    o.fake.dialogs.answers = {folder.filePath(QStringLiteral("second"))};
    sheetWindow->saveAsButton->click();
    QCOMPARE(o.fake.dialogs.calls.size(), 2);
    QCOMPARE(o.fake.dialogs.calls.at(1).request.proposedName, QStringLiteral("P07-4-base-KT.xlsx"));
    QCOMPARE(o.fake.workbooks.paths, QStringList{folder.filePath(QStringLiteral("second.xlsx"))});
    QCOMPARE(o.window.filePath(), folder.filePath(QStringLiteral("second.xlsx")));
    QCOMPARE(o.fake.messages.informed, QStringList{kNotSaved});
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QVERIFY(sheetWindow.isNull());
}

void ReportWindowTest::failedSaveKeepsTheWorksheet() {
    QTemporaryDir folder;
    Observation o;
    o.saveFirstSession(folder.path());
    o.recordFinishedSession();
    o.fake.workbooks.succeed = false;
    o.fake.dialogs.answers = {folder.filePath(QStringLiteral("full-disk"))};
    o.window.command7Click();

    QCOMPARE(o.fake.workbooks.paths,
             QStringList{folder.filePath(QStringLiteral("full-disk.xlsx"))});
    QCOMPARE(o.fake.messages.informed, QStringList{kSaveFailed});
    QCOMPARE(o.window.filePath(), QString());
    QVERIFY(o.sheetWindow()->isVisible());

    o.fake.workbooks.succeed = true;
    o.fake.dialogs.answers = {folder.filePath(QStringLiteral("elsewhere.xlsx"))};
    o.sheetWindow()->saveAsButton->click();
    QCOMPARE(o.window.filePath(), folder.filePath(QStringLiteral("elsewhere.xlsx")));
    QCOMPARE(o.fake.messages.informed, QStringList{kSaveFailed});
}

void ReportWindowTest::replacingUnderTheExtendedNameIsAsked() {
    QTemporaryDir folder;
    QFile existing(folder.filePath(QStringLiteral("results.xlsx")));
    QVERIFY(existing.open(QIODevice::WriteOnly));
    existing.close();
    Observation o;
    o.recordFinishedSession();

    // "results" becomes the existing results.xlsx, which the dialog never asked about.
    o.fake.dialogs.answers = {folder.filePath(QStringLiteral("results"))};
    o.fake.messages.answerYes = false;
    o.window.command7Click();
    QCOMPARE(o.fake.messages.asked.size(), 1);
    QVERIFY(o.fake.messages.asked.constFirst().startsWith(
        QStringLiteral("results.xlsx already exists.\r\n")));
    QVERIFY(o.fake.workbooks.paths.isEmpty());
    QCOMPARE(o.fake.messages.informed, QStringList{kNotSaved});
    QCOMPARE(o.window.filePath(), QString());
    QVERIFY(o.sheetWindow()->isVisible());

    // Typed with its extension, the name was the dialog's to ask about: no second question.
    o.fake.dialogs.answers = {folder.filePath(QStringLiteral("results.xlsx"))};
    o.sheetWindow()->saveAsButton->click();
    QCOMPARE(o.fake.messages.asked.size(), 1);
    QCOMPARE(o.fake.workbooks.paths, QStringList{folder.filePath(QStringLiteral("results.xlsx"))});
}

void ReportWindowTest::failedWorksheetShowsNoDialog() {
    // A "Yes" with no recorded session has no worksheet to build.
    Observation o;
    o.window.command7Click();
    QCOMPARE(o.fake.messages.informed, QStringList{kNoWorkbook});
    QVERIFY(o.fake.dialogs.calls.isEmpty());
    QVERIFY(o.fake.workbooks.paths.isEmpty());
    QVERIFY(o.sheetWindow() == nullptr);
    QVERIFY(o.window.Command1->isEnabled());
    QVERIFY(!o.window.Frame3->isEnabled());
}

void ReportWindowTest::terminatedBeforeTheFirstTickIsSaved() {
    QTemporaryDir folder;
    Observation o;
    o.start();
    o.type(QStringLiteral("a") + QChar(27));
    o.window.command2Click(); // Terminate
    o.fake.dialogs.answers = {folder.filePath(QStringLiteral("short"))};
    o.window.command7Click();

    QCOMPARE(o.fake.messages.informed, QStringList());
    QCOMPARE(o.fake.workbooks.paths.size(), 1);
    const Worksheet& sheet = *o.fake.workbooks.lastSheet;
    QCOMPARE(cell(sheet, 20, 5), QStringLiteral("empty"));
    QCOMPARE(cell(sheet, 21, 5), text(QStringLiteral("100%")));
    QCOMPARE(cell(sheet, 10, 1),
             text(QStringLiteral("Session Terminated at   ") + o.window.Label25->text() +
                  QStringLiteral(" (interval No.1)")));
    QCOMPARE(cell(sheet, 25, 5), text(QStringLiteral("Session terminated in interval No.1")));
}

void ReportWindowTest::noKeepsNothing() {
    Observation o;
    o.recordFinishedSession();
    o.window.command8Click();
    QVERIFY(!o.window.Frame3->isEnabled());
    QVERIFY(o.window.Command1->isEnabled());
    QCOMPARE(o.window.Command1->text(), QStringLiteral("Confirm"));
    QVERIFY(o.fake.dialogs.calls.isEmpty());
    QVERIFY(o.fake.workbooks.paths.isEmpty());
    QVERIFY(o.fake.messages.informed.isEmpty());
    QVERIFY(o.sheetWindow() == nullptr);
}

void ReportWindowTest::closingWithAnUnsavedWorksheetAsks() {
    Observation o;
    o.recordFinishedSession();
    o.window.command7Click(); // cancelled
    o.window.command1Click(); // Confirm: the session itself needs nothing more
    QPointer<WorksheetWindow> sheetWindow = o.sheetWindow();

    o.fake.messages.answerYes = false;
    QVERIFY(!sheetWindow->close());
    QVERIFY(sheetWindow->isVisible());
    QVERIFY(!o.window.close());
    QVERIFY(o.window.isVisible());
    QCOMPARE(o.fake.messages.asked, (QStringList{kCloseQuestion, kCloseQuestion}));

    o.fake.messages.answerYes = true;
    QVERIFY(sheetWindow->close());
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QVERIFY(sheetWindow.isNull());
    // Nothing unsaved is left: the main window closes without a question.
    QVERIFY(o.window.close());
    QCOMPARE(o.fake.messages.asked.size(), 3);
}

void ReportWindowTest::closingTheWindowAnywayTakesTheWorksheetAlong() {
    Observation o;
    o.recordFinishedSession();
    o.window.command7Click(); // cancelled
    WorksheetWindow* sheetWindow = o.sheetWindow();
    o.fake.messages.answerYes = true;
    QVERIFY(o.window.close());
    QCOMPARE(o.fake.messages.asked, QStringList{kCloseQuestion});
    QVERIFY(!sheetWindow->isVisible());
}

QTEST_MAIN(ReportWindowTest)
#include "test_reportwindow.moc"
