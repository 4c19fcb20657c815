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

struct Twips {
    int left;
    int top;
    int width;
    int height;
};

QString captionOf(QWidget* w) {
    if (auto* l = qobject_cast<QLabel*>(w))
        return l->text();
    if (auto* b = qobject_cast<QPushButton*>(w))
        return b->text();
    if (auto* g = qobject_cast<QGroupBox*>(w))
        return g->title();
    if (auto* e = qobject_cast<QLineEdit*>(w))
        return e->text();
    if (auto* c = qobject_cast<QComboBox*>(w))
        return c->currentText();
    if (auto* c = qobject_cast<QCheckBox*>(w))
        return c->text();
    return QStringLiteral("<unknown kind>");
}

} // namespace

class TestMainWindow : public QObject {
    Q_OBJECT

    test::FakePlatform fakes_;
    std::unique_ptr<MainWindow> window_;

    QWidget* control(const QString& name) { return window_->findChild<QWidget*>(name); }

private slots:
    void init() {
        window_ = std::make_unique<MainWindow>(fakes_.platform);
        window_->startUp();
        window_->show();
        QVERIFY(QTest::qWaitForWindowExposed(window_.get()));
    }
    void cleanup() { window_.reset(); }

    void theWindow() {
        QCOMPARE(window_->objectName(), QStringLiteral("Form1"));
        QCOMPARE(window_->windowTitle(), QStringLiteral("Quorvia   ver. 1.0"));
        QCOMPARE(window_->size(), QSize(767, 445));
        QCOMPARE(window_->minimumSize(), window_->maximumSize());
        const Qt::WindowFlags flags = window_->windowFlags();
        QVERIFY(flags.testFlag(Qt::WindowCloseButtonHint));
        QVERIFY(!flags.testFlag(Qt::WindowMinimizeButtonHint));
        QVERIFY(!flags.testFlag(Qt::WindowMaximizeButtonHint));
        QVERIFY(!window_->keyCaptureOn());
    }

