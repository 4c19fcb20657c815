// The close question as the desktop shows it: the application's title, no icon, Yes and No with
// No the default.
#include "platform/qtplatform.h"

#include <QApplication>
#include <QMessageBox>
#include <QTest>
#include <QTimer>

using namespace quorvia;

class TestSessionCues : public QObject {
    Q_OBJECT

private slots:
    void yesNoQuestion() {
        QApplication::setApplicationDisplayName(QStringLiteral("Quorvia"));
        QStringList seen;
        QTimer answering;
        connect(&answering, &QTimer::timeout, this, [&] {
            if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
                seen << box->windowTitle() << QString::number(box->icon())
                     << QString::number(box->standardButtons().toInt());
                QTest::keyClick(box, Qt::Key_Return);
            }
        });
        answering.start(10);
        QVERIFY(!QtMessageBoxes().askYesNo(nullptr, QStringLiteral("Close anyway?")));
        const auto yesNo = (QMessageBox::Yes | QMessageBox::No).toInt();
        QCOMPARE(seen, (QStringList{"Quorvia", QString::number(QMessageBox::NoIcon),
                                    QString::number(yesNo)}));
    }
};

QTEST_MAIN(TestSessionCues)
#include "test_sessioncues.moc"
