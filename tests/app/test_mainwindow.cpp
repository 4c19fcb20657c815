// The window driven through its own controls and fake desktop services: its structure (containers,
// overlaps, Tab order), the set-up, a session with its clock ticks, key capture and close question,
// the save of the session workbook, and the parameter file saved and loaded with real files.
#include "app/mainwindow.h"
#include "app/worksheetwindow.h"
#include "support/fakeplatform.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableView>
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

} // namespace

class TestMainWindow : public QObject {
    Q_OBJECT

    std::unique_ptr<test::FakePlatform> fakes_;
    std::unique_ptr<MainWindow> w_;

    // Fills in session 4 of P07; the set-up stays open.
    void fill(const QString& keys, const QString& duration, int interval = 10) {
        for (std::size_t i = 0; i < 4; ++i)
            w_->Text2.at(i)->setText(QStringList{"P07", "4", "baseline", "KT"}.at(qsizetype(i)));
        w_->Text3->setText("2026/12/06");
        w_->Combo1->setEditText(QString::number(interval));
        w_->Text22->setText(duration);
        w_->Text1->setText(keys);
    }

    // Fills in, then "Set" and "Check Keys": slot 1 counts Talking, slot 2 switches Seated.
    bool setUp(const QString& keys, const QString& duration, int interval = 30,
               Qt::CheckState beep = Qt::Checked) {
        fill(keys, duration, interval);
        w_->Check2->setCheckState(beep);
        w_->Command3->click();
        w_->Text4[1]->setText("Talking");
        w_->Text4[2]->setText("Seated");
        w_->Check3[2]->setChecked(true);
        w_->Command3->click();
        return w_->Command1->isEnabled() && w_->Command1->text() == QLatin1String("Start");
    }

    // Caption of Command3, then enabled: Command3, Frame1, Frame2, Command1, Command4, Command6.
    QString buttonState() const {
        QString state = w_->Command3->text() + QLatin1Char(' ');
        for (QWidget* c : std::initializer_list<QWidget*>{w_->Command3, w_->Frame1, w_->Frame2,
                                                          w_->Command1, w_->Command4, w_->Command6})
            state += c->isEnabled() ? QLatin1Char('1') : QLatin1Char('0');
        return state;
    }

    // '.' is one tick (the time of day moves on a second); 'S' clicks Command1, 'M' clicks it
    // with the mouse, 'T' clicks Terminate, 'N' answers No; 'E' types ESC, any other character
    // types itself, through the window system into the active window.
    void play(const QString& script) {
        for (const QChar c : script) {
            fakes_->clock.time = fakes_->clock.time.addSecs(c == u'.' ? 1 : 0);
            if (c == u'.')
                w_->timer1Timer();
            else if (c == u'S' || c == u'T' || c == u'N')
                (c == u'S' ? w_->Command1 : c == u'T' ? w_->Command2 : w_->Command8)->click();
            else if (c == u'M')
                QTest::mouseClick(w_->Command1, Qt::LeftButton);
            else
                QTest::keyClick(QApplication::focusWindow(), c == u'E' ? '\x1b' : c.toLatin1());
        }
    }

