// Handlers of a running session: the session control buttons, the clock tick, key capture and
// the close of the window.
#include "app/mainwindow.h"

#include "app/controlvalues.h"
#include "app/worksheetwindow.h"

#include "base/keys.h"
#include "base/numbers.h"
#include "recording/keyinput.h"
#include "recording/sessionclock.h"

#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include <algorithm>
#include <limits>

namespace quorvia {

namespace {

const QString kTimeFormat = QStringLiteral("hh:nn:ss");

} // namespace

void MainWindow::command1Click() {
    const QString caption = Command1->text();
    if (caption == QLatin1String("Start")) {
        Label10->setText(QStringLiteral(" 1"));
        Label1->setText(QStringLiteral("Recording"));
        Command1->setText(QStringLiteral("Hit ESC to pause"));
        Command4->setEnabled(false);
        Command6->setEnabled(false);
        record_.state = SessionState::Recording;
        setKeyCapture(true);
        Timer1->start();
        Label21->setText(timeWithHundredths(platform_.clock.timeOfDay(), kTimeFormat));
        record_.slotSetups = sheetInputs().slotControls;
        journal_.started(record_, Label21->text());
        return;
    }
    if (caption == QLatin1String("Confirm")) {
        setForeColour(Label1, Qt::black);
        Label1->setText(QStringLiteral("Set"));
        Command1->setText(QStringLiteral("Start"));
        Label10->setText(QStringLiteral("interval"));
        Label2->setText(QStringLiteral(" 0: 0"));
        Command1->setEnabled(false);
        Command3->setEnabled(true);
        Command3->setText(QStringLiteral("Set"));
        Command4->setEnabled(false);
        Frame1->setEnabled(true);
        if (record_.sessionNumber < std::numeric_limits<std::int16_t>::max())
            record_.sessionNumber = static_cast<std::int16_t>(record_.sessionNumber + 1);
        else
            record_.sessionNumber = std::numeric_limits<std::int16_t>::max();
        Text2[1]->setText(QString::number(record_.sessionNumber));
        Label21->setText(QStringLiteral("Time"));
        Label25->setText(QStringLiteral("Time"));
        record_.state = SessionState::SetUp;
        return;
    }
    // "Resume" after a pause; "Hit ESC to pause" while recording runs the same steps.
    if (!Timer1->isActive())
        Timer1->start();
    if (record_.state == SessionState::Paused)
        journal_.resumed(record_);
    record_.state = SessionState::Recording;
    setKeyCapture(true);
    Label1->setText(QStringLiteral("Recording"));
    Command1->setEnabled(false);
    Command1->setText(QStringLiteral("Hit ESC to pause"));
    Command2->setEnabled(false);
}

void MainWindow::command2Click() {
    Frame3->setEnabled(true);
    Label4->setText(QStringLiteral(" 0"));
    Command2->setEnabled(false);
    Command1->setEnabled(false);
    Command1->setText(QStringLiteral("Confirm"));
    record_.writeEndEntry(kSessionTerminated);
    record_.state = SessionState::SavePending;
    journal_.terminated(record_);
    tellIfUnprotected();
}

void MainWindow::timer1Timer() {
    if (record_.state != SessionState::Recording)
        return;
    const TickOutcome outcome = tick(record_, Check2->checkState() == Qt::Checked ? 1 : 0);
    const QString now = timeWithHundredths(platform_.clock.timeOfDay(), kTimeFormat);
    journal_.ticked(record_, now);
    if (outcome.beep)
        platform_.beeper.beep();
    if (!outcome.finished) {
        Label2->setText(record_.clockText);
        Label10->setText(blankLed(record_.currentInterval));
        return;
    }
    Timer1->stop();
    Label25->setText(now);
    setForeColour(Label1, QColor(255, 0, 0));
    Label1->setText(QStringLiteral("Finished"));
    setKeyCapture(false);
    Command1->setText(QStringLiteral("Confirm"));
    Command1->setEnabled(false);
    Frame3->setEnabled(true);
    Label2->setText(record_.clockText);
    tellIfUnprotected();
}

void MainWindow::keyPress(char32_t c) {
    if (!keyCapture_)
        return;
    const KeyOutcome outcome = handleKey(record_, c);
    Label3->setText(keyText(c));
    Label4->setText(blankLed(outcome.entryShown));
    if (outcome.paused) {
        Timer1->stop();
        Label25->setText(timeWithHundredths(platform_.clock.timeOfDay(), kTimeFormat));
        setKeyCapture(false);
        Label1->setText(QStringLiteral("Stopped"));
        Command1->setText(QStringLiteral("Resume"));
        Command1->setEnabled(true);
        Command2->setEnabled(true);
    }
    const auto slot = static_cast<std::size_t>(outcome.slot);
    Label9[slot]->setText(toggledOnOff(Label9[slot]->text()));
    Label13[slot]->setText(blankLed(record_.keyHits(outcome.slot)));
    journal_.keyHandled(record_, outcome.entryShown, Label25->text());
}

void MainWindow::setKeyCapture(bool on) {
    if (on == keyCapture_)
        return;
    keyCapture_ = on;
    if (on)
        qApp->installEventFilter(this);
    else
        qApp->removeEventFilter(this);
}

bool MainWindow::eventFilter(QObject* watched, QEvent* event) {
    if (keyCapture_ && event->type() == QEvent::KeyPress && isActiveWindow()) {
        // The application passes a key event on to each parent that ignores it; take it only at
        // its first receiver, the widget with the focus (or the window when nothing has it).
        QWidget* first = QApplication::focusWidget();
        if (first == nullptr)
            first = this;
        if (watched == first && first->window() == this) {
            const QString typed = static_cast<QKeyEvent*>(event)->text();
            for (const char32_t c : keysOf(typed)) {
                if (!keyCapture_)
                    break;
                keyPress(c);
            }
        }
    }
    return QWidget::eventFilter(watched, event);
}

void MainWindow::closeEvent(QCloseEvent* event) {
    const SessionState s = record_.state;
    // An open worksheet window that was not saved holds session data as well.
    const auto sheetWindows = findChildren<WorksheetWindow*>(Qt::FindDirectChildrenOnly);
    const bool sheetUnsaved =
        std::any_of(sheetWindows.begin(), sheetWindows.end(),
                    [](const WorksheetWindow* w) { return w->isVisible() && !w->isSaved(); });
    const bool unsaved = s == SessionState::Recording || s == SessionState::Paused ||
                         s == SessionState::SavePending || sheetUnsaved;
    if (unsaved &&
        !platform_.messages.askYesNo(this, QStringLiteral("Session data have not been saved.\r\n"
                                                          "Close anyway?"))) {
        event->ignore();
        return;
    }
    setKeyCapture(false);
    Timer1->stop();
    for (WorksheetWindow* w : sheetWindows)
        w->hide();
    event->accept();
}

} // namespace quorvia
