#pragma once

#include "base/services.h"
#include "journal/sessionjournal.h"
#include "recording/sessionrecord.h"

#include <QStringList>
#include <QTimer>
#include <QWidget>

#include <array>

class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace quorvia {

// Key slot arrays are indexed by slot number 0..10; index 0 exists only for Label9 and Label13.
template <typename T> using SlotArray = std::array<T*, kSlotCount + 1>;

// The one window of the program, Form1. It owns every control and the session record; its
// handlers read controls, call the session rules and write the controls back.
class MainWindow : public QWidget {
    Q_OBJECT

public:
    explicit MainWindow(Platform& platform, QWidget* parent = nullptr);
    ~MainWindow() override;

    // The start-up step after the controls exist: today's date into the session date box.
    void startUp();
    // Gives the window its journal (the program opens it once the window is up), before any
    // session starts.
    void attachJournal(JournalStore* store);
    // Offers each session left in the journal by an earlier run, oldest first.
    void recoverSessions();

    const SessionRecord& record() const { return record_; }
    bool keyCaptureOn() const { return keyCapture_; }
    const QString& filePath() const { return filePath_; }
    // Texts drawn on the window's background by the interval-length box, top to bottom.
    const QStringList& drawnTexts() const { return drawnTexts_; }

    // Handlers, one per event of the window.
    void command1Click();      // Start / Resume / Confirm
    void command2Click();      // Terminate
    void command3Click();      // Set / Check Keys
    void command4Click();      // Reset
    void command5Click();      // Load Parameters
    void command6Click();      // Save Parameters
    void command7Click();      // Yes: save the session workbook
    void command8Click();      // No
    void combo1Change();       // the text of the interval-length box changed
    void timer1Timer();        // one tick of the session clock
    void keyPress(char32_t c); // one character typed while key capture is on

    // Sets the text of the interval-length box as a program step (raises its change handling).
    void setCombo1Text(const QString& text);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    void buildControls();
    void buildTabOrder();
    void setKeyCapture(bool on);
    // Shows a slot's key character, smaller where it would be wider than its label.
    void showKeyCharacter(std::size_t slot, const QString& text);
    void drawTextLine(const QString& text);
    // The parameter texts of the set-up frame as typed, with the controls of all ten key slots.
    SessionParameterTexts setupTexts() const;
    // The slots' behaviour names and modes and the start and end stamps, as the window shows them.
    SessionSheetInputs sheetInputs() const;
    // The worksheet window of an ended session, then its save; the saved session leaves the
    // journal.
    void openWorksheet(const SessionRecord& record, const SessionSheetInputs& inputs,
                       std::int64_t journalId, const QString& titleSuffix);
    // After the end of a session that the journal could not hold: tells the observer once.
    void tellIfUnprotected();

    Platform& platform_;
    SessionJournal journal_;
    SessionRecord record_;
    bool keyCapture_ = false;
    QString filePath_;
    QStringList drawnTexts_;

public:
    // The controls, named as the window names them.
    QPushButton* Command1 = nullptr;
    QPushButton* Command2 = nullptr;
    QPushButton* Command3 = nullptr;
    QPushButton* Command4 = nullptr;
    QPushButton* Command5 = nullptr;
    QPushButton* Command6 = nullptr;
    QPushButton* Command7 = nullptr;
    QPushButton* Command8 = nullptr;
    QGroupBox* Frame1 = nullptr;
    QGroupBox* Frame2 = nullptr;
    QGroupBox* Frame3 = nullptr;
    QLabel* Label1 = nullptr;
    QLabel* Label2 = nullptr;
    QLabel* Label3 = nullptr;
    QLabel* Label4 = nullptr;
    QLabel* Label6 = nullptr;
    QLabel* Label7 = nullptr;
    QLabel* Label8 = nullptr;
    QLabel* Label10 = nullptr;
    QLabel* Label11 = nullptr;
    QLabel* Label12 = nullptr;
    QLabel* Label14 = nullptr;
    QLabel* Label15 = nullptr;
    QLabel* Label16 = nullptr;
    QLabel* Label17 = nullptr;
    QLabel* Label18 = nullptr;
    QLabel* Label19 = nullptr;
    QLabel* Label20 = nullptr;
    QLabel* Label21 = nullptr;
    QLabel* Label22 = nullptr;
    QLabel* Label23 = nullptr;
    QLabel* Label25 = nullptr;
    QLabel* Label26 = nullptr;
    std::array<QLineEdit*, 4> Text2{};
    QLineEdit* Text1 = nullptr;
    QLineEdit* Text3 = nullptr;
    QLineEdit* Text22 = nullptr;
    QComboBox* Combo1 = nullptr;
    QCheckBox* Check2 = nullptr;
    SlotArray<QLabel> Label5{};
    SlotArray<QLineEdit> Text4{};
    SlotArray<QCheckBox> Check3{};
    SlotArray<QLabel> Label9{};
    SlotArray<QLabel> Label13{};
    QTimer* Timer1 = nullptr;
};

// Window layout is given in twips; 15 twips make one pixel at 96 dots per inch.
int twipsToPixels(int twips);

} // namespace quorvia
