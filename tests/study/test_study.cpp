// Pairing the workbooks of a study (primary observer, copies, reliability records), the summary's
// arithmetic and text forms, and a folder read end to end by the study command.
#include "study/study.h"
#include "study/studytables.h"
#include "support/records.h"
#include "support/sheets.h"
#include "workbook/xlsxworkbookwriter.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

using namespace quorvia;

namespace {

// "file:participant:session:observer[:condition]"; a file named "x~n" is equal to "x~m".
StudyInput input(const QString& description) {
    const QStringList f = description.split(u':');
    SessionWorkbook w;
    w.participantId = f[1];
    w.sessionNumber = static_cast<std::int16_t>(f[2].toInt());
    w.observerId = f[3];
    w.condition = f.value(4, QStringLiteral("A"));
    w.keysToHit = QStringLiteral("a");
    w.intervalLength = 10;
    w.intervalCount = 2;
    w.keySlots = {{"a", "Talking", "Hits", {}, {}, {}, {}, {1, 0}}};
    return {f[0], {w, {}}};
}

// "P1/KT: 1 2+RB;XY" for each participant.
QString paired(const Study& study) {
    QStringList parts;
    for (const StudyParticipant& p : study.participants) {
        QString text = p.id + u'/' + p.primaryObserver + u':';
        for (const StudySession& s : p.sessions) {
            text += u' ' + QString::number(s.workbook.sessionNumber);
            QStringList ids;
            for (const ReliabilityRecord& r : s.reliability)
                ids << r.observerId;
            if (!ids.isEmpty())
                text += u'+' + ids.join(u';');
        }
        parts << text;
    }
    return parts.join(QStringLiteral(", "));
}

// A session of keys "ab" or "ba" (a counted, b On/Off) as the program writes it, with presses of a.
Worksheet writtenSession(int number, const QString& observer, const QString& keys, int presses) {
    SessionRecord record = test::freshRecord(keys, 20, 10);
    record.sessionNumber = static_cast<std::int16_t>(number);
    record.observerId = observer;
    test::play(record, QString(presses, u'a') + " 20");
    const QStringList names{"Talking", "Out of seat"};
    return keys == u"ab" ? test::sheetOf(record, "01", names)
                         : test::sheetOf(record, "10", {names[1], names[0]});
}

} // namespace

class StudyTest : public QObject {
    Q_OBJECT

private slots:
    void pairing_data() {
        QTest::addColumn<QStringList>("files");
        QTest::addColumn<QString>("primary");
        QTest::addColumn<QString>("sessions");
        QTest::addColumn<QString>("leftOut"); // a part of what is said, or empty: nothing
        const auto row = [](const char* tag, const QStringList& files, const char* primary,
                            const char* sessions, const QString& leftOut = {}) {
            QTest::newRow(tag) << files << QString(primary) << QString(sessions) << leftOut;
        };
        const QStringList common{"a:P1:1:KT", "b:P1:2: KT ", "c:P1:3:KT", "d: P1 :2:RB"};
        const char* noPrimary =
            "Session %1 of participant P1 is left out: it has no workbook of the "
            "primary observer %2 (%3).";
        row("primary by count", common, "", "P1/KT: 1 2+RB 3");
        row("primary asked for", common, "RB", "P1/RB: 2+KT",
            QString(noPrimary).arg(1).arg("RB", "a"));
        row("primary not there", common, "ZZ", "",
            "Participant P1 is left out: no workbook is of observer ZZ.");
        row("tie", {"a:P1:1:KT", "b:P1:2:RB", "c:P2:1:KT"}, "", "P2/KT: 1",
            "Participant P1 is left out: observers KT, RB are each in 1 sessions");
        row("saved twice", {"a~1:P1:1:KT", "a~2:P1:1:KT", "r:P1:1:RB", "c:P1:2:KT"}, "",
            "P1/KT: 1+RB 2");
        row("copies that differ", {"a~1:P1:1:KT", "b:P1:1:KT", "c:P1:2:KT"}, "", "P1/KT: 2",
            "Session 1 of participant P1 is left out: its workbooks differ (a~1, b).");
        row("no primary", {"a:P1:1:KT", "b:P1:2:KT", "c:P1:3:RB", "d:P1:3:XY"}, "", "P1/KT: 1 2",
            QString(noPrimary).arg(3).arg("KT", "c, d"));
        row("three observers", {"a:P1:1:KT", "b:P1:2:KT", "c:P1:1:XY", "d:P1:1:RB"}, "",
            "P1/KT: 1+RB;XY 2");
    }

    void pairing() {
        QFETCH(QStringList, files);
        QFETCH(QString, primary);
        QFETCH(QString, sessions);
        QFETCH(QString, leftOut);
        std::vector<StudyInput> inputs;
        for (const QString& f : files)
            inputs.push_back(input(f));
        const SameCells same = [](const QString& a, const QString& b) {
            return a.contains(u'~') && a.section(u'~', 0, 0) == b.section(u'~', 0, 0);
        };
        const Study study = buildStudy(inputs, {primary, same});
        QCOMPARE(paired(study), sessions);
        const QString said = study.leftOut.join(u'\n');
        QVERIFY2(leftOut.isEmpty() ? said.isEmpty() : said.contains(leftOut), qPrintable(said));
        if (leftOut.isEmpty())
            QCOMPARE(study.filesUsed, files.size());
    }

