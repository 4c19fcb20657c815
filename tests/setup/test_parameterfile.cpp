// Which paths Load Parameters reads at all, and how the bytes of a file become text.
#include "setup/parameterfile.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <sys/stat.h>
#include <unistd.h>

using namespace quorvia;

namespace {

// A file whose first field holds these bytes, then 18 empty ones.
template <std::size_t n> QByteArray fileWith(const char (&first)[n]) {
    return QByteArray(first, n - 1) + QByteArray("\r\n\"\"").repeated(18);
}

} // namespace

class TestParameterFile : public QObject {
    Q_OBJECT

private slots:
    // Only a regular file, also behind a link, is read; nothing else is ever opened (a FIFO
    // would block the window).
    void fileKinds_data() {
        QTest::addColumn<QString>("target");
        QTest::addColumn<bool>("link");
        QTest::addColumn<bool>("read");
        QTest::newRow("regular") << "file" << false << true;
        QTest::newRow("link to regular") << "file" << true << true;
        QTest::newRow("FIFO") << "fifo" << false << false;
        QTest::newRow("link to FIFO") << "fifo" << true << false;
        QTest::newRow("folder") << "folder" << false << false;
        QTest::newRow("dangling link") << "gone" << true << false;
        QTest::newRow("character device") << "/dev/zero" << true << false;
    }

    void fileKinds() {
        QFETCH(QString, target);
        QFETCH(bool, link);
        QFETCH(bool, read);
        QTemporaryDir dir;
        QFile file(dir.filePath("file"));
        QVERIFY(file.open(QIODevice::WriteOnly) && file.write(fileWith("P1")) > 0);
        file.close();
        QVERIFY(::mkfifo(QFile::encodeName(dir.filePath("fifo")).constData(), 0600) == 0);
        QVERIFY(QDir(dir.path()).mkdir("folder"));
        const QString path = dir.filePath(link ? "set.p" : target);
        QVERIFY(!link || QFile::link(QDir(dir.path()).absoluteFilePath(target), path));
        QCOMPARE(readParameterFile(path).has_value(), read);
    }

    // UTF-8, else Windows-1252 for the whole file (its undefined bytes as in Latin-1); a NUL
    // byte in a field makes the file malformed. What is read is written back as UTF-8.
    void decoding_data() {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("first"); // "-" when the file is refused
        QTest::newRow("UTF-8") << fileWith("\"Gr\xC3\xBC\xC3\x9F \xE2\x80\x9C\"") << "Grüß “";
        QTest::newRow("Windows-1252")
            << fileWith("\x93Hit\x94 \x80 \x85 \x96\x97 \x8A\x9F\xFC") << "“Hit” € … –— ŠŸü";
        QTest::newRow("undefined bytes")
            << fileWith("\x81\x8D\x8F\x90\x9D") << "\u0081\u008D\u008F\u0090\u009D";
        QTest::newRow("one invalid field")
            << fileWith("\xC3\xBC").replace("\"\"", "\"\x92\"") << "Ã¼";
        QTest::newRow("NUL, quoted") << fileWith("\"a\0b\"") << "-";
        QTest::newRow("NUL, unquoted") << fileWith("a\0") << "-";
        QTest::newRow("NUL after the quote") << fileWith("\"ab\"\0") << "ab";
    }

    void decoding() {
        QFETCH(QByteArray, bytes);
        QFETCH(QString, first);
        const std::optional<ParameterFields> fields = parseParameterFields(bytes);
        QCOMPARE(fields ? fields->at(0) : "-", first);
        if (fields)
            QCOMPARE(parameterFileBytes(*fields).left(first.toUtf8().size() + 1),
                     '"' + first.toUtf8());
    }
};

QTEST_GUILESS_MAIN(TestParameterFile)
#include "test_parameterfile.moc"