    void inventory_data() {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<QString>("parent");
        QTest::addColumn<QRect>("twips");
        QTest::addColumn<QString>("caption");
        QTest::addColumn<bool>("enabled");
        QTest::addColumn<bool>("visible");
        auto row = [](const char* name, const char* kind, const char* parent, Twips t,
                      const QString& caption, bool enabled, bool visible) {
            QTest::newRow(name) << QString::fromLatin1(kind) << QString::fromLatin1(parent)
                                << QRect(t.left, t.top, t.width, t.height) << caption << enabled
                                << visible;
        };
        row("Label7", "QLabel", "Form1", {240, 360, 975, 255}, QStringLiteral(u"Time"), true, true);
        row("Label2", "QLabel", "Form1", {240, 840, 1215, 375}, QStringLiteral(u" 0:\u30000"), true,
            true);
        row("Label8", "QLabel", "Form1", {1680, 360, 1095, 255}, QStringLiteral(u"Interval"), true,
            true);
        row("Label10", "QLabel", "Form1", {1680, 840, 1455, 375}, QStringLiteral(u"Interval"), true,
            true);
        row("Command1", "QPushButton", "Form1", {3360, 840, 975, 495}, QStringLiteral(u"Start"),
            false, true);
        row("Label1", "QLabel", "Form1", {240, 1560, 2055, 495}, QStringLiteral(u"Status"), true,
            true);
        row("Command2", "QPushButton", "Form1", {3360, 1560, 975, 375},
            QStringLiteral(u"Terminate"), false, true);
        row("Label22", "QLabel", "Form1", {240, 2280, 735, 375},
            QStringLiteral(u"Last Key Being Hit"), true, true);
        row("Label3", "QLabel", "Form1", {240, 2760, 735, 495}, QStringLiteral(u"Input"), true,
            true);
        row("Label23", "QLabel", "Form1", {1320, 2280, 855, 375},
            QStringLiteral(u"Number of Key Hit"), true, true);
        row("Label4", "QLabel", "Form1", {1320, 2760, 735, 495}, QStringLiteral(u"Times Hit"), true,
            true);
        row("Frame3", "QGroupBox", "Form1", {2400, 2280, 1935, 855}, QStringLiteral(u"Save Data"),
            false, true);
        row("Frame1", "QGroupBox", "Form1", {4560, 360, 5415, 3135},
            QStringLiteral(u"Session Paramaters"), true, true);
        row("Command3", "QPushButton", "Form1", {10200, 360, 1095, 495}, QStringLiteral(u"Set"),
            true, true);
        row("Command4", "QPushButton", "Form1", {10200, 1080, 1095, 495}, QStringLiteral(u"Reset"),
            false, true);
        row("Command6", "QPushButton", "Form1", {10200, 1800, 1095, 495},
            QStringLiteral(u"Save Parameters"), false, true);
        row("Frame2", "QGroupBox", "Form1", {120, 3600, 11175, 2895},
            QStringLiteral(u"Key Counter"), false, true);
        row("Label13(0)", "QLabel", "Form1", {2520, 3240, 255, 255}, QStringLiteral(u"gomi"), true,
            false);
        row("Label9(0)", "QLabel", "Form1", {2880, 3240, 255, 255}, QStringLiteral(u"gomi"), true,
            false);
        row("Label15", "QLabel", "Frame1", {240, 360, 1215, 255},
            QStringLiteral(u"Participant's ID"), true, true);
        row("Text2(0)", "QLineEdit", "Frame1", {120, 600, 1335, 375}, QStringLiteral(u""), true,
            true);
        row("Label16", "QLabel", "Frame1", {1560, 360, 1215, 255}, QStringLiteral(u"Session No."),
            true, true);
        row("Text2(1)", "QLineEdit", "Frame1", {1680, 600, 615, 375}, QStringLiteral(u""), true,
            true);
        row("Label17", "QLabel", "Frame1", {2760, 360, 855, 255}, QStringLiteral(u"Condition"),
            true, true);
        row("Text2(2)", "QLineEdit", "Frame1", {2640, 600, 1215, 375}, QStringLiteral(u""), true,
            true);
        row("Label18", "QLabel", "Frame1", {3960, 360, 1095, 255}, QStringLiteral(u"Observer's ID"),
            true, true);
        row("Text2(3)", "QLineEdit", "Frame1", {4080, 600, 1215, 375}, QStringLiteral(u""), true,
            true);
        row("Label20", "QLabel", "Frame1", {120, 1080, 1335, 255}, QStringLiteral(u"Session Date"),
            true, true);
        row("Text3", "QLineEdit", "Frame1", {120, 1320, 1215, 375}, QString(), true, true);
        row("Label19", "QLabel", "Frame1", {1560, 1080, 1575, 255},
            QStringLiteral(u"Session Started at"), true, true);
        row("Label21", "QLabel", "Frame1", {1800, 1320, 1095, 375}, QStringLiteral(u"Time"), true,
            true);
        row("Label26", "QLabel", "Frame1", {3240, 1080, 1575, 255},
            QStringLiteral(u"Session Ended at"), true, true);
        row("Label25", "QLabel", "Frame1", {3480, 1320, 1455, 375}, QStringLiteral(u"Time"), true,
            true);
        row("Label11", "QLabel", "Frame1", {120, 1920, 1335, 255},
            QStringLiteral(u"Interval Length"), true, true);
        row("Combo1", "QComboBox", "Frame1", {120, 2160, 1095, 300}, QStringLiteral(u" in Seconds"),
            true, true);
        row("Label6", "QLabel", "Frame1", {1560, 1920, 1335, 255},
            QStringLiteral(u"Session Duration"), true, true);
        row("Text22", "QLineEdit", "Frame1", {1560, 2160, 975, 375}, QStringLiteral(u""), true,
            true);
        row("Label12", "QLabel", "Frame1", {3120, 1920, 1215, 255}, QStringLiteral(u"Keys to Hit"),
            true, true);
        row("Text1", "QLineEdit", "Frame1", {3120, 2160, 1575, 375}, QStringLiteral(u""), true,
            true);
        row("Check2", "QCheckBox", "Frame1", {120, 2640, 255, 255}, QStringLiteral(u""), true,
            true);
        row("Label14", "QLabel", "Frame1", {360, 2640, 2415, 255},
            QStringLiteral(u"Beep at Every Interval's End"), true, true);
        row("Command5", "QPushButton", "Frame1", {3120, 2640, 1575, 375},
            QStringLiteral(u"Load Parameters"), true, true);
        row("Command7", "QPushButton", "Frame3", {120, 360, 1095, 375}, QStringLiteral(u"Yes"),
            true, true);
        row("Command8", "QPushButton", "Frame3", {1320, 360, 495, 375}, QStringLiteral(u"No"), true,
            true);
        row("Label5(1)", "QLabel", "Frame2", {240, 240, 255, 375}, QStringLiteral(u"-"), true,
            true);
        row("Text4(1)", "QLineEdit", "Frame2", {600, 360, 1215, 375}, QStringLiteral(u""), true,
            true);
        row("Check3(1)", "QCheckBox", "Frame2", {240, 720, 255, 255}, QStringLiteral(u""), false,
            true);
        row("Label9(1)", "QLabel", "Frame2", {600, 720, 855, 375}, QStringLiteral(u"On/Off"), true,
            true);
        row("Label13(1)", "QLabel", "Frame2", {600, 1080, 735, 255}, QStringLiteral(u"hit"), true,
            true);
        row("Label5(2)", "QLabel", "Frame2", {2520, 240, 255, 375}, QStringLiteral(u"-"), true,
            true);
        row("Text4(2)", "QLineEdit", "Frame2", {2910, 360, 1215, 375}, QStringLiteral(u""), true,
            true);
        row("Check3(2)", "QCheckBox", "Frame2", {2640, 720, 255, 255}, QStringLiteral(u""), false,
            true);
        row("Label9(2)", "QLabel", "Frame2", {3000, 720, 855, 375}, QStringLiteral(u"On/Off"), true,
            true);
        row("Label13(2)", "QLabel", "Frame2", {3000, 1080, 735, 255}, QStringLiteral(u"hit"), true,
            true);
        row("Label5(3)", "QLabel", "Frame2", {4800, 240, 255, 375}, QStringLiteral(u"-"), true,
            true);
        row("Text4(3)", "QLineEdit", "Frame2", {5220, 360, 1215, 375}, QStringLiteral(u""), true,
            true);
        row("Check3(3)", "QCheckBox", "Frame2", {4920, 720, 255, 255}, QStringLiteral(u""), false,
            true);
        row("Label9(3)", "QLabel", "Frame2", {5280, 720, 855, 375}, QStringLiteral(u"On/Off"), true,
            true);
        row("Label13(3)", "QLabel", "Frame2", {5280, 1080, 735, 255}, QStringLiteral(u"hit"), true,
            true);
        row("Label5(4)", "QLabel", "Frame2", {7170, 240, 255, 375}, QStringLiteral(u"-"), true,
            true);
        row("Text4(4)", "QLineEdit", "Frame2", {7530, 360, 1215, 375}, QStringLiteral(u""), true,
            true);
        row("Check3(4)", "QCheckBox", "Frame2", {7200, 720, 255, 255}, QStringLiteral(u""), false,
            true);
        row("Label9(4)", "QLabel", "Frame2", {7560, 720, 855, 375}, QStringLiteral(u"On/Off"), true,
            true);
        row("Label13(4)", "QLabel", "Frame2", {7560, 1080, 735, 255}, QStringLiteral(u"hit"), true,
            true);
        row("Label5(5)", "QLabel", "Frame2", {9480, 240, 255, 375}, QStringLiteral(u"-"), true,
            true);
        row("Text4(5)", "QLineEdit", "Frame2", {9840, 360, 1215, 375}, QStringLiteral(u""), true,
            true);
        row("Check3(5)", "QCheckBox", "Frame2", {9480, 720, 255, 255}, QStringLiteral(u""), false,
            true);
        row("Label9(5)", "QLabel", "Frame2", {9840, 720, 855, 375}, QStringLiteral(u"On/Off"), true,
            true);
        row("Label13(5)", "QLabel", "Frame2", {9840, 1080, 735, 255}, QStringLiteral(u"hit"), true,
            true);
        row("Label5(6)", "QLabel", "Frame2", {240, 1560, 495, 375}, QStringLiteral(u"-"), true,
            true);
        row("Text4(6)", "QLineEdit", "Frame2", {600, 1680, 1215, 375}, QStringLiteral(u""), true,
            true);
        row("Check3(6)", "QCheckBox", "Frame2", {240, 2040, 255, 255}, QStringLiteral(u""), false,
            true);
        row("Label9(6)", "QLabel", "Frame2", {600, 2040, 855, 375}, QStringLiteral(u"On/Off"), true,
            true);
        row("Label13(6)", "QLabel", "Frame2", {600, 2400, 735, 255}, QStringLiteral(u"hit"), true,
            true);
        row("Label5(7)", "QLabel", "Frame2", {2520, 1560, 495, 375}, QStringLiteral(u"-"), true,
            true);
        row("Text4(7)", "QLineEdit", "Frame2", {2910, 1680, 1215, 375}, QStringLiteral(u""), true,
            true);
        row("Check3(7)", "QCheckBox", "Frame2", {2520, 2040, 255, 255}, QStringLiteral(u""), false,
            true);
        row("Label9(7)", "QLabel", "Frame2", {2880, 2040, 855, 375}, QStringLiteral(u"On/Off"),
            true, true);
        row("Label13(7)", "QLabel", "Frame2", {2880, 2400, 735, 255}, QStringLiteral(u"hit"), true,
            true);
        row("Label5(8)", "QLabel", "Frame2", {4800, 1560, 495, 375}, QStringLiteral(u"-"), true,
            true);
        row("Text4(8)", "QLineEdit", "Frame2", {5220, 1680, 1215, 375}, QStringLiteral(u""), true,
            true);
        row("Check3(8)", "QCheckBox", "Frame2", {4920, 2040, 255, 255}, QStringLiteral(u""), false,
            true);
        row("Label9(8)", "QLabel", "Frame2", {5280, 2040, 855, 375}, QStringLiteral(u"On/Off"),
            true, true);
        row("Label13(8)", "QLabel", "Frame2", {5280, 2400, 735, 255}, QStringLiteral(u"hit"), true,
            true);
        row("Label5(9)", "QLabel", "Frame2", {7200, 1560, 495, 375}, QStringLiteral(u"-"), true,
            true);
        row("Text4(9)", "QLineEdit", "Frame2", {7530, 1680, 1215, 375}, QStringLiteral(u""), true,
            true);
        row("Check3(9)", "QCheckBox", "Frame2", {7200, 2040, 255, 255}, QStringLiteral(u""), false,
            true);
        row("Label9(9)", "QLabel", "Frame2", {7560, 2040, 855, 375}, QStringLiteral(u"On/Off"),
            true, true);
        row("Label13(9)", "QLabel", "Frame2", {7560, 2400, 735, 255}, QStringLiteral(u"hit"), true,
            true);
        row("Label5(10)", "QLabel", "Frame2", {9480, 1560, 495, 375}, QStringLiteral(u"-"), true,
            true);
        row("Text4(10)", "QLineEdit", "Frame2", {9840, 1680, 1215, 375}, QStringLiteral(u""), true,
            true);
        row("Check3(10)", "QCheckBox", "Frame2", {9480, 2040, 255, 255}, QStringLiteral(u""), false,
            true);
        row("Label9(10)", "QLabel", "Frame2", {9840, 2040, 855, 375}, QStringLiteral(u"On/Off"),
            true, true);
        row("Label13(10)", "QLabel", "Frame2", {9840, 2400, 735, 255}, QStringLiteral(u"hit"), true,
            true);
    }
    void inventory() {
        QFETCH(QString, kind);
        QFETCH(QString, parent);
        QFETCH(QRect, twips);
        QFETCH(QString, caption);
        QFETCH(bool, enabled);
        QFETCH(bool, visible);
        const QString name = QString::fromLatin1(QTest::currentDataTag());
        QWidget* w = control(name);
        QVERIFY2(w, qPrintable(name));
        QCOMPARE(QString::fromLatin1(w->metaObject()->className()), kind);
        QCOMPARE(w->parentWidget()->objectName(), parent);
        // 15 twips make one pixel at 96 dots per inch.
        QCOMPARE(w->geometry(), QRect(twips.left() / 15, twips.top() / 15, twips.width() / 15,
                                      twips.height() / 15));
        if (!caption.isNull())
            QCOMPARE(captionOf(w), caption);
        QCOMPARE(w->isEnabledTo(w->parentWidget()), enabled);
        QCOMPARE(w->isVisible(), visible);
        if (auto* l = qobject_cast<QLabel*>(w)) {
            QVERIFY(l->wordWrap());
            QCOMPARE(l->textFormat(), Qt::PlainText);
        }
    }

