// Save Parameters and Load Parameters in the window, with real files and scripted dialogs.
#include "app/mainwindow.h"

#include "support/fakeplatform.h"
#include "support/filesizelimit.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QFile>
#include <QGroupBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QTest>

using namespace quorvia;

namespace {

const QString kNotSaved = QStringLiteral("Parameters were not saved.");
const QString kWriteFailed = QStringLiteral("An error has occured.\r\nParameters were not saved.");
const QString kWrongName = QStringLiteral("Please select a correct file.");
const QString kReadFailed =
    QStringLiteral("An error has occured.\r\nPlease select a correct file.");

QByteArray fileOf(const QStringList& lines) {
    QByteArray bytes;
    for (const QString& line : lines)
        bytes += '"' + line.toUtf8() + "\"\r\n";
    return bytes;
}

// The example set-up: P1, condition A, observer OB, 10 s intervals, 600 s, keys abc, beep on,
// slot 2 in On/Off mode, behaviours Hit, Cry and Play.
QStringList exampleLines() {
    QStringList lines{"P1",  "0",  "A",           "OB",  "10",  "600",
                      "abc", " 1", "x0100000000", "Hit", "Cry", "Play"};
    while (lines.size() < 19)
        lines << QString();
    return lines;
}

void write(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    QCOMPARE(file.write(bytes), bytes.size());
}

QByteArray read(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
}

QCheckBox* slotBox(MainWindow& w, int i) {
    return w.Check3[static_cast<std::size_t>(i)];
}
QLineEdit* slotName(MainWindow& w, int i) {
    return w.Text4[static_cast<std::size_t>(i)];
}

// The loaded controls in the order a load fills them, check boxes by their state.
QStringList loadedControls(MainWindow& w) {
    QStringList values;
    for (QLineEdit* box : w.Text2)
        values << box->text();
    values << w.Combo1->currentText() << w.Text22->text() << w.Text1->text()
           << QString::number(w.Check2->checkState());
    for (int i = 1; i <= kSlotCount; ++i)
        values << QString::number(slotBox(w, i)->checkState());
    return values;
}

QStringList names(MainWindow& w) {
    QStringList values;
    for (int i = 1; i <= kSlotCount; ++i)
        values << slotName(w, i)->text();
    return values;
}

struct Window {
    test::FakePlatform fake;
    MainWindow w{fake.platform};
    Window() { w.startUp(); }

    void fillExample() {
        const QStringList texts{"P1", "7", "A", "OB"};
        for (std::size_t i = 0; i < w.Text2.size(); ++i)
            w.Text2[i]->setText(texts[static_cast<qsizetype>(i)]);
        w.setCombo1Text(QStringLiteral("10"));
        w.Text22->setText(QStringLiteral("600"));
        w.Text1->setText(QStringLiteral("abc"));
        w.Check2->setChecked(true);
        slotBox(w, 2)->setChecked(true);
        slotName(w, 1)->setText(QStringLiteral("Hit"));
        slotName(w, 2)->setText(QStringLiteral("Cry"));
        slotName(w, 3)->setText(QStringLiteral("Play"));
    }

    void save(const QString& answer) {
        fake.dialogs.answers.push_back(answer);
        w.Command6->setEnabled(true);
        w.command6Click();
    }
    void load(const QString& answer) {
        fake.dialogs.answers.push_back(answer);
        w.command5Click();
    }
};

} // namespace

class TestParameterHandlers : public QObject {
    Q_OBJECT

private slots:
    void saveWritesTheExample_data() {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("written");
        QTest::newRow("no extension") << "A-0"
                                      << "A-0.p";
        QTest::newRow(".P kept") << "set1.P"
                                 << "set1.P";
        QTest::newRow(".txt extended") << "set1.txt"
                                       << "set1.txt.p";
    }

    void saveWritesTheExample() {
        QFETCH(QString, typed);
        QFETCH(QString, written);
        QTemporaryDir dir;
        Window win;
        win.fillExample();
        win.save(dir.filePath(typed));

        QVERIFY(!win.w.Command6->isEnabled());
        QCOMPARE(win.fake.dialogs.calls.size(), 1);
        const FileDialogRequest& request = win.fake.dialogs.calls[0].request;
        QVERIFY(win.fake.dialogs.calls[0].save);
        QCOMPARE(request.title, QStringLiteral("Save As"));
        QCOMPARE(request.filter, QStringLiteral("Parameter File (*.p)"));
        QCOMPARE(request.proposedName, QStringLiteral("A-0"));
        QCOMPARE(request.directory, documentsFolder());
        QCOMPARE(win.w.filePath(), dir.filePath(written));
        QCOMPARE(read(dir.filePath(written)), fileOf(exampleLines()));
        QCOMPARE(win.fake.messages.informed, QStringList());
    }

