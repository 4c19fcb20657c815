#include "recording/numbers.h"

#include <QLocale>
#include <QTest>

#include <cmath>
#include <limits>

using namespace quorvia;

class TestNumbers : public QObject {
    Q_OBJECT

private slots:
    void blankLed_data() {
        QTest::addColumn<qint64>("n");
        QTest::addColumn<QString>("text");
        QTest::newRow("zero") << qint64(0) << " 0";
        QTest::newRow("one digit") << qint64(7) << " 7";
        QTest::newRow("two digits") << qint64(34) << " 34";
        QTest::newRow("beyond 16 bits") << qint64(100000) << " 100000";
    }
    void blankLed() {
        QFETCH(qint64, n);
        QFETCH(QString, text);
        QCOMPARE(quorvia::blankLed(n), text);
    }

    void leadingNumber_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<double>("value");
        QTest::newRow("unit after number") << "90 s" << 90.0;
        QTest::newRow("blanks inside digits") << " 1 2 " << 12.0;
        QTest::newRow("tabs and line feeds ignored") << "\t3\n6" << 36.0;
        QTest::newRow("word") << "abc" << 0.0;
        QTest::newRow("empty") << "" << 0.0;
        QTest::newRow("negative") << "-5" << -5.0;
        QTest::newRow("plus sign") << "+7" << 7.0;
        QTest::newRow("exponent then junk") << "1e3x" << 1000.0;
        QTest::newRow("exponent without digits") << "2e" << 2.0;
        QTest::newRow("exponent with sign") << "25E-1" << 2.5;
        QTest::newRow("leading point") << ".5" << 0.5;
        QTest::newRow("trailing point") << "5." << 5.0;
        QTest::newRow("fraction") << "3600.5" << 3600.5;
        QTest::newRow("second point ends the number") << "1.2.3" << 1.2;
        QTest::newRow("sign alone") << "-" << 0.0;
        QTest::newRow("point alone") << "." << 0.0;
        QTest::newRow("caption of the interval box") << " in Seconds" << 0.0;
        QTest::newRow("carriage return is not ignored") << "1\r2" << 1.0;
        QTest::newRow("non-ASCII digit ends the number")
            << QString::fromUtf8("4\xef\xbc\x95") << 4.0;
    }
    void leadingNumber() {
        QFETCH(QString, text);
        QFETCH(double, value);
        QCOMPARE(quorvia::leadingNumber(text), value);
    }

    void leadingNumberOutOfRange() {
        QVERIFY(std::isinf(quorvia::leadingNumber(u"1e999")));
        QVERIFY(quorvia::leadingNumber(u"-1e999") < 0);
        // A very long run of digits still reads (no fixed buffer).
        const QString digits(100000, QLatin1Char('9'));
        QVERIFY(quorvia::leadingNumber(digits) > 1e99);
    }

    void rounding_data() {
        QTest::addColumn<double>("value");
        QTest::addColumn<double>("whole");
        QTest::addColumn<double>("twoDecimals");
        QTest::newRow("2.5") << 2.5 << 2.0 << 2.5;
        QTest::newRow("3.5") << 3.5 << 4.0 << 3.5;
        QTest::newRow("-2.5") << -2.5 << -2.0 << -2.5;
        QTest::newRow("1.5") << 1.5 << 2.0 << 1.5;
        QTest::newRow("0.5") << 0.5 << 0.0 << 0.5;
        QTest::newRow("3.125 exact half") << 3.125 << 3.0 << 3.12;
        QTest::newRow("3.375 exact half") << 3.375 << 3.0 << 3.38;
        QTest::newRow("two thirds") << 200.0 / 3.0 << 67.0 << 66.67;
        QTest::newRow("9.333") << 7.0 / 45.0 * 60.0 << 9.0 << 9.33;
    }
    void rounding() {
        QFETCH(double, value);
        QFETCH(double, whole);
        QFETCH(double, twoDecimals);
        QCOMPARE(roundHalfEven(value), whole);
        QCOMPARE(roundHalfEven2(value), twoDecimals);
    }

    void shortestDecimal_data() {
        QTest::addColumn<double>("value");
        QTest::addColumn<QString>("text");
        QTest::newRow("whole") << 10.0 << "10";
        QTest::newRow("trailing zero dropped") << 7.50 << "7.5";
        QTest::newRow("tenth") << 0.1 << "0.1";
        QTest::newRow("zero") << 0.0 << "0";
        QTest::newRow("negative zero") << -0.0 << "0";
        QTest::newRow("negative") << -5.0 << "-5";
        QTest::newRow("no exponent for large") << 1e20 << "100000000000000000000";
        QTest::newRow("no exponent for small") << 0.0001 << "0.0001";
        QTest::newRow("percentage") << 66.67 << "66.67";
    }
    void shortestDecimal() {
        QFETCH(double, value);
        QFETCH(QString, text);
        QCOMPARE(quorvia::shortestDecimal(value), text);
        // Whatever the text, it reads back as the same double.
        QCOMPARE(quorvia::leadingNumber(text), value == 0 ? 0.0 : value);
    }

    void shortestDecimalOfFloat() {
        // The float keeps its own shortest digits, not those of its widening to double.
        QCOMPARE(quorvia::shortestDecimal(66.67f), QStringLiteral("66.67"));
        QCOMPARE(quorvia::shortestDecimal(static_cast<float>(roundHalfEven2(100.0 / 3.0))),
                 QStringLiteral("33.33"));
        QVERIFY(quorvia::shortestDecimal(static_cast<double>(66.67f)) != QStringLiteral("66.67"));
    }

    void localeDecimalUsesTheLocaleSeparator() {
        const QLocale saved;
        QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
        QCOMPARE(localeDecimal(37.5), QStringLiteral("37,5"));
        QCOMPARE(localeDecimal(12345.5), QStringLiteral("12345,5"));
        QCOMPARE(localeDecimal(33.33f), QStringLiteral("33,33"));
        QLocale::setDefault(QLocale::c());
        QCOMPARE(localeDecimal(37.5), QStringLiteral("37.5"));
        QLocale::setDefault(saved);
    }
};

QTEST_APPLESS_MAIN(TestNumbers)
#include "test_numbers.moc"