    void startUpState() {
        // Only the parameter frame and "Set" can be used.
        QVERIFY(window_->Frame1->isEnabled());
        QVERIFY(window_->Command3->isEnabled());
        for (QWidget* w :
             {static_cast<QWidget*>(window_->Command1), static_cast<QWidget*>(window_->Command2),
              static_cast<QWidget*>(window_->Command4), static_cast<QWidget*>(window_->Command6),
              static_cast<QWidget*>(window_->Command7), static_cast<QWidget*>(window_->Text4[1]),
              static_cast<QWidget*>(window_->Check3[1])})
            QVERIFY2(!w->isEnabled(), qPrintable(w->objectName()));
        QCOMPARE(window_->Timer1->objectName(), QStringLiteral("Timer1"));
        QCOMPARE(window_->Timer1->interval(), 1000);
        QCOMPARE(window_->Timer1->timerType(), Qt::PreciseTimer);
        QVERIFY(!window_->Timer1->isActive());
        QStringList entries;
        for (int i = 0; i < window_->Combo1->count(); ++i)
            entries << window_->Combo1->itemText(i);
        QCOMPARE(entries, QStringList({"5", "6", "10", "12", "15", "20", "30", "60"}));
        QVERIFY(window_->Combo1->isEditable());
        QCOMPARE(window_->Check2->checkState(), Qt::Unchecked);
        QCOMPARE(window_->Text3->text(),
                 QLocale::system().toString(fakes_.clock.date, QLocale::ShortFormat));
    }