    void saveCancelled() {
        Window win;
        win.fillExample();
        win.save(QString());
        QCOMPARE(win.fake.messages.informed, QStringList{kNotSaved});
        QVERIFY(win.w.filePath().isEmpty());
        QVERIFY(!win.w.Command6->isEnabled());
    }

    // The dialog asks about the name as typed; the window asks about the name it extended.
    void saveAsksBeforeReplacingTheExtendedName_data() {
        QTest::addColumn<bool>("yes");
        QTest::newRow("replace") << true;
        QTest::newRow("keep") << false;
    }

    void saveAsksBeforeReplacingTheExtendedName() {
        QFETCH(bool, yes);
        QTemporaryDir dir;
        write(dir.filePath("set1.p"), "old");
        Window win;
        win.fillExample();
        win.fake.messages.answerYes = yes;
        win.save(dir.filePath("set1"));
        QCOMPARE(win.fake.messages.asked.size(), 1);
        QVERIFY(win.fake.messages.asked[0].startsWith(QStringLiteral("set1.p already exists.")));
        QCOMPARE(read(dir.filePath("set1.p")), yes ? fileOf(exampleLines()) : QByteArray("old"));
        QCOMPARE(win.fake.messages.informed, yes ? QStringList() : QStringList{kNotSaved});

        win.save(dir.filePath("set1.p")); // typed with its extension: no second question
        QCOMPARE(win.fake.messages.asked.size(), 1);
    }

    void saveFails_data() {
        QTest::addColumn<bool>("diskFull");
        QTest::newRow("missing folder") << false;
        QTest::newRow("disk full") << true;
    }

