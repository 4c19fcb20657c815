#pragma once

// Prepares a session in a window through its own controls, as an observer would.

#include "app/mainwindow.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>

namespace quorvia::bench {

// Fills the set-up frame, presses "Set" and "Check Keys". Returns whether "Start" is usable.
inline bool setUpSession(MainWindow& window, const QString& keys, const QString& duration,
                         const QString& interval) {
    window.Text2[0]->setText(QStringLiteral("P01"));
    window.Text2[1]->setText(QStringLiteral("1"));
    window.Text2[2]->setText(QStringLiteral("bench"));
    window.Text2[3]->setText(QStringLiteral("OB"));
    window.Text3->setText(QStringLiteral("2026/12/06"));
    window.Combo1->setEditText(interval);
    window.Text22->setText(duration);
    window.Text1->setText(keys);
    window.Command3->click();
    if (window.Command3->text() != QLatin1String("Check Keys"))
        return false;
    window.Command3->click();
    return window.Command1->isEnabled() && window.Command1->text() == QLatin1String("Start");
}

} // namespace quorvia::bench
