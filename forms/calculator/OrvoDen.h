#pragma once
// The calculator window. The user keys an expression with the keys or the
// keyboard; "=" (or the tax key, a correction, a mode change) evaluates it,
// shows the result and writes the display into the selected cell of the main
// window's grid. Created once, hidden; closing it only hides it.

#include <QDialog>
#include <QString>
#include <optional>

class QComboBox;
class QKeyEvent;
class QPushButton;

namespace orvo::forms {

class GridCellAccess;
class TRightEdit;

class TOrvoDentaku : public QDialog {
    Q_OBJECT
public:
    // `grid` (not owned) receives the results; without one they are only shown.
    explicit TOrvoDentaku(GridCellAccess* grid = nullptr, QWidget* parent = nullptr);

    void setGridAccess(GridCellAccess* grid) { grid_ = grid; }

    // The file the tax rate chosen on the tax key is kept in (an INI file
    // beside the program's other settings); read now, written at each choice.
    void setSettingsFile(const QString& path);
    // The consumption tax the tax key adds, in percent: 10, or the reduced 8.
    int taxRate() const { return taxRate_; }
    void setTaxRate(int percent);

    // Shows the window without making it modal, or brings it forward when it
    // is showing already ("電卓" and a double click on an amount cell).
    void showCalculator();

    QString displayText() const;
    bool justEvaluated() const { return justEvaluated_; }
    const QString& lastExpression() const { return lastExpression_; }

public slots:
    void Button1Click();   // the sixteen input keys, told apart by caption
    void Button17Click();  // "="
    void Button18Click();  // "R": correct the last expression
    void Button19Click();  // "C"
    void Button20Click();  // "CR"
    void Button21Click();  // "→": delete one character
    void Button22Click();  // "税込み": the consumption tax included
    void ComboBox1Select();

protected:
    // Key preview: every typed character reaches FormKeyPress before the
    // focused control, and is consumed.
    bool eventFilter(QObject* watched, QEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    void FormCreate();
    void FormKeyPress(QChar key);
    void AppendInput(const QString& text);
    void Calculate();
    std::optional<double> evaluateLastExpression() const;
    void transferDisplay();
    QPushButton* addKey(const char* name, const QString& caption, int left, int top,
                        int width = 25);

    GridCellAccess* grid_;
    TRightEdit* RightEdit1 = nullptr;
    QComboBox* ComboBox1 = nullptr;
    QPushButton* Button17 = nullptr;
    QPushButton* Button21 = nullptr;
    QPushButton* Button22 = nullptr;
    bool justEvaluated_ = false;  // the next key that is no operator starts a new expression
    QString lastExpression_;      // what was last evaluated or corrected
    bool placed_ = false;         // centred on the desktop at the first showing
    int taxRate_ = 10;
    QString settingsFile_;
};

}  // namespace orvo::forms
