#include "app/mainwindow.h"
#include "support/fakeplatform.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

using namespace quorvia;

namespace {

QColor foreColour(QLabel* l) {
    return l->palette().color(QPalette::Active, QPalette::WindowText);
}

QColor backColour(QLineEdit* e) {
    return e->palette().color(QPalette::Base);
}

} // namespace

class TestSetup : public QObject {
    Q_OBJECT

    test::FakePlatform fakes_;
    std::unique_ptr<MainWindow> w_;

    void fill(const QString& keys = QStringLiteral("abc"),
              const QString& duration = QStringLiteral("600")) {
        w_->Text2[0]->setText(QStringLiteral("P07"));
        w_->Text2[1]->setText(QStringLiteral("3"));
        w_->Text2[2]->setText(QStringLiteral("base"));
        w_->Text2[3]->setText(QStringLiteral("KT"));
        w_->Combo1->setEditText(QStringLiteral("30"));
        w_->Text22->setText(duration);
        w_->Text1->setText(keys);
    }

    // Enabled states of: Command3, Frame1, Frame2, Command1, Command4, Command6.
    QList<bool> buttonStates() const {
        return {w_->Command3->isEnabled(), w_->Frame1->isEnabled(),   w_->Frame2->isEnabled(),
                w_->Command1->isEnabled(), w_->Command4->isEnabled(), w_->Command6->isEnabled()};
    }

private slots:
    void init() {
        fakes_.messages.informed.clear();
        w_ = std::make_unique<MainWindow>(fakes_.platform);
        w_->startUp();
        w_->show();
        QVERIFY(QTest::qWaitForWindowExposed(w_.get()));
    }
    void cleanup() { w_.reset(); }

    void setPressOpensTheKeySlots() {
        // Names and modes typed before the set press.
        w_->Frame2->setEnabled(true);
        for (int i : {1, 2, 5}) {
            w_->Check3[i]->setEnabled(true);
            w_->Check3[i]->setChecked(true);
            w_->Text4[i]->setText(QStringLiteral("name %1").arg(i));
        }
        w_->Frame2->setEnabled(false);
        fill(QStringLiteral("abc"));
        QTest::mouseClick(w_->Command3, Qt::LeftButton);

        QCOMPARE(w_->Command3->text(), QStringLiteral("Check Keys"));
        QCOMPARE(buttonStates(), QList<bool>({true, false, true, false, true, false}));
        const QColor buttonFace = w_->palette().color(QPalette::Button);
        const QStringList letters{"", "A", "B", "C", "-", "-", "-", "-", "-", "-", "-"};
        for (int i = 1; i <= 10; ++i) {
            const bool bound = i <= 3;
            QCOMPARE(w_->Label5[i]->text(), letters[i]);
            QCOMPARE(w_->Check3[i]->isEnabled(), bound);
            QCOMPARE(w_->Text4[i]->isEnabled(), bound);
            QCOMPARE(w_->Label9[i]->text(), QStringLiteral("On/Off"));
            QCOMPARE(w_->Label13[i]->text(), QStringLiteral("hit"));
            QCOMPARE(backColour(w_->Text4[i]), bound ? QColor(Qt::white) : buttonFace);
        }
        // Names and modes carry over where a key stays, and are cleared where none is left.
        QCOMPARE(w_->Text4[1]->text(), QStringLiteral("name 1"));
        QVERIFY(w_->Check3[1]->isChecked());
        QCOMPARE(w_->Text4[2]->text(), QStringLiteral("name 2"));
        QVERIFY(w_->Check3[2]->isChecked());
        QCOMPARE(w_->Text4[5]->text(), QString());
        QVERIFY(!w_->Check3[5]->isChecked());
        // The record holds the keys as typed.
        QCOMPARE(w_->record().keysToHit, QStringLiteral("abc"));
        QVERIFY(fakes_.messages.informed.isEmpty());
    }

    void failedSetPressShowsErrorOnly() {
        fill(QStringLiteral("abc"), QStringLiteral("3601"));
        QTest::mouseClick(w_->Command3, Qt::LeftButton);
        QCOMPARE(w_->Command3->text(), QStringLiteral("Error"));
        QCOMPARE(buttonStates(), QList<bool>({false, false, false, false, true, false}));
        QCOMPARE(w_->record().sessionDuration, 3601.0);
        QVERIFY(fakes_.messages.informed.isEmpty());
        QCOMPARE(w_->Label5[1]->text(), QStringLiteral("-"));
        // A press on the disabled button does nothing; a click in code on "Error" neither.
        w_->command3Click();
        QCOMPARE(w_->Command3->text(), QStringLiteral("Error"));
    }

