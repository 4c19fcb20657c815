// Save Parameters and Load Parameters in the window, with real files and scripted dialogs.
#include "app/mainwindow.h"

#include "support/fakeplatform.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

#include <csignal>
#include <sys/resource.h>

using namespace quorvia;

namespace {

const QStringList kNotSaved{"Parameters were not saved."};
const QStringList kWriteFailed{"An error has occured.\r\nParameters were not saved."};
const QStringList kReadFailed{"An error has occured.\r\nPlease select a correct file."};

// Values in file line order (Text2(0) to (3), Combo1, Text22, Text1, Check2 and Check3(1) to (10)
// as one text of 0 clear, 1 ticked, 2 greyed, Text4(1) to (10)): a set-up with commas, quotes,
// non-ASCII text, empty and greyed boxes, its file, what a load puts back, what a load replaces.
const QStringList kSetUp =
    QStringList{"P1, \"Grüße\"", "0", "A", "\"", " 7.50 s", "", "abc", "20120000000"}
    << "Hit" << QStringList(8) << "Cry ";
const QStringList kLines =
    QStringList{"P1, \"\"Grüße\"\"", "0", "A", "\"\"", " 7.50 s", "", "abc", " 2", "x0120000000"}
    << "Hit" << QStringList(8) << "Cry ";
const QStringList kLoaded = kSetUp.first(4) + QStringList{"7.5", "0"} + kSetUp.mid(6);
const QStringList kOld = QStringList{"old", "old", "old", "old", "5", "old", "old", "11211111111"}
                         << QStringList(10, "old");

QByteArray fileOf(QStringList lines) {
    lines.resize(19);
    return '"' + lines.join("\"\r\n\"").toUtf8() + "\"\r\n";
}

struct Window : test::FakePlatform, MainWindow {
    QTemporaryDir dir;
    QList<QLineEdit*> texts() const { // none for the check boxes
        return {Text2[0], Text2[1], Text2[2], Text2[3], Combo1->lineEdit(), Text22,
                Text1,    nullptr,  Text4[1], Text4[2], Text4[3],           Text4[4],
                Text4[5], Text4[6], Text4[7], Text4[8], Text4[9],           Text4[10]};
    }
    // Box values 0, 1 and 2 are the states 0, 2 and 1: (3 - x) % 3 maps either way.
    explicit Window(const QStringList& v)
        : MainWindow(platform) {
        for (qsizetype i = 0; i < 18; ++i)
            if (texts()[i])
                texts()[i]->setText(v.value(i));
        combo1Change();
        for (std::size_t i = 0; i < 11; ++i)
            (i ? Check3[i] : Check2)->setCheckState(Qt::CheckState((3 - v[7][i].digitValue()) % 3));
    }
    QStringList controls() const {
        QStringList v;
        for (const QLineEdit* text : texts())
            v << (text ? text->text() : QString());
        for (std::size_t i = 0; i < 11; ++i)
            v[7] += QString::number((3 - (i ? Check3[i] : Check2)->checkState()) % 3);
        return v;
    }
    QByteArray read(const QString& name) const {
        QFile file(dir.filePath(name));
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
    }
    // Clicks with the file name to answer in the dialog ("" cancels); gives what it was asked for.
    QStringList click(QPushButton* button, const QString& name) {
        dialogs.answers.push_back(name.isEmpty() ? name : dir.filePath(name));
        button->setEnabled(true);
        button->click();
        const FileDialogRequest& r = dialogs.calls.value(0).request;
        return {r.title, r.filter, r.proposedName, r.directory};
    }
};

} // namespace

class TestParameterHandlers : public QObject {
    Q_OBJECT

private slots:
    void exampleFile() {
        Window win({"P1", "7", "A", "OB", "10", "600", "abc", "10100000000", "Hit", "Cry", "Play"});
        win.click(win.Command6, "example");
        QCOMPARE(win.read("example.p"), fileOf({"P1", "0", "A", "OB", "10", "600", "abc", " 1",
                                                "x0100000000", "Hit", "Cry", "Play"}));
    }

    // Saves over set1.p holding "old", the failed write with a full disk. Questions are answered no
    // where the save fails (only set1, extended to set1.p, may ask); no temporary file may remain.
    void save_data() {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QStringList>("messages");
        QTest::addColumn<QString>("written");
        QTest::newRow(".P kept") << "SET1.P" << QStringList() << "SET1.P";
        QTest::newRow(".txt extended") << "set1.txt" << QStringList() << "set1.txt.p";
        QTest::newRow("extended name replaced") << "set1" << QStringList() << "set1.p";
        QTest::newRow("extended name kept") << "set1" << kNotSaved << "";
        QTest::newRow("cancelled") << "" << kNotSaved << "";
        QTest::newRow("disk full") << "set1.p" << kWriteFailed << "";
    }

