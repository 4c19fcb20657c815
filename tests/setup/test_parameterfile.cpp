// The parameter file reader on its own: the grammar, the encodings, the bounded read and the
// conversions.
#include "setup/parameterfile.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

using namespace quorvia;

namespace {

// Sixteen more lines after the three under test, so that the file has 19 fields.
QByteArray withFillerLines(const QByteArray& start) {
    QByteArray bytes = start;
    for (int i = 4; i <= kParameterFieldCount; ++i)
        bytes += "\"f" + QByteArray::number(i) + "\"\r\n";
    return bytes;
}

} // namespace

class TestParameterFile : public QObject {
    Q_OBJECT

private slots:
    void grammar_data() {
        QTest::addColumn<QByteArray>("start");
        QTest::addColumn<QStringList>("firstThree");

        QTest::newRow("quoted lines, CR LF")
            << QByteArray("\"a\"\r\n\"b\"\r\n\"c\"\r\n") << QStringList{"a", "b", "c"};
        QTest::newRow("LF alone") << QByteArray("\"a\"\n\"b\"\n\"c\"\n")
                                  << QStringList{"a", "b", "c"};
        QTest::newRow("CR alone") << QByteArray("\"a\"\r\"b\"\r\"c\"\r")
                                  << QStringList{"a", "b", "c"};
        QTest::newRow("commas on one line")
            << QByteArray("\"a\",\"b\",c\r\n") << QStringList{"a", "b", "c"};
        QTest::newRow("quoted keeps commas and blanks")
            << QByteArray("\" a, b \"\r\n\"x,,y\"\r\n\"\"\r\n")
            << QStringList{" a, b ", "x,,y", ""};
        QTest::newRow("unquoted skips leading blanks only")
            << QByteArray("   abc  \r\n\tdef,  g h \r\n") << QStringList{"abc  ", "def", "g h "};
        QTest::newRow("blanks before a quote")
            << QByteArray("  \" q\"\r\nb\r\nc\r\n") << QStringList{" q", "b", "c"};
        QTest::newRow("doubled quote is one quote")
            << QByteArray("\"say \"\"hi\"\"\"\r\n\"\"\"\"\r\n\"a\"\"\"\r\n")
            << QStringList{"say \"hi\"", "\"", "a\""};
        QTest::newRow("text after the closing quote dropped")
            << QByteArray("\"a\"junk,\"b\"  \r\n\"c\"x\r\n") << QStringList{"a", "b", "c"};
        QTest::newRow("quote inside an unquoted field")
            << QByteArray("a\"b\r\nb\r\nc\r\n") << QStringList{"a\"b", "b", "c"};
        QTest::newRow("line end inside quotes")
            << QByteArray("\"a\r\nb\"\r\nb\r\nc\r\n") << QStringList{"a\r\nb", "b", "c"};
        QTest::newRow("empty line is an empty field")
            << QByteArray("a\r\n\r\nc\r\n") << QStringList{"a", "", "c"};
        QTest::newRow("byte-order mark skipped")
            << QByteArray("\xEF\xBB\xBF\"a\"\r\nb\r\nc\r\n") << QStringList{"a", "b", "c"};
        QTest::newRow("UTF-8") << QByteArray("\"M\xC3\xBCller\"\r\n\"\xE6\xB3\xA3\"\r\nc\r\n")
                               << QStringList{QStringLiteral("Müller"), QStringLiteral("泣"), "c"};
        QTest::newRow("not UTF-8 reads as Latin-1")
            << QByteArray("\"M\xFCller\"\r\n\"\xC3\xBC\"\r\nc\r\n")
            << QStringList{QStringLiteral("Müller"), QStringLiteral("Ã¼"), "c"};
    }

    void grammar() {
        QFETCH(QByteArray, start);
        QFETCH(QStringList, firstThree);
        const std::optional<ParameterFields> fields = parseParameterFields(withFillerLines(start));
        QVERIFY(fields);
        QCOMPARE((QStringList{(*fields)[0], (*fields)[1], (*fields)[2]}), firstThree);
        QCOMPARE((*fields)[3], QStringLiteral("f4"));
        QCOMPARE((*fields)[18], QStringLiteral("f19"));
    }

