// The interval tone lives in a module the program loads after its window is shown: it must load
// on its own (every symbol resolved), make its beeper, and sound without a sound server.
#include "base/services.h"

#include <QLibrary>
#include <QTest>

#include <memory>

class ToneModuleTest : public QObject {
    Q_OBJECT

private slots:
    void loadsAndBeeps() {
        QLibrary module(QStringLiteral(QUORVIA_TONE_MODULE));
        module.setLoadHints(QLibrary::ResolveAllSymbolsHint);
        using Create = quorvia::Beeper* (*)();
        const auto create = reinterpret_cast<Create>(module.resolve("quorvia_create_tone"));
        QVERIFY2(create != nullptr, qPrintable(module.errorString()));
        std::unique_ptr<quorvia::Beeper> beeper(create());
        QVERIFY(beeper != nullptr);
        for (int i = 0; i < 3; ++i)
            beeper->beep(); // the tone, or the desktop bell where no output opens
        QTest::qWait(300);
    }
};

QTEST_MAIN(ToneModuleTest)
#include "test_tonemodule.moc"
