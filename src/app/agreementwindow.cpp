#include "app/agreementwindow.h"

#include "base/savepath.h"
#include "report/workbookname.h"

#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFileInfo>
#include <QGridLayout>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMimeData>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

namespace quorvia {

namespace {

const QColor kMarkedText(0xB0, 0x00, 0x00);
const QColor kMarkedBack(0xFF, 0xE0, 0xE0);

QStringList droppedFiles(const QMimeData* data) {
    QStringList files;
    if (!data || !data->hasUrls())
        return files;
    for (const QUrl& url : data->urls()) {
        if (url.isLocalFile())
            files << url.toLocalFile();
    }
    return files;
}

} // namespace

AgreementWindow::AgreementWindow(Platform& platform, QWidget* parent)
    : QWidget(parent, Qt::Window)
    , platform_(platform)
    , primaryField_(new QLineEdit)
    , reliabilityField_(new QLineEdit)
    , primaryHeader_(new QLabel)
    , reliabilityHeader_(new QLabel)
    , message_(new QLabel)
    , table_(new QTableWidget(0, 6))
    , saveButton_(new QPushButton(QStringLiteral("Save Agreement..."))) {
    setWindowTitle(QStringLiteral("Inter-observer agreement"));
    setObjectName(QStringLiteral("AgreementWindow"));
    setAcceptDrops(true);
    resize(760, 640);

    auto* files = new QGridLayout;
    const auto addFileRow = [&](int row, const QString& caption, QLineEdit* field,
                                const QString& name) {
        field->setObjectName(name);
        field->setPlaceholderText(QStringLiteral("a session workbook (.xlsx): browse, or drop it "
                                                 "on the window"));
        auto* browseButton = new QPushButton(QStringLiteral("Browse..."));
        browseButton->setObjectName(name + QStringLiteral("Browse"));
        auto* label = new QLabel(caption);
        label->setBuddy(field);
        field->setAccessibleName(QString(caption).remove(QLatin1Char('&')).chopped(1));
        browseButton->setAccessibleName(
            QStringLiteral("Browse for the %1 workbook").arg(field->accessibleName().toLower()));
        files->addWidget(label, row, 0);
        files->addWidget(field, row, 1);
        files->addWidget(browseButton, row, 2);
        connect(browseButton, &QPushButton::clicked, this, [this, field] { browse(field); });
        connect(field, &QLineEdit::editingFinished, this, &AgreementWindow::compare);
    };
    addFileRow(0, QStringLiteral("&Primary observer:"), primaryField_,
               QStringLiteral("primaryFile"));
    addFileRow(1, QStringLiteral("&Reliability observer:"), reliabilityField_,
               QStringLiteral("reliabilityFile"));

    auto* headers = new QHBoxLayout;
    for (auto [label, title] : {std::pair{primaryHeader_, QStringLiteral("Primary")},
                                std::pair{reliabilityHeader_, QStringLiteral("Reliability")}}) {
        auto* box = new QGroupBox(title);
        auto* boxLayout = new QVBoxLayout(box);
        label->setTextInteractionFlags(Qt::TextSelectableByMouse);
        label->setAlignment(Qt::AlignTop | Qt::AlignLeft);
        boxLayout->addWidget(label);
        headers->addWidget(box);
    }
    primaryHeader_->setObjectName(QStringLiteral("primaryHeader"));
    reliabilityHeader_->setObjectName(QStringLiteral("reliabilityHeader"));

    message_->setObjectName(QStringLiteral("agreementMessage"));
    message_->setWordWrap(true);
    table_->setObjectName(QStringLiteral("agreementTable"));
    table_->setHorizontalHeaderLabels(
        {"Key", "Behaviour", "Mode", "Scoring", "Measure", "Agreement"});
    table_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table_->setTabKeyNavigation(false); // Tab moves on to the next control, not the next cell
    table_->setAccessibleName(QStringLiteral("Agreement by key and measure"));
    table_->verticalHeader()->hide();
    table_->horizontalHeader()->setStretchLastSection(true);
    saveButton_->setObjectName(QStringLiteral("saveAgreement"));
    saveButton_->setEnabled(false);
    connect(saveButton_, &QPushButton::clicked, this, &AgreementWindow::save);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(saveButton_);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(files);
    layout->addLayout(headers);
    layout->addWidget(message_);
    layout->addWidget(table_, 1);
    layout->addLayout(buttons);
    compare();
}

// The fields lose their focus while the window goes; that must not compare the files again in a
// window that is half destroyed.
AgreementWindow::~AgreementWindow() {
    primaryField_->disconnect(this);
    reliabilityField_->disconnect(this);
}

void AgreementWindow::setFiles(const QString& primary, const QString& reliability) {
    primaryField_->setText(primary);
    reliabilityField_->setText(reliability);
    compare();
}

void AgreementWindow::browse(QLineEdit* field) {
    const QString path = platform_.dialogs.openFileName(
        this, {QStringLiteral("Open File"), documentsFolder(), {}, kWorkbookFilter});
    if (path.isEmpty())
        return;
    field->setText(path);
    compare();
}

void AgreementWindow::showHeader(QLabel* label, const std::optional<SessionWorkbook>& workbook) {
    label->setText(workbook ? headerLines(*workbook).join(QLatin1Char('\n')) : QString());
}

void AgreementWindow::compare() {
    files_ = compareFiles(primaryField_->text().trimmed(), reliabilityField_->text().trimmed());
    showHeader(primaryHeader_, files_.primary);
    showHeader(reliabilityHeader_, files_.reliability);

    QStringList lines;
    if (!files_.error.isEmpty())
        lines << files_.error;
    table_->setRowCount(0);
    if (files_.agreement) {
        for (const QString& warning : files_.agreement->warnings)
            lines << QStringLiteral("Warning: ") + warning;
        lines << QStringLiteral("%1 intervals compared. Values below 80 % are marked.")
                     .arg(files_.agreement->intervals);
        const auto& rows = files_.agreement->rows;
        table_->setRowCount(static_cast<int>(rows.size()));
        for (int r = 0; r < table_->rowCount(); ++r) {
            const AgreementRow& row = rows[static_cast<std::size_t>(r)];
            const QString cells[] = {
                row.key,     row.behaviour,
                row.mode,    scoringName(row.scoring),
                row.measure, row.isKappa() || !row.value ? valueText(row) : valueText(row) + " %"};
            for (int c = 0; c < 6; ++c) {
                auto* item = new QTableWidgetItem(cells[c]);
                if (c == 5) {
                    item->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
                    if (belowMinimum(row)) {
                        item->setForeground(kMarkedText);
                        item->setBackground(kMarkedBack);
                        QFont font = item->font();
                        font.setBold(true);
                        item->setFont(font);
                        item->setToolTip(QStringLiteral("below 80 %"));
                    }
                }
                table_->setItem(r, c, item);
            }
        }
        table_->resizeColumnsToContents();
    }
    message_->setText(lines.join(QLatin1Char('\n')));
    saveButton_->setEnabled(files_.agreement.has_value());
}

void AgreementWindow::save() {
    if (!files_.agreement || !files_.primary)
        return;
    const QString proposed = QStringLiteral("%1-%2-agreement.xlsx")
                                 .arg(files_.primary->participantId)
                                 .arg(files_.primary->sessionNumber);
    const QString path =
        chooseSavePath(this, platform_.dialogs, platform_.messages,
                       {QStringLiteral("Save As"), documentsFolder(), proposed, kWorkbookFilter});
    if (path.isEmpty())
        return;
    if (!writeAgreementWorkbook(platform_.workbooks, files_, primaryField_->text().trimmed(),
                                reliabilityField_->text().trimmed(), path))
        platform_.messages.inform(this, QStringLiteral("The agreement workbook could not be "
                                                       "saved to %1.")
                                            .arg(QFileInfo(path).fileName()));
}

void AgreementWindow::dragEnterEvent(QDragEnterEvent* event) {
    if (!droppedFiles(event->mimeData()).isEmpty())
        event->acceptProposedAction();
}

void AgreementWindow::dropEvent(QDropEvent* event) {
    const QStringList files = droppedFiles(event->mimeData());
    if (files.isEmpty())
        return;
    event->acceptProposedAction();
    if (files.size() >= 2) {
        setFiles(files.at(0), files.at(1));
        return;
    }
    // One file: into the field it was dropped on, else the first empty one, else the primary.
    const QPoint at = event->position().toPoint();
    const int reliabilityTop = reliabilityField_->mapTo(this, QPoint(0, 0)).y();
    const int reliabilityBottom = reliabilityTop + reliabilityField_->height();
    const int primaryTop = primaryField_->mapTo(this, QPoint(0, 0)).y();
    QLineEdit* field = primaryField_;
    if (at.y() >= reliabilityTop && at.y() < reliabilityBottom)
        field = reliabilityField_;
    else if (at.y() >= reliabilityBottom || at.y() < primaryTop)
        field = primaryField_->text().isEmpty() || reliabilityField_->text().isEmpty()
                    ? (primaryField_->text().isEmpty() ? primaryField_ : reliabilityField_)
                    : primaryField_;
    field->setText(files.first());
    compare();
}

} // namespace quorvia
