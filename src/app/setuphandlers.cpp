// Handlers of the set-up: the set-up button, Reset and the interval-length box.
#include "app/mainwindow.h"

#include "app/controlvalues.h"

#include "base/keys.h"
#include "base/numbers.h"
#include "setup/setupcheck.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace quorvia {

SessionParameterTexts MainWindow::setupTexts() const {
    SessionParameterTexts texts{Text2[0]->text(), Text2[1]->text(), Text2[2]->text(),
                                Text2[3]->text(), Text3->text(),    Combo1->currentText(),
                                Text22->text(),   Text1->text(),    {}};
    for (int i = 1; i <= kSlotCount; ++i) {
        const auto slot = static_cast<std::size_t>(i);
        texts.slotSetups.push_back({Text4[slot]->text(), checkValue(Check3[slot])});
    }
    return texts;
}

void MainWindow::command3Click() {
    const QString caption = Command3->text();
    if (caption == QLatin1String("Set")) {
        const bool passed = applySetPress(record_, setupTexts());
        Command3->setEnabled(false);
        Command4->setEnabled(true);
        Frame1->setEnabled(false);
        if (!passed) {
            Command3->setText(QStringLiteral("Error"));
            return;
        }
        Command3->setText(QStringLiteral("Check Keys"));
        Command3->setEnabled(true);
        Frame2->setEnabled(true);
        const QColor buttonFace = palette().color(QPalette::Button);
        const int keyCount = countKeys(record_.keysToHit);
        for (int i = 1; i <= kSlotCount; ++i) {
            const auto slot = static_cast<std::size_t>(i);
            showKeyCharacter(slot, QStringLiteral("-"));
            Check3[slot]->setEnabled(false);
            Text4[slot]->setEnabled(false);
            Label9[slot]->setText(QStringLiteral("On/Off"));
            Label13[slot]->setText(QStringLiteral("hit"));
            if (i <= keyCount) {
                showKeyCharacter(slot, keyLabel(keyOfSlot(record_.keysToHit, i)));
                Check3[slot]->setEnabled(true);
                Text4[slot]->setEnabled(true);
                setBackColour(Text4[slot], Qt::white);
            } else {
                Check3[slot]->setCheckState(Qt::Unchecked);
                Text4[slot]->clear();
                setBackColour(Text4[slot], buttonFace);
            }
        }
        return;
    }
    if (caption == QLatin1String("Check Keys")) {
        Command3->setEnabled(false);
        Command1->setEnabled(true);
        Command4->setEnabled(true);
        Frame2->setEnabled(false);
        Command6->setEnabled(true);
        const QColor buttonFace = palette().color(QPalette::Button);
        for (int i = 1; i <= kSlotCount; ++i) {
            const auto slot = static_cast<std::size_t>(i);
            if (Check3[slot]->checkState() == Qt::Unchecked) {
                setForeColour(Label9[slot], buttonFace);
                setForeColour(Label13[slot], Qt::black);
            } else {
                setForeColour(Label9[slot], Qt::black);
                Label9[slot]->setText(QStringLiteral("Off"));
                setForeColour(Label13[slot], buttonFace);
            }
        }
        Label10->setText(QStringLiteral(" 0"));
        record_.reset();
        record_.state = SessionState::Ready;
    }
}

void MainWindow::command4Click() {
    Command1->setEnabled(false);
    Command3->setEnabled(true);
    Command3->setText(QStringLiteral("Set"));
    Command4->setEnabled(false);
    Command6->setEnabled(false);
    Frame1->setEnabled(true);
    Frame2->setEnabled(false);
    for (int i = 1; i <= kSlotCount; ++i) {
        const auto slot = static_cast<std::size_t>(i);
        showKeyCharacter(slot, QStringLiteral("-"));
        Check3[slot]->setEnabled(false);
    }
    record_.state = SessionState::SetUp;
}

void MainWindow::combo1Change() {
    record_.intervalLength = leadingNumber(Combo1->currentText());
    const double value = record_.intervalLength;
    const QString number = shortestDecimal(value);
    drawTextLine(value < 0 ? number + QLatin1Char(' ')
                           : QLatin1Char(' ') + number + QLatin1Char(' '));
}

void MainWindow::setCombo1Text(const QString& text) {
    Combo1->setEditText(text);
    combo1Change();
}

} // namespace quorvia
