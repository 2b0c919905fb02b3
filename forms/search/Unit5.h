#pragma once
// The search window `TForm5` ("データ検索"): finds every record of the whole
// ledger that contains a keyword, lists them, jumps the main window to a
// listed record's day and replaces the keyword in all listed records at once.
// Created once at start-up and kept, so the keyword and the result list stay
// from one opening to the next; modal while it shows.

#include <QDialog>

class QLabel;
class QLineEdit;
class QListView;
class QPushButton;

namespace orvo::forms {

class LedgerAccess;
class SearchResultModel;

class TForm5 : public QDialog {
    Q_OBJECT
public:
    // `host` (not owned) is the main window's ledger; `parent` keeps the
    // window above it.
    explicit TForm5(LedgerAccess& host, QWidget* parent = nullptr);
    ~TForm5() override;

protected:
    void showEvent(QShowEvent* event) override;

private:
    void FormCreate();
    // Runs `handler`; what it throws is shown after the main window shows the book.
    void runShowingErrors(void (TForm5::*handler)());
    void Button1Click();      // "検索実行"
    void ListBox1DblClick();  // jump to the selected line's day
    void Button4Click();      // "ﾘｽﾄから削除"
    void Button3Click();      // "一括置換実行"
    void Button2Click();      // "閉じる"
    int selectedLine() const;

    LedgerAccess& host_;
    // The result list and, behind each line, the record it shows.
    SearchResultModel* matchList_ = nullptr;
    QLabel* Label1 = nullptr;
    QLabel* Label2 = nullptr;
    QLineEdit* Edit1 = nullptr;
    QPushButton* Button1 = nullptr;
    QListView* ListBox1 = nullptr;
    QPushButton* Button2 = nullptr;
    QPushButton* Button3 = nullptr;
    QPushButton* Button4 = nullptr;
    bool placed_ = false;
};

}  // namespace orvo::forms
