#pragma once
// The fixed-phrase window `TForm4` ("定型句"): a sorted list of phrases the
// user keeps, appended to the description cell selected in the main grid,
// plain or in parentheses. Modeless and on top of the main window; created
// hidden at start-up, it reads "定型句.dat" then, and writes it back when the
// list was changed and the window closes or the program ends.

#include <QDialog>
#include <QString>
#include <string>

#include "settings/PhraseList.h"

class QLabel;
class QListWidget;
class QPushButton;

namespace orvo::forms {

class GridCellAccess;

class TForm4 : public QDialog {
    Q_OBJECT
public:
    // `grid` (not owned) receives the phrases. The phrase file lives in
    // `phraseFolder`, fixed now (empty: the working folder of this moment).
    explicit TForm4(GridCellAccess* grid, QWidget* parent = nullptr,
                    const QString& phraseFolder = QString());

    // "定型句" and a double click on a description cell: shows the window
    // without making it modal, or brings it forward.
    void showPhrases();

    bool phrasesModified() const { return phrases_.modified(); }
    const PhraseList& phrases() const { return phrases_; }

    // At the end of the program: the file is written as on "閉じる".
    // Returns false when the write failed (the error has been shown).
    bool saveAtProgramEnd();

    void Button1Click();                 // "閉じる", Esc, the title-bar close
    void Button2Click();                 // "追加"
    void Button3Click();                 // "削除"
    void Button4Click(QObject* sender);  // "摘要に追加", "括弧を付けて摘要に追加", double click

protected:
    void reject() override;  // Esc and the title-bar close
    void showEvent(QShowEvent* event) override;

private:
    void FormCreate();
    void showList(int selectRow);
    const std::string* selectedPhrase() const;
    void warn(const std::string& cp932Text);
    // Writes the file when the list was changed; false when the write failed.
    bool savePhrases();

    GridCellAccess* grid_;
    std::string phraseFilePath_;
    PhraseList phrases_;
    bool placed_ = false;

    QLabel* Label1 = nullptr;
    QListWidget* ListBox1 = nullptr;
    QPushButton* Button1 = nullptr;  // "閉じる"
    QPushButton* Button2 = nullptr;  // "追加"
    QPushButton* Button3 = nullptr;  // "削除"
    QPushButton* Button4 = nullptr;  // "摘要に追加"
    QPushButton* Button5 = nullptr;  // "括弧を付けて摘要に追加"
};

}  // namespace orvo::forms
