#include "setup/parameterfile.h"
#include "setup/setupcheck.h"

#include <QDir>
#include <QTemporaryDir>
#include <QTest>

#include <sys/stat.h>

using namespace quorvia;

Q_DECLARE_METATYPE(QString SetupFields::*)

namespace {

const SetupFields kValid{"P07", "3", "base", "KT", "2026/12/06", "30", "600", "abc", {}};

} // namespace

class TestSetupCheck : public QObject {
    Q_OBJECT

private slots:
    // Each field alone, on top of an otherwise valid set-up.
    void eachCheck_data() {
        QTest::addColumn<QString SetupFields::*>("field");
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("passes");
        const auto duration = &SetupFields::sessionDuration;
        const auto interval = &SetupFields::intervalLength;
        const auto keys = &SetupFields::keysToHit;
        const auto number = &SetupFields::sessionNumber;
        QTest::newRow("duration 0") << duration << "0" << false;
        QTest::newRow("duration 3600") << duration << "3600" << true;
        QTest::newRow("duration 3600.5") << duration << "3600.5" << false;
        QTest::newRow("interval caption") << interval << " in Seconds" << false;
        QTest::newRow("interval 7.5") << interval << "7.5" << false;
        QTest::newRow("interval 1e999") << interval << "1e999" << false;
        QTest::newRow("interval 1") << interval << "1" << true;
        QTest::newRow("keys empty") << keys << "" << false;
        QTest::newRow("keys 11") << keys << "abcdefghijk" << false;
        QTest::newRow("keys 10, emoji") << keys << QString("😀").repeated(10) << true;
        QTest::newRow("keys with ESC") << keys << "a\x1b" << false;
        QTest::newRow("number 0.5 rounds to 0") << number << "0.5" << false;
        QTest::newRow("number 1.5 rounds to 2") << number << "1.5" << true;
        QTest::newRow("number 32767") << number << "32767" << true;
        QTest::newRow("number 32768") << number << "32768" << false;
        QTest::newRow("participant empty") << &SetupFields::participantId << "" << false;
        QTest::newRow("participant blanks") << &SetupFields::participantId << "   " << true;
        QTest::newRow("condition empty") << &SetupFields::condition << "" << false;
        QTest::newRow("observer empty") << &SetupFields::observerId << "" << false;
        QTest::newRow("date empty") << &SetupFields::sessionDate << "" << false;
    }
    void eachCheck() {
        QFETCH(QString SetupFields::*, field);
        QFETCH(QString, text);
        QFETCH(bool, passes);
        SetupFields fields = kValid;
        fields.*field = text;
        SessionRecord record;
        QCOMPARE(applySetPress(record, fields), passes);
    }

    // The set press stores what it read even when a check fails; a session number beyond 16 bits
    // is stored as 0, not wrapped into a valid-looking one.
    void fieldsAreStoredEvenWhenACheckFails() {
        SetupFields fields{"P07", "65537", "base", "KT", "2026/12/06", "12 s", "3601", "xY", {}};
        SessionRecord r;
        QVERIFY(!applySetPress(r, fields));
        QCOMPARE(QStringList({QString::number(r.sessionNumber), QString::number(r.intervalLength),
                              QString::number(r.sessionDuration), r.keysToHit,
                              r.participantId + r.condition + r.observerId + r.sessionDate}),
                 QStringList({"0", "12", "3601", "xY", "P07baseKT2026/12/06"}));
    }

    // Only a regular parameter file, also behind links, is opened (a FIFO would block the window);
    // it is UTF-8, else Windows-1252 (undefined bytes as Latin-1); a NUL in a field is malformed.
    void readParameters_data() {
        QTest::addColumn<QString>("path");     // "link.p" links to "file" through "mid.p"
        QTest::addColumn<QByteArray>("field"); // the first one of "file"; the other 18 hold "\x92"
        QTest::addColumn<QString>("text");     // what the first field reads as; "-" for a refusal
        for (const char* path : {"file", "link.p"})
            QTest::newRow(path) << path << QByteArray("P1") << "P1";
        for (const char* path : {"fifo", ".", "gone.p", "zero.p"})
            QTest::newRow(path) << path << QByteArray("P1") << "-";
        QTest::newRow("1252") << "file" << QByteArray("\x93\x80\x85\x96\x97\x8A\x9F") << "“€…–—ŠŸ";
        QTest::newRow("undefined")
            << "file" << QByteArray("\x81\x8D\x8F\x90\x9D") << "\u0081\u008D\u008F\u0090\u009D";
        QTest::newRow("UTF-8 field") << "file" << QByteArray("\xC3\xBC") << "Ã¼";
        QTest::newRow("NUL, quoted") << "file" << QByteArray("\"a\0b\"", 5) << "-";
        QTest::newRow("NUL, unquoted") << "file" << QByteArray("a\0", 2) << "-";
    }

    void readParameters() {
        QFETCH(QString, path);
        QFETCH(QByteArray, field);
        QFETCH(QString, text);
        QTemporaryDir dir;
        QFile file(dir.filePath("file"));
        QVERIFY(file.open(QIODevice::WriteOnly) &&
                file.write(field + QByteArray("\n\x92").repeated(18)));
        QVERIFY(file.flush() && QDir::setCurrent(dir.path()) && ::mkfifo("fifo", 0600) == 0);
        QVERIFY(QFile::link("file", "mid.p") && QFile::link("mid.p", "link.p") &&
                QFile::link("none", "gone.p") && QFile::link("/dev/zero", "zero.p"));
        const auto fields = readParameterFile(path);
        QCOMPARE(fields ? fields->at(0) : "-", text);
    }
};

QTEST_APPLESS_MAIN(TestSetupCheck)
#include "test_setupcheck.moc"
