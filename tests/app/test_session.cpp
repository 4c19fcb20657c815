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

namespace {

struct Setup {
    QString keys = QStringLiteral("ab");
    QString duration = QStringLiteral("100");
    QString interval = QStringLiteral("30");
    QString sessionNumber = QStringLiteral("1");
    Qt::CheckState beep = Qt::Unchecked;
    QList<int> onOffSlots;
};

QColor foreColour(const QLabel* label) {
    return label->palette().color(QPalette::Active, QPalette::WindowText);
}

// The clock text of t recorded seconds, written out from its rule: blank-led minutes, ": ",
// blank-led seconds.
QString clockOf(int t) {
    return QStringLiteral(" %1:  %2").arg(t / 60).arg(t % 60);
}

} // namespace

class TestSession : public QObject {
    Q_OBJECT

    std::unique_ptr<test::FakePlatform> fakes_;
    std::unique_ptr<MainWindow> w_;
    bool viaWindowSystem_ = true;

    // Fills the set-up frame, presses "Set", ticks the On/Off modes and presses "Check Keys".
    bool setUp(const Setup& s = {}) {
        w_->Text2[0]->setText(QStringLiteral("P07"));
        w_->Text2[1]->setText(s.sessionNumber);
        w_->Text2[2]->setText(QStringLiteral("baseline"));
        w_->Text2[3]->setText(QStringLiteral("KT"));
        w_->Text3->setText(QStringLiteral("2026/12/06"));
        w_->Combo1->setEditText(s.interval);
        w_->Text22->setText(s.duration);
        w_->Text1->setText(s.keys);
        w_->Check2->setCheckState(s.beep);
        w_->Command3->click();
        if (w_->Command3->text() != QLatin1String("Check Keys"))
            return false;
        for (int slot : s.onOffSlots)
            w_->Check3[static_cast<std::size_t>(slot)]->setChecked(true);
        w_->Command3->click();
        return w_->Command1->isEnabled() && w_->Command1->text() == QLatin1String("Start");
    }

    static Setup shortSession() {
        Setup s;
        s.duration = QStringLiteral("5");
        return s;
    }

    void ticks(int count) {
        for (int i = 0; i < count; ++i)
            w_->timer1Timer();
    }

    // Types as the keyboard would: through the window system to the window, which hands the event
    // to its focus widget; or straight to the focus widget.
    QWidget* focusTarget() const {
        QWidget* focus = QApplication::focusWidget();
        return focus ? focus : w_.get();
    }
    void type(char c, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
        if (viaWindowSystem_)
            QTest::keyClick(w_->windowHandle(), c, modifiers);
        else
            QTest::keyClick(focusTarget(), c, modifiers);
    }
    void typeKey(Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
        if (viaWindowSystem_)
            QTest::keyClick(w_->windowHandle(), key, modifiers);
        else
            QTest::keyClick(focusTarget(), key, modifiers);
    }
    void escape() { typeKey(Qt::Key_Escape); }

    // The displays and states that a question must leave as they were.
    QStringList snapshot() const {
        auto flag = [](bool on) {
            return on ? QStringLiteral("on") : QStringLiteral("off");
        };
        return {w_->Command1->text(),
                flag(w_->Command1->isEnabled()),
                flag(w_->Command2->isEnabled()),
                flag(w_->Frame3->isEnabled()),
                w_->Label1->text(),
                w_->Label2->text(),
                w_->Label4->text(),
                flag(w_->Timer1->isActive()),
                flag(w_->keyCaptureOn()),
                QString::number(w_->record().nextEntry)};
    }

private slots:
    void initTestCase() { QApplication::setQuitOnLastWindowClosed(false); }

