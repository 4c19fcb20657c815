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

// The controls of the window: name, kind, container, left, top, width, height (twips), enabled
// itself, shown, font size in points ("b" bold, "-" the window's), then the caption after "|"
// ("*" for the date, which is not fixed).
const char* const kControls = R"(
Label7 QLabel Form1 240 360 975 255 1 1 14.25|Time
Label2 QLabel Form1 240 840 1215 375 1 1 18| 0:　0
Label8 QLabel Form1 1680 360 1095 255 1 1 14.25|Interval
Label10 QLabel Form1 1680 840 1455 375 1 1 15.75b|Interval
Command1 QPushButton Form1 3360 840 975 495 0 1 -|Start
Label1 QLabel Form1 240 1560 2055 495 1 1 20.25|Status
Command2 QPushButton Form1 3360 1560 975 375 0 1 -|Terminate
Label22 QLabel Form1 240 2280 735 375 1 1 -|Last Key Being Hit
Label3 QLabel Form1 240 2760 735 495 1 1 -|Input
Label23 QLabel Form1 1320 2280 855 375 1 1 -|Number of Key Hit
Label4 QLabel Form1 1320 2760 735 495 1 1 -|Times Hit
Frame3 QGroupBox Form1 2400 2280 1935 855 0 1 -|Save Data
Frame1 QGroupBox Form1 4560 360 5415 3135 1 1 -|Session Paramaters
Command3 QPushButton Form1 10200 360 1095 495 1 1 -|Set
Command4 QPushButton Form1 10200 1080 1095 495 0 1 -|Reset
Command6 QPushButton Form1 10200 1800 1095 495 0 1 -|Save Parameters
Frame2 QGroupBox Form1 120 3600 11175 2895 0 1 -|Key Counter
Label13(0) QLabel Form1 2520 3240 255 255 1 0 -|gomi
Label9(0) QLabel Form1 2880 3240 255 255 1 0 -|gomi
Label15 QLabel Frame1 240 360 1215 255 1 1 -|Participant's ID
Text2(0) QLineEdit Frame1 120 600 1335 375 1 1 9.75|
Label16 QLabel Frame1 1560 360 1215 255 1 1 -|Session No.
Text2(1) QLineEdit Frame1 1680 600 615 375 1 1 9.75|
Label17 QLabel Frame1 2760 360 855 255 1 1 -|Condition
Text2(2) QLineEdit Frame1 2640 600 1215 375 1 1 9.75|
Label18 QLabel Frame1 3960 360 1095 255 1 1 -|Observer's ID
Text2(3) QLineEdit Frame1 4080 600 1215 375 1 1 9.75|
Label20 QLabel Frame1 120 1080 1335 255 1 1 -|Session Date
Text3 QLineEdit Frame1 120 1320 1215 375 1 1 9.75|*
Label19 QLabel Frame1 1560 1080 1575 255 1 1 -|Session Started at
Label21 QLabel Frame1 1800 1320 1095 375 1 1 -|Time
Label26 QLabel Frame1 3240 1080 1575 255 1 1 -|Session Ended at
Label25 QLabel Frame1 3480 1320 1455 375 1 1 -|Time
Label11 QLabel Frame1 120 1920 1335 255 1 1 -|Interval Length
Combo1 QComboBox Frame1 120 2160 1095 300 1 1 -| in Seconds
Label6 QLabel Frame1 1560 1920 1335 255 1 1 -|Session Duration
Text22 QLineEdit Frame1 1560 2160 975 375 1 1 9.75|
Label12 QLabel Frame1 3120 1920 1215 255 1 1 -|Keys to Hit
Text1 QLineEdit Frame1 3120 2160 1575 375 1 1 9.75|
Check2 QCheckBox Frame1 120 2640 255 255 1 1 -|
Label14 QLabel Frame1 360 2640 2415 255 1 1 -|Beep at Every Interval's End
Command5 QPushButton Frame1 3120 2640 1575 375 1 1 -|Load Parameters
Command7 QPushButton Frame3 120 360 1095 375 1 1 -|Yes
Command8 QPushButton Frame3 1320 360 495 375 1 1 -|No
)";