    // Session number, status (red or not), clock, interval, start, end, entry number, Command1's
    // caption, the controls enabled and what runs, and the beeps so far, each under its name.
    QList<std::pair<const char*, QString>> displays() const {
        const bool red = w_->Label1->palette().color(QPalette::WindowText) == QColor(255, 0, 0);
        QList<std::pair<const char*, QString>> out{
            {"Text2(1)", w_->Text2[1]->text()},
            {"Label1", w_->Label1->text() + (red ? " in red" : "")}};
        for (const char* name : {"Label2", "Label10", "Label21", "Label25", "Label4"})
            out.push_back({name, w_->findChild<QLabel*>(name)->text()});
        QStringList on;
        for (const char* name :
             {"Command1", "Command2", "Command3", "Command4", "Command6", "Frame1", "Frame3"})
            if (w_->findChild<QWidget*>(name)->isEnabled())
                on << name;
        on << (w_->Timer1->isActive() ? "Timer1" : "") << (w_->keyCaptureOn() ? "keys" : "");
        on.removeAll(QString());
        out.push_back({"Command1 caption", w_->Command1->text()});
        out.push_back({"enabled and running", on.join(u' ')});
        out.push_back({"beeps", QString::number(fakes_->beeper.beeps)});
        return out;
    }
    // The displays against "a|b|...", one named check each, so that a failure says which differs.
    void checkDisplays(const QString& expected) const {
        const QStringList want = expected.split(u'|');
        const auto got = displays();
        QCOMPARE(got.size(), want.size());
        for (qsizetype i = 0; i < got.size(); ++i)
            QVERIFY2(got[i].second == want[i],
                     qPrintable(QStringLiteral("%1 is \"%2\", expected \"%3\"")
                                    .arg(got[i].first, got[i].second, want[i])));
    }

    // The rows before nextEntry as "time|event", then the end row at nextEntry, if written, as
    // "end time|event".
    QStringList rows() const {
        QStringList out;
        const SessionRecord& r = w_->record();
        for (qint64 n = 1; n <= r.nextEntry; ++n)
            if (n < r.nextEntry || !r.entryEvent(n).isEmpty())
                out << (n < r.nextEntry ? "" : "end") + r.entryTime(n) + u'|' + r.entryEvent(n);
        return out;
    }

    // The boxes in parameter-file line order; none for the check boxes (line 8).
    QList<QLineEdit*> texts() const {
        return {w_->Text2[0], w_->Text2[1], w_->Text2[2], w_->Text2[3], w_->Combo1->lineEdit(),
                w_->Text22,   w_->Text1,    nullptr,      w_->Text4[1], w_->Text4[2],
                w_->Text4[3], w_->Text4[4], w_->Text4[5], w_->Text4[6], w_->Text4[7],
                w_->Text4[8], w_->Text4[9], w_->Text4[10]};
    }
    // Box values 0, 1 and 2 are the states 0, 2 and 1: (3 - x) % 3 maps either way.
    void setControls(const QStringList& v) {
        for (qsizetype i = 0; i < 18; ++i)
            if (texts()[i])
                texts()[i]->setText(v.value(i));
        w_->combo1Change();
        for (std::size_t i = 0; i < 11; ++i)
            (i ? w_->Check3[i] : w_->Check2)
                ->setCheckState(Qt::CheckState((3 - v[7][i].digitValue()) % 3));
    }
    QStringList controls() const {
        QStringList v;
        for (const QLineEdit* text : texts())
            v << (text ? text->text() : QString());
        for (std::size_t i = 0; i < 11; ++i)
            v[7] += QString::number((3 - (i ? w_->Check3[i] : w_->Check2)->checkState()) % 3);
        return v;
    }
    // Clicks with the file name to answer in the dialog ("" cancels); gives the name it proposed.
    QString click(QPushButton* button, const QTemporaryDir& dir, const QString& name) {
        fakes_->dialogs.answers.push_back(name.isEmpty() ? name : dir.filePath(name));
        button->setEnabled(true);
        button->click();
        return fakes_->dialogs.calls.value(0).request.proposedName;
    }

private slots:
    void initTestCase() { QApplication::setQuitOnLastWindowClosed(false); }