    void moreThan19FieldsIgnored() {
        const std::optional<ParameterFields> fields =
            parseParameterFields(withFillerLines("a,b,c\r\n") + "\"20\",\"21\r\n\"unclosed");
        QVERIFY(fields);
        QCOMPARE((*fields)[18], QStringLiteral("f19"));
    }

    // Only a bounded start of the file is read: what lies beyond it cannot complete a field.
    void boundedRead() {
        QTemporaryDir dir;
        QVERIFY(dir.isValid());
        const QString longTail = dir.filePath("tail.p");
        const QString longField = dir.filePath("field.p");
        const QString sparse = dir.filePath("sparse.p");
        QFile tail(longTail);
        QVERIFY(tail.open(QIODevice::WriteOnly));
        tail.write(withFillerLines("a\r\nb\r\nc\r\n"));
        tail.write(QByteArray(kParameterReadLimit, ','));
        tail.close();
        QFile field(longField);
        QVERIFY(field.open(QIODevice::WriteOnly));
        field.write(withFillerLines("a\r\nb\r\nc\r\n")
                        .replace("f19", QByteArray(kParameterReadLimit, 'z')));
        field.close();
        QFile huge(sparse);
        QVERIFY(huge.open(QIODevice::WriteOnly) && huge.resize(qint64{1} << 30));
        huge.close();

        QVERIFY(readParameterFile(longTail));
        QVERIFY(!readParameterFile(longField));
        QVERIFY(!readParameterFile(sparse));
        QVERIFY(!readParameterFile(dir.filePath("missing.p")));
        QVERIFY(!readParameterFile(dir.path()));
    }

    void checkBoxValues_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("value"); // -1: refused
        QTest::newRow("0") << "0" << 0;
        QTest::newRow("1 with blanks") << " 1 " << 1;
        QTest::newRow("2 greyed") << "2" << 2;
        QTest::newRow("1.5 to even") << "1.5" << 2;
        QTest::newRow("2.5 to even") << "2.5" << 2;
        QTest::newRow("0.5 to even") << "0.5" << 0;
        QTest::newRow("-0.4") << "-0.4" << 0;
        QTest::newRow("exponent") << "1e0" << 1;
        QTest::newRow("3") << "3" << -1;
        QTest::newRow("2.6 rounds to 3") << "2.6" << -1;
        QTest::newRow("-1") << "-1" << -1;
        QTest::newRow("word") << "on" << -1;
        QTest::newRow("empty") << "" << -1;
        QTest::newRow("blank") << " " << -1;
        QTest::newRow("two numbers") << "1 1" << -1;
        QTest::newRow("number and word") << "1x" << -1;
        QTest::newRow("point alone") << "." << -1;
    }

    void checkBoxValues() {
        QFETCH(QString, text);
        QFETCH(int, value);
        QCOMPARE(checkBoxValue(text).value_or(-1), value);
    }

    // Slot i reads character i + 1 of line 9; a line too short fails at the first missing slot.
    void modeCharacters() {
        ParameterFields fields;
        fields[4] = fields[5] = QStringLiteral("1");
        fields[7] = QStringLiteral(" 1");
        fields[8] = QStringLiteral("90120");
        const LoadedSetup setup = loadedSetupFrom(fields);
        QCOMPARE(setup.modes[0], std::optional<int>(0));
        QCOMPARE(setup.modes[1], std::optional<int>(1));
        QCOMPARE(setup.modes[2], std::optional<int>(2));
        QCOMPARE(setup.modes[3], std::optional<int>(0));
        QVERIFY(!setup.modes[4]);
        QCOMPARE(setup.beep, std::optional<int>(1));
    }
};

QTEST_GUILESS_MAIN(TestParameterFile)
#include "test_parameterfile.moc"
