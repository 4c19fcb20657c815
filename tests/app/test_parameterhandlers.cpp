// Save Parameters and Load Parameters in the window, with real files and scripted dialogs.
#include "app/mainwindow.h"

#include "support/fakeplatform.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QGroupBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

#include <csignal>
#include <sys/resource.h>

using namespace quorvia;

namespace {

const QStringList kNoMessage;
const QStringList kNotSaved{"Parameters were not saved."};
const QStringList kWriteFailed{"An error has occured.\r\nParameters were not saved."};
const QStringList kReadFailed{"An error has occured.\r\nPlease select a correct file."};

// The controls in the order a load fills them: Text2(0) to Text2(3), Combo1, Text22, Text1, the
// values of Check2 and Check3(1) to Check3(10) as one text (0 clear, 1 ticked, 2 greyed) and
// Text4(1) to Text4(10). A set-up with commas, quotes, non-ASCII text, empty and greyed boxes,
// the file it gives and what a load of that file puts back: save and load tests together make
// the round trip.
const QStringList kSetUp =
    QStringList{"P1, \"Grüße\"", "7", "A", "\"", " 7.50 s", "", "abc", "20120000000", "Hit, hard"}
    << QStringList(8) << "Cry ";
const QStringList kLines =
    QStringList{"P1, \"\"Grüße\"\"", "0",        "A", "\"\"", " 7.50 s", "", "abc", " 2",
                "x0120000000",       "Hit, hard"}
    << QStringList(8) << "Cry ";
const QStringList kLoaded =
    QStringList{"P1, \"Grüße\"", "0", "A", "\"", "7.5", "0", "abc", "20120000000", "Hit, hard"}
    << QStringList(8) << "Cry ";

// The 28 controls one value each.
QStringList expanded(QStringList values) {
    values.resize(18);
    const QString checks = values.takeAt(7).leftJustified(11, u'0');
    for (qsizetype i = 0; i < 11; ++i)
        values.insert(7 + i, checks.mid(i, 1));
    return values;
}

QByteArray fileOf(QStringList lines, qsizetype count = 19) {
    lines.resize(count);
    return '"' + lines.join("\"\r\n\"").toUtf8() + "\"\r\n";
}

QByteArray read(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
}

struct Window {
    test::FakePlatform fake;
    MainWindow w{fake.platform};
    Window() { w.startUp(); }
    // The controls at index i of the 28.
    QCheckBox* check(qsizetype i) const { return i == 7 ? w.Check2 : w.Check3[std::size_t(i - 7)]; }
    QLineEdit* text(qsizetype i) const {
        const QList<QLineEdit*> first{w.Text2[0], w.Text2[1], w.Text2[2], w.Text2[3],
                                      nullptr,    w.Text22,   w.Text1};
        return i < 7 ? first[i] : w.Text4[std::size_t(i - 17)];
    }
    // Check box values 0, 1 and 2 are the states 0 (Unchecked), 2 (Checked) and 1
    // (PartiallyChecked): (3 - x) % 3 maps either way.
    void fill(const QStringList& values) {
        const QStringList v = expanded(values);
        for (qsizetype i = 0; i < v.size(); ++i) {
            if (i == 4) {
                w.setCombo1Text(v[i]);
            } else if (i >= 7 && i < 18) {
                check(i)->setTristate(v[i] == "2");
                check(i)->setCheckState(Qt::CheckState((3 - v[i].toInt()) % 3));
            } else {
                text(i)->setText(v[i]);
            }
        }
    }
    QStringList controls() const {
        QStringList v;
        for (qsizetype i = 0; i < 28; ++i)
            v << (i == 4             ? w.Combo1->currentText()
                  : i >= 7 && i < 18 ? QString::number((3 - check(i)->checkState()) % 3)
                                     : text(i)->text());
        return v;
    }
    QStringList request() const {
        const FileDialogRequest& r = fake.dialogs.calls.value(0).request;
        return {r.title, r.filter, r.proposedName, r.directory};
    }
    void click(QPushButton* button, const QString& answer) {
        fake.dialogs.answers.push_back(answer);
        button->setEnabled(true);
        button->click();
    }
};

} // namespace

