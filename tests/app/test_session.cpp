// A session run through the window's own controls: the session control buttons, the clock ticks,
// key capture and the close question.
#include "app/mainwindow.h"
#include "support/fakeplatform.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

using namespace quorvia;

class TestSession : public QObject {
    Q_OBJECT

    std::unique_ptr<test::FakePlatform> fakes_;
    std::unique_ptr<MainWindow> w_;

    // Fills in session 4 and confirms the keys with "Set" and "Check Keys"; slot 2 is On/Off.
    bool setUp(const QString& keys, const QString& duration, int interval = 30,
               Qt::CheckState beep = Qt::Checked) {
        for (std::size_t i = 0; i < 4; ++i)
            w_->Text2.at(i)->setText(QStringList{"P07", "4", "baseline", "KT"}.at(qsizetype(i)));
        w_->Text3->setText("2026/12/06");
        w_->Combo1->setEditText(QString::number(interval));
        w_->Text22->setText(duration);
        w_->Text1->setText(keys);
        w_->Check2->setCheckState(beep);
        w_->Command3->click();
        w_->Check3[2]->setChecked(true);
        w_->Command3->click();
        return w_->Command1->isEnabled() && w_->Command1->text() == QLatin1String("Start");
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
    // caption, the controls enabled and what runs, and the beeps so far.
    QString displays() const {
        const bool red = w_->Label1->palette().color(QPalette::WindowText) == QColor(255, 0, 0);
        QStringList out{w_->Text2[1]->text(), w_->Label1->text() + (red ? " in red" : "")};
        for (const QLabel* l : {w_->Label2, w_->Label10, w_->Label21, w_->Label25, w_->Label4})
            out << l->text();
        QStringList on;
        for (const char* name :
             {"Command1", "Command2", "Command3", "Command4", "Command6", "Frame1", "Frame3"})
            if (w_->findChild<QWidget*>(name)->isEnabled())
                on << name;
        on << (w_->Timer1->isActive() ? "Timer1" : "") << (w_->keyCaptureOn() ? "keys" : "");
        on.removeAll(QString());
        out << w_->Command1->text() << on.join(u' ') << QString::number(fakes_->beeper.beeps);
        return out.join(u'|');
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

    // Sessions ticked to their end: after every tick the clock, the interval and the beeps (the
    // interval ends at each multiple of its length below the duration), and the end row.
    void sessionRunsToItsEnd_data() {
        QTest::addColumn<QString>("duration");
        QTest::addColumn<int>("interval");
        QTest::addColumn<Qt::CheckState>("beepBox");
        QTest::addColumn<int>("ends"); // interval ends in the session
        QTest::addColumn<QString>("lastClock");
        QTest::newRow("100 s / 30 s") << "100" << 30 << Qt::Checked << 3 << " 1:  40";
        QTest::newRow("600 s / 30 s") << "600" << 30 << Qt::Checked << 19 << " 10:  0";
        QTest::newRow("beep box grey") << "100" << 30 << Qt::PartiallyChecked << 3 << " 1:  40";
        QTest::newRow("shorter than the interval") << "5" << 60 << Qt::Checked << 0 << " 0:  5";
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
        const QStringList esc10{" 0:  3|a", " 0:  10|Session Paused"};
        QTest::newRow("Start") << 100 << "S" << QStringList{}
                               << "4|Recording| 0:\u30000| 1|08:30:15.99|Time|Times Hit|Hit ESC to "
                                  "pause|Command1 Timer1 keys|0"
                               << true;
        QTest::newRow("click on Hit ESC to pause")
            << 100 << "S...aM" << QStringList{" 0:  3|a"}
            << "4|Recording| 0:  3| 1|08:30:15.99|Time| 1|Hit ESC to pause|Timer1 keys|0" << true;
        QTest::newRow("ESC at 0:10")
            << 100 << "S...aM.......E" << esc10
            << "4|Stopped| 0:  10| 1|08:30:15.99|08:30:25.99| 2|Resume|Command1 Command2|0" << true;
        QTest::newRow("ESC at 0:20, Terminate")
            << 100 << "S...aM.......ES..........ET"
            << esc10 + QStringList{" 0:  20|Session Paused", "end 0:  20|Session Terminated"}
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
        QCOMPARE(displays(), shown);
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
            QCOMPARE(displays(), shown);
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

    // Characters, not keys: Shift+a arrives as "A"; keys that type nothing never arrive.
    void charactersNotKeys() {
        QVERIFY(setUp("aB", "100"));
        play("S");
        QTest::keyClick(w_->windowHandle(), 'A', Qt::ShiftModifier);
        QCOMPARE(w_->Label3->text(), QStringLiteral("A"));
        QTest::keyClick(w_->windowHandle(), 'B', Qt::ShiftModifier);
        for (Qt::Key key : {Qt::Key_Left, Qt::Key_F1, Qt::Key_Shift, Qt::Key_Control})
            QTest::keyClick(w_->windowHandle(), key);
        QCOMPARE(w_->Label3->text() + w_->Label4->text(), QStringLiteral("B 1"));
        QCOMPARE(rows(), QStringList{" 0:  0|B"});
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

    // The On/Off slot 2 shows On, Off, On; count slot 1 toggles unseen from its set-up caption.
    void onOffSlotToggles() {
        QVERIFY(setUp("ab", "100"));
        QStringList shown{w_->Label9[2]->text()};
        for (const char* script : {"Sb", "b", "ba"}) {
            play(script);
            shown << w_->Label9[2]->text();
        }
        shown << w_->Label13[2]->text() + w_->Label9[1]->text() + w_->Label13[1]->text();
        QCOMPARE(shown, QStringList({"Off", "On", "Off", "On", " 3On 1"}));
    }
};

QTEST_MAIN(TestSession)
#include "test_session.moc"