    void init() {
        w_.reset();
        fakes_ = std::make_unique<test::FakePlatform>();
        fakes_->clock.time = QTime(8, 30, 15, 999);
        w_ = std::make_unique<MainWindow>(fakes_->platform);
        w_->show();
        w_->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(w_.get()));
    }

    // Every shown control lies inside its container; no input (button, box, check box) or frame
    // overlaps another beside it. (Headings may touch their boxes by a pixel.)
    void controlsInsideTheirContainersWithoutOverlaps() {
        QList<QWidget*> shown;
        for (QWidget* c : w_->findChildren<QWidget*>())
            if (!c->objectName().isEmpty() && !c->objectName().startsWith(u"qt_") &&
                c->isVisibleTo(w_.get()))
                shown << c;
        for (QWidget* c : shown) {
            QVERIFY2(c->parentWidget()->rect().contains(c->geometry()),
                     qPrintable(c->objectName()));
            for (QWidget* s : shown)
                if (s != c && s->parentWidget() == c->parentWidget() && !qobject_cast<QLabel*>(c) &&
                    !qobject_cast<QLabel*>(s))
                    QVERIFY2(!s->geometry().intersects(c->geometry()),
                             qPrintable(s->objectName() + " overlaps " + c->objectName()));
        }
    }

    // Tab from the focused control visits the usable inputs in their order and comes round.
    void tabVisitsTheUsableInputsInOrder_data() {
        QTest::addColumn<int>("setPresses");
        QTest::addColumn<QString>("visited");
        QTest::newRow("start-up")
            << 0
            << "Check2 Text22 Text1 Command3 Combo1 Text2(0) Text2(1) Text2(2) "
               "Text2(3) Text3 Command5 Check2";
        QTest::newRow("keys open") << 1
                                   << "Check3(2) Check3(1) Command3 Command4 Text4(1) "
                                      "Text4(2) Check3(2)";
        QTest::newRow("keys checked") << 2 << "Command1 Command4 Command6 Command1";
    }
    void tabVisitsTheUsableInputsInOrder() {
        QFETCH(int, setPresses);
        QFETCH(QString, visited);
        fill(QStringLiteral("ab"), QStringLiteral("60"));
        for (int i = 0; i < setPresses; ++i)
            w_->command3Click();
        w_->findChild<QWidget*>(visited.section(u' ', 0, 0))->setFocus();
        QStringList seen;
        for (qsizetype i = visited.count(u' '); i >= 0; --i) {
            QWidget* focus = QApplication::focusWidget();
            seen << (focus->objectName().isEmpty() ? focus->parentWidget() : focus)->objectName();
            QTest::keyClick(focus, Qt::Key_Tab);
        }
        QCOMPARE(seen.join(u' '), visited);
    }

    // Set binds the keys to their slots; Check Keys locks them; Reset leads back.
    void setCheckKeysAndReset() {
        // Names and modes present before the set press carry over where a key stays.
        w_->Frame2->setEnabled(true);
        for (int i : {1, 2, 5}) {
            w_->Check3[i]->setEnabled(true);
            w_->Check3[i]->setChecked(true);
            w_->Text4[i]->setText(QStringLiteral("name %1").arg(i));
        }
        fill(QStringLiteral("abc"), QStringLiteral("65"));
        QTest::mouseClick(w_->Command3, Qt::LeftButton);
        QCOMPARE(buttonState(), QStringLiteral("Check Keys 101010"));
        QString slotTexts;
        for (int i = 1; i <= 10; ++i)
            slotTexts += w_->Label5[i]->text() + (w_->Check3[i]->isEnabled() ? "+" : "") +
                         (w_->Check3[i]->isChecked() ? "x" : "") + w_->Text4[i]->text() + u'|';
        QCOMPARE(slotTexts, QStringLiteral("A+xname 1|B+xname 2|C+|-|-|-|-|-|-|-|"));

        w_->Check3[1]->setChecked(false);
        QTest::mouseClick(w_->Command3, Qt::LeftButton);
        QCOMPARE(buttonState(), QStringLiteral("Check Keys 000111"));
        QCOMPARE(w_->Label9[2]->text(), QStringLiteral("Off")); // the On/Off slot
        const SessionRecord& r = w_->record();
        QCOMPARE(QList<qint64>({r.keyCount, r.intervalCount, r.nextEntry, r.entryCapacity}),
                 QList<qint64>({3, 7, 1, 500}));

        // Reset opens the set-up again with everything typed in it kept.
        QTest::mouseClick(w_->Command4, Qt::LeftButton);
        QCOMPARE(buttonState(), QStringLiteral("Set 110000"));
        for (int i = 1; i <= 10; ++i)
            QVERIFY(w_->Label5[i]->text() == u"-" && !w_->Check3[i]->isEnabledTo(w_->Frame2));
        QCOMPARE(w_->Text22->text() + w_->Text1->text() + w_->Combo1->currentText() +
                     w_->Text4[2]->text() + QString::number(w_->Check3[2]->isChecked()),
                 QStringLiteral("65abc10name 21"));
        QVERIFY(fakes_->messages.informed.isEmpty());
    }

    // Sessions ticked to their end: after every tick the clock, the interval and the beeps (the
    // interval ends at each multiple of its length below the duration), and the end row.
    void sessionRunsToItsEnd_data() {
        QTest::addColumn<QString>("duration");
        QTest::addColumn<int>("interval");
        QTest::addColumn<Qt::CheckState>("beepBox");
        QTest::addColumn<int>("ends"); // interval ends in the session
        QTest::addColumn<QString>("lastClock");
        QTest::newRow("90 s / 30 s") << "90" << 30 << Qt::Checked << 2 << " 1:  30";
        QTest::newRow("beep box grey") << "100" << 30 << Qt::PartiallyChecked << 3 << " 1:  40";
        QTest::newRow("10.5 s ends on tick 11") << "10.5" << 5 << Qt::Checked << 2 << " 0:  11";
    }
    void sessionRunsToItsEnd() {
        QFETCH(QString, duration);
        QFETCH(int, interval);
        QFETCH(Qt::CheckState, beepBox);
        QFETCH(int, ends);
        QFETCH(QString, lastClock);
        QVERIFY(setUp("ab", duration, interval, beepBox));
        play("S");
        for (int t = 1; w_->Label1->text() == QLatin1String("Recording") && t <= 3600; ++t) {
            play(".");
            const int ended = qMin(t / interval, ends);
            QCOMPARE(w_->Label2->text() + w_->Label10->text(),
                     QStringLiteral(" %1:  %2 %3").arg(t / 60).arg(t % 60).arg(ended + 1));
            QCOMPARE(fakes_->beeper.beeps, beepBox == Qt::Checked ? ended : 0);
        }
        QCOMPARE(rows(), QStringList{"end" + lastClock + "|Session Finished"});
    }

    // States reached through the controls (keys "ab", 30-s intervals, beep on): what the window
    // shows and logs, and whether closing it asks first. No to the question changes nothing
    // (the clock runs on meanwhile); Yes closes.
    void sessionStates_data() {
        QTest::addColumn<int>("duration");
        QTest::addColumn<QString>("script");
        QTest::addColumn<QStringList>("log");
        QTest::addColumn<QString>("shown");
        QTest::addColumn<bool>("asks");
        QTest::newRow("ESC at 0:20, Terminate")
            << 100 << "S...aM.......ES..........ET"
            << QStringList{" 0:  3|a", " 0:  10|Session Paused", " 0:  20|Session Paused",
                           "end 0:  20|Session Terminated"}
            << "4|Stopped| 0:  20| 1|08:30:15.99|08:30:35.99| 0|Confirm|Frame3|0" << true;
        QTest::newRow("pause at 0:29, resume")
            << 100 << "S" + QString(29, u'.') + "aES.b"
            << QStringList{" 0:  29|a", " 0:  29|Session Paused", " 0:  30|b"}
            << "4|Recording| 0:  30| 2|08:30:15.99|08:30:44.99| 3|Hit ESC to pause|Timer1 keys|1"
            << true;
        QTest::newRow("keys count only while recording")
            << 5 << "aSaEbESb.....a"
            << QStringList{" 0:  0|a", " 0:  0|Session Paused", " 0:  0|b",
                           "end 0:  5|Session Finished"}
            << "4|Finished in red| 0:  5| 1|08:30:15.99|08:30:20.99| 3|Confirm|Frame3|0" << true;
        QTest::newRow("No after the end")
            << 5 << "S.....N" << QStringList{"end 0:  5|Session Finished"}
            << "4|Finished in red| 0:  5| 1|08:30:15.99|08:30:20.99|Times Hit|Confirm|Command1|0"
            << false;
        QTest::newRow("Confirm after session 4")
            << 5 << "S.....NS" << QStringList{"end 0:  5|Session Finished"}
            << "5|Set| 0: 0|interval|Time|Time|Times Hit|Start|Command3 Frame1|0" << false;
    }
    void sessionStates() {
        QFETCH(int, duration);
        QFETCH(QString, script);
        QFETCH(QStringList, log);
        QFETCH(QString, shown);
        QFETCH(bool, asks);
        QVERIFY(setUp("ab", QString::number(duration)));
        play(script);
        checkDisplays(shown);
        if (QTest::currentTestFailed())
            return;
        QCOMPARE(rows(), log);
        const bool timerOn = w_->Timer1->isActive();
        bool ranWhileAsking = !timerOn;
        fakes_->messages.whileAsking = [&] {
            ranWhileAsking = w_->Timer1->isActive();
        };
        QCOMPARE(w_->close(), !asks);
        const QString question = "Session data have not been saved.\r\nClose anyway?";
        QCOMPARE(fakes_->messages.asked, asks ? QStringList{question} : QStringList{});
        if (asks) {
            checkDisplays(shown);
            QCOMPARE(ranWhileAsking, timerOn);
            fakes_->messages.answerYes = true;
            QVERIFY(w_->close());
        }
    }

    // Every character typed while the window is active reaches the handler exactly once,
    // whichever widget has the focus, although an application-wide filter sees a key event again
    // at each parent it is passed on to; and the focused widget still gets it. Another window
    // keeps its keys.
    void keysReachTheHandlerOnce_data() {
        QTest::addColumn<QString>("focus");
        QTest::addColumn<QStringList>("log");
        const QStringList all{" 0:  0|a", " 0:  0|b", " 0:  0|Session Paused"};
        for (const char* focus : {"nothing", "Command1", "Text2(0)"})
            QTest::newRow(focus) << focus << all;
        QTest::newRow("another window") << "" << QStringList{};
    }
    void keysReachTheHandlerOnce() {
        QFETCH(QString, focus);
        QFETCH(QStringList, log);
        QVERIFY(setUp("ab", "100"));
        play(focus == QLatin1String("Command1") ? "M" : "S"); // the mouse gives Command1 the focus
        QLineEdit other; // in a window of its own, with no name
        QLineEdit* box = focus.isEmpty() ? &other : w_->Text2[0];
        const bool intoBox = box->objectName() == focus;
        if (intoBox) {
            w_->Frame1->setEnabled(true); // the set press locked it; opened to type into a box
            box->clear();
            box->show();
            box->activateWindow();
            box->setFocus();
            QVERIFY(QTest::qWaitForWindowActive(box->window()));
        }
        const QWidget* focused = QApplication::focusWidget();
        QCOMPARE(focused ? focused->objectName() : QStringLiteral("nothing"), focus);
        play("axbE");
        QCOMPARE(rows(), log);
        if (intoBox)
            QCOMPARE(box->text(), QStringLiteral("axb"));
    }

    // A key is a character, also beyond the Basic Multilingual Plane: one slot labelled with it,
    // upper case per character; a key event typing it counts once and logs it. 😁 shares the
    // first UTF-16 unit of 😀 and is no key.
    void charactersBeyondTheBasicPlane() {
        QVERIFY(setUp("a😀éß𐐨", "100"));
        play("S");
        for (const QString typed : {"😀", "a", "😀", "😁"})
            QTest::sendKeyEvent(QTest::Click, QApplication::focusWindow(), Qt::Key_unknown, typed,
                                Qt::NoModifier);
        QString shown;
        for (std::size_t i = 1; i <= 6; ++i)
            shown += w_->Label5[i]->text() + w_->Label13[i]->text();
        QCOMPARE(shown + w_->Label3->text(), "A 1😀 2Éhitßhit𐐀hit-hit😁");
        QCOMPARE(rows(), (QStringList{" 0:  0|😀", " 0:  0|a", " 0:  0|😀"}));
    }

    // A key character wider than its label is drawn smaller, whole, in the label's own box; one
    // that fits keeps the size.
    void wideKeyCharactersFitTheirLabels() {
        QList<QRect> boxes;
        for (std::size_t i = 1; i <= 6; ++i)
            boxes << w_->Label5[i]->geometry();
        QVERIFY(setUp("iWM😀ßW", "100"));
        for (std::size_t i = 1; i <= 6; ++i) {
            const QLabel* key = w_->Label5[i];
            const QFontMetricsF metrics(key->font());
            const QRectF ink = metrics.boundingRect(key->text());
            QVERIFY2(ink.left() >= 0 &&
                         std::max(ink.right(), metrics.horizontalAdvance(key->text())) <=
                             key->contentsRect().width(),
                     qPrintable(key->text()));
            QCOMPARE(key->geometry(), boxes.at(static_cast<qsizetype>(i - 1)));
        }
        QCOMPARE(w_->Label5[1]->font().pointSizeF(), 20.25);
        QCOMPARE(w_->Label5[6]->font().pointSizeF(), 20.25);
        QVERIFY(w_->Label5[2]->font().pointSizeF() < 20.25);
    }

    // "Yes": the Save As dialog, the worksheet of the record and the controls, ".xlsx" appended.
    // The next session's save fails, is cancelled, then names a file whose extended name exists
    // and is not replaced unasked; while unsaved nothing closes unasked; "Save As..." saves it.
    void yesSavesTheWorkbookThroughEveryFailure() {
        QTemporaryDir folder;
        const QString script = "Saab" + QString(20, u'.') + u'a' + QString(10, u'.');
        QVERIFY(setUp("ab", "30", 10));
        play(script);
        fakes_->dialogs.answers = {folder.filePath("data.xls")};
        w_->command7Click();
        QCOMPARE(fakes_->dialogs.calls.value(0).request.proposedName, "P07-4-baseline-KT.xlsx");
        QCOMPARE(fakes_->workbooks.paths, QStringList{folder.filePath("data.xls.xlsx")});
        auto* sheet = w_->findChild<WorksheetWindow*>();
        QVERIFY(sheet && !sheet->isVisible()); // shown the names and modes, closed when saved
        const QAbstractItemModel* grid = sheet->grid->model();
        QCOMPARE(grid->index(14, 5).data().toString() + grid->index(15, 5).data().toString(),
                 QStringLiteral("SeatedOn/Off"));
        QVERIFY(sheet->grid->columnSpan(0, 0) > 1); // "Participant's ID :   P07" shown whole
        QCOMPARE(fakes_->messages.informed + fakes_->messages.asked, QStringList());
        play("S"); // Confirm
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        w_->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(w_.get()));

        QFile existing(folder.filePath("results.xlsx"));
        QVERIFY(existing.open(QIODevice::WriteOnly));
        QVERIFY(setUp("ab", "30", 10));
        play(script);
        fakes_->workbooks.succeed = false;
        fakes_->dialogs.answers = {folder.filePath("full-disk"), "", folder.filePath("results")};
        w_->command7Click();
        WorksheetWindow* unsaved = w_->findChild<WorksheetWindow*>();
        unsaved->saveAsButton->click();
        unsaved->saveAsButton->click();
        QCOMPARE(fakes_->workbooks.paths.constLast(), folder.filePath("full-disk.xlsx"));
        // The second session's hits start again from none: a presses twice in interval 1.
        QCOMPARE(unsaved->grid->model()->index(23, 4).data().toString(), QStringLiteral("2"));
        QVERIFY(unsaved->isVisible() && !unsaved->close() && !w_->close());
        const QStringList messages{"An error has occured.\r\nData were not saved.",
                                   "Data were not saved.",
                                   "Data were not saved.",
                                   "results.xlsx already exists.\r\nDo you want to replace it?",
                                   kCloseUnsavedQuestion,
                                   kCloseUnsavedQuestion};
        QCOMPARE(fakes_->messages.informed + fakes_->messages.asked, messages);
        fakes_->workbooks.succeed = true;
        fakes_->dialogs.answers = {existing.fileName()};
        unsaved->saveAsButton->click();
        QCOMPARE(fakes_->workbooks.paths.constLast(), existing.fileName());
        QCOMPARE(fakes_->messages.informed + fakes_->messages.asked, messages); // nothing more
        QVERIFY(!unsaved->isVisible());
    }

    void yesWithoutASessionKeepsNothing() {
        w_->command7Click();
        QVERIFY(fakes_->dialogs.calls.isEmpty() && !w_->findChild<WorksheetWindow*>());
        QCOMPARE(fakes_->messages.informed,
                 QStringList{"Excel does not exist.\r\nData were not saved."});
    }

    // Saves over set1.p holding "old", the failed write with a full disk. Questions are answered no
    // where the save fails (only set1, extended to set1.p, may ask); no temporary file may remain.
    void save_data() {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QStringList>("messages");
        QTest::addColumn<QString>("written");
        QTest::newRow("extended name replaced") << "set1" << QStringList() << "set1.p";
        QTest::newRow("extended name kept") << "set1" << kNotSaved << "";
        QTest::newRow("disk full") << "set1.p" << kWriteFailed << "";
    }

    void save() {
        QFETCH(QString, typed);
        QFETCH(QStringList, messages);
        QFETCH(QString, written);
        setControls(kSetUp);
        QTemporaryDir dir;
        QFile old(dir.filePath("set1.p"));
        QVERIFY(old.open(QFile::WriteOnly) && old.write("old") == 3 && old.flush());
        fakes_->messages.answerYes = messages.isEmpty();
        rlimit saved{};
        getrlimit(RLIMIT_FSIZE, &saved);
        const rlimit limit{messages == kWriteFailed ? 32 : saved.rlim_cur, saved.rlim_max};
        std::signal(SIGXFSZ, SIG_IGN); // a write past the limit fails instead of ending the test
        setrlimit(RLIMIT_FSIZE, &limit);
        const QString proposed = click(w_->Command6, dir, typed);
        setrlimit(RLIMIT_FSIZE, &saved);

        QCOMPARE(proposed, QStringLiteral("A-0"));
        QCOMPARE(fakes_->messages.informed, messages);
        QVERIFY(!w_->Command6->isEnabled());
        for (const QString& name : QDir(dir.path()).entryList(QDir::Files | QDir::Hidden)) {
            QFile file(dir.filePath(name));
            QVERIFY(file.open(QIODevice::ReadOnly));
            QCOMPARE(file.readAll(), name == written ? fileOf(kLines) : "old");
        }
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
        setControls(kOld);
        QTemporaryDir dir;
        QFile file(dir.filePath(name.isEmpty() ? "SET1.P" : name));
        QVERIFY(file.open(QFile::WriteOnly) && file.write(bytes) == bytes.size() && file.flush());
        click(w_->Command5, dir, name);
        QCOMPARE(fakes_->messages.informed, messages);
        QCOMPARE(controls(), expected);
        QCOMPARE(w_->record().intervalLength, expected[4] == "7.5" ? 7.5 : 5.0); // change handling
    }
};

QTEST_MAIN(TestMainWindow)
#include "test_mainwindow.moc"