class TestParameterHandlers : public QObject {
    Q_OBJECT

private slots:
    // The example: P1, condition A, observer OB, 10 s intervals, 600 s, keys abc, beep on, slot 2
    // in On/Off mode, behaviours Hit, Cry and Play.
    void exampleFile() {
        QTemporaryDir dir;
        Window win;
        win.fill({"P1", "7", "A", "OB", "10", "600", "abc", "101", "Hit", "Cry", "Play"});
        win.click(win.w.Command6, dir.filePath("example"));
        QCOMPARE(read(dir.filePath("example.p")),
                 fileOf({"P1", "0", "A", "OB", "10", "600", "abc", " 1", "x0100000000", "Hit",
                         "Cry", "Play"}));
    }

    // Saves where a file set1.p holds "old". The window asks about a name only when it appended
    // ".p" itself; the question is answered yes where the save succeeds. Failed writes run with a
    // full disk.
    void save_data() {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<int>("questions");
        QTest::addColumn<QString>("written");
        QTest::addColumn<QStringList>("messages");
        QTest::newRow("no extension") << "A-0" << 0 << "A-0.p" << kNoMessage;
        QTest::newRow(".P kept") << "SET1.P" << 0 << "SET1.P" << kNoMessage;
        QTest::newRow(".txt extended") << "set1.txt" << 0 << "set1.txt.p" << kNoMessage;
        QTest::newRow("typed .p, the dialog asked") << "set1.p" << 0 << "set1.p" << kNoMessage;
        QTest::newRow("extended name replaced") << "set1" << 1 << "set1.p" << kNoMessage;
        QTest::newRow("extended name kept") << "set1" << 1 << "" << kNotSaved;
        QTest::newRow("cancelled") << "" << 0 << "" << kNotSaved;
        QTest::newRow("missing folder") << "gone/set1.p" << 0 << "" << kWriteFailed;
        QTest::newRow("disk full") << "set1.p" << 0 << "" << kWriteFailed;
    }

