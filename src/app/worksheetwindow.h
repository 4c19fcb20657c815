#pragma once

#include "base/services.h"
#include "workbook/worksheet.h"

#include <QAbstractTableModel>
#include <QString>
#include <QWidget>

class QPushButton;
class QTableView;

namespace quorvia {

// The cells of a worksheet as a read-only table: column letters across, row numbers down,
// covering every row and column up to the last one that holds a cell.
class WorksheetModel final : public QAbstractTableModel {
    Q_OBJECT

public:
    explicit WorksheetModel(Worksheet sheet, QObject* parent = nullptr);

    const Worksheet& sheet() const { return sheet_; }

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;

private:
    Worksheet sheet_;
    int rows_ = 0;
    int columns_ = 0;
};

// The filled session worksheet in a window of its own, shown before it is saved and kept open
// until it has been saved (or the observer gives it up), so that a cancelled dialog or a failed
// save loses nothing: its "Save As..." button runs the save again.
class WorksheetWindow final : public QWidget {
    Q_OBJECT

public:
    WorksheetWindow(Platform& platform, Worksheet sheet, const QString& proposedName,
                    QWidget* parent = nullptr);

    const Worksheet& sheet() const { return model_->sheet(); }
    bool isSaved() const { return saved_; }

    // The save: the Save As dialog with the proposed name in the documents folder, the name
    // rules, the question before replacing a file under the extended name, the writing and the
    // messages. Closes the window after a successful save. Returns whether the workbook was saved.
    bool saveAs();

    QTableView* grid = nullptr;
    QPushButton* saveAsButton = nullptr;

signals:
    // After every save: the path saved to, or an empty text when nothing was saved.
    void saveFinished(const QString& filePath);

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void spillTexts();
    bool notSaved(const QString& message);

    Platform& platform_;
    QString proposedName_;
    WorksheetModel* model_ = nullptr;
    bool saved_ = false;
};

// The question asked before a window with unsaved session data closes.
inline const QString kCloseUnsavedQuestion =
    QStringLiteral("Session data have not been saved.\r\nClose anyway?");

} // namespace quorvia
