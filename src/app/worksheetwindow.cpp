#include "app/worksheetwindow.h"

#include "base/numbers.h"
#include "base/savepath.h"
#include "report/sessionsheet.h"
#include "report/workbookname.h"
#include "workbook/workbookwriter.h"

#include <QCloseEvent>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QPushButton>
#include <QTableView>
#include <QVBoxLayout>

#include <algorithm>
#include <exception>

namespace quorvia {

namespace {

const QString kNotSaved = QStringLiteral("Data were not saved.");
const QString kSaveFailed = QStringLiteral("An error has occured.\r\nData were not saved.");

} // namespace

WorksheetModel::WorksheetModel(Worksheet sheet, QObject* parent)
    : QAbstractTableModel(parent)
    , sheet_(std::move(sheet)) {
    for (const auto& [place, value] : sheet_.cells()) {
        rows_ = std::max(rows_, place.first);
        columns_ = std::max(columns_, place.second);
    }
}

int WorksheetModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : rows_;
}

int WorksheetModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : columns_;
}

QVariant WorksheetModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid())
        return {};
    const CellValue* value = sheet_.at(index.row() + 1, index.column() + 1);
    if (value == nullptr)
        return {};
    const QString* text = std::get_if<QString>(value);
    if (role == Qt::DisplayRole || role == Qt::ToolTipRole)
        return text ? *text : localeDecimal(std::get<double>(*value));
    if (role == Qt::TextAlignmentRole)
        return QVariant::fromValue(Qt::AlignVCenter | (text ? Qt::AlignLeft : Qt::AlignRight));
    return {};
}

QVariant WorksheetModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (role != Qt::DisplayRole)
        return QAbstractTableModel::headerData(section, orientation, role);
    if (orientation == Qt::Horizontal)
        return columnLetters(section + 1);
    return QString::number(section + 1);
}

Qt::ItemFlags WorksheetModel::flags(const QModelIndex& index) const {
    if (!index.isValid())
        return Qt::NoItemFlags;
    return Qt::ItemIsEnabled | Qt::ItemIsSelectable;
}

WorksheetWindow::WorksheetWindow(Platform& platform, Worksheet sheet, const QString& proposedName,
                                 QWidget* parent)
    : QWidget(parent, Qt::Window)
    , platform_(platform)
    , proposedName_(proposedName) {
    setObjectName(QStringLiteral("WorksheetWindow"));
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(proposedName);
    resize(900, 600);

    model_ = new WorksheetModel(std::move(sheet), this);
    grid = new QTableView(this);
    grid->setObjectName(QStringLiteral("Grid"));
    grid->setModel(model_);
    grid->setEditTriggers(QAbstractItemView::NoEditTriggers);
    grid->setWordWrap(false);
    grid->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    grid->verticalHeader()->setDefaultSectionSize(grid->fontMetrics().height() + 6);
    spillTexts();

    saveAsButton = new QPushButton(QStringLiteral("Save As..."), this);
    saveAsButton->setObjectName(QStringLiteral("SaveAsButton"));
    saveAsButton->setAutoDefault(false);
    connect(saveAsButton, &QPushButton::clicked, this, [this] { saveAs(); });

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(saveAsButton);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(grid);
    layout->addLayout(buttons);
}

// A text wider than its column runs on over the empty cells right of it, as a spreadsheet shows
// it, so that the header lines show their values.
void WorksheetWindow::spillTexts() {
    const QFontMetrics metrics = grid->fontMetrics();
    const int width = grid->horizontalHeader()->defaultSectionSize();
    const int padding = 2 * metrics.averageCharWidth();
    const Worksheet& cells = model_->sheet();
    for (const auto& [place, value] : cells.cells()) {
        // (Measured only where it may be too wide and has room to run on.)
        const QString* text = std::get_if<QString>(&value);
        if (!text || 2 * text->size() * metrics.averageCharWidth() < width - padding ||
            cells.at(place.first, place.second + 1))
            continue;
        const int needed = metrics.horizontalAdvance(*text) + padding;
        int span = 1;
        while (span * width < needed && place.second + span <= model_->columnCount() &&
               !cells.at(place.first, place.second + span))
            ++span;
        if (span > 1)
            grid->setSpan(place.first - 1, place.second - 1, 1, span);
    }
}

bool WorksheetWindow::notSaved(const QString& message) {
    emit saveFinished(QString());
    platform_.messages.inform(this, message);
    return false;
}

bool WorksheetWindow::saveAs() {
    const QString path = chooseSavePath(
        this, platform_.dialogs, platform_.messages,
        {QStringLiteral("Save As"), documentsFolder(), proposedName_, kWorkbookFilter});
    if (path.isEmpty())
        return notSaved(kNotSaved);

    bool written = false;
    try {
        written = platform_.workbooks.write(sheet(), path);
    } catch (const std::exception&) {
        written = false;
    }
    if (!written)
        return notSaved(kSaveFailed);

    saved_ = true;
    emit saveFinished(path);
    close();
    return true;
}

void WorksheetWindow::closeEvent(QCloseEvent* event) {
    if (!saved_ && !platform_.messages.askYesNo(this, kCloseUnsavedQuestion)) {
        event->ignore();
        return;
    }
    event->accept();
}

} // namespace quorvia
