#pragma once
// The main window `TForm1`: the day view of the ledger in the grid
// `StringGrid1`, the date picker with "<" and ">", the six totals, the
// account-title drop-down editors, and the document commands of the File menu.
// The ledger itself and every rule about it live in `book` (the core); this
// window shows it and wires the user's actions to it.
//
// Controls, menus and handlers keep the names the behaviour is known by (see
// forms/README.md); tests reach the controls by their object names.

#include <QMainWindow>
#include <QPointer>
#include <functional>
#include <optional>
#include <string>

#include "forms/GridCellAccess.h"
#include "forms/GridSettingsAccess.h"
#include "forms/LedgerAccess.h"
#include "forms/SummaryAccess.h"
#include "ledger/LedgerBook.h"
#include "platform/Dialogs.h"
#include "settings/TitleFiles.h"

class QAction;
class QComboBox;
class QDateEdit;
class QKeyEvent;
class QLabel;
class QMenu;
class QPushButton;
class QRadioButton;

namespace orvo::forms {

class LedgerCellDelegate;
class TForm2;
class PrintDialog;
class LedgerGridModel;
class LedgerGridView;

// What start-up takes from outside; tests give their own.
struct StartOptions {
    LedgerDate today;
    QString lastFileRecordPath;  // the last-file record
    QString ledgerToOpen = {};   // opened in place of the last file when not empty
};
// Today's date and the record beside the running executable.
StartOptions defaultStartOptions();

class TForm1 : public QMainWindow,
               public GridCellAccess,
               public GridSettingsAccess,
               public LedgerAccess,
               public SummaryAccess {
    Q_OBJECT
public:
    explicit TForm1(const StartOptions& options = defaultStartOptions(), QWidget* parent = nullptr);
    ~TForm1() override;

    // GridCellAccess, for the calculator and the fixed-phrase window.
    CellBlock gridSelection() const override;
    std::string cellText(int col, int row) const override;
    void setCellText(int col, int row, const std::string& cp932,
                     StepKind kind = StepKind::CellEdit) override;

    // GridSettingsAccess, for the settings window.
    const LedgerTable& settingsGrid() const override { return book.table(); }
    void changeGrid(const std::function<void(LedgerTable&)>& change) override;
    void emptyTitlePickLists() override;
    void reloadTitlePickLists() override;
    std::size_t recordsTitled(const RecordTitle& title) override;
    void renameTitleInLedger(const RecordTitle& title, const std::string& newName) override;

    // The settings window "環境設定" opens (not owned); also the print dialog.
    void setSettingsWindow(TForm2* settingsWindow);
    TForm2* settingsWindow() const;

    // The windows a double click opens: the fixed-phrase window over the
    // description, the calculator over the amounts. Not owned.
    void setCompanionWindows(QWidget* phraseWindow, QWidget* calculatorWindow);

    // The settings window as the preview's print dialog (not owned).
    void setPrintDialog(PrintDialog* printDialog) { printDialog_ = printDialog; }

    // The ledger the window shows, for the windows that read or change it
    // beside the grid (and for tests). A change made here shows once the
    // window next brings itself up to date with the book.
    LedgerBook& ledger() override { return book; }
    // LedgerAccess: after the search window changed the book.
    void showLedger() override;

    // SummaryAccess, for the window "家計の推移" (Unit1Summary.cpp).
    const LedgerRecords& summaryRecords() override;
    const TitleLists& summaryTitles() const override { return titleLists; }
    LedgerDate shownDay() const override;
    void showDay(const LedgerDate& day) override;

    // The search window "検索･置換" shows, modal. Not owned.
    void setSearchWindow(QWidget* searchWindow);

protected:
    void closeEvent(QCloseEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    // What a block command of the Edit menu does to the day view.
    enum class BlockEffect {
        ReadsOnly,     // copy: the table stays as it is
        EditsCells,    // the cells change, the table keeps its shape
        ReshapesTable  // rows or columns come or go; the edited cell may move
    };

    // --- building (Unit1.cpp) ---
    void buildWindow();
    void buildMenus();
    void buildTopPanel(QWidget* panel);
    void buildBottomPanel(QWidget* panel);
    void wireGrid();
    // The event filters, each with one job.
    void watchGridFocusAndKeys();
    void watchDatePickerFocus();
    void watchDropDownEditors();
    void watchGridMouseButtons();
    void FormCreate(const StartOptions& options);
    bool FormCloseQuery();

    // Runs `handler`; whatever it throws is shown by the central error display
    // (and the grid's cursor put on the cell an OrvoError names).
    void runShowingErrors(const std::function<void()>& handler);
    // The grid's cursor on table cell (col, row), shown and focused.
    void putCursorOn(int col, int row);

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
    bool editMode() const;
    void setEditMode(bool on);

    // --- the ledger as the window shows it ---
    // A new ledger: the credit caption, no records, the standard sizes, edit mode.
    void startNewLedger();
    // Opens `path` in place of the ledger and records it as the last file;
    // when another instance has it open, asks whether to open it read-only.
    void openLedgerFile(const QString& path);
    // Writes the day view back, then shows `day` (the picker follows the book).
    void goToDay(const LedgerDate& day);
    void Recalculate();
    // Writes the data file; asks for a name first when the ledger has none (or
    // was opened read-only), and before replacing a file changed on disk since
    // it was read. False when the user declined either question (nothing was
    // written).
    bool SaveLedger();
    void RecordLastFile();

    // --- the document commands (Unit1Document.cpp) ---
    // The data-file dialog; no value when cancelled.
    enum class FileDialogPurpose { Open, Save };
    std::optional<QString> askDataFileName(FileDialogPurpose purpose = FileDialogPurpose::Open);
    static QString acceptLabelFor(FileDialogPurpose purpose);
    static QString titleFor(FileDialogPurpose purpose);
    // Makes `path` the ledger's file, the dialog's next start, then saves there.
    void saveAsDataFile(const QString& path);
    // Runs `save` with the window's edit and size handed to the book first;
    // then shows the day's backup copy that could not be made, if any.
    void writeLedgerWith(const std::function<void()>& save);
    bool askToSaveFirst();
    void New1Click();
    void Open1Click();
    void Save1Click();
    void SaveAs1Click();
    void mnuRestoreClick();  // "バックアップから復元..."
    void mnuUndoClick();     // "元に戻す(&U)"
    void mnuRedoClick();     // "やり直し(&R)"
    // The Edit menu's two history items (made by buildMenus): their shortcuts,
    // their texts and whether they can be chosen.
    void buildUndoActions();
    void updateUndoActions();
    void stepThroughHistory(const std::function<void()>& step);
    void Exit1Click();
    void Button4Click();  // "終了"
    void Help1Click();
    void showCreditCaption();

    // --- the CSV commands (Unit1Csv.cpp) ---
    // The file dialog in its CSV set-up with `filter`; the data-file set-up
    // is left as it was, whatever the answer.
    std::optional<QString> askCsvFileName(const QString& filter, FileDialogPurpose purpose);
    void CSV1Click();   // "CSV読み込み"
    void StatementImportClick();  // "明細の取り込み..."
    void CSV2Click();   // "CSV書き込み"
    void Find1Click();  // "検索･置換"

    // --- grid, modes, date picker, sizes, titles (Unit1Grid.cpp) ---
    void LoadTitleLists();
    void ShowRowTitles(int row);
    // After the row's level-1 title changed: a level-2 title not listed under it goes.
    void clearUnlistedTitle2(int row);
    void FillLevel2List();
    void mnuDefaultClick();
    void mnuOrinClick();
    void N21Click();  // "ツール" > "電卓"
    void showCompanion(QWidget* window);
    void Button1Click(QObject* sender);  // "<" and ">"
    void Button3Click();                 // "再計算"
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

    // --- the settings and fixed-phrase windows (Unit1Settings.cpp) ---
    void mnuKoumokuClick();  // "設定" > "環境設定"
    void N15Click();         // "ツール" > "定型句"

    // --- the print preview and the totals report (Unit1Print.cpp) ---
    void PrintPreview1Click();     // "ファイル" > "印刷ﾌﾟﾚﾋﾞｭｰ"
    void mnuKanjoKeiPrintClick();  // "ツール" > "勘定科目計算"
    void mnuSuiiClick();           // "ツール" > "家計の推移" (Unit1Summary.cpp)

    // --- the Edit menu's block commands and the sort menu (Unit1Edit.cpp) ---
    // The main menu's Ctrl+C, Ctrl+V and Ctrl+X act on the block also from
    // the cell editor and the drop-down editors, whose own text commands
    // would otherwise take those keys.
    void giveEditShortcutsPrecedence();
    // Runs a block command on the grid's selected block: the edit in hand goes
    // into its cell and the view's selection into the table first; afterwards
    // the grid shows the table again as `effect` needs.
    void runBlockCommand(BlockEffect effect, const std::function<void()>& command);
    void Copy1Click();
    void GoTo1Click();
    void Paste1Click();
    void mnuEraseClick();
    void mnuAddClick();
    void mnuDelClick();
    void N12Click();  // "編集" > "最終行の追加"
    void mnuColAddClick();
    void mnuColDelClick();
    void N13Click();  // "編集" > "最終列の追加"
    void mnuSortClick();
    void mnuSort2Click();

    // The ledger: day view, records, file name, totals; changed only through its methods.
    LedgerBook book;

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
    QMenu* fileMenu = nullptr;
    QMenu* editMenu = nullptr;
    QMenu* settingsMenu = nullptr;
    QMenu* N14 = nullptr;  // "並べ替え"
    QMenu* toolsMenu = nullptr;
    QMenu* helpMenu = nullptr;
    QMenu* PopupMenu1 = nullptr;
    QAction* New1 = nullptr;
    QAction* Open1 = nullptr;
    QAction* Save1 = nullptr;
    QAction* SaveAs1 = nullptr;
    QAction* mnuRestore = nullptr;  // "バックアップから復元..."
    QAction* Exit1 = nullptr;
    QAction* CSV1 = nullptr;   // "CSV読み込み"
    QAction* StatementImport1 = nullptr;  // "明細の取り込み..."
    QAction* CSV2 = nullptr;   // "CSV書き込み"
    QAction* mnuUndo = nullptr;  // "元に戻す(&U)"
    QAction* mnuRedo = nullptr;  // "やり直し(&R)"
    QAction* Find1 = nullptr;  // "検索･置換"
    QAction* Copy1 = nullptr;
    QAction* GoTo1 = nullptr;
    QAction* Paste1 = nullptr;
    QAction* mnuErase = nullptr;
    QAction* mnuAdd = nullptr;
    QAction* mnuDel = nullptr;
    QAction* N12 = nullptr;  // "最終行の追加"
    QAction* mnuColAdd = nullptr;
    QAction* mnuColDel = nullptr;
    QAction* N13 = nullptr;  // "最終列の追加"
    QAction* mnuOrin = nullptr;
    QAction* Copy2 = nullptr;  // the pop-up menu's repeats
    QAction* GoTo2 = nullptr;
    QAction* Paste2 = nullptr;
    QAction* N6 = nullptr;                   // pop-up "消去"
    QAction* N1 = nullptr;                   // pop-up "行挿入"
    QAction* N2 = nullptr;                   // pop-up "行削除"
    QAction* N3 = nullptr;                   // pop-up "列挿入"
    QAction* N4 = nullptr;                   // pop-up "列削除"
    QAction* popupRestoreRowSize = nullptr;  // pop-up "選択行サイズを元に"
    QAction* mnuDefault = nullptr;
    QAction* Help1 = nullptr;
    QAction* N21 = nullptr;               // "電卓"
    QAction* mnuSort = nullptr;           // "昇順"
    QAction* mnuSort2 = nullptr;          // "降順"
    QAction* PrintPreview1 = nullptr;     // "印刷ﾌﾟﾚﾋﾞｭｰ"
    QAction* mnuKanjoKeiPrint = nullptr;  // "勘定科目計算"
    QAction* mnuSuii = nullptr;           // "家計の推移"

    // The settings and fixed-phrase windows (Unit1Settings.cpp).
    QAction* mnuKoumoku = nullptr;  // "環境設定"
    QAction* N15 = nullptr;         // "定型句"

    // The two pick lists' titles as the title files hold them.
    TitleLists titleLists;

    int downX = 0;
    int downY = 0;
    QString lastFileRecordPath;
    // The file dialog's data-file set-up and the name last chosen.
    platform::FileDialogRequest OpenDialog1;
    // The CSV file last chosen, kept apart so that a save never offers it.
    QString csvFileName_;
    QString statementFileName_;  // the statement last imported

    QPointer<QWidget> phraseWindow_;
    QPointer<QWidget> calculatorWindow_;
    QPointer<TForm2> settingsWindow_;
    QPointer<QWidget> searchWindow_;
    QPointer<QWidget> summaryWindow_;  // "家計の推移", made at its first opening
    PrintDialog* printDialog_ = nullptr;
    // Set while the window writes the book into the view, so that the view's
    // signals of that moment are not taken for the user's changes.
    bool updatingView_ = false;
    bool closingEditor_ = false;  // the grid's focus coming back from its own editor
    bool centred_ = false;
};

}  // namespace orvo::forms
