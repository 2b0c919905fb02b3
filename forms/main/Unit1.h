#pragma once
// The main window `TForm1`: the day view of the ledger in the grid
// `StringGrid1`, the date picker with "<" and ">", the six totals, the
// account-title drop-down editors, and the document commands of the File menu.
// The ledger itself and every rule about it live in `book` (the core); this
// window shows it and wires the user's actions to it.

#include <QMainWindow>
#include <QPointer>
#include <functional>
#include <string>
#include <vector>

#include "forms/GridCellAccess.h"
#include "ledger/LedgerBook.h"
#include "platform/Dialogs.h"

class QAction;
class QComboBox;
class QDateEdit;
class QKeyEvent;
class QLabel;
class QMenu;
class QPushButton;
class QRadioButton;

namespace orvo {
class OrvoError;
}

namespace orvo::forms {

class LedgerCellDelegate;
class LedgerGridModel;
class LedgerGridView;

// What start-up takes from outside; tests give their own.
struct StartOptions {
    LedgerDate today;
    QString lastFileRecordPath;  // the last-file record
};
// Today's date and the record beside the running executable.
StartOptions defaultStartOptions();

class TForm1 : public QMainWindow, public GridCellAccess {
    Q_OBJECT
public:
    explicit TForm1(const StartOptions& options = defaultStartOptions(), QWidget* parent = nullptr);
    ~TForm1() override;

    // The ledger: `LedgerTable`, `LedgerRecords`, `dataFileName`, `dayViewChanged`, totals.
    LedgerBook book;

    // GridCellAccess, for the calculator and the fixed-phrase window.
    CellBlock gridSelection() const override;
    std::string cellText(int col, int row) const override;
    void setCellText(int col, int row, const std::string& cp932) override;

    // The windows a double click opens: the fixed-phrase window over the
    // description, the calculator over the amounts. Not owned.
    void setCompanionWindows(QWidget* phraseWindow, QWidget* calculatorWindow);

    // The ledger and its day view; each brings the window up to date with the book.
    void ResetLedgerTable();
    void ShowDay();
    void Recalculate();
    void LoadLedger();
    // Writes the data file; asks for a name first when the ledger has none.
    // False when that question was cancelled (nothing was written).
    bool SaveLedger();
    void RecordLastFile();

    // The account-title pick lists.
    void LoadTitleLists();
    void ShowRowTitles(int row);
    void FillLevel2List();

    // Menu, button and control handlers.
    void New1Click();
    void Open1Click();
    void Save1Click();
    void SaveAs1Click();
    void Exit1Click();
    void Button4Click();
    void Help1Click();
    void mnuDefaultClick();
    void mnuOrinClick();
    void N21Click();
    void showCompanion(QWidget* window);
    void Button1Click(QObject* sender);
    void Button3Click();
    void DateTimePicker1Enter();
    void DateTimePicker1Change();
    void RadioButton1Click();
    void RadioButton2Click();
    void StringGrid1Click();
    void StringGrid1DblClick();
    void StringGrid1Enter();
    void StringGrid1GetEditText(int col, int row, QWidget* editor);
    // True when the key was handled (and is swallowed).
    bool StringGrid1KeyDown(QKeyEvent* event, QWidget* editor);
    void StringGrid1MouseDown(const QPoint& gridPos);
    void StringGrid1MouseUp(const QPoint& gridPos);
    void ComboBox1Select();
    void ComboBox2Select();
    void ComboBox2Enter();
    void ComboBox1Exit();
    void ComboBox2Exit();

    // The Edit menu's block commands, the row and column commands and the
    // sort menu (Unit1Edit.cpp). Each acts on the grid's selected block.
    void Copy1Click();
    void GoTo1Click();
    void Paste1Click();
    void mnuEraseClick();
    void mnuAddClick();
    void mnuDelClick();
    void N12Click();
    void mnuColAddClick();
    void mnuColDelClick();
    void N13Click();
    void mnuSortClick();
    void mnuSort2Click();

