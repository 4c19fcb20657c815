// The desktop services a running session relies on: the interval tone and the close question.
#include "platform/qtplatform.h"

#include <QApplication>
#include <QMessageBox>
#include <QSoundEffect>
#include <QTest>
#include <QTimer>

using namespace quorvia;

class TestSessionCues : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { QApplication::setApplicationDisplayName(QStringLiteral("Quorvia")); }

    // The tone is a resource the sound effect can load, so it sounds where the bell is silent.
    void toneLoads() {
        QSoundEffect effect;
        effect.setSource(ToneBeeper::toneSource());
        QTRY_VERIFY_WITH_TIMEOUT(effect.status() == QSoundEffect::Ready ||
                                     effect.status() == QSoundEffect::Error,
                                 10000);
        QCOMPARE(effect.status(), QSoundEffect::Ready);
    }

    // The close question: the application's title, no icon, Yes and No with No the default.
    void yesNoQuestion() {
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