// The key slots: slot, then left, top, width, height of Label5, Text4, Check3, Label9, Label13.
// Their fonts: 20.25, 11.25, the window's, 12 and 12 points.
const char* const kSlots = R"(
1 240 240 255 375 600 360 1215 375 240 720 255 255 600 720 855 375 600 1080 735 255
2 2520 240 255 375 2910 360 1215 375 2640 720 255 255 3000 720 855 375 3000 1080 735 255
3 4800 240 255 375 5220 360 1215 375 4920 720 255 255 5280 720 855 375 5280 1080 735 255
4 7170 240 255 375 7530 360 1215 375 7200 720 255 255 7560 720 855 375 7560 1080 735 255
5 9480 240 255 375 9840 360 1215 375 9480 720 255 255 9840 720 855 375 9840 1080 735 255
6 240 1560 495 375 600 1680 1215 375 240 2040 255 255 600 2040 855 375 600 2400 735 255
7 2520 1560 495 375 2910 1680 1215 375 2520 2040 255 255 2880 2040 855 375 2880 2400 735 255
8 4800 1560 495 375 5220 1680 1215 375 4920 2040 255 255 5280 2040 855 375 5280 2400 735 255
9 7200 1560 495 375 7530 1680 1215 375 7200 2040 255 255 7560 2040 855 375 7560 2400 735 255
10 9480 1560 495 375 9840 1680 1215 375 9480 2040 255 255 9840 2040 855 375 9840 2400 735 255
)";

QString captionOf(QWidget* w) {
    if (auto* l = qobject_cast<QLabel*>(w))
        return l->text();
    if (auto* b = qobject_cast<QAbstractButton*>(w))
        return b->text();
    if (auto* g = qobject_cast<QGroupBox*>(w))
        return g->title();
    if (auto* e = qobject_cast<QLineEdit*>(w))
        return e->text();
    if (auto* c = qobject_cast<QComboBox*>(w))
        return c->currentText();
    return QStringLiteral("<unknown kind>");
}

QStringList lines(const char* table) {
    return QString::fromUtf8(table).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
}

} // namespace

class TestMainWindow : public QObject {
    Q_OBJECT

    test::FakePlatform fakes_;
    std::unique_ptr<MainWindow> w_;

    QWidget* control(const QString& name) { return w_->findChild<QWidget*>(name); }

private slots:
    void init() {
        w_ = std::make_unique<MainWindow>(fakes_.platform);
        w_->startUp();
        w_->show();
        QVERIFY(QTest::qWaitForWindowExposed(w_.get()));
    }
    void cleanup() { w_.reset(); }

    void theWindow() {
        QCOMPARE(w_->objectName(), QStringLiteral("Form1"));
        QCOMPARE(w_->windowTitle(), QStringLiteral("Quorvia   ver. 1.0"));
        QCOMPARE(w_->size(), QSize(767, 445));
        QCOMPARE(w_->minimumSize(), w_->maximumSize());
        const Qt::WindowFlags flags = w_->windowFlags();
        QVERIFY(flags.testFlag(Qt::WindowCloseButtonHint));
        QVERIFY(!flags.testFlag(Qt::WindowMinimizeButtonHint));
        QVERIFY(!flags.testFlag(Qt::WindowMaximizeButtonHint));
        QVERIFY(!w_->keyCaptureOn());
        QCOMPARE(w_->Timer1->interval(), 1000);
        QCOMPARE(w_->Timer1->timerType(), Qt::PreciseTimer);
        QVERIFY(!w_->Timer1->isActive());
        QStringList entries;
        for (int i = 0; i < w_->Combo1->count(); ++i)
            entries << w_->Combo1->itemText(i);
        QCOMPARE(entries, QStringList({"5", "6", "10", "12", "15", "20", "30", "60"}));
        QVERIFY(w_->Combo1->isEditable());
        QCOMPARE(w_->Text3->text(),
                 QLocale::system().toString(fakes_.clock.date, QLocale::ShortFormat));
    }

