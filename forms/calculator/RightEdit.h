#pragma once
// The calculator's display: a one-line edit that only the program writes to,
// black with bold fuchsia text, drawn right-aligned.

#include <QLineEdit>

namespace orvo::forms {

class TRightEdit : public QLineEdit {
    Q_OBJECT
public:
    explicit TRightEdit(QWidget* parent = nullptr);
};

}  // namespace orvo::forms
