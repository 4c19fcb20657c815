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

} // namespace

class TestSetup : public QObject {
    Q_OBJECT

    test::FakePlatform fakes_;
    std::unique_ptr<MainWindow> w_;

    void fill(const QString& keys, const QString& duration) {
        for (int i = 0; i < 4; ++i)
            w_->Text2[i]->setText(QStringList{"P07", "3", "base", "KT"}[i]);
        w_->Combo1->setEditText(QStringLiteral("10"));
        w_->Text22->setText(duration);
        w_->Text1->setText(keys);
    }

    // Caption of Command3, then enabled: Command3, Frame1, Frame2, Command1, Command4, Command6.
    QString buttonState() const {
        QString state = w_->Command3->text() + QLatin1Char(' ');
        for (QWidget* c : std::initializer_list<QWidget*>{w_->Command3, w_->Frame1, w_->Frame2,
                                                          w_->Command1, w_->Command4, w_->Command6})
            state += c->isEnabled() ? QLatin1Char('1') : QLatin1Char('0');
        return state;
    }

private slots:
    void init() {
        w_ = std::make_unique<MainWindow>(fakes_.platform);
        w_->startUp();
        w_->show();
        QVERIFY(QTest::qWaitForWindowExposed(w_.get()));
    }
    void cleanup() { w_.reset(); }

    void setAndCheckKeys() {
        // Names and modes present before the set press.
        w_->Frame2->setEnabled(true);
        for (int i : {1, 2, 5}) {
            w_->Check3[i]->setEnabled(true);
            w_->Check3[i]->setChecked(true);
            w_->Text4[i]->setText(QStringLiteral("name %1").arg(i));
        }
        fill(QStringLiteral("abc"), QStringLiteral("65"));
        QTest::mouseClick(w_->Command3, Qt::LeftButton);
        QCOMPARE(buttonState(), QStringLiteral("Check Keys 101010"));
        const QColor buttonFace = w_->palette().color(QPalette::Button);
        for (int i = 1; i <= 10; ++i) {
            const bool bound = i <= 3;
            QCOMPARE(w_->Label5[i]->text(), bound ? QString(QChar(u'A' + i - 1)) : "-");
            QCOMPARE(w_->Check3[i]->isEnabled(), bound);
            QCOMPARE(w_->Text4[i]->isEnabled(), bound);
            QCOMPARE(w_->Label9[i]->text() + w_->Label13[i]->text(), QStringLiteral("On/Offhit"));
            QCOMPARE(w_->Text4[i]->palette().color(QPalette::Base),
                     bound ? QColor(Qt::white) : buttonFace);
            // Names and modes carry over where a key stays and are cleared where none is left.
            QCOMPARE(w_->Text4[i]->text(), (i <= 2) ? QStringLiteral("name %1").arg(i) : "");
            QCOMPARE(w_->Check3[i]->isChecked(), i <= 2);
        }
        QCOMPARE(w_->record().keysToHit, QStringLiteral("abc"));

        w_->Check3[1]->setChecked(false);
        QTest::mouseClick(w_->Command3, Qt::LeftButton);
        QCOMPARE(buttonState(), QStringLiteral("Check Keys 000111"));
        QCOMPARE(w_->Label10->text(), QStringLiteral(" 0"));
        // Count slot 1 shows its hit count; On/Off slot 2 shows "Off"; the other label of each
        // blends into the frame. Slots without a key show "hit" in black.
        QCOMPARE(foreColour(w_->Label9[1]), buttonFace);
        QCOMPARE(foreColour(w_->Label13[1]), QColor(Qt::black));
        QCOMPARE(w_->Label9[2]->text(), QStringLiteral("Off"));
        QCOMPARE(foreColour(w_->Label9[2]), QColor(Qt::black));
        QCOMPARE(foreColour(w_->Label13[2]), buttonFace);
        QCOMPARE(foreColour(w_->Label13[7]), QColor(Qt::black));
        const SessionRecord& r = w_->record();
        QCOMPARE(r.state, SessionState::Ready);
        QCOMPARE(QList<qint64>({r.keyCount, r.intervalCount, r.nextEntry, r.entryCapacity}),
                 QList<qint64>({3, 7, 1, 500}));
        QVERIFY(fakes_.messages.informed.isEmpty());
    }

    void resetLeadsBackKeepingEverythingTyped_data() {
        QTest::addColumn<QString>("duration");
        QTest::addColumn<int>("presses");
        QTest::addColumn<QString>("before");
        QTest::newRow("set-up failed") << "3601" << 1 << "Error 000010";
        QTest::newRow("keys open") << "600" << 1 << "Check Keys 101010";
        QTest::newRow("keys checked") << "600" << 2 << "Check Keys 000111";
    }
    void resetLeadsBackKeepingEverythingTyped() {
        QFETCH(QString, duration);
        QFETCH(int, presses);
        QFETCH(QString, before);
        fill(QStringLiteral("ab"), duration);
        w_->Text4[1]->setText(QStringLiteral("Talking"));
        w_->Check3[2]->setChecked(true);
        for (int i = 0; i < presses; ++i)
            w_->command3Click();
        QCOMPARE(buttonState(), before);
        const QString label9 = w_->Label9[2]->text();

        QTest::mouseClick(w_->Command4, Qt::LeftButton);
        QCOMPARE(buttonState(), QStringLiteral("Set 110000"));
        for (int i = 1; i <= 10; ++i) {
            QCOMPARE(w_->Label5[i]->text(), QStringLiteral("-"));
            QVERIFY(!w_->Check3[i]->isEnabledTo(w_->Frame2));
        }
        QCOMPARE(w_->Text22->text() + w_->Text1->text() + w_->Combo1->currentText(),
                 duration + QStringLiteral("ab10"));
        QCOMPARE(w_->Text4[1]->text(), QStringLiteral("Talking"));
        QVERIFY(w_->Check3[2]->isChecked());
        QCOMPARE(w_->Label9[2]->text(), label9);
        QVERIFY(fakes_.messages.informed.isEmpty());
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
        edit->selectAll();
        QTest::keyClicks(edit, QStringLiteral("x"));
        QCOMPARE(w_->record().intervalLength, 0.0);
        const QImage before = w_->grab(QRect(0, 0, 40, 80)).toImage();
        w_->setCombo1Text(QStringLiteral("7.50"));
        w_->setCombo1Text(QStringLiteral("-2"));
        QCOMPARE(w_->drawnTexts(), QStringList({" 1 ", " 12 ", " 0 ", " 7.5 ", "-2 "}));
        QVERIFY(w_->grab(QRect(0, 0, 40, 80)).toImage() != before);
        // A pick from the list draws nothing; the set press reads the picked value all the same.
        w_->Combo1->setCurrentIndex(6);
        QCOMPARE(w_->drawnTexts().size(), 5);
        fill(QStringLiteral("a"), QStringLiteral("60"));
        w_->Combo1->setCurrentIndex(6);
        w_->command3Click();
        QCOMPARE(w_->record().intervalLength, 30.0);
    }
};

QTEST_MAIN(TestSetup)
#include "test_setup.moc"