    void inventory_data() {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<QString>("container");
        QTest::addColumn<QRect>("twips");
        QTest::addColumn<bool>("enabled");
        QTest::addColumn<bool>("shown");
        QTest::addColumn<QString>("font");
        QTest::addColumn<QString>("caption");
        for (const QString& line : lines(kControls)) {
            const QString caption = line.section(QLatin1Char('|'), 1);
            const QStringList f = line.section(QLatin1Char('|'), 0, 0).split(QLatin1Char(' '));
            QTest::newRow(qPrintable(f[0]))
                << f[1] << f[2] << QRect(f[3].toInt(), f[4].toInt(), f[5].toInt(), f[6].toInt())
                << (f[7] == u"1") << (f[8] == u"1") << f[9] << caption;
        }
        const char* const names[] = {"Label5", "Text4", "Check3", "Label9", "Label13"};
        const char* const kinds[] = {"QLabel", "QLineEdit", "QCheckBox", "QLabel", "QLabel"};
        const char* const captions[] = {"-", "", "", "On/Off", "hit"};
        const char* const fonts[] = {"20.25", "11.25", "-", "12", "12"};
        for (const QString& line : lines(kSlots)) {
            const QStringList f = line.split(QLatin1Char(' '));
            for (int c = 0; c < 5; ++c) {
                const QString name = QStringLiteral("%1(%2)").arg(names[c], f[0]);
                const int b = 1 + 4 * c;
                QTest::newRow(qPrintable(name))
                    << kinds[c] << "Frame2"
                    << QRect(f[b].toInt(), f[b + 1].toInt(), f[b + 2].toInt(), f[b + 3].toInt())
                    << (c != 2) << true << fonts[c] << captions[c];
            }
        }
    }
    void inventory() {
        QFETCH(QString, kind);
        QFETCH(QString, container);
        QFETCH(QRect, twips);
        QFETCH(bool, enabled);
        QFETCH(bool, shown);
        QFETCH(QString, font);
        QFETCH(QString, caption);
        QWidget* w = control(QString::fromLatin1(QTest::currentDataTag()));
        QVERIFY(w);
        QCOMPARE(QString::fromLatin1(w->metaObject()->className()), kind);
        QCOMPARE(w->parentWidget()->objectName(), container);
        // 15 twips make one pixel at 96 dots per inch.
        QCOMPARE(w->geometry(), QRect(twips.left() / 15, twips.top() / 15, twips.width() / 15,
                                      twips.height() / 15));
        if (caption != u"*")
            QCOMPARE(captionOf(w), caption);
        QCOMPARE(w->isEnabledTo(w->parentWidget()), enabled);
        QCOMPARE(w->isVisible(), shown);
        if (font != u"-") {
            QCOMPARE(w->font().pointSizeF(), QString(font).remove(u'b').toDouble());
            QCOMPARE(w->font().bold(), font.endsWith(u'b'));
            QVERIFY(w->font().families().contains(QStringLiteral("MS PGothic")));
        }
        if (auto* l = qobject_cast<QLabel*>(w)) {
            QVERIFY(l->wordWrap());
            QCOMPARE(l->textFormat(), Qt::PlainText);
        }
    }

