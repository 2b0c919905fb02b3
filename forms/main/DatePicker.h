#pragma once
// The date picker's field: a date typed whole, separators and all
// ("2026/11/20"), lands as typed.

#include <QDateEdit>

namespace orvo::forms {

class DatePicker : public QDateEdit {
    Q_OBJECT
public:
    explicit DatePicker(QWidget* parent = nullptr) : QDateEdit(parent) {}
    ~DatePicker() override;

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    // The last key filled its section and the field moved on to the next:
    // the separator the user types next belongs before that section.
    bool movedOnByTyping_ = false;
};

}  // namespace orvo::forms