    void dateIsTakenOnce() {
        const QString first = window_->Text3->text();
        fakes_.clock.date = fakes_.clock.date.addDays(1);
        QTest::qWait(50);
        QCOMPARE(window_->Text3->text(), first);
    }

    void appearance_data() {
        QTest::addColumn<double>("points");
        QTest::addColumn<bool>("bold");
        QTest::newRow("Label1") << 20.25 << false;
        QTest::newRow("Label2") << 18.0 << false;
        QTest::newRow("Label10") << 15.75 << true;
        QTest::newRow("Label7") << 14.25 << false;
        QTest::newRow("Label8") << 14.25 << false;
        QTest::newRow("Label5(1)") << 20.25 << false;
        QTest::newRow("Label5(10)") << 20.25 << false;
        QTest::newRow("Label9(4)") << 12.0 << false;
        QTest::newRow("Label13(7)") << 12.0 << false;
        QTest::newRow("Text4(1)") << 11.25 << false;
        QTest::newRow("Text1") << 9.75 << false;
        QTest::newRow("Text2(3)") << 9.75 << false;
        QTest::newRow("Text3") << 9.75 << false;
        QTest::newRow("Text22") << 9.75 << false;
    }
    void appearance() {
        QFETCH(double, points);
        QFETCH(bool, bold);
        QWidget* w = control(QString::fromLatin1(QTest::currentDataTag()));
        QVERIFY(w);
        QCOMPARE(w->font().pointSizeF(), points);
        QCOMPARE(w->font().bold(), bold);
        QVERIFY(w->font().families().contains(QStringLiteral("MS PGothic")));
    }

