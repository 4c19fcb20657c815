#include "setup/setupcheck.h"

#include <QTest>

using namespace quorvia;

namespace {

SetupFields validFields() {
    return {QStringLiteral("P07"), QStringLiteral("3"),          QStringLiteral("base"),
            QStringLiteral("KT"),  QStringLiteral("2026/12/06"), QStringLiteral("30"),
            QStringLiteral("600"), QStringLiteral("abc")};
}

} // namespace

class TestSetupCheck : public QObject {
    Q_OBJECT

private slots:
    void eachCheck_data() {
        QTest::addColumn<QString>("field");
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("passes");
        QTest::newRow("valid") << ""
                               << "" << true;
        QTest::newRow("duration empty") << "duration"
                                        << "" << false;
        QTest::newRow("duration 0") << "duration"
                                    << "0" << false;
        QTest::newRow("duration -5") << "duration"
                                     << "-5" << false;
        QTest::newRow("duration abc") << "duration"
                                      << "abc" << false;
        QTest::newRow("duration 3600") << "duration"
                                       << "3600" << true;
        QTest::newRow("duration 3600.5") << "duration"
                                         << "3600.5" << false;
        QTest::newRow("duration 3601") << "duration"
                                       << "3601" << false;
        QTest::newRow("duration 90 s") << "duration"
                                       << "90 s" << true;
        QTest::newRow("duration 10.5") << "duration"
                                       << "10.5" << true;
        QTest::newRow("duration 1e999") << "duration"
                                        << "1e999" << false;
        QTest::newRow("interval caption") << "interval"
                                          << " in Seconds" << false;
        QTest::newRow("interval 0") << "interval"
                                    << "0" << false;
        QTest::newRow("interval 7.5") << "interval"
                                      << "7.5" << false;
        QTest::newRow("interval 0.5") << "interval"
                                      << "0.5" << false;
        QTest::newRow("interval 0.001") << "interval"
                                        << "0.001" << false;
        QTest::newRow("interval 1e999") << "interval"
                                        << "1e999" << false;
        QTest::newRow("interval 1") << "interval"
                                    << "1" << true;
        QTest::newRow("interval longer than the session") << "interval"
                                                          << "3000" << true;
        QTest::newRow("keys empty") << "keys"
                                    << "" << false;
        QTest::newRow("keys 10") << "keys"
                                 << "abcdefghij" << true;
        QTest::newRow("keys 11") << "keys"
                                 << "abcdefghijk" << false;
        QTest::newRow("keys repeated and blank") << "keys"
                                                 << "a a" << true;
        QTest::newRow("number 0.5 rounds to 0") << "number"
                                                << "0.5" << false;
        QTest::newRow("number 1.5 rounds to 2") << "number"
                                                << "1.5" << true;
        QTest::newRow("number abc") << "number"
                                    << "abc" << false;
        QTest::newRow("number 32767") << "number"
                                      << "32767" << true;
        QTest::newRow("number 32768") << "number"
                                      << "32768" << false;
        QTest::newRow("number 1e10") << "number"
                                     << "1e10" << false;
        QTest::newRow("participant empty") << "participant"
                                           << "" << false;
        QTest::newRow("participant blanks") << "participant"
                                            << "   " << true;
        QTest::newRow("condition empty") << "condition"
                                         << "" << false;
        QTest::newRow("observer empty") << "observer"
                                        << "" << false;
        QTest::newRow("observer blanks") << "observer"
                                         << " " << true;
        QTest::newRow("date empty") << "date"
                                    << "" << false;
    }
    void eachCheck() {
        QFETCH(QString, field);
        QFETCH(QString, text);
        QFETCH(bool, passes);
        SetupFields fields = validFields();
        if (field == QLatin1String("duration"))
            fields.sessionDuration = text;
        else if (field == QLatin1String("interval"))
            fields.intervalLength = text;
        else if (field == QLatin1String("keys"))
            fields.keysToHit = text;
        else if (field == QLatin1String("number"))
            fields.sessionNumber = text;
        else if (field == QLatin1String("participant"))
            fields.participantId = text;
        else if (field == QLatin1String("condition"))
            fields.condition = text;
        else if (field == QLatin1String("observer"))
            fields.observerId = text;
        else if (field == QLatin1String("date"))
            fields.sessionDate = text;
        SessionRecord record;
        QCOMPARE(applySetPress(record, fields), passes);
    }

    void fieldsAreStoredEvenWhenACheckFails() {
        SetupFields fields = validFields();
        fields.sessionDuration = QStringLiteral("3601");
        fields.sessionNumber = QStringLiteral("2.5");
        fields.keysToHit = QStringLiteral("xY");
        fields.intervalLength = QStringLiteral("12 s");
        SessionRecord record;
        QVERIFY(!applySetPress(record, fields));
        QCOMPARE(record.sessionDuration, 3601.0);
        QCOMPARE(record.sessionNumber, std::int16_t(2));
        QCOMPARE(record.intervalLength, 12.0);
        QCOMPARE(record.keysToHit, QStringLiteral("xY"));
        QCOMPARE(record.participantId, QStringLiteral("P07"));
        QCOMPARE(record.condition, QStringLiteral("base"));
        QCOMPARE(record.observerId, QStringLiteral("KT"));
        QCOMPARE(record.sessionDate, QStringLiteral("2026/12/06"));
    }

    void aSessionNumberBeyond16BitsIsNotWrapped() {
        SetupFields fields = validFields();
        fields.sessionNumber = QStringLiteral("65537");
        SessionRecord record;
        QVERIFY(!applySetPress(record, fields));
        QCOMPARE(record.sessionNumber, std::int16_t(0));
    }
};

QTEST_APPLESS_MAIN(TestSetupCheck)
#include "test_setupcheck.moc"