    // Controls, named as the handlers name them.
    LedgerGridView* StringGrid1 = nullptr;
    LedgerGridModel* gridModel = nullptr;
    LedgerCellDelegate* cellDelegate = nullptr;
    QPushButton* Button1 = nullptr;  // "<"
    QPushButton* Button2 = nullptr;  // ">"
    QPushButton* Button3 = nullptr;  // "再計算"
    QPushButton* Button4 = nullptr;  // "終了"
    QDateEdit* DateTimePicker1 = nullptr;
    QLabel* Label1 = nullptr;
    QLabel* Label2 = nullptr;
    QLabel* Label3 = nullptr;
    QRadioButton* RadioButton1 = nullptr;  // "編集可"
    QRadioButton* RadioButton2 = nullptr;  // "ｾﾙの選択"
    QLabel* DayOut = nullptr;
    QLabel* DayIn = nullptr;
    QLabel* DayZan = nullptr;
    QLabel* AllOut = nullptr;
    QLabel* AllIn = nullptr;
    QLabel* AllZan = nullptr;
    QComboBox* ComboBox1 = nullptr;
    QComboBox* ComboBox2 = nullptr;

    // Menus. Later commands join these in their places.
    QMenu* mnuFile = nullptr;
    QMenu* mnuEdit = nullptr;
    QMenu* mnuSettings = nullptr;
    QMenu* N14 = nullptr;  // "並べ替え"
    QMenu* mnuTools = nullptr;
    QMenu* mnuHelp = nullptr;
    QMenu* PopupMenu1 = nullptr;
    QAction* New1 = nullptr;
    QAction* Open1 = nullptr;
    QAction* Save1 = nullptr;
    QAction* SaveAs1 = nullptr;
    QAction* Exit1 = nullptr;
    QAction* Copy1 = nullptr;
    QAction* GoTo1 = nullptr;
    QAction* Paste1 = nullptr;
    QAction* mnuErase = nullptr;
    QAction* mnuAdd = nullptr;
    QAction* mnuDel = nullptr;
    QAction* N12 = nullptr;
    QAction* mnuColAdd = nullptr;
    QAction* mnuColDel = nullptr;
    QAction* N13 = nullptr;
    QAction* mnuOrin = nullptr;
    QAction* Copy2 = nullptr;  // the pop-up menu's repeats
    QAction* GoTo2 = nullptr;
    QAction* Paste2 = nullptr;
    QAction* N6 = nullptr;
    QAction* N1 = nullptr;
    QAction* N2 = nullptr;
    QAction* N3 = nullptr;
    QAction* N4 = nullptr;
    QAction* popupOrin = nullptr;
    QAction* mnuDefault = nullptr;
    QAction* Help1 = nullptr;
    QAction* N21 = nullptr;
    QAction* mnuSort = nullptr;   // "昇順"
    QAction* mnuSort2 = nullptr;  // "降順"

    // One entry per line of the level-2 title file.
    std::vector<std::string> level2Titles;
    std::vector<int> level2Parents;

    int downX = 0;
    int downY = 0;
    QString lastFileRecordPath;
    // The file dialog's data-file set-up and the name last chosen.
    platform::FileDialogRequest OpenDialog1;

    bool editMode() const;

    // Runs `handler`; an OrvoError it throws is shown by the central error
    // display (and the grid's cursor put on the cell it names).
    void run(const std::function<void()>& handler);

protected:
    void closeEvent(QCloseEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    // The grid and its two headers, whose presses and releases select cells.
    bool isGridMouseSource(const QObject* watched) const;

private:
    void buildWindow();
    void buildMenus();
    void buildTopPanel(QWidget* panel);
    void buildBottomPanel(QWidget* panel);
    void wireGrid();
    void FormCreate(const StartOptions& options);
    bool FormCloseQuery();

    void showError(const OrvoError& error);
    // Brings the grid, its sizes, the labels and the selection up to the book.
    void refreshFromBook();
    void applySizesToView();
    void applyWindowSizeFromBook();
    void updateTotalsLabels();
    void selectionFromView();
    void selectionToView();
    void placeDropDownEditors();
    void setPickedDay(const LedgerDate& day);
    // Queues one Tab keystroke for whichever widget has the focus when it is handled.
    void sendTab();
    void setEditMode(bool on);
    bool askToSaveFirst();

    // The main menu's Ctrl+C, Ctrl+V and Ctrl+X act on the block also from
    // the cell editor and the drop-down editors, whose own text commands
    // would otherwise take those keys.
    void giveEditShortcutsPrecedence();
    // Before a block command: the edit in hand goes into its cell, and the
    // view's selection into the table. `closeEditor` for commands that
    // reshape the table, under which the edited cell may move or go.
    void prepareBlockCommand(bool closeEditor);
    // After a block command: the grid shows the table again.
    void showEditedDayView(bool reshaped);

    QPointer<QWidget> phraseWindow_;
    QPointer<QWidget> calculatorWindow_;
    bool syncing_ = false;
    bool centred_ = false;
};

}  // namespace orvo::forms
