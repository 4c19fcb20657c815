#include "app/mainwindow.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QFontMetricsF>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QPainter>
#include <QPushButton>
#include <QStyleOptionButton>
#include <QStylePainter>

#include <algorithm>

namespace quorvia {

int twipsToPixels(int twips) {
    return (twips + 7) / 15;
}

namespace {

constexpr int kClientWidthTwips = 11505;
constexpr int kClientHeightTwips = 6675;
// The key characters' size, and the smallest a wide character is drawn at to fit its label.
constexpr double kKeyPoints = 20.25;
constexpr double kSmallestKeyPoints = 6;

struct Box {
    int left;
    int top;
    int width;
    int height;
};

template <typename W> W* place(QWidget* parent, const QString& name, Box box) {
    auto* widget = new W(parent);
    widget->setObjectName(name);
    widget->setGeometry(twipsToPixels(box.left), twipsToPixels(box.top), twipsToPixels(box.width),
                        twipsToPixels(box.height));
    return widget;
}

QString arrayName(const char* name, int index) {
    return QStringLiteral("%1(%2)").arg(QLatin1String(name)).arg(index);
}

// The face the window's texts are drawn in: MS PGothic where the system has it, else its free
// counterpart IPA P Gothic (same metrics), otherwise a sans-serif face of the same size.
QFont gothic(double points, bool bold = false) {
    QFont font;
    font.setFamilies(
        {QStringLiteral("MS PGothic"), QStringLiteral("IPAPGothic"), QStringLiteral("Sans Serif")});
    font.setStyleHint(QFont::SansSerif);
    font.setPointSizeF(points);
    font.setBold(bold);
    return font;
}

QLabel* label(QWidget* parent, const QString& name, const QString& caption, Box box) {
    auto* l = place<QLabel>(parent, name, box);
    l->setTextFormat(Qt::PlainText);
    l->setWordWrap(true);
    l->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    l->setIndent(0);
    l->setText(caption);
    return l;
}

void withBorder(QLabel* l) {
    l->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    l->setLineWidth(1);
}

void withWhiteBackground(QLabel* l, const QColor& text) {
    QPalette palette = l->palette();
    palette.setColor(QPalette::Window, palette.color(QPalette::Base));
    palette.setColor(QPalette::WindowText, text);
    l->setPalette(palette);
    l->setAutoFillBackground(true);
}

// A push button whose caption wraps at word boundaries when it is wider than the button, as
// "Save Parameters" and "Hit ESC to pause" are.
class WrappingButton : public QPushButton {
public:
    using QPushButton::QPushButton;

protected:
    void paintEvent(QPaintEvent*) override {
        QStylePainter painter(this);
        QStyleOptionButton option;
        initStyleOption(&option);
        const QString caption = option.text;
        option.text.clear();
        painter.drawControl(QStyle::CE_PushButton, option);
        const QRect area = style()->subElementRect(QStyle::SE_PushButtonContents, &option, this);
        painter.drawItemText(area, Qt::AlignCenter | Qt::TextWordWrap, palette(), isEnabled(),
                             caption, QPalette::ButtonText);
    }
};

QPushButton* button(QWidget* parent, const QString& name, const QString& caption, Box box) {
    auto* b = place<WrappingButton>(parent, name, box);
    b->setText(caption);
    b->setAutoDefault(false);
    return b;
}

QLineEdit* textBox(QWidget* parent, const QString& name, Box box, double points = 0) {
    auto* t = place<QLineEdit>(parent, name, box);
    if (points > 0)
        t->setFont(gothic(points));
    return t;
}

void withoutInputMethod(QWidget* w) {
    w->setAttribute(Qt::WA_InputMethodEnabled, false);
}

QGroupBox* frame(QWidget* parent, const QString& name, const QString& caption, Box box) {
    auto* f = place<QGroupBox>(parent, name, box);
    f->setTitle(caption);
    return f;
}

// Slot positions in the key counter frame, slots 1 to 10.
struct SlotBoxes {
    Box key;
    Box name;
    Box mode;
    Box onOff;
    Box hits;
};

// clang-format off
constexpr std::array<SlotBoxes, kSlotCount> kSlotBoxes{{
    {{240, 240, 255, 375}, {600, 360, 1215, 375}, {240, 720, 255, 255}, {600, 720, 855, 375}, {600, 1080, 735, 255}},
    {{2520, 240, 255, 375}, {2910, 360, 1215, 375}, {2640, 720, 255, 255}, {3000, 720, 855, 375}, {3000, 1080, 735, 255}},
    {{4800, 240, 255, 375}, {5220, 360, 1215, 375}, {4920, 720, 255, 255}, {5280, 720, 855, 375}, {5280, 1080, 735, 255}},
    {{7170, 240, 255, 375}, {7530, 360, 1215, 375}, {7200, 720, 255, 255}, {7560, 720, 855, 375}, {7560, 1080, 735, 255}},
    {{9480, 240, 255, 375}, {9840, 360, 1215, 375}, {9480, 720, 255, 255}, {9840, 720, 855, 375}, {9840, 1080, 735, 255}},
    {{240, 1560, 495, 375}, {600, 1680, 1215, 375}, {240, 2040, 255, 255}, {600, 2040, 855, 375}, {600, 2400, 735, 255}},
    {{2520, 1560, 495, 375}, {2910, 1680, 1215, 375}, {2520, 2040, 255, 255}, {2880, 2040, 855, 375}, {2880, 2400, 735, 255}},
    {{4800, 1560, 495, 375}, {5220, 1680, 1215, 375}, {4920, 2040, 255, 255}, {5280, 2040, 855, 375}, {5280, 2400, 735, 255}},
    {{7200, 1560, 495, 375}, {7530, 1680, 1215, 375}, {7200, 2040, 255, 255}, {7560, 2040, 855, 375}, {7560, 2400, 735, 255}},
    {{9480, 1560, 495, 375}, {9840, 1680, 1215, 375}, {9480, 2040, 255, 255}, {9840, 2040, 855, 375}, {9840, 2400, 735, 255}},
}};
// clang-format on

} // namespace

MainWindow::MainWindow(Platform& platform, QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                          Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint |
                          Qt::MSWindowsFixedSizeDialogHint)
    , platform_(platform)
    , journal_(platform.journal) {
    setObjectName(QStringLiteral("Form1"));
    setWindowTitle(QStringLiteral("Quorvia   ver. 1.0"));
    setFont(gothic(8.25));
    setFixedSize(twipsToPixels(kClientWidthTwips), twipsToPixels(kClientHeightTwips));
    buildControls();
    buildTabOrder();
}

MainWindow::~MainWindow() {
    setKeyCapture(false);
}

void MainWindow::buildControls() {
    const QColor nearBlack(8, 0, 0);

    // Left part and right column, directly on the window.
    Label7 = label(this, QStringLiteral("Label7"), QStringLiteral("Time"), {240, 360, 975, 255});
    Label7->setFont(gothic(14.25));
    Label2 =
        label(this, QStringLiteral("Label2"), QStringLiteral(" 0:\u30000"), {240, 840, 1215, 375});
    Label2->setFont(gothic(18));
    Label2->setAlignment(Qt::AlignRight | Qt::AlignTop);
    withBorder(Label2);
    withWhiteBackground(Label2, nearBlack);
    Label8 =
        label(this, QStringLiteral("Label8"), QStringLiteral("Interval"), {1680, 360, 1095, 255});
    Label8->setFont(gothic(14.25));
    Label10 =
        label(this, QStringLiteral("Label10"), QStringLiteral("Interval"), {1680, 840, 1455, 375});
    Label10->setFont(gothic(15.75, true));
    Label10->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    withBorder(Label10);
    withWhiteBackground(Label10, palette().color(QPalette::Text));
    Command1 =
        button(this, QStringLiteral("Command1"), QStringLiteral("Start"), {3360, 840, 975, 495});
    Command1->setEnabled(false);
    Label1 =
        label(this, QStringLiteral("Label1"), QStringLiteral("Status"), {240, 1560, 2055, 495});
    Label1->setFont(gothic(20.25));
    Label1->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    withBorder(Label1);
    withWhiteBackground(Label1, nearBlack);
    Command2 = button(this, QStringLiteral("Command2"), QStringLiteral("Terminate"),
                      {3360, 1560, 975, 375});
    Command2->setEnabled(false);
    Label22 = label(this, QStringLiteral("Label22"), QStringLiteral("Last Key Being Hit"),
                    {240, 2280, 735, 375});
    Label3 = label(this, QStringLiteral("Label3"), QStringLiteral("Input"), {240, 2760, 735, 495});
    withBorder(Label3);
    Label23 = label(this, QStringLiteral("Label23"), QStringLiteral("Number of Key Hit"),
                    {1320, 2280, 855, 375});
    Label4 =
        label(this, QStringLiteral("Label4"), QStringLiteral("Times Hit"), {1320, 2760, 735, 495});
    withBorder(Label4);

    Frame3 =
        frame(this, QStringLiteral("Frame3"), QStringLiteral("Save Data"), {2400, 2280, 1935, 855});
    Command7 =
        button(Frame3, QStringLiteral("Command7"), QStringLiteral("Yes"), {120, 360, 1095, 375});
    Command8 =
        button(Frame3, QStringLiteral("Command8"), QStringLiteral("No"), {1320, 360, 495, 375});
    Frame3->setEnabled(false);

    // The session parameters.
    Frame1 = frame(this, QStringLiteral("Frame1"), QStringLiteral("Session Paramaters"),
                   {4560, 360, 5415, 3135});
    Label15 = label(Frame1, QStringLiteral("Label15"), QStringLiteral("Participant's ID"),
                    {240, 360, 1215, 255});
    Text2[0] = textBox(Frame1, arrayName("Text2", 0), {120, 600, 1335, 375}, 9.75);
    Label16 = label(Frame1, QStringLiteral("Label16"), QStringLiteral("Session No."),
                    {1560, 360, 1215, 255});
    Text2[1] = textBox(Frame1, arrayName("Text2", 1), {1680, 600, 615, 375}, 9.75);
    withoutInputMethod(Text2[1]);
    Label17 = label(Frame1, QStringLiteral("Label17"), QStringLiteral("Condition"),
                    {2760, 360, 855, 255});
    Text2[2] = textBox(Frame1, arrayName("Text2", 2), {2640, 600, 1215, 375}, 9.75);
    Label18 = label(Frame1, QStringLiteral("Label18"), QStringLiteral("Observer's ID"),
                    {3960, 360, 1095, 255});
    Text2[3] = textBox(Frame1, arrayName("Text2", 3), {4080, 600, 1215, 375}, 9.75);
    Label20 = label(Frame1, QStringLiteral("Label20"), QStringLiteral("Session Date"),
                    {120, 1080, 1335, 255});
    Text3 = textBox(Frame1, QStringLiteral("Text3"), {120, 1320, 1215, 375}, 9.75);
    withoutInputMethod(Text3);
    Label19 = label(Frame1, QStringLiteral("Label19"), QStringLiteral("Session Started at"),
                    {1560, 1080, 1575, 255});
    Label21 =
        label(Frame1, QStringLiteral("Label21"), QStringLiteral("Time"), {1800, 1320, 1095, 375});
    Label26 = label(Frame1, QStringLiteral("Label26"), QStringLiteral("Session Ended at"),
                    {3240, 1080, 1575, 255});
    Label25 =
        label(Frame1, QStringLiteral("Label25"), QStringLiteral("Time"), {3480, 1320, 1455, 375});
    Label11 = label(Frame1, QStringLiteral("Label11"), QStringLiteral("Interval Length"),
                    {120, 1920, 1335, 255});
    Combo1 = place<QComboBox>(Frame1, QStringLiteral("Combo1"), {120, 2160, 1095, 300});
    Combo1->setEditable(true);
    Combo1->setInsertPolicy(QComboBox::NoInsert);
    // A typed "2" must stay 2, not be completed to the list entry "20".
    Combo1->setCompleter(nullptr);
    Combo1->addItems({QStringLiteral("5"), QStringLiteral("6"), QStringLiteral("10"),
                      QStringLiteral("12"), QStringLiteral("15"), QStringLiteral("20"),
                      QStringLiteral("30"), QStringLiteral("60")});
    Combo1->setCurrentIndex(-1);
    Combo1->setEditText(QStringLiteral(" in Seconds"));
    Combo1->lineEdit()->setCursorPosition(0);
    Label6 = label(Frame1, QStringLiteral("Label6"), QStringLiteral("Session Duration"),
                   {1560, 1920, 1335, 255});
    Text22 = textBox(Frame1, QStringLiteral("Text22"), {1560, 2160, 975, 375}, 9.75);
    withoutInputMethod(Text22);
    Label12 = label(Frame1, QStringLiteral("Label12"), QStringLiteral("Keys to Hit"),
                    {3120, 1920, 1215, 255});
    Text1 = textBox(Frame1, QStringLiteral("Text1"), {3120, 2160, 1575, 375}, 9.75);
    withoutInputMethod(Text1);
    Check2 = place<QCheckBox>(Frame1, QStringLiteral("Check2"), {120, 2640, 255, 255});
    Label14 = label(Frame1, QStringLiteral("Label14"),
                    QStringLiteral("Beep at Every Interval's End"), {360, 2640, 2415, 255});
    Command5 = button(Frame1, QStringLiteral("Command5"), QStringLiteral("Load Parameters"),
                      {3120, 2640, 1575, 375});

    Command3 =
        button(this, QStringLiteral("Command3"), QStringLiteral("Set"), {10200, 360, 1095, 495});
    Command4 =
        button(this, QStringLiteral("Command4"), QStringLiteral("Reset"), {10200, 1080, 1095, 495});
    Command4->setEnabled(false);
    Command6 = button(this, QStringLiteral("Command6"), QStringLiteral("Save Parameters"),
                      {10200, 1800, 1095, 495});
    Command6->setEnabled(false);

    // The ten key slots.
    Frame2 = frame(this, QStringLiteral("Frame2"), QStringLiteral("Key Counter"),
                   {120, 3600, 11175, 2895});
    for (int i = 1; i <= kSlotCount; ++i) {
        const SlotBoxes& boxes = kSlotBoxes[static_cast<std::size_t>(i - 1)];
        const auto slot = static_cast<std::size_t>(i);
        Label5[slot] = label(Frame2, arrayName("Label5", i), QStringLiteral("-"), boxes.key);
        Label5[slot]->setFont(gothic(kKeyPoints));
        Text4[slot] = textBox(Frame2, arrayName("Text4", i), boxes.name, 11.25);
        Text4[slot]->setAccessibleName(QStringLiteral("Key slot %1 behaviour").arg(i));
        Check3[slot] = place<QCheckBox>(Frame2, arrayName("Check3", i), boxes.mode);
        Check3[slot]->setEnabled(false);
        Check3[slot]->setAccessibleName(QStringLiteral("Key slot %1 On/Off mode").arg(i));
        Label9[slot] = label(Frame2, arrayName("Label9", i), QStringLiteral("On/Off"), boxes.onOff);
        Label9[slot]->setFont(gothic(12));
        Label13[slot] = label(Frame2, arrayName("Label13", i), QStringLiteral("hit"), boxes.hits);
        Label13[slot]->setFont(gothic(12));
    }
    Frame2->setEnabled(false);

    // Placeholders for characters bound to no slot: written to, never shown.
    Label13[0] =
        label(this, arrayName("Label13", 0), QStringLiteral("gomi"), {2520, 3240, 255, 255});
    Label13[0]->hide();
    Label9[0] = label(this, arrayName("Label9", 0), QStringLiteral("gomi"), {2880, 3240, 255, 255});
    Label9[0]->hide();

    Timer1 = new QTimer(this);
    Timer1->setObjectName(QStringLiteral("Timer1"));
    Timer1->setInterval(1000);
    Timer1->setTimerType(Qt::PreciseTimer);

    // Headings name the boxes they head; boxes without a text of their own get a name.
    Label15->setBuddy(Text2[0]);
    Label16->setBuddy(Text2[1]);
    Label17->setBuddy(Text2[2]);
    Label18->setBuddy(Text2[3]);
    Label20->setBuddy(Text3);
    Label11->setBuddy(Combo1);
    Label6->setBuddy(Text22);
    Label12->setBuddy(Text1);
    Label14->setBuddy(Check2);
    Check2->setAccessibleName(Label14->text());

    connect(Command1, &QPushButton::clicked, this, &MainWindow::command1Click);
    connect(Command2, &QPushButton::clicked, this, &MainWindow::command2Click);
    connect(Command3, &QPushButton::clicked, this, &MainWindow::command3Click);
    connect(Command4, &QPushButton::clicked, this, &MainWindow::command4Click);
    connect(Command5, &QPushButton::clicked, this, &MainWindow::command5Click);
    connect(Command6, &QPushButton::clicked, this, &MainWindow::command6Click);
    connect(Command7, &QPushButton::clicked, this, &MainWindow::command7Click);
    connect(Command8, &QPushButton::clicked, this, &MainWindow::command8Click);
    // Typing in the box raises the change handling; a pick from the list does not.
    connect(Combo1->lineEdit(), &QLineEdit::textEdited, this, &MainWindow::combo1Change);
    connect(Timer1, &QTimer::timeout, this, &MainWindow::timer1Timer);
}

void MainWindow::buildTabOrder() {
    QList<QWidget*> order{Command1, Command2, Check2, Text22, Text1};
    for (int i = kSlotCount; i >= 1; --i)
        order << Check3[static_cast<std::size_t>(i)];
    order << Command3 << Command4 << Combo1 << Text2[0] << Text2[1] << Text2[2] << Text2[3] << Text3
          << Command5 << Command6 << Command8 << Command7;
    for (int i = 1; i <= kSlotCount; ++i)
        order << Text4[static_cast<std::size_t>(i)];
    for (qsizetype i = 1; i < order.size(); ++i)
        setTabOrder(order[i - 1], order[i]);
    // At start-up the first usable control in that order takes the focus.
    Check2->setFocus(Qt::OtherFocusReason);
}

void MainWindow::startUp() {
    Text3->setText(QLocale::system().toString(platform_.clock.today(), QLocale::ShortFormat));
}

void MainWindow::showKeyCharacter(std::size_t slot, const QString& text) {
    QLabel* key = Label5.at(slot);
    const double width = key->contentsRect().width();
    double points = kKeyPoints;
    QFont font = gothic(points);
    for (;;) {
        const QFontMetricsF metrics(font);
        const QRectF ink = metrics.boundingRect(text);
        const double needed =
            std::max(ink.right(), metrics.horizontalAdvance(text)) - std::min(ink.left(), 0.0);
        if (needed <= width || points <= kSmallestKeyPoints)
            break;
        points -= 0.75;
        font.setPointSizeF(points);
    }
    key->setFont(font);
    key->setText(text);
}

void MainWindow::drawTextLine(const QString& text) {
    drawnTexts_ << text;
    update();
}

void MainWindow::paintEvent(QPaintEvent* event) {
    QWidget::paintEvent(event);
    if (drawnTexts_.isEmpty())
        return;
    QPainter painter(this);
    painter.setPen(palette().color(QPalette::WindowText));
    const QFontMetrics metrics(font());
    int baseline = metrics.ascent();
    for (const QString& text : drawnTexts_) {
        painter.drawText(0, baseline, text);
        baseline += metrics.lineSpacing();
    }
}

} // namespace quorvia
