// The one save-path helper of every window: the ending added, then the replace question.
#include "base/savepath.h"
#include "support/fakeplatform.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

using namespace quorvia;

namespace {
const QString kImages = QStringLiteral("PNG image (*.png);;SVG image (*.svg);;Table (*.csv)");
}

class TestSavePath : public QObject {
    Q_OBJECT

private slots:
    void ending_data() {
        QTest::addColumn<QString>("chosen");
        QTest::addColumn<QString>("filters");
        QTest::addColumn<QString>("chosenFilter");
        QTest::addColumn<QString>("path");
        const QString excel = QStringLiteral("Excel File (*.xlsx)");
        QTest::newRow("added") << "results" << excel << "" << "results.xlsx";
        QTest::newRow("any case stays") << "Results.XLSX" << excel << excel << "Results.XLSX";
        QTest::newRow("another ending") << "data.xls" << excel << excel << "data.xls.xlsx";
        // A long s folds to s in Unicode, but is no letter of the ending.
        QTest::newRow("long s") << "a.xl\u017Fx" << excel << excel << "a.xl\u017Fx.xlsx";
        QTest::newRow("parameter file") << "P07" << "Parameter File (*.p)" << "" << "P07.p";
        QTest::newRow("chosen filter") << "g" << kImages << "SVG image (*.svg)" << "g.svg";
        QTest::newRow("ending of another filter") << "g.csv" << kImages << "PNG image (*.png)"
                                                  << "g.csv";
    }
    void ending() {
        QFETCH(QString, chosen);
        QFETCH(QString, filters);
        QFETCH(QString, chosenFilter);
        QFETCH(QString, path);
        QCOMPARE(pathWithEnding(chosen, filters, chosenFilter), path);
    }

    // Only a name the dialog never saw is asked about; No gives no path.
    void replaceQuestion() {
        QTemporaryDir dir;
        QFile(dir.filePath("x.xlsx")).open(QIODevice::WriteOnly);
        test::FakeFileDialogs dialogs;
        test::FakeMessageBoxes messages;
        const FileDialogRequest request{"Save As", dir.path(), {}, "Excel File (*.xlsx)"};
        dialogs.answers = {dir.filePath("x"), dir.filePath("x.xlsx"), dir.filePath("y"), {}};
        QCOMPARE(chooseSavePath(nullptr, dialogs, messages, request), QString());
        QCOMPARE(messages.asked, QStringList{"x.xlsx already exists.\r\nDo you want to replace it?"});
        messages.answerYes = true;
        QCOMPARE(chooseSavePath(nullptr, dialogs, messages, request), dir.filePath("x.xlsx"));
        QCOMPARE(chooseSavePath(nullptr, dialogs, messages, request), dir.filePath("y.xlsx"));
        QCOMPARE(chooseSavePath(nullptr, dialogs, messages, request), QString());
        QCOMPARE(messages.asked.size(), 1);
    }
};

QTEST_APPLESS_MAIN(TestSavePath)
#include "test_savepath.moc"