    void save() {
        QFETCH(QString, typed);
        QFETCH(int, questions);
        QFETCH(QString, written);
        QFETCH(QStringList, messages);
        QTemporaryDir dir;
        QFile old(dir.filePath("set1.p"));
        QVERIFY(old.open(QIODevice::WriteOnly) && old.write("old") == 3);
        old.close();
        Window win;
        win.fill(kSetUp);
        win.fake.messages.answerYes = messages.isEmpty();
        rlimit saved{};
        getrlimit(RLIMIT_FSIZE, &saved);
        const rlimit limit{messages == kWriteFailed ? 32 : saved.rlim_cur, saved.rlim_max};
        std::signal(SIGXFSZ, SIG_IGN); // a write past the limit fails instead of ending the test
        setrlimit(RLIMIT_FSIZE, &limit);
        win.click(win.w.Command6, typed.isEmpty() ? typed : dir.filePath(typed));
        setrlimit(RLIMIT_FSIZE, &saved);

        QCOMPARE(win.request(),
                 (QStringList{"Save As", "Parameter File (*.p)", "A-0", documentsFolder()}));
        QCOMPARE(win.fake.messages.asked.size(), questions);
        QCOMPARE(win.fake.messages.informed, messages);
        QVERIFY(!win.w.Command6->isEnabled());
        const bool extra = !written.isEmpty() && written != "set1.p";
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden).size(), extra ? 2 : 1);
        QCOMPARE(read(dir.filePath("set1.p")), written == "set1.p" ? fileOf(kLines) : "old");
        if (!written.isEmpty())
            QCOMPARE(read(dir.filePath(written)), fileOf(kLines));
    }

    // Loads over other values: the controls in fill order before `filled` take the loaded values,
    // the rest keep theirs, except the behaviour names: emptied once a file is accepted.
    void load_data() {
        QTest::addColumn<QString>("name");     // answer of the dialog
        QTest::addColumn<QByteArray>("bytes"); // "sparse": a file of 1 GB
        QTest::addColumn<int>("filled");
        QTest::addColumn<QStringList>("messages");
        const QByteArray file = fileOf(kLines);
        auto with = [](qsizetype index, const QString& text) {
            QStringList lines = kLines;
            lines[index] = text;
            return fileOf(lines);
        };
        auto loads = [](const char* tag, const QByteArray& bytes) {
            QTest::newRow(tag) << "set1.p" << bytes << 28 << kNoMessage;
        };
        auto fails = [](const char* tag, const QByteArray& bytes, int filled) {
            QTest::newRow(tag) << "set1.p" << bytes << filled << kReadFailed;
        };
        QTest::newRow("SET1.P accepted") << "SET1.P" << file << 28 << kNoMessage;
        QTest::newRow("cancelled") << "" << file << 0 << kNoMessage;
        QTest::newRow("set1.txt refused")
            << "set1.txt" << file << 0 << QStringList{"Please select a correct file."};
        loads("LF alone", QByteArray(file).replace("\r\n", "\n"));
        loads("CR alone", QByteArray(file).replace("\r\n", "\r"));
        loads("commas, more than 19 fields",
              QByteArray(file).replace("\"\r\n\"", "\",\"") + "a,\"b");
        loads("unquoted, leading blanks", QByteArray(file).replace("\"Cry \"", " \tCry "));
        loads("blanks before quotes, text after",
              QByteArray(file).replace("\r\n\"", "\r\n \"").replace("\"\r\n", "\"x \r\n"));
        loads("empty lines", QByteArray(file).replace("\r\n\"\"\r\n", "\r\n\r\n"));
        loads("byte-order mark", "\xEF\xBB\xBF" + file);
        loads("Latin-1", QByteArray(file).replace("\xC3\xBC\xC3\x9F", "\xFC\xDF"));
        loads("line 8 1.5, half to even", with(7, " 1.5 "));
        loads("line 8 2.5, half to even", with(7, "2.5"));
        fails("18 fields", fileOf(kLines, 18), 0);
        fails("word in line 8", with(7, "on"), 7);
        fails("line 8 2.6 is 3", with(7, "2.6"), 7);
        fails("line 8 2x", with(7, "2x"), 7);
        fails("mode value 3", with(8, "x0130000000"), 10);
        fails("line 9 too short", with(8, "x01"), 10);
        fails("empty file", QByteArray(), 0);
        fails("no closing quote", file.chopped(3), 0);
        fails("1M characters", with(0, QString(1000000, u'a')), 0);
        fails("1 GB file", QByteArray("sparse"), 0);
        fails("binary garbage", QByteArray("\0\xFF\x80\x01\xC3(\x7F\xFE", 8).repeated(512), 0);
    }

    void load() {
        QFETCH(QString, name);
        QFETCH(QByteArray, bytes);
        QFETCH(int, filled);
        QFETCH(QStringList, messages);
        QTemporaryDir dir;
        QFile file(dir.filePath(name.isEmpty() ? "set1.p" : name));
        QVERIFY(file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size());
        QVERIFY(bytes != "sparse" || file.resize(qint64{1} << 30));
        file.close();
        Window win;
        QStringList old(18, QStringLiteral("old"));
        old[4] = QStringLiteral("5");
        old[7] = QStringLiteral("11211111111"); // every box differs from the loaded one
        win.fill(old);
        const QStringList before = win.controls();
        const QString date = win.w.Text3->text();
        win.click(win.w.Command5, name.isEmpty() ? name : dir.filePath(name));

        QCOMPARE(win.request(),
                 (QStringList{"Open File", "Parameter File (*.p)", "", documentsFolder()}));
        QCOMPARE(win.fake.messages.informed, messages);
        QCOMPARE(win.w.filePath(), name.isEmpty() ? QString() : dir.filePath(name));
        QStringList expected = expanded(kLoaded).mid(0, filled) + before.mid(filled);
        for (qsizetype i = 18; i < 28 && messages == kReadFailed; ++i)
            expected[i].clear();
        QCOMPARE(win.controls(), expected);
        QCOMPARE(win.w.record().intervalLength, filled > 4 ? 7.5 : 5.0); // Combo1's change handling
        QCOMPARE(win.w.Text3->text(), date);
        QVERIFY(win.w.Frame1->isEnabled() && !win.w.Command6->isEnabled());
    }
};

QTEST_MAIN(TestParameterHandlers)
#include "test_parameterhandlers.moc"
