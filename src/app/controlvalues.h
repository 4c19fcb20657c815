#pragma once

// Reading and writing the control properties the handlers share.

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>

namespace quorvia {

// The value of a check box: 0 clear, 1 ticked, 2 greyed.
inline int checkValue(const QCheckBox* box) {
    switch (box->checkState()) {
    case Qt::Checked:
        return 1;
    case Qt::PartiallyChecked:
        return 2;
    case Qt::Unchecked:
        break;
    }
    return 0;
}

// The text colour of a label, the same whether the label can be used or not.
inline void setForeColour(QLabel* label, const QColor& colour) {
    QPalette palette = label->palette();
    palette.setColor(QPalette::WindowText, colour);
    label->setPalette(palette);
}

// The background colour of a text box.
inline void setBackColour(QLineEdit* box, const QColor& colour) {
    QPalette palette = box->palette();
    palette.setColor(QPalette::Base, colour);
    box->setPalette(palette);
}

} // namespace quorvia
