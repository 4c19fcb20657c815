#include "base/numbers.h"

#include <QLocale>
#include <QTest>

#include <clocale>

using namespace quorvia;

class TestNumbers : public QObject {
    Q_OBJECT

private slots:
    // A decimal comma in the C library's locale, as QApplication sets it from the environment.
    void initTestCase() { QVERIFY2(std::setlocale(LC_ALL, "de_DE.UTF-8"), "see install-deps.sh"); }

    void leadingNumber_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<double>("value");
        QTest::newRow("unit after number") << "90 s" << 90.0;
        QTest::newRow("blanks, tabs, line feeds ignored") << " 1 2\t3\n" << 123.0;
        QTest::newRow("word") << "abc" << 0.0;
        QTest::newRow("negative") << "-5" << -5.0;
        QTest::newRow("exponent then junk") << "1e3x" << 1000.0;
        QTest::newRow("exponent without digits") << "2e" << 2.0;
        QTest::newRow("leading point") << ".5" << 0.5;
        QTest::newRow("second point ends it") << "1.2.3" << 1.2;
        QTest::newRow("sign alone") << "-" << 0.0;
        QTest::newRow("carriage return ends it") << "1\r2" << 1.0;
        QTest::newRow("out of range") << "1e999" << qInf();
    }
    void leadingNumber() {
        QFETCH(QString, text);
        QFETCH(double, value);
        QCOMPARE(quorvia::leadingNumber(text), value);
    }

    void rounding_data() {
        QTest::addColumn<double>("value");
        QTest::addColumn<double>("whole");
        QTest::addColumn<double>("twoDecimals");
        QTest::newRow("2.5") << 2.5 << 2.0 << 2.5;
        QTest::newRow("3.5") << 3.5 << 4.0 << 3.5;
        QTest::newRow("-2.5") << -2.5 << -2.0 << -2.5;
        QTest::newRow("3.125 exact half") << 3.125 << 3.0 << 3.12;
        QTest::newRow("3.375 exact half") << 3.375 << 3.0 << 3.38;
        QTest::newRow("two thirds") << 200.0 / 3.0 << 67.0 << 66.67;
    }
    void rounding() {
        QFETCH(double, value);
        QFETCH(double, whole);
        QFETCH(double, twoDecimals);
        QCOMPARE(roundHalfEven(value), whole);
        QCOMPARE(roundHalfEven2(value), twoDecimals);
    }

    // Shortest digits that read back the same, never an exponent; a float keeps its own shortest
    // digits, not those of its widening to double; the locale's separator, read in any locale.
    void texts() {
        QCOMPARE(shortestDecimal(1e20) + shortestDecimal(-0.0), "100000000000000000000"
                                                                "0");
        QCOMPARE(shortestDecimal(66.67f), QStringLiteral("66.67"));
        QVERIFY(shortestDecimal(static_cast<double>(66.67f)) != QStringLiteral("66.67"));
        QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
        QCOMPARE(localeDecimal(12345.5) + localeDecimal(33.33f), QStringLiteral("12345,533,33"));
        QLocale::setDefault(QLocale(QLocale::Persian, QLocale::Iran));
        QCOMPARE(localeDecimal(5.14), QStringLiteral("5\u066B14"));
        QCOMPARE(decimalOfAnyLocale(QLocale().toString(5.14)), 5.14); // "۵٫۱۴"
        QLocale::setDefault(QLocale::c());
        QVERIFY(!decimalOfAnyLocale(QStringLiteral("1.234,5")) && !decimalOfAnyLocale(u"5 s"));
    }
};

QTEST_APPLESS_MAIN(TestNumbers)
#include "test_numbers.moc"
