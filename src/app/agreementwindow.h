#pragma once

#include "agreement/agreementfiles.h"
#include "base/services.h"

#include <QWidget>

class QLabel;
class QLineEdit;
class QPushButton;
class QTableWidget;

namespace quorvia {

// "Inter-observer agreement": two session workbooks chosen (typed, browsed or dropped on the
// window), their headers, the measures per key with the values below 80 % marked, and the
// agreement workbook saved on request.
class AgreementWindow : public QWidget {
    Q_OBJECT

public:
    explicit AgreementWindow(Platform& platform, QWidget* parent = nullptr);
    ~AgreementWindow() override;

    // Both fields filled in and the files compared again.
    void setFiles(const QString& primary, const QString& reliability);
    const AgreementOfFiles& comparison() const { return files_; }

protected:
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private:
    void browse(QLineEdit* field);
    void compare();
    void save();
    void showHeader(QLabel* label, const std::optional<SessionWorkbook>& workbook);

    Platform& platform_;
    QLineEdit* primaryField_;
    QLineEdit* reliabilityField_;
    QLabel* primaryHeader_;
    QLabel* reliabilityHeader_;
    QLabel* message_;
    QTableWidget* table_;
    QPushButton* saveButton_;
    AgreementOfFiles files_;
};

} // namespace quorvia