    void displaysAndInputMethod() {
        QCOMPARE(w_->Label1->alignment() & Qt::AlignHorizontal_Mask, Qt::AlignHCenter);
        QCOMPARE(w_->Label2->alignment() & Qt::AlignHorizontal_Mask, Qt::AlignRight);
        QCOMPARE(w_->Label10->alignment() & Qt::AlignHorizontal_Mask, Qt::AlignHCenter);
        for (QLabel* l : {w_->Label1, w_->Label2, w_->Label10, w_->Label3, w_->Label4})
            QVERIFY2(l->frameShape() != QFrame::NoFrame, qPrintable(l->objectName()));
        QCOMPARE(w_->Label7->frameShape(), QFrame::NoFrame);
        for (QLabel* l : {w_->Label1, w_->Label2}) {
            QCOMPARE(l->palette().color(QPalette::WindowText), QColor(8, 0, 0));
            QCOMPARE(l->palette().color(QPalette::Window), QColor(Qt::white));
            QVERIFY(l->autoFillBackground());
        }
        // The input method is off in the boxes that take numbers, keys and the date.
        for (QWidget* w :
             std::initializer_list<QWidget*>{w_->Text2[1], w_->Text3, w_->Text22, w_->Text1})
            QVERIFY(!w->testAttribute(Qt::WA_InputMethodEnabled));
        for (QWidget* w : std::initializer_list<QWidget*>{w_->Text2[0], w_->Text2[2], w_->Text4[5]})
            QVERIFY(w->testAttribute(Qt::WA_InputMethodEnabled));
    }

    void tabOrderAndFirstFocus() {
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
        QWidget* w = w_->Command1;
        do {
            if (expected.contains(w->objectName()) && !chain.contains(w->objectName()))
                chain << w->objectName();
            w = w->nextInFocusChain();
        } while (w != w_->Command1);
        QCOMPARE(chain, expected);

        // At start-up the focus is on the beep box; Tab skips what cannot be used.
        w_->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(w_.get()));
        QCOMPARE(QApplication::focusWidget(), w_->Check2);
        for (QWidget* next : std::initializer_list<QWidget*>{w_->Text22, w_->Text1, w_->Command3}) {
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
            QCOMPARE(QApplication::focusWidget(), next);
        }
        // Typing now only edits the focused box: no key is counted.
        w_->Text1->setFocus();
        QTest::keyClicks(w_->Text1, QStringLiteral("ab"));
        QCOMPARE(w_->Text1->text(), QStringLiteral("ab"));
        QCOMPARE(w_->Label3->text(), QStringLiteral("Input"));
    }

    void aFrameLocksItsControlsAndGivesBackTheirOwnState() {
        QCheckBox* mode = w_->Check3[3];
        QLineEdit* name = w_->Text4[3];
        QVERIFY(!name->isEnabled());
        w_->Frame2->setEnabled(true);
        QVERIFY(name->isEnabled());
        QVERIFY(!mode->isEnabled()); // disabled itself: stays so inside an enabled frame
        mode->setEnabled(true);
        w_->Frame2->setEnabled(false);
        QVERIFY(!mode->isEnabled());
        w_->Frame2->setEnabled(true);
        QVERIFY(mode->isEnabled());
    }

    void accessibility() {
        // Boxes without a text of their own carry a name; headings are buddies of their boxes.
        QVERIFY(!w_->Check2->accessibleName().isEmpty());
        for (int i = 1; i <= 10; ++i) {
            QVERIFY(w_->Check3[i]->accessibleName().contains(QString::number(i)));
            QVERIFY(w_->Text4[i]->accessibleName().contains(QString::number(i)));
        }
        const QList<std::pair<QLabel*, QWidget*>> buddies{
            {w_->Label15, w_->Text2[0]}, {w_->Label16, w_->Text2[1]}, {w_->Label17, w_->Text2[2]},
            {w_->Label18, w_->Text2[3]}, {w_->Label20, w_->Text3},    {w_->Label11, w_->Combo1},
            {w_->Label6, w_->Text22},    {w_->Label12, w_->Text1},    {w_->Label14, w_->Check2}};
        for (const auto& [heading, box] : buddies)
            QCOMPARE(heading->buddy(), box);
        // Labels and buttons keep their visible text as what a screen reader reads.
        QVERIFY(w_->Command3->accessibleName().isEmpty());
        QVERIFY(w_->Label1->accessibleName().isEmpty());
    }
};

QTEST_MAIN(TestMainWindow)
#include "test_mainwindow.moc"