    void checkPressShowsTheModesAndPreparesTheRecord() {
        fill(QStringLiteral("ab"), QStringLiteral("65"));
        w_->Combo1->setEditText(QStringLiteral("10"));
        w_->command3Click();
        w_->Check3[2]->setChecked(true);
        w_->command3Click();

        QCOMPARE(buttonStates(), QList<bool>({false, false, false, true, true, true}));
        QCOMPARE(w_->Command3->text(), QStringLiteral("Check Keys"));
        QCOMPARE(w_->Label10->text(), QStringLiteral(" 0"));
        const QColor buttonFace = w_->palette().color(QPalette::Button);
        // Count slot 1: the hit count shows, the On/Off label blends into the frame.
        QCOMPARE(foreColour(w_->Label9[1]), buttonFace);
        QCOMPARE(foreColour(w_->Label13[1]), QColor(Qt::black));
        QCOMPARE(w_->Label9[1]->text(), QStringLiteral("On/Off"));
        // On/Off slot 2: "Off" in black, the hit count hidden.
        QCOMPARE(foreColour(w_->Label9[2]), QColor(Qt::black));
        QCOMPARE(w_->Label9[2]->text(), QStringLiteral("Off"));
        QCOMPARE(foreColour(w_->Label13[2]), buttonFace);
        // Slots without a key show "hit" in black.
        QCOMPARE(foreColour(w_->Label13[7]), QColor(Qt::black));

        const SessionRecord& r = w_->record();
        QCOMPARE(r.state, SessionState::Ready);
        QCOMPARE(r.keyCount, 2);
        QCOMPARE(r.intervalCount, qint64(7));
        QCOMPARE(r.nextEntry, qint64(1));
        QCOMPARE(r.entryCapacity, qint64(500));
        QCOMPARE(r.clockText, QStringLiteral(" 0:  0"));
        QCOMPARE(r.intervalHits(2, 7), qint64(0));
    }

    void resetLeadsBackKeepingEverythingTyped_data() {
        QTest::addColumn<QString>("from");
        QTest::newRow("keys open") << "keys open";
        QTest::newRow("set-up failed") << "set-up failed";
        QTest::newRow("keys checked") << "keys checked";
    }
    void resetLeadsBackKeepingEverythingTyped() {
        QFETCH(QString, from);
        fill(QStringLiteral("ab"),
             from == QLatin1String("set-up failed") ? QStringLiteral("0") : QStringLiteral("600"));
        w_->command3Click();
        if (from != QLatin1String("set-up failed")) {
            w_->Text4[1]->setText(QStringLiteral("Talking"));
            w_->Check3[2]->setChecked(true);
        }
        if (from == QLatin1String("keys checked"))
            w_->command3Click();
        const QString label9 = w_->Label9[2]->text();
        const QColor colour13 = foreColour(w_->Label13[2]);

        QVERIFY(w_->Command4->isEnabled());
        QTest::mouseClick(w_->Command4, Qt::LeftButton);

        QCOMPARE(w_->Command3->text(), QStringLiteral("Set"));
        QCOMPARE(buttonStates(), QList<bool>({true, true, false, false, false, false}));
        for (int i = 1; i <= 10; ++i) {
            QCOMPARE(w_->Label5[i]->text(), QStringLiteral("-"));
            QVERIFY(!w_->Check3[i]->isEnabledTo(w_->Frame2));
        }
        QCOMPARE(w_->Text2[0]->text(), QStringLiteral("P07"));
        QCOMPARE(w_->Text1->text(), QStringLiteral("ab"));
        QCOMPARE(w_->Combo1->currentText(), QStringLiteral("30"));
        QCOMPARE(w_->Label9[2]->text(), label9);
        QCOMPARE(foreColour(w_->Label13[2]), colour13);
        if (from != QLatin1String("set-up failed")) {
            QCOMPARE(w_->Text4[1]->text(), QStringLiteral("Talking"));
            QVERIFY(w_->Check3[2]->isChecked());
        }
        // The next press is a set press again.
        w_->Text22->setText(QStringLiteral("600"));
        w_->command3Click();
        QCOMPARE(w_->Command3->text(), QStringLiteral("Check Keys"));
    }

    void intervalBoxEditsDrawTheirValues() {
        w_->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(w_.get()));
        w_->Combo1->setFocus();
        QLineEdit* edit = w_->Combo1->lineEdit();
        edit->selectAll();
        QTest::keyClicks(edit, QStringLiteral("1"));
        QCOMPARE(w_->record().intervalLength, 1.0);
        // What is typed stays as typed: no list entry ("10") is completed into the box.
        QCOMPARE(w_->Combo1->currentText(), QStringLiteral("1"));
        QTest::keyClicks(edit, QStringLiteral("2"));
        QCOMPARE(w_->record().intervalLength, 12.0);
        QCOMPARE(w_->drawnTexts(), QStringList({" 1 ", " 12 "}));
        edit->selectAll();
        QTest::keyClicks(edit, QStringLiteral("x"));
        QCOMPARE(w_->record().intervalLength, 0.0);
        QTest::keyClick(edit, Qt::Key_Backspace);
        QCOMPARE(w_->drawnTexts(), QStringList({" 1 ", " 12 ", " 0 ", " 0 "}));
        w_->setCombo1Text(QStringLiteral("7.50"));
        QCOMPARE(w_->drawnTexts().last(), QStringLiteral(" 7.5 "));
        w_->setCombo1Text(QStringLiteral("-2"));
        QCOMPARE(w_->drawnTexts().last(), QStringLiteral("-2 "));
    }

    void drawnTextsAppearOnTheWindow() {
        const QImage before = w_->grab(QRect(0, 0, 15, 20)).toImage();
        w_->setCombo1Text(QStringLiteral("5"));
        const QImage after = w_->grab(QRect(0, 0, 15, 20)).toImage();
        QVERIFY(before != after);
    }

    void pickingFromTheListDrawsNothing() {
        w_->Combo1->setCurrentIndex(6);
        QCOMPARE(w_->Combo1->currentText(), QStringLiteral("30"));
        QVERIFY(w_->drawnTexts().isEmpty());
        fill();
        w_->Combo1->setCurrentIndex(6);
        w_->command3Click();
        QCOMPARE(w_->record().intervalLength, 30.0);
    }
};

QTEST_MAIN(TestSetup)
#include "test_setup.moc"