    void save() {
        QFETCH(QString, typed);
        QFETCH(QStringList, messages);
        QFETCH(QString, written);
        Window win(kSetUp);
        QFile old(win.dir.filePath("set1.p"));
        QVERIFY(old.open(QFile::WriteOnly) && old.write("old") == 3 && old.flush());
        win.messages.answerYes = messages.isEmpty();
        rlimit saved{};
        getrlimit(RLIMIT_FSIZE, &saved);
        const rlimit limit{messages == kWriteFailed ? 32 : saved.rlim_cur, saved.rlim_max};
        std::signal(SIGXFSZ, SIG_IGN); // a write past the limit fails instead of ending the test
        setrlimit(RLIMIT_FSIZE, &limit);
        const QStringList shown = win.click(win.Command6, typed);
        setrlimit(RLIMIT_FSIZE, &saved);

        QCOMPARE(shown, (QStringList{"Save As", "Parameter File (*.p)", "A-0", documentsFolder()}));
        QCOMPARE(win.messages.informed, messages);
        QVERIFY(!win.Command6->isEnabled());
        for (const QString& name : QDir(win.dir.path()).entryList(QDir::Files | QDir::Hidden))
            QCOMPARE(win.read(name), name == written ? fileOf(kLines) : "old");
    }

    // Loads over kOld, of SET1.P unless refused or cancelled: the controls take the loaded values
    // up to the first that fails; the behaviour names are emptied once a file is accepted.
    void load_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QStringList>("expected");
        QTest::addColumn<QStringList>("messages");
        const QStringList failed = kOld.mid(0, 8) << QStringList(10);
        auto edit = [](auto a, auto b) {
            return fileOf(kLines).replace(a, b);
        };
        auto row = [](const char* tag, const QByteArray& bytes, const QStringList& expected,
                      const QString& name = "SET1.P", const QStringList& messages = kReadFailed) {
            QTest::newRow(tag) << name << bytes << expected
                               << (expected == kLoaded ? QStringList() : messages);
        };
        row("cancelled", fileOf(kLines), kOld, "", {});
        row("refused", fileOf(kLines), kOld, "set1.txt", {"Please select a correct file."});
        row("LF alone", edit("\r\n", "\n"), kLoaded);
        row("commas, more than 19 fields", edit("\"\r\n\"", "\",\"") + "a,\"b", kLoaded);
        row("unquoted, leading blanks", edit("\"Cry \"", " \tCry "), kLoaded);
        row("Latin-1", edit("\xC3\xBC\xC3\x9F", "\xFC\xDF"), kLoaded);
        row("18 fields", edit("\"Cry \"\r\n", ""), failed);
        row("word in line 8", edit("\" 2\"", "on"), kLoaded.mid(0, 7) + failed.mid(7));
        row("ESC among the keys", edit("abc", "a\x1b"), kLoaded.mid(0, 6) + failed.mid(6));
        row("mode 3", edit("x012", "x013"), kLoaded.mid(0, 7) << "20111111111" << QStringList(10));
        row("no closing quote", fileOf(kLines).chopped(3), failed);
        row("1M characters", edit("abc", QByteArray(1000000, 'a')), failed);
    }

    void load() {
        QFETCH(QString, name);
        QFETCH(QByteArray, bytes);
        QFETCH(QStringList, expected);
        QFETCH(QStringList, messages);
        Window win(kOld);
        QFile file(win.dir.filePath(name.isEmpty() ? "SET1.P" : name));
        QVERIFY(file.open(QFile::WriteOnly) && file.write(bytes) == bytes.size() && file.flush());
        const QStringList shown = win.click(win.Command5, name);

        QCOMPARE(shown, (QStringList{"Open File", "Parameter File (*.p)", "", documentsFolder()}));
        QCOMPARE(win.messages.informed, messages);
        QCOMPARE(win.controls(), expected);
        QCOMPARE(win.record().intervalLength, expected[4] == "7.5" ? 7.5 : 5.0); // change handling
    }
};

QTEST_MAIN(TestParameterHandlers)
#include "test_parameterhandlers.moc"
