// Handlers of the parameter file: Save Parameters and Load Parameters.
#include "app/mainwindow.h"

#include "app/controlvalues.h"
#include "base/savepath.h"

#include "setup/parameterfile.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFileInfo>
#include <QLineEdit>
#include <QPushButton>

namespace quorvia {

namespace {

const QString kFilter = QStringLiteral("Parameter File (*.p)");

void setCheckValue(QCheckBox* box, int value) {
    // Only a greyed box needs the third state; clicks then cycle through it as well.
    box->setTristate(value == 2);
    box->setCheckState(value == 2   ? Qt::PartiallyChecked
                       : value == 1 ? Qt::Checked
                                    : Qt::Unchecked);
}

} // namespace

void MainWindow::command6Click() {
    Command6->setEnabled(false);

    ParameterSetup setup;
    setup.parameters() = setupTexts();
    setup.beep = checkValue(Check2);
    const ParameterFields fields = parameterFieldsFrom(setup);

    const QString notSaved = QStringLiteral("Parameters were not saved.");
    filePath_ = chooseSavePath(
        this, platform_.dialogs, platform_.messages,
        {QStringLiteral("Save As"), documentsFolder(), proposedParameterFileName(fields), kFilter});
    if (filePath_.isEmpty()) {
        platform_.messages.inform(this, notSaved);
        return;
    }
    if (!writeParameterFile(filePath_, fields))
        platform_.messages.inform(this, QStringLiteral("An error has occured.\r\n") + notSaved);
}

void MainWindow::command5Click() {
    filePath_ = platform_.dialogs.openFileName(
        this, {QStringLiteral("Open File"), documentsFolder(), QString(), kFilter});
    if (filePath_.isEmpty())
        return;
    if (!hasParameterExtension(filePath_)) {
        platform_.messages.inform(this, QStringLiteral("Please select a correct file."));
        return;
    }

    // The behaviour names are emptied once a file is accepted, whatever the reading gives.
    for (int i = 1; i <= kSlotCount; ++i)
        Text4[static_cast<std::size_t>(i)]->clear();

    auto failed = [this] {
        platform_.messages.inform(
            this, QStringLiteral("An error has occured.\r\nPlease select a correct file."));
    };
    const std::optional<ParameterFields> fields = readParameterFile(filePath_);
    if (!fields)
        return failed();

    // The controls are filled in order; the first value that does not convert ends the load,
    // and the controls filled before it keep their new values.
    const LoadedSetup setup = loadedSetupFrom(*fields);
    for (std::size_t i = 0; i < setup.sessionTexts.size(); ++i)
        Text2[i]->setText(setup.sessionTexts[i]);
    if (!setup.intervalLength)
        return failed();
    setCombo1Text(*setup.intervalLength);
    if (!setup.sessionDuration)
        return failed();
    Text22->setText(*setup.sessionDuration);
    if (!setup.keysToHit)
        return failed();
    Text1->setText(*setup.keysToHit);
    if (!setup.beep)
        return failed();
    setCheckValue(Check2, *setup.beep);
    for (int i = 1; i <= kSlotCount; ++i) {
        const auto slot = static_cast<std::size_t>(i);
        if (!setup.modes[slot - 1])
            return failed();
        setCheckValue(Check3[slot], *setup.modes[slot - 1]);
    }
    for (int i = 1; i <= kSlotCount; ++i) {
        const auto slot = static_cast<std::size_t>(i);
        Text4[slot]->setText(setup.behaviourNames[slot - 1]);
    }
}

} // namespace quorvia