    void displayLabels() {
        QCOMPARE(window_->Label1->alignment() & Qt::AlignHorizontal_Mask, Qt::AlignHCenter);
        QCOMPARE(window_->Label2->alignment() & Qt::AlignHorizontal_Mask, Qt::AlignRight);
        QCOMPARE(window_->Label10->alignment() & Qt::AlignHorizontal_Mask, Qt::AlignHCenter);
        for (QLabel* l :
             {window_->Label1, window_->Label2, window_->Label10, window_->Label3, window_->Label4})
            QVERIFY2(l->frameShape() != QFrame::NoFrame, qPrintable(l->objectName()));
        QCOMPARE(window_->Label7->frameShape(), QFrame::NoFrame);
        for (QLabel* l : {window_->Label1, window_->Label2}) {
            QCOMPARE(l->palette().color(QPalette::WindowText), QColor(8, 0, 0));
            QCOMPARE(l->palette().color(QPalette::Window), QColor(Qt::white));
            QVERIFY(l->autoFillBackground());
        }
    }

    void inputMethod_data() {
        QTest::addColumn<bool>("enabled");
        QTest::newRow("Text2(0)") << true;
        QTest::newRow("Text2(1)") << false;
        QTest::newRow("Text2(2)") << true;
        QTest::newRow("Text2(3)") << true;
        QTest::newRow("Text3") << false;
        QTest::newRow("Text22") << false;
        QTest::newRow("Text1") << false;
        QTest::newRow("Text4(5)") << true;
    }
    void inputMethod() {
        QFETCH(bool, enabled);
        QWidget* w = control(QString::fromLatin1(QTest::currentDataTag()));
        QVERIFY(w);
        QCOMPARE(w->testAttribute(Qt::WA_InputMethodEnabled), enabled);
    }