    void summary_data() {
        QTest::addColumn<QStringList>("values"); // per session "condition:value;value" (pairs)
        QTest::addColumn<QString>("measure");
        QTest::addColumn<QStringList>(
            "rows"); // condition,sessions,with,coverage,pairs,mean,min,max
        // 80.005 is a half: to the even 80.00; 2 of 3 sessions is 66.67 %.
        QTest::newRow("percentages")
            << QStringList{"A:80.00", "A:80.01", "A:", "B:"} << "total count"
            << QStringList{"A,3,2,66.67,2,80.00,80.00,80.01", "B,1,0,0.00,0,n/a,n/a,n/a",
                           "(all),4,2,50.00,2,80.00,80.00,80.01"};
        // (-0.251 + 0) / 2 = -0.1255: to the even -0.126; a pair without a number is no pair.
        QTest::newRow("kappa and n/a")
            << QStringList{"A:-0.251;0;n/a", "B:0.583"} << "kappa"
            << QStringList{"A,1,1,100.00,2,-0.126,-0.251,0.000", "B,1,1,100.00,1,0.583,0.583,0.583",
                           "(all),2,2,100.00,3,0.111,-0.251,0.583"};
        QTest::newRow("no agreement at all")
            << QStringList{"A:", "B:"} << ""
            << QStringList{"A,1,0,0.00,0,n/a,n/a,n/a", "B,1,0,0.00,0,n/a,n/a,n/a",
                           "(all),2,0,0.00,0,n/a,n/a,n/a"};
    }

    void summary() {
        QFETCH(QStringList, values);
        QFETCH(QString, measure);
        QFETCH(QStringList, rows);
        StudyParticipant p{QStringLiteral("P1"), QStringLiteral("KT"), {}, {}};
        for (const QString& pairs : values) {
            StudySession session;
            session.condition = pairs.section(u':', 0, 0);
            session.workbook.sessionNumber = static_cast<std::int16_t>(p.sessions.size() + 1);
            for (const QString& v : pairs.section(u':', 1).split(u';', Qt::SkipEmptyParts)) {
                Agreement a;
                a.rows.push_back({1, "a", "Talking", "Hits", Scoring::Count, measure,
                                  v == "n/a" ? std::nullopt : std::optional<double>(v.toDouble())});
                session.reliability.push_back({QStringLiteral("RB"), QString(), a});
            }
            p.sessions.push_back(session);
        }
        const Study study{{p}, {}, {}, 0, 0};
        QStringList got;
        const QStringList lines = studyCsv(studyTable(study, StudyTableKind::Summary))
                                      .split(QStringLiteral("\r\n"), Qt::SkipEmptyParts);
        QCOMPARE(lines.first(), "participant,condition,sessions,sessions with agreement,coverage,"
                                "key,behaviour,mode,scoring,measure,pairs,mean,min,max");
        for (const QString& line : lines.mid(1)) {
            const QStringList f = line.split(u',');
            QCOMPARE(f[0], "P1");
            QCOMPARE(f[9], measure);
            got << (f.mid(1, 4) + f.mid(10)).join(u',');
        }
        QCOMPARE(got, rows);
    }

    // Two sessions and a reliability record with its keys in another order, an unusable file and
    // a workbook in a subfolder with a capital ending, through the program.
    void commandOnAFolder() {
        QTemporaryDir folder;
        QDir(folder.path()).mkdir(QStringLiteral("second"));
        XlsxWorkbookWriter writer;
        QVERIFY(writer.write(writtenSession(1, "KT", "ab", 2), folder.filePath("s1.xlsx")));
        QVERIFY(writer.write(writtenSession(2, "KT", "ab", 4), folder.filePath("s2.xlsx")));
        QVERIFY(writer.write(writtenSession(2, "RB", "ba", 3), folder.filePath("second/R2.XLSX")));
        QFile junk(folder.filePath(QStringLiteral("notes.xlsx")));
        QVERIFY(junk.open(QIODevice::WriteOnly) && junk.write("not a workbook") > 0);
        junk.close();
        QProcess command;
        command.start(QStringLiteral(QUORVIA_EXECUTABLE),
                      {"study", folder.path(), "--table", "agreement"});
        QVERIFY(command.waitForFinished(60000));
        const QString out = QString::fromUtf8(command.readAllStandardOutput());
        const QString err = QString::fromUtf8(command.readAllStandardError());
        QCOMPARE(command.exitCode(), 1);
        QVERIFY2(err.contains(QStringLiteral("notes.xlsx cannot be read")), qPrintable(err));
        // 4 presses against 3 in the first interval: total count 75.00.
        QVERIFY2(out.startsWith("participant,session,date,condition,phase,primary,reliability,"
                                "key,behaviour,mode,scoring,measure,value\r\n"
                                "P07,2,2026/12/06,base,1,KT,RB,a,Talking,Hits,count,total "
                                "count,75.00\r\n"
                                "P07,2,2026/12/06,base,1,KT,RB,a,Talking,Hits,count,mean "
                                "count-per-interval,87.50\r\n"),
                 qPrintable(out));
        QVERIFY2(out.endsWith(",,,,intervals compared,2\r\n"), qPrintable(out));
        QVERIFY(QFile::remove(junk.fileName()));
        command.start(QStringLiteral(QUORVIA_EXECUTABLE), {"study", folder.path()});
        QVERIFY(command.waitForFinished(60000));
        QCOMPARE(command.exitCode(), 0);
        QCOMPARE(command.readAllStandardOutput().count('\n'), 1 + 2 * 2 * 2);
    }
};

QTEST_GUILESS_MAIN(StudyTest)
#include "test_study.moc"
