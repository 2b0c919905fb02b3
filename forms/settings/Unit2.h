#pragma once
// The settings window `TForm2` ("環境設定"): column titles and widths, print
// widths ("Prin.ini"), the page settings of a print run, and the account-title
// tree. Created once after the main window, shown modally, its values kept
// between showings. The main window opens it as the settings dialog ("登録終了"),
// the print preview as its print dialog ("印刷実行").

#include <QDialog>
#include <QString>
#include <string>
#include <vector>

#include "settings/PageSettings.h"
#include "settings/SettingsState.h"

class QComboBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;
class QRadioButton;
class QTabWidget;
class QWidget;

namespace orvo::forms {

class GridSettingsAccess;
class TitleTreeEditor;

class TForm2 : public QDialog {
    Q_OBJECT
public:
    // Reads the grid, "Prin.ini" at `printWidthsPath` and the title files in
    // `titleFolder` (empty: the working folder); read errors are shown.
    TForm2(GridSettingsAccess& grid, const QString& printWidthsPath, QWidget* parent = nullptr,
           const QString& titleFolder = QString());
    ~TForm2() override;

    // --- for the opener ---
    // "登録終了" from the settings menu, "印刷実行" from the print preview.
    void setConfirmCaption(const QString& caption);
    // "環境設定" refreshes the titles and on-screen widths from the grid first.
    void refreshFromGrid();
    // The print tab in front, its font size `fontSize` (CP932): as the print
    // dialog, the window shows what the preview prints with.
    void showPrintTab(const std::string& fontSize);
    // Shows the window modally; returns confirmed().
    bool showModally();
    // True when the latest showing ended with the confirm button, its whole
    // sequence done.
    bool confirmed() const;
    // The print tab as its controls hold it now.
    PageSettings pageSettings() const;
    // "出力先": a PDF file rather than the printer (chosen at first where no
    // printer is installed).
    bool printsToPdf() const;
    // The print widths list, grid column 1 first (CP932 text, normally 0.1 mm).
    const std::vector<std::string>& printWidths() const { return state_.printWidths; }

    // --- handlers ---
    void ListBox1Click(QListWidget* sender);
    void ListBox1DblClick(QListWidget* sender);
    void Button1Click();  // "設定のみ"
    void Button2Click();  // confirm
    void Button3Click();  // "閉じる", Esc

protected:
    void showEvent(QShowEvent* event) override;

private:
    void FormCreate();
    QWidget* buildColumnsTab();
    QWidget* buildPrintTab();
    void showColumnLists();
    void showPageSettings();
    // "出力先" as at first: the printer where one is installed, else a PDF file.
    void chooseOutputIfUnchosen() const;
    QListWidget* addList(QWidget* tab, const char* name);
    void alignTopRows(QListWidget* leader);
    std::vector<std::string>& rowsOf(QListWidget* list);

    GridSettingsAccess& grid_;
    SettingsState state_;
    bool placed_ = false;

    QTabWidget* PageControl1 = nullptr;
    QPushButton* Button1 = nullptr;
    QPushButton* Button2 = nullptr;
    QPushButton* Button3 = nullptr;
    QListWidget* ListBox1 = nullptr;       // "項目名"
    QListWidget* ListBox3 = nullptr;       // "表示横幅"
    QListWidget* ListBox2 = nullptr;       // "項目幅(0.1mm)"
    QRadioButton* RadioButton1 = nullptr;  // "A4縦"
    QRadioButton* RadioButton2 = nullptr;  // "A4横"
    QLineEdit* EdTop = nullptr;
    QLineEdit* EdLeft = nullptr;
    QComboBox* CmbLeft = nullptr;
    QRadioButton* RadioButton3 = nullptr;  // "全ﾍﾟｰｼﾞ"
    QRadioButton* RadioButton4 = nullptr;  // "ﾍﾟｰｼﾞ指定"
    QLineEdit* Edit1 = nullptr;            // from
    QLineEdit* Edit2 = nullptr;            // to
    QComboBox* ComboBox1 = nullptr;        // "文字の大きさ"
    QRadioButton* RadioButton5 = nullptr;  // "プリンタ"
    QRadioButton* RadioButton6 = nullptr;  // "PDFﾌｧｲﾙ"
    TitleTreeEditor* titleEditor = nullptr;
};

}  // namespace orvo::forms
