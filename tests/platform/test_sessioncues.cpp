// The desktop services a running session relies on: the interval tone and the close question.
#include "platform/qtplatform.h"

#include <QApplication>
#include <QFile>
#include <QMessageBox>
#include <QPushButton>
#include <QSoundEffect>
#include <QTest>
#include <QTimer>
#include <QtEndian>

using namespace quorvia;

namespace {

// The chunk with the given four-letter id in a RIFF/WAVE file, or an empty array.
QByteArray chunk(const QByteArray& wav, const char* id) {
    qsizetype at = 12;
    while (at + 8 <= wav.size()) {
        const auto size = qFromLittleEndian<quint32>(wav.constData() + at + 4);
        if (wav.mid(at, 4) == id)
            return wav.mid(at + 8, size);
        at += 8 + size + (size % 2);
    }
    return {};
}

} // namespace

class TestSessionCues : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { QApplication::setApplicationDisplayName(QStringLiteral("Quorvia")); }

    // The tone is a plain PCM WAV of about 150 ms that the sound effect can load, so that it can
    // sound where the desktop bell is silent.
    void toneIsAShortWavThatLoads() {
        const QUrl source = ToneBeeper::toneSource();
        QFile file(QLatin1Char(':') + source.path());
        QVERIFY2(file.open(QIODevice::ReadOnly), qPrintable(file.fileName()));
        const QByteArray wav = file.readAll();
        QCOMPARE(wav.left(4), QByteArray("RIFF"));
        QCOMPARE(wav.mid(8, 4), QByteArray("WAVE"));
        const QByteArray format = chunk(wav, "fmt ");
        QVERIFY(format.size() >= 16);
        QCOMPARE(qFromLittleEndian<quint16>(format.constData()), quint16(1)); // PCM
        const auto rate = qFromLittleEndian<quint32>(format.constData() + 4);
        const auto blockAlign = qFromLittleEndian<quint16>(format.constData() + 12);
        QVERIFY(rate > 0 && blockAlign > 0);
        const double seconds =
            static_cast<double>(chunk(wav, "data").size()) / (double(rate) * blockAlign);
        QVERIFY2(seconds >= 0.1 && seconds <= 0.25, qPrintable(QString::number(seconds)));

        QSoundEffect effect;
        effect.setSource(source);
        QTRY_VERIFY_WITH_TIMEOUT(effect.status() == QSoundEffect::Ready ||
                                     effect.status() == QSoundEffect::Error,
                                 10000);
        QCOMPARE(effect.status(), QSoundEffect::Ready);
    }

    // The close question: the text as given, Yes and No with No the default, no icon, the
    // application's title.
    void yesNoQuestion_data() {
        QTest::addColumn<QString>("answer");
        QTest::addColumn<bool>("yes");
        QTest::newRow("Yes") << "Yes" << true;
        QTest::newRow("No") << "No" << false;
        QTest::newRow("Enter takes the default") << "Enter" << false;
        QTest::newRow("Escape") << "Escape" << false;
    }
    void yesNoQuestion() {
        QFETCH(QString, answer);
        QFETCH(bool, yes);
        const QString text = QStringLiteral("Session data have not been saved.\r\nClose anyway?");
        QStringList seen;
        QTimer answering;
        answering.setInterval(10);
        connect(&answering, &QTimer::timeout, this, [&] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            if (box == nullptr || !box->isVisible())
                return;
            answering.stop();
            seen << box->text() << box->windowTitle()
                 << QString::number(static_cast<int>(box->icon()))
                 << QString::number(static_cast<int>(box->standardButtons().toInt()))
                 << QString::number(static_cast<int>(box->standardButton(box->defaultButton())));
            if (answer == QLatin1String("Enter"))
                QTest::keyClick(box, Qt::Key_Return);
            else if (answer == QLatin1String("Escape"))
                QTest::keyClick(box, Qt::Key_Escape);
            else
                box->button(answer == QLatin1String("Yes") ? QMessageBox::Yes : QMessageBox::No)
                    ->click();
        });
        answering.start();
        QtMessageBoxes boxes;
        QCOMPARE(boxes.askYesNo(nullptr, text), yes);
        const QStringList expected{
            text, QStringLiteral("Quorvia"), QString::number(static_cast<int>(QMessageBox::NoIcon)),
            QString::number(static_cast<int>(QMessageBox::Yes | QMessageBox::No)),
            QString::number(static_cast<int>(QMessageBox::No))};
        QCOMPARE(seen, expected);
    }
};

QTEST_MAIN(TestSessionCues)
#include "test_sessioncues.moc"
