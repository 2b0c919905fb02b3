#pragma once
// "明細の取り込み": a bank or card statement previewed against the open ledger.
// The layout, encoding and header row are detected and can be changed (or
// the columns mapped by hand, "手動設定", and saved as a layout); each row
// shows its titles, amounts and state. The user's title rules are edited on
// the second tab. The window changes no ledger: its caller adds the ticked
// rows once it is accepted ("取り込み実行").

#include <QDialog>
#include <string>
#include <vector>

#include "settings/TitleFiles.h"
#include "statement/StatementImport.h"

class QComboBox;
class QLabel;
class QPushButton;
class QSpinBox;
class QTableView;
class QTableWidget;
class QHBoxLayout;
class QWidget;

namespace orvo::forms {

class StatementPreviewModel;

class StatementImportWindow : public QDialog {
    Q_OBJECT
public:
    // `records` and `titles` must outlive the window; `rulesPath` is the rules
    // file (native path), `layoutFolder` the user's layout folder.
    StatementImportWindow(std::string statementBytes, const LedgerRecords& records,
                          const TitleLists& titles, std::string rulesPath, std::string layoutFolder,
                          QWidget* parent = nullptr);
    ~StatementImportWindow() override;

    const std::vector<statement::PreviewRow>& rows() const;

private:
    void buildWidgets();
    // Reads the statement with the current choices and fills the grid.
    void reread();
    void layoutChosen(int index);
    void manualMappingChanged();
    void rebuildManualPanel();
    void saveLayoutClick();        // "この設定を保存"
    void sameShopClick();          // "同じ摘要の行にも適用"
    void makeRuleClick();          // "規則にする"
    void addRuleClick();           // "追加"
    void deleteRuleClick();        // "削除"
    void moveRuleClick(int step);  // "上へ" / "下へ"
    void ruleEdited();
    void showRules();
    void rulesChanged();  // saved, and the titles assigned again
    void updateCounts();
    statement::StatementLayout manualLayout() const;

    std::string bytes_;
    const LedgerRecords& records_;
    const TitleLists& titles_;
    std::string rulesPath_;
    std::string layoutFolder_;
    std::vector<statement::StatementLayout> layouts_;
    std::vector<statement::ImportRule> rules_;
    statement::ReadChoices choices_;
    statement::ReadStatement read_;
    bool manual_ = false;
    bool filling_ = false;

    StatementPreviewModel* model_ = nullptr;
    QComboBox* layoutCombo_ = nullptr;
    QComboBox* encodingCombo_ = nullptr;
    QSpinBox* headerLineSpin_ = nullptr;
    QWidget* manualPanel_ = nullptr;
    QHBoxLayout* manualColumns_ = nullptr;
    std::vector<QComboBox*> roleCombos_;
    QComboBox* signCombo_ = nullptr;
    QPushButton* saveLayoutButton_ = nullptr;
    QTableView* grid_ = nullptr;
    QTableWidget* rulesTable_ = nullptr;
    QLabel* countsLabel_ = nullptr;
    QLabel* problemLabel_ = nullptr;
    QPushButton* importButton_ = nullptr;
};

}  // namespace orvo::forms