    void tabOrder() {
        QStringList expected{"Command1", "Command2", "Check2", "Text22", "Text1"};
        for (int i = 10; i >= 1; --i)
            expected << QStringLiteral("Check3(%1)").arg(i);
        expected << "Command3"
                 << "Command4"
                 << "Combo1"
                 << "Text2(0)"
                 << "Text2(1)"
                 << "Text2(2)"
                 << "Text2(3)"
                 << "Text3"
                 << "Command5"
                 << "Command6"
                 << "Command8"
                 << "Command7";
        for (int i = 1; i <= 10; ++i)
            expected << QStringLiteral("Text4(%1)").arg(i);

        QStringList chain;
        QWidget* w = window_->Command1;
        do {
            if (expected.contains(w->objectName()) && !chain.contains(w->objectName()))
                chain << w->objectName();
            w = w->nextInFocusChain();
        } while (w != window_->Command1);
        QCOMPARE(chain, expected);
    }

    void focusStartsOnTheBeepBox() {
        window_->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(window_.get()));
        QCOMPARE(QApplication::focusWidget(), window_->Check2);
        // Tab skips the disabled controls and the locked key counter.
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        QCOMPARE(QApplication::focusWidget(), window_->Text22);
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        QCOMPARE(QApplication::focusWidget(), window_->Text1);
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        QCOMPARE(QApplication::focusWidget(), window_->Command3);
    }

    void typingAtStartUpCountsNothing() {
        window_->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(window_.get()));
        window_->Text1->setFocus();
        QTest::keyClicks(window_->Text1, QStringLiteral("ab"));
        QCOMPARE(window_->Text1->text(), QStringLiteral("ab"));
        QCOMPARE(window_->Label3->text(), QStringLiteral("Input"));
        QCOMPARE(window_->Label4->text(), QStringLiteral("Times Hit"));
    }

    void aFrameLocksItsControlsAndGivesBackTheirOwnState() {
        QGroupBox* frame = window_->Frame2;
        QCheckBox* mode = window_->Check3[3];
        QLineEdit* name = window_->Text4[3];
        QVERIFY(!name->isEnabled());
        QVERIFY(name->isEnabledTo(frame));
        frame->setEnabled(true);
        QVERIFY(name->isEnabled());
        QVERIFY(!mode->isEnabled()); // disabled itself: stays so inside an enabled frame
        mode->setEnabled(true);
        frame->setEnabled(false);
        QVERIFY(!mode->isEnabled());
        frame->setEnabled(true);
        QVERIFY(mode->isEnabled());

        window_->Frame1->setEnabled(false);
        QVERIFY(!window_->Combo1->isEnabled());
        QVERIFY(!window_->Command5->isEnabled());
        window_->Frame1->setEnabled(true);
        QVERIFY(window_->Combo1->isEnabled());
    }

    void accessibility() {
        // Boxes without a text of their own carry a name; headings are buddies of their boxes.
        QVERIFY(!window_->Check2->accessibleName().isEmpty());
        for (int i = 1; i <= 10; ++i) {
            const auto slot = static_cast<std::size_t>(i);
            QVERIFY(window_->Check3[slot]->accessibleName().contains(QString::number(i)));
            QVERIFY(window_->Text4[slot]->accessibleName().contains(QString::number(i)));
        }
        QCOMPARE(window_->Label15->buddy(), window_->Text2[0]);
        QCOMPARE(window_->Label16->buddy(), window_->Text2[1]);
        QCOMPARE(window_->Label17->buddy(), window_->Text2[2]);
        QCOMPARE(window_->Label18->buddy(), window_->Text2[3]);
        QCOMPARE(window_->Label20->buddy(), window_->Text3);
        QCOMPARE(window_->Label11->buddy(), window_->Combo1);
        QCOMPARE(window_->Label6->buddy(), window_->Text22);
        QCOMPARE(window_->Label12->buddy(), window_->Text1);
        QCOMPARE(window_->Label14->buddy(), window_->Check2);
        // Labels and buttons keep their visible text as their accessible name.
        QVERIFY(window_->Command3->accessibleName().isEmpty());
        QVERIFY(window_->Label1->accessibleName().isEmpty());
    }

    void placeholderLabelsStayHidden() {
        window_->Label9[0]->setText(QStringLiteral("On"));
        window_->Label13[0]->setText(QStringLiteral(" 0"));
        QVERIFY(!window_->Label9[0]->isVisible());
        QVERIFY(!window_->Label13[0]->isVisible());
    }
};

QTEST_MAIN(TestMainWindow)
#include "test_mainwindow.moc"