    void init() {
        fakes_ = std::make_unique<test::FakePlatform>();
        fakes_->clock.time = QTime(8, 30, 15, 999);
        w_ = std::make_unique<MainWindow>(fakes_->platform);
        w_->startUp();
        w_->show();
        w_->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(w_.get()));
        viaWindowSystem_ = true;
    }
    void cleanup() {
        w_.reset();
        fakes_.reset();
    }

    void startShowsTheRecordingState() {
        QVERIFY(setUp());
        const QString clockBefore = w_->Label2->text();
        w_->Command1->click();
        QCOMPARE(w_->Label10->text(), QStringLiteral(" 1"));
        QCOMPARE(w_->Label1->text(), QStringLiteral("Recording"));
        QCOMPARE(w_->Command1->text(), QStringLiteral("Hit ESC to pause"));
        QVERIFY(w_->Command1->isEnabled());
        QVERIFY(!w_->Command2->isEnabled());
        QVERIFY(!w_->Command4->isEnabled());
        QVERIFY(!w_->Command6->isEnabled());
        QVERIFY(!w_->Frame3->isEnabled());
        QVERIFY(w_->keyCaptureOn());
        QVERIFY(w_->Timer1->isActive());
        QCOMPARE(w_->Label21->text(), QStringLiteral("08:30:15.99"));
        QCOMPARE(w_->Label25->text(), QStringLiteral("Time"));
        QCOMPARE(w_->Label2->text(), clockBefore); // not written until the first tick
        QCOMPARE(w_->Label4->text(), QStringLiteral("Times Hit"));

        w_->timer1Timer();
        QCOMPARE(w_->Label2->text(), QStringLiteral(" 0:  1"));
        QCOMPARE(w_->Label10->text(), QStringLiteral(" 1"));
    }

    // Sessions run tick by tick to their end: clock and interval on every tick, the beeps, and
    // what the last tick shows.
    void wholeSessionRunsToFinished_data() {
        QTest::addColumn<QString>("duration");
        QTest::addColumn<int>("interval");
        QTest::addColumn<Qt::CheckState>("beepBox");
        QTest::addColumn<int>("lastTick");
        QTest::addColumn<int>("beeps");
        QTest::addColumn<QString>("lastClock");
        QTest::addColumn<QString>("lastInterval");
        QTest::newRow("100 s / 30 s, beep") << "100" << 30 << Qt::Checked << 100 << 3 << " 1:  40"
                                            << " 4";
        QTest::newRow("600 s / 30 s, beep") << "600" << 30 << Qt::Checked << 600 << 19 << " 10:  0"
                                            << " 20";
        QTest::newRow("beep box clear") << "100" << 30 << Qt::Unchecked << 100 << 0 << " 1:  40"
                                        << " 4";
        QTest::newRow("beep box grey")
            << "100" << 30 << Qt::PartiallyChecked << 100 << 0 << " 1:  40"
            << " 4";
        QTest::newRow("duration shorter than the interval")
            << "5" << 60 << Qt::Checked << 5 << 0 << " 0:  5"
            << " 1";
        QTest::newRow("10.5 s") << "10.5" << 5 << Qt::Checked << 11 << 2 << " 0:  11"
                                << " 3";
    }
    void wholeSessionRunsToFinished() {
        QFETCH(QString, duration);
        QFETCH(int, interval);
        QFETCH(Qt::CheckState, beepBox);
        QFETCH(int, lastTick);
        QFETCH(int, beeps);
        QFETCH(QString, lastClock);
        QFETCH(QString, lastInterval);

        Setup s;
        s.duration = duration;
        s.interval = QString::number(interval);
        s.beep = beepBox;
        QVERIFY(setUp(s));
        w_->Command1->click();
        const QString started = w_->Label21->text();
        for (int t = 1; t < lastTick; ++t) {
            w_->timer1Timer();
            if (w_->Label2->text() != clockOf(t) ||
                w_->Label10->text() != QStringLiteral(" %1").arg(t / interval + 1) ||
                !w_->Timer1->isActive() || w_->Label1->text() != QLatin1String("Recording"))
                QFAIL(qPrintable(QStringLiteral("tick %1 shows %2 in interval %3")
                                     .arg(t)
                                     .arg(w_->Label2->text(), w_->Label10->text())));
            if (beepBox == Qt::Checked)
                QCOMPARE(fakes_->beeper.beeps, t / interval);
        }
        fakes_->clock.time = QTime(8, 32, 6, 5);
        w_->timer1Timer();

        QCOMPARE(fakes_->beeper.beeps, beeps);
        QCOMPARE(w_->Label2->text(), lastClock);
        QCOMPARE(w_->Label10->text(), lastInterval);
        QCOMPARE(w_->Label1->text(), QStringLiteral("Finished"));
        QCOMPARE(foreColour(w_->Label1), QColor(255, 0, 0));
        QCOMPARE(w_->Label25->text(), QStringLiteral("08:32:06.00"));
        QCOMPARE(w_->Label21->text(), started);
        QCOMPARE(w_->Command1->text(), QStringLiteral("Confirm"));
        QVERIFY(!w_->Command1->isEnabled());
        QVERIFY(!w_->Command2->isEnabled());
        QVERIFY(w_->Frame3->isEnabled());
        QVERIFY(!w_->Timer1->isActive());
        QVERIFY(!w_->keyCaptureOn());
        const SessionRecord& r = w_->record();
        QCOMPARE(r.nextEntry, qint64(1));
        QCOMPARE(r.entryTime(1), lastClock);
        QCOMPARE(r.entryEvent(1), QStringLiteral("Session Finished"));
    }

    void startEscResumeEscTerminate() {
        QVERIFY(setUp());
        w_->Command1->click();
        ticks(3);
        type('a');
        QCOMPARE(w_->Label3->text(), QStringLiteral("a"));
        QCOMPARE(w_->Label4->text(), QStringLiteral(" 1"));
        QCOMPARE(w_->Label13[1]->text(), QStringLiteral(" 1"));
        ticks(7);

        fakes_->clock.time = QTime(8, 30, 26, 120);
        escape();
        QCOMPARE(w_->Label1->text(), QStringLiteral("Stopped"));
        QCOMPARE(w_->Label25->text(), QStringLiteral("08:30:26.12"));
        QCOMPARE(w_->Label4->text(), QStringLiteral(" 2"));
        QCOMPARE(w_->Command1->text(), QStringLiteral("Resume"));
        QVERIFY(w_->Command1->isEnabled());
        QVERIFY(w_->Command2->isEnabled());
        QVERIFY(!w_->Timer1->isActive());
        QVERIFY(!w_->keyCaptureOn());
        QVERIFY(!w_->Frame3->isEnabled());
        QCOMPARE(w_->Label2->text(), QStringLiteral(" 0:  10"));

        fakes_->clock.time = QTime(8, 31, 0, 0);
        w_->Command1->click(); // Resume
        QCOMPARE(w_->Label1->text(), QStringLiteral("Recording"));
        QCOMPARE(w_->Command1->text(), QStringLiteral("Hit ESC to pause"));
        QVERIFY(!w_->Command1->isEnabled());
        QVERIFY(!w_->Command2->isEnabled());
        QVERIFY(w_->Timer1->isActive());
        QVERIFY(w_->keyCaptureOn());
        QCOMPARE(w_->Label25->text(), QStringLiteral("08:30:26.12")); // keeps the pause time
        QCOMPARE(w_->Label21->text(), QStringLiteral("08:30:15.99"));
        QCOMPARE(w_->record().nextEntry, qint64(3)); // resuming writes no entry
        ticks(10);

        fakes_->clock.time = QTime(8, 31, 10, 500);
        escape();
        QCOMPARE(w_->Label4->text(), QStringLiteral(" 3"));
        QCOMPARE(w_->Label25->text(), QStringLiteral("08:31:10.50"));
        QCOMPARE(w_->Command1->text(), QStringLiteral("Resume"));
        QVERIFY(w_->Command1->isEnabled());

        w_->Command2->click(); // Terminate
        QVERIFY(w_->Frame3->isEnabled());
        QCOMPARE(w_->Label4->text(), QStringLiteral(" 0"));
        QVERIFY(!w_->Command2->isEnabled());
        QCOMPARE(w_->Command1->text(), QStringLiteral("Confirm"));
        QVERIFY(!w_->Command1->isEnabled());
        QCOMPARE(w_->Label1->text(), QStringLiteral("Stopped"));
        QCOMPARE(w_->Label25->text(), QStringLiteral("08:31:10.50"));
        QCOMPARE(w_->Label2->text(), QStringLiteral(" 0:  20"));
        QVERIFY(!w_->Timer1->isActive());

        const SessionRecord& r = w_->record();
        const QStringList expected{" 0:  3|a", " 0:  10|Session Paused", " 0:  20|Session Paused",
                                   " 0:  20|Session Terminated"};
        QStringList rows;
        for (qint64 n = 1; n <= r.nextEntry; ++n)
            rows << r.entryTime(n) + QLatin1Char('|') + r.entryEvent(n);
        QCOMPARE(rows, expected);
        QCOMPARE(r.nextEntry, qint64(4));
    }

    void pauseAt29AndResume() {
        Setup s;
        s.beep = Qt::Checked;
        QVERIFY(setUp(s));
        w_->Command1->click();
        ticks(29);
        escape();
        QCOMPARE(w_->Label2->text(), QStringLiteral(" 0:  29"));
        QCOMPARE(w_->record().entryTime(1), QStringLiteral(" 0:  29"));
        QCOMPARE(w_->record().entryEvent(1), QStringLiteral("Session Paused"));
        QVERIFY(!w_->Timer1->isActive());
        QCOMPARE(fakes_->beeper.beeps, 0);

        w_->Command1->click();
        QVERIFY(w_->Timer1->isActive());
        w_->timer1Timer(); // the first tick after the resume ends interval 1
        QCOMPARE(w_->Label2->text(), QStringLiteral(" 0:  30"));
        QCOMPARE(w_->Label10->text(), QStringLiteral(" 2"));
        QCOMPARE(fakes_->beeper.beeps, 1);
        type('b');
        QCOMPARE(w_->record().intervalHits(2, 2), qint64(1));
    }

    // "Confirm" after the save decision returns the window to set-up with the next session number.
    void confirmAfterSession4_data() {
        QTest::addColumn<bool>("terminated");
        QTest::newRow("finished session") << false;
        QTest::newRow("terminated without a key") << true;
    }
    void confirmAfterSession4() {
        QFETCH(bool, terminated);
        Setup s;
        s.sessionNumber = QStringLiteral("4");
        s.duration = QStringLiteral("5");
        QVERIFY(setUp(s));
        w_->Command1->click();
        ticks(terminated ? 2 : 5);
        if (terminated) {
            escape();
            w_->Command2->click();
        }
        QVERIFY(w_->Frame3->isEnabled());
        const QString endEvent =
            terminated ? QStringLiteral("Session Terminated") : QStringLiteral("Session Finished");
        QCOMPARE(w_->record().entryEvent(w_->record().nextEntry), endEvent);

        w_->Command8->click(); // "No"
        QVERIFY(w_->Command1->isEnabled());
        QCOMPARE(w_->Command1->text(), QStringLiteral("Confirm"));
        w_->Command1->click();

        QCOMPARE(w_->Text2[1]->text(), QStringLiteral("5"));
        QCOMPARE(w_->record().sessionNumber, std::int16_t(5));
        QCOMPARE(w_->Label2->text(), QStringLiteral(" 0: 0"));
        QCOMPARE(w_->Label10->text(), QStringLiteral("interval"));
        QCOMPARE(w_->Label1->text(), QStringLiteral("Set"));
        QCOMPARE(foreColour(w_->Label1), QColor(0, 0, 0));
        QCOMPARE(w_->Label21->text(), QStringLiteral("Time"));
        QCOMPARE(w_->Label25->text(), QStringLiteral("Time"));
        QCOMPARE(w_->Command1->text(), QStringLiteral("Start"));
        QVERIFY(!w_->Command1->isEnabled());
        QCOMPARE(w_->Command3->text(), QStringLiteral("Set"));
        QVERIFY(w_->Command3->isEnabled());
        QVERIFY(!w_->Command4->isEnabled());
        QVERIFY(w_->Frame1->isEnabled());
        // The record keeps the last session until the next key confirmation.
        QCOMPARE(w_->record().entryEvent(w_->record().nextEntry), endEvent);

        // The next session starts from the raised number.
        QVERIFY(setUp(s));
        QCOMPARE(w_->record().sessionNumber, std::int16_t(4));
    }

    void clickOnHitEscToPause() {
        QVERIFY(setUp());
        QTest::mouseClick(w_->Command1, Qt::LeftButton); // Start
        ticks(3);
        QTest::mouseClick(w_->Command1, Qt::LeftButton); // "Hit ESC to pause"
        QCOMPARE(w_->Command1->text(), QStringLiteral("Hit ESC to pause"));
        QVERIFY(!w_->Command1->isEnabled());
        QVERIFY(!w_->Command2->isEnabled());
        QCOMPARE(w_->Label1->text(), QStringLiteral("Recording"));
        QVERIFY(w_->Timer1->isActive());
        QVERIFY(w_->keyCaptureOn());
        QCOMPARE(w_->record().nextEntry, qint64(1));
        w_->timer1Timer();
        QCOMPARE(w_->Label2->text(), QStringLiteral(" 0:  4"));
        type('a');
        QCOMPARE(w_->record().entryTime(1), QStringLiteral(" 0:  4"));
        escape();
        QCOMPARE(w_->Command1->text(), QStringLiteral("Resume"));
        QVERIFY(w_->Command1->isEnabled());
    }

    // Every character reaches the handler exactly once, whichever widget has the focus, although
    // an application-wide filter sees a key event again at each parent it is passed on to.
    void keysReachTheHandlerOnce_data() {
        QTest::addColumn<QString>("focus");
        QTest::addColumn<bool>("viaWindowSystem");
        for (bool via : {true, false}) {
            const char* how = via ? "through the window" : "to the focus widget";
            QTest::addRow("nothing focused, %s", how) << "none" << via;
            QTest::addRow("Start clicked with the mouse, %s", how) << "button" << via;
            QTest::addRow("text box focused before Start, %s", how) << "text box" << via;
        }
    }
    void keysReachTheHandlerOnce() {
        QFETCH(QString, focus);
        QFETCH(bool, viaWindowSystem);
        viaWindowSystem_ = viaWindowSystem;
        QVERIFY(setUp());
        QLineEdit* box = w_->Text2[0];
        if (focus == QLatin1String("text box")) {
            // The set press locks the parameter frame, so normally no text box can be typed in
            // during a session; it is opened again here to see that its typing is left to it.
            w_->Frame1->setEnabled(true);
            box->clear();
            box->setFocus();
        }
        if (focus == QLatin1String("button"))
            QTest::mouseClick(w_->Command1, Qt::LeftButton);
        else
            w_->Command1->click();
        QWidget* expectedFocus = nullptr;
        if (focus == QLatin1String("button"))
            expectedFocus = w_->Command1;
        else if (focus == QLatin1String("text box"))
            expectedFocus = box;
        QCOMPARE(QApplication::focusWidget(), expectedFocus);

        type('a');
        QCOMPARE(w_->Label3->text(), QStringLiteral("a"));
        QCOMPARE(w_->Label4->text(), QStringLiteral(" 1"));
        QCOMPARE(w_->Label9[1]->text(), QStringLiteral("On")); // toggled once, not twice
        type('x');
        QCOMPARE(w_->Label3->text(), QStringLiteral("x"));
        QCOMPARE(w_->Label4->text(), QStringLiteral(" 2"));
        QCOMPARE(w_->Label9[0]->text(), QStringLiteral("On"));
        type('b');
        QCOMPARE(w_->Label4->text(), QStringLiteral(" 2"));
        escape();
        QCOMPARE(w_->Label4->text(), QStringLiteral(" 3"));
        QCOMPARE(w_->Label9[0]->text(), QStringLiteral("Off"));
        QCOMPARE(w_->Command1->text(), QStringLiteral("Resume"));

        const SessionRecord& r = w_->record();
        QCOMPARE(r.nextEntry, qint64(4));
        QCOMPARE(r.entryEvent(1), QStringLiteral("a"));
        QCOMPARE(r.entryEvent(2), QStringLiteral("b"));
        QCOMPARE(r.entryEvent(3), QStringLiteral("Session Paused"));
        QCOMPARE(r.keyHits(1), qint64(1));
        QCOMPARE(r.keyHits(2), qint64(1));
        if (focus == QLatin1String("text box"))
            QCOMPARE(box->text(), QStringLiteral("axb")); // not swallowed
    }

    // A space typed while the focused "Hit ESC to pause" button has the focus is handled and then
    // presses the button, as a click on it would.
    void theFocusedButtonStillGetsTheKey() {
        QVERIFY(setUp());
        QTest::mouseClick(w_->Command1, Qt::LeftButton);
        QCOMPARE(QApplication::focusWidget(), w_->Command1);
        type(' ');
        QCOMPARE(w_->Label3->text(), QStringLiteral(" "));
        QCOMPARE(w_->Label4->text(), QStringLiteral(" 1"));
        QVERIFY(!w_->Command1->isEnabled());
        QVERIFY(w_->Timer1->isActive());
        QCOMPARE(w_->Label1->text(), QStringLiteral("Recording"));
    }

    // Characters, not keys: the shifted letter arrives as the capital, and keys that type nothing
    // never reach the handler.
    void charactersNotKeys() {
        Setup s;
        s.keys = QStringLiteral("aB");
        QVERIFY(setUp(s));
        w_->Command1->click();
        type('A', Qt::ShiftModifier);
        QCOMPARE(w_->Label3->text(), QStringLiteral("A"));
        QCOMPARE(w_->Label9[0]->text(), QStringLiteral("On"));
        type('B', Qt::ShiftModifier);
        QCOMPARE(w_->Label3->text(), QStringLiteral("B"));
        QCOMPARE(w_->record().keyHits(2), qint64(1));
        QCOMPARE(w_->Label9[2]->text(), QStringLiteral("On"));

        for (Qt::Key key : {Qt::Key_Left, Qt::Key_Down, Qt::Key_F1, Qt::Key_Home, Qt::Key_Shift,
                            Qt::Key_Control, Qt::Key_CapsLock})
            typeKey(key);
        QCOMPARE(w_->Label3->text(), QStringLiteral("B"));
        QCOMPARE(w_->Label4->text(), QStringLiteral(" 1"));
        QCOMPARE(w_->Label9[0]->text(), QStringLiteral("On"));
        QCOMPARE(w_->Label9[2]->text(), QStringLiteral("On"));
        QCOMPARE(w_->record().nextEntry, qint64(2));

        type('b');
        QCOMPARE(w_->Label3->text(), QStringLiteral("b"));
        QCOMPARE(w_->record().keyHits(2), qint64(1));
        QCOMPARE(w_->record().keyHits(1), qint64(0));
    }

    void slotDisplaysFollowTheMode() {
        Setup s;
        s.onOffSlots = {2};
        QVERIFY(setUp(s));
        QCOMPARE(w_->Label9[2]->text(), QStringLiteral("Off"));
        w_->Command1->click();
        QStringList onOff;
        for (int i = 0; i < 3; ++i) {
            type('b');
            onOff << w_->Label9[2]->text();
        }
        QCOMPARE(onOff, QStringList({"On", "Off", "On"}));
        QCOMPARE(w_->Label13[2]->text(), QStringLiteral(" 3")); // written, though not seen
        type('a');
        QCOMPARE(w_->Label13[1]->text(), QStringLiteral(" 1"));
        QCOMPARE(w_->Label9[1]->text(), QStringLiteral("On")); // toggles unseen
        QCOMPARE(w_->Label4->text(), QStringLiteral(" 4"));
    }

    // Characters count only while recording and only while the window is the active window.
    void keysCountOnlyWhileRecording() {
        QVERIFY(setUp(shortSession()));
        type('a');
        QCOMPARE(w_->Label3->text(), QStringLiteral("Input"));

        w_->Command1->click();
        type('a');
        QCOMPARE(w_->record().nextEntry, qint64(2));

        {
            QLineEdit other;
            other.show();
            other.activateWindow();
            QVERIFY(QTest::qWaitForWindowActive(&other));
            QTest::keyClick(other.windowHandle(), 'b');
            QCOMPARE(other.text(), QStringLiteral("b"));
            QCOMPARE(w_->Label3->text(), QStringLiteral("a"));
            QCOMPARE(w_->record().nextEntry, qint64(2));
        }
        w_->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(w_.get()));

        escape();
        QCOMPARE(w_->record().nextEntry, qint64(3));
        type('b');
        escape(); // a second ESC while paused does nothing
        QCOMPARE(w_->Label3->text(), QString(QChar(27)));
        QCOMPARE(w_->record().nextEntry, qint64(3));

        w_->Command1->click();
        type('b');
        QCOMPARE(w_->record().nextEntry, qint64(4));
        ticks(5);
        QCOMPARE(w_->Label1->text(), QStringLiteral("Finished"));
        type('a');
        QCOMPARE(w_->Label3->text(), QStringLiteral("b"));
        QCOMPARE(w_->record().entryEvent(4), QStringLiteral("Session Finished"));
    }

    // Closing asks while session data could still be lost, and only then.
    void closeQuestion_data() {
        QTest::addColumn<QString>("state");
        QTest::addColumn<bool>("answerYes");
        QTest::addColumn<bool>("asks");
        QTest::newRow("set-up") << "set-up" << false << false;
        QTest::newRow("ready") << "ready" << false << false;
        QTest::newRow("recording, No") << "recording" << false << true;
        QTest::newRow("recording, Yes") << "recording" << true << true;
        QTest::newRow("paused, No") << "paused" << false << true;
        QTest::newRow("paused, Yes") << "paused" << true << true;
        QTest::newRow("terminated, save pending, No") << "terminated" << false << true;
        QTest::newRow("finished, save pending, No") << "finished" << false << true;
        QTest::newRow("finished, save pending, Yes") << "finished" << true << true;
        QTest::newRow("awaiting confirm") << "awaiting confirm" << false << false;
        QTest::newRow("set-up after Confirm") << "confirmed" << false << false;
    }
    void closeQuestion() {
        QFETCH(QString, state);
        QFETCH(bool, answerYes);
        QFETCH(bool, asks);

        if (state != QLatin1String("set-up"))
            QVERIFY(setUp(shortSession()));
        const QStringList running{"recording", "paused",           "terminated",
                                  "finished",  "awaiting confirm", "confirmed"};
        if (running.contains(state)) {
            w_->Command1->click();
            ticks(2);
            type('a');
        }
        if (state == QLatin1String("paused") || state == QLatin1String("terminated"))
            escape();
        if (state == QLatin1String("terminated"))
            w_->Command2->click();
        if (state == QLatin1String("finished") || state == QLatin1String("awaiting confirm") ||
            state == QLatin1String("confirmed"))
            ticks(3);
        if (state == QLatin1String("awaiting confirm") || state == QLatin1String("confirmed"))
            w_->Command8->click();
        if (state == QLatin1String("confirmed"))
            w_->Command1->click();

        const QStringList before = snapshot();
        bool timerRanWhileAsking = false;
        fakes_->messages.answerYes = answerYes;
        fakes_->messages.whileAsking = [&] {
            timerRanWhileAsking = w_->Timer1->isActive();
        };

        const bool closed = w_->close();

        QCOMPARE(fakes_->messages.asked,
                 asks ? QStringList{"Session data have not been saved.\r\nClose anyway?"}
                      : QStringList{});
        QCOMPARE(closed, !asks || answerYes);
        QCOMPARE(w_->isVisible(), !closed);
        if (!closed) {
            QCOMPARE(snapshot(), before);
            QCOMPARE(timerRanWhileAsking, state == QLatin1String("recording"));
            if (state == QLatin1String("recording")) {
                w_->timer1Timer();
                QCOMPARE(w_->Label2->text(), QStringLiteral(" 0:  3"));
            }
        } else {
            QVERIFY(!w_->Timer1->isActive());
            QVERIFY(!w_->keyCaptureOn());
        }
    }
};

QTEST_MAIN(TestSession)
#include "test_session.moc"
