#include "app/scriptedsession.h"

#include "app/mainwindow.h"
#include "base/keys.h"

#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>

#include <cstdio>

namespace quorvia {

void startScriptedSession(MainWindow& window, const QString& keys) {
    if (keys.isEmpty())
        return;
    const QStringList fields{QStringLiteral("P-test"), QStringLiteral("1"),
                             QStringLiteral("scripted"), QStringLiteral("OB")};
    for (std::size_t i = 0; i < window.Text2.size(); ++i)
        window.Text2.at(i)->setText(fields.at(static_cast<qsizetype>(i)));
    window.setCombo1Text(QStringLiteral("10"));
    window.Text22->setText(QStringLiteral("3600"));
    window.Text1->setText(keys);
    window.Command3->click();
    window.Command3->click();
    window.Command1->click();

    // One character per press: a key beyond the basic plane is one press, not two UTF-16 halves.
    const QList<char32_t> presses = keysOf(keys);
    auto* typing = new QTimer(&window);
    typing->setInterval(3);
    QObject::connect(typing, &QTimer::timeout, &window,
                     [&window, presses, n = qsizetype(0)]() mutable {
                         const SessionRecord& r = window.record();
                         const std::int64_t row = r.nextEntry;
                         window.keyPress(presses.at(n++ % presses.size()));
                         if (r.nextEntry == row)
                             return;
                         std::printf("%lld\t%s\t%s\n", static_cast<long long>(row),
                                     qPrintable(r.entryTime(row)), qPrintable(r.entryEvent(row)));
                         std::fflush(stdout);
                     });
    typing->start();
}

} // namespace quorvia