    void saveFails() {
        QFETCH(bool, diskFull);
        QTemporaryDir dir;
        const QString path = diskFull ? dir.filePath("set1.p") : dir.filePath("gone/set1.p");
        if (diskFull)
            write(path, "old");
        Window win;
        win.fillExample();
        {
            const test::FileSizeLimit limit(diskFull ? 32 : RLIM_INFINITY);
            win.save(path);
        }
        QCOMPARE(win.fake.messages.informed, QStringList{kWriteFailed});
        QCOMPARE(read(path), diskFull ? QByteArray("old") : QByteArray("<missing>"));
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files),
                 diskFull ? QStringList{"set1.p"} : QStringList());
    }

    void loadFillsTheControls() {
        QTemporaryDir dir;
        write(dir.filePath("SET1.P"), fileOf(exampleLines()));
        Window win;
        const QString date = win.w.Text3->text();
        for (int i = 4; i <= kSlotCount; ++i) {
            slotBox(win.w, i)->setChecked(true);
            slotName(win.w, i)->setText(QStringLiteral("old"));
        }
        win.load(dir.filePath("SET1.P"));

        const FileDialogRequest& request = win.fake.dialogs.calls[0].request;
        QVERIFY(!win.fake.dialogs.calls[0].save);
        QCOMPARE(request.title, QStringLiteral("Open File"));
        QCOMPARE(request.filter, QStringLiteral("Parameter File (*.p)"));
        QVERIFY(request.proposedName.isEmpty());
        QCOMPARE(request.directory, documentsFolder());
        QCOMPARE(win.fake.messages.informed, QStringList());
        QCOMPARE(win.w.filePath(), dir.filePath("SET1.P"));
        const QString off = QString::number(Qt::Unchecked);
        const QString on = QString::number(Qt::Checked);
        QCOMPARE(loadedControls(win.w),
                 (QStringList{"P1", "0", "A", "OB", "10", "600", "abc", on, off, on, off, off, off,
                              off, off, off, off, off}));
        QCOMPARE(names(win.w), exampleLines().mid(9));
        QCOMPARE(win.w.drawnTexts(), QStringList{" 10 "}); // Combo1's change handling ran
        QCOMPARE(win.w.Text3->text(), date);
        QVERIFY(win.w.Frame1->isEnabled() && !win.w.Command6->isEnabled());
        QCOMPARE(win.w.Command3->text(), QStringLiteral("Set"));
    }

    // A cancelled dialog or a refused name leaves every control as it was, names included.
    void loadChangesNothingBeforeAFileIsAccepted_data() {
        QTest::addColumn<QString>("answer");
        QTest::addColumn<QStringList>("messages");
        QTest::newRow("cancelled") << QString() << QStringList();
        QTest::newRow("set1.txt") << "set1.txt" << QStringList{kWrongName};
    }

    void loadChangesNothingBeforeAFileIsAccepted() {
        QFETCH(QString, answer);
        QFETCH(QStringList, messages);
        QTemporaryDir dir;
        write(dir.filePath("set1.txt"), fileOf(exampleLines()));
        Window win;
        slotName(win.w, 1)->setText(QStringLiteral("typed"));
        const QStringList before = loadedControls(win.w);
        win.load(answer.isEmpty() ? answer : dir.filePath(answer));
        QCOMPARE(win.fake.messages.informed, messages);
        QCOMPARE(win.w.filePath().isEmpty(), answer.isEmpty());
        QCOMPARE(loadedControls(win.w), before);
        QCOMPARE(slotName(win.w, 1)->text(), QStringLiteral("typed"));
    }

    // A load that fails fills the controls up to the failing value; the names stay emptied.
    void loadFails_data() {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<int>("filled"); // controls with new values, in fill order; -1 unchecked

        QStringList lines{"P1", "0", "A", "OB", "10", "600", "abc", " 1", "x1111111111"};
        for (int i = 1; i <= kSlotCount; ++i)
            lines << QStringLiteral("n%1").arg(i);
        auto with = [&](int index, const QString& text) {
            QStringList changed = lines;
            changed[index] = text;
            return fileOf(changed);
        };
        QRandomGenerator random(6);
        QByteArray garbage(4096, 0);
        for (char& c : garbage)
            c = static_cast<char>(random.bounded(256));

        QTest::newRow("18 fields") << fileOf(lines.mid(0, 18)) << 0;
        QTest::newRow("word in line 8") << with(7, "on") << 7;
        QTest::newRow("mode value 3") << with(8, "x1131111111") << 10;
        QTest::newRow("line 9 too short") << with(8, "x111") << 11;
        QTest::newRow("number beyond a double") << with(5, "1e999") << 5;
        QTest::newRow("empty file") << QByteArray() << 0;
        QTest::newRow("missing closing quote") << fileOf(lines).replace("\"n10\"", "\"n10") << 0;
        QTest::newRow("million-character field") << with(0, QString(1000000, u'a')) << 0;
        QTest::newRow("1 GB file") << QByteArray("sparse") << 0;
        QTest::newRow("binary garbage") << garbage << -1;
    }

    void loadFails() {
        QFETCH(QByteArray, bytes);
        QFETCH(int, filled);
        QTemporaryDir dir;
        const QString path = dir.filePath("set1.p");
        if (bytes == "sparse") {
            QFile file(path);
            QVERIFY(file.open(QIODevice::WriteOnly) && file.resize(qint64{1} << 30));
        } else {
            write(path, bytes);
        }
        Window win;
        for (std::size_t i = 0; i < win.w.Text2.size(); ++i)
            win.w.Text2[i]->setText(QStringLiteral("old"));
        win.w.Text1->setText(QStringLiteral("old"));
        win.w.Text22->setText(QStringLiteral("old"));
        for (int i = 1; i <= kSlotCount; ++i)
            slotName(win.w, i)->setText(QStringLiteral("old"));
        const QStringList before = loadedControls(win.w);
        QStringList after{"P1", "0", "A", "OB", "10", "600", "abc"};
        while (after.size() < before.size())
            after << QString::number(Qt::Checked);

        win.load(path);
        QCOMPARE(win.fake.messages.informed, QStringList{kReadFailed});
        QCOMPARE(names(win.w), QStringList(kSlotCount, QString()));
        if (filled >= 0)
            QCOMPARE(loadedControls(win.w), after.mid(0, filled) + before.mid(filled));
    }

    void roundTrip_data() {
        QTest::addColumn<QString>("text");
        QTest::newRow("comma") << "Hit, hard";
        QTest::newRow("quotes") << "say \"hi\"";
        QTest::newRow("lone quote") << "\"";
        QTest::newRow("non-ASCII") << QStringLiteral("Ärger, 泣く 😀");
        QTest::newRow("blanks around") << "  spaced  ";
        QTest::newRow("empty") << "";
    }

    void roundTrip() {
        QFETCH(QString, text);
        QTemporaryDir dir;
        Window win;
        win.fillExample();
        win.w.Text2[0]->setText(text);
        win.w.Text1->setText(text);
        slotName(win.w, 10)->setText(text);
        slotBox(win.w, 4)->setTristate(true);
        slotBox(win.w, 4)->setCheckState(Qt::PartiallyChecked);
        win.save(dir.filePath("rt"));
        const QStringList saved = loadedControls(win.w);
        const QStringList savedNames = names(win.w);

        Window other;
        other.load(dir.filePath("rt.p"));
        QCOMPARE(other.fake.messages.informed, QStringList());
        QStringList expected = saved;
        expected[1] = QStringLiteral("0");
        QCOMPARE(loadedControls(other.w), expected);
        QCOMPARE(names(other.w), savedNames);
    }

    // Empty boxes are saved as empty fields; the numbers of empty fields load as 0.
    void emptyFields() {
        QTemporaryDir dir;
        Window win;
        win.w.setCombo1Text(QString());
        win.save(dir.filePath("empty.p"));
        QStringList lines(19, QString());
        lines[1] = QStringLiteral("0");
        lines[7] = QStringLiteral(" 0");
        lines[8] = QStringLiteral("x0000000000");
        QCOMPARE(read(dir.filePath("empty.p")), fileOf(lines));

        Window other;
        other.load(dir.filePath("empty.p"));
        const QString off = QString::number(Qt::Unchecked);
        QCOMPARE(loadedControls(other.w),
                 QStringList({"", "0", "", "", "0", "0", ""}) + QStringList(11, off));
    }

    void legacyEncodingLoads() {
        QTemporaryDir dir;
        QByteArray bytes = fileOf(exampleLines());
        bytes.replace("\"Hit\"", "\"Gr\xFC\xDF"
                                 "e\"");
        write(dir.filePath("old.p"), bytes);
        Window win;
        win.load(dir.filePath("old.p"));
        QCOMPARE(win.fake.messages.informed, QStringList());
        QCOMPARE(slotName(win.w, 1)->text(), QStringLiteral("Grüße"));
    }

    // As an observer: set up, save, reset, load, type a session number and set up again.
    void savedSetUpComesBack() {
        QTemporaryDir dir;
        Window win;
        win.fillExample();
        win.w.Command3->click(); // Set
        win.w.Command3->click(); // Check Keys
        win.fake.dialogs.answers.push_back(dir.filePath("obs"));
        win.w.Command6->click();
        win.w.Command4->click(); // Reset
        for (QLineEdit* box : win.w.Text2)
            box->setText(QStringLiteral("changed"));
        slotBox(win.w, 2)->setChecked(false);
        slotName(win.w, 1)->setText(QStringLiteral("changed"));
        const QString date = win.w.Text3->text();

        win.fake.dialogs.answers.push_back(dir.filePath("obs.p"));
        win.w.Command5->click();
        QCOMPARE(win.w.Text2[1]->text(), QStringLiteral("0"));
        QCOMPARE(win.w.Text3->text(), date);
        win.w.Text2[1]->setText(QStringLiteral("3"));
        win.w.Command3->click(); // Set
        QCOMPARE(win.w.Command3->text(), QStringLiteral("Check Keys"));
        const SessionRecord& record = win.w.record();
        QCOMPARE(record.participantId, QStringLiteral("P1"));
        QCOMPARE(record.condition, QStringLiteral("A"));
        QCOMPARE(record.intervalLength, 10.0);
        QCOMPARE(record.sessionDuration, 600.0);
        QCOMPARE(record.keysToHit, QStringLiteral("abc"));
        QVERIFY(slotBox(win.w, 2)->isChecked() && !slotBox(win.w, 1)->isChecked());
        QCOMPARE(names(win.w), exampleLines().mid(9));
        QCOMPARE(win.fake.messages.informed, QStringList());
    }
};

QTEST_MAIN(TestParameterHandlers)
#include "test_parameterhandlers.moc"
