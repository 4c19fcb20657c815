// The agreement window with a LibreOffice-saved workbook and one written by the program: headers,
// the table with its marks, the file dialogs, saving and dropping files; both windows' keyboard
// and screen reader use.
#include "app/agreementwindow.h"
#include "graphview/graphwindow.h"
#include "support/fakeplatform.h"
#include "support/records.h"
#include "support/sheets.h"
#include "workbook/xlsxworkbookwriter.h"

#include <QAccessible>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QMimeData>
#include <QPushButton>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTest>

using namespace quorvia;

class AgreementWindowTest : public QObject {
    Q_OBJECT

private slots:
    void compareSaveAndDrop() {
        // The reliability observer missed a's press in interval 3 and b's second press.
        SessionRecord record = test::freshRecord(QStringLiteral("ab"), 30, 10);
        test::play(record, "aab 30");
        QTemporaryDir folder;
        const QString reliability = folder.filePath(QStringLiteral("P07-3-base-LM.xlsx"));
        QVERIFY(XlsxWorkbookWriter().write(test::sheetOf(record, "01", {"B1", "B2"}), reliability));
        const QString primary = qEnvironmentVariable("QUORVIA_TEST_SOURCE_DIR") +
                                "/tests/workbook/resaved-by-libreoffice.xlsx";

        test::FakePlatform fakes;
        AgreementWindow window(fakes.platform);
        fakes.dialogs.answers = {primary};
        window.findChild<QPushButton*>("primaryFileBrowse")->click();
        QCOMPARE(fakes.dialogs.calls.at(0).request.filter, QStringLiteral("Excel File (*.xlsx)"));
        QCOMPARE(fakes.dialogs.calls.at(0).request.directory, documentsFolder());
        QVERIFY(!window.findChild<QPushButton*>("saveAgreement")->isEnabled());

        // One file dropped below the fields goes to the empty one.
        QMimeData data;
        data.setUrls({QUrl::fromLocalFile(reliability)});
        const QPoint below(10, window.height() - 5);
        QDragEnterEvent enter(below, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QDropEvent drop(below, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        QCoreApplication::sendEvent(&window, &enter);
        QVERIFY(enter.isAccepted());
        QCoreApplication::sendEvent(&window, &drop);
        QCOMPARE(window.findChild<QLineEdit*>("reliabilityFile")->text(), reliability);
        QVERIFY(
            window.findChild<QLabel*>("reliabilityHeader")->text().contains("Observer's ID: KT"));

        // a: 2 0 1 against 2 0 0, b: codes 1 1 0 against 1 2 2.
        const auto* table = window.findChild<QTableWidget*>("agreementTable");
        QStringList values; // "!" where marked
        for (int r = 0; r < table->rowCount(); ++r)
            values << table->item(r, 5)->text() + (table->item(r, 5)->font().bold() ? "!" : "");
        QCOMPARE(values.join(u'|'), QStringLiteral("66.67 %!|66.67 %!|66.67 %!|66.67 %!|50.00 %!|"
                                                   "50.00 %!|0.400|66.67 %!|66.67 %!|0.00 %!|0.000|"
                                                   "33.33 %!|0.00 %!|33.33 %!|0.000"));

        // Both windows: Tab leaves the table, and every input has a name of its own.
        GraphWindow graph(fakes.platform);
        graph.addWorkbooks({reliability});
        graph.show();
        QVERIFY(QTest::qWaitForWindowExposed(&graph));
        for (QWidget* shown : {static_cast<QWidget*>(&window), static_cast<QWidget*>(&graph)}) {
            auto* cells = shown->findChild<QTableWidget*>();
            QVERIFY(cells->rowCount() > 0);
            shown->activateWindow();
            QVERIFY(QTest::qWaitForWindowActive(shown));
            cells->setFocus();
            cells->setCurrentCell(0, 0);
            QVERIFY(cells->hasFocus());
            QTest::keyClick(cells, Qt::Key_Tab);
            QVERIFY2(!cells->hasFocus(), qPrintable(shown->objectName()));
            QStringList names;
            for (QWidget* input : shown->findChildren<QWidget*>()) {
                const auto* area = qobject_cast<QAbstractScrollArea*>(input->parentWidget());
                if (input->focusPolicy() & Qt::TabFocus && input->isVisibleTo(shown) &&
                    !(area && area->viewport() == input))
                    names << QAccessible::queryAccessibleInterface(input)->text(QAccessible::Name);
            }
            QVERIFY2(!names.contains(QString()), qPrintable(names.join('|')));
            QVERIFY2(QSet<QString>(names.begin(), names.end()).size() == names.size(),
                     qPrintable(names.join(QLatin1Char('|'))));
        }

        fakes.dialogs.answers = {folder.filePath("agreement")};
        window.findChild<QPushButton*>("saveAgreement")->click();
        QCOMPARE(fakes.workbooks.paths, QStringList{folder.filePath("agreement.xlsx")});
        QCOMPARE(fakes.dialogs.calls.at(1).request.proposedName,
                 QStringLiteral("P07-3-agreement.xlsx"));

        // x typed, x.xlsx there: asked as the worksheet window asks; No keeps it.
        QFile(folder.filePath("x.xlsx")).open(QIODevice::WriteOnly);
        fakes.dialogs.answers = {folder.filePath("x")};
        window.findChild<QPushButton*>("saveAgreement")->click();
        QCOMPARE(fakes.messages.asked,
                 QStringList{"x.xlsx already exists.\r\nDo you want to replace it?"});
        QCOMPARE(fakes.workbooks.paths.size(), 1);
    }
};

QTEST_MAIN(AgreementWindowTest)
#include "test_agreementwindow.moc"
