#include "forms/calculator/RightEdit.h"

#include <QColor>
#include <QFont>
#include <QPalette>

namespace orvo::forms {

TRightEdit::TRightEdit(QWidget* parent) : QLineEdit(parent) {
    setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    // Disabled, so the user can neither focus it nor type; the colours must
    // therefore hold in the disabled group too.
    setEnabled(false);
    setFocusPolicy(Qt::NoFocus);
    QPalette colours = palette();
    for (const QPalette::ColorGroup group :
         {QPalette::Active, QPalette::Inactive, QPalette::Disabled}) {
        colours.setColor(group, QPalette::Base, Qt::black);
        colours.setColor(group, QPalette::Window, Qt::black);
        colours.setColor(group, QPalette::Text, QColor(255, 0, 255));
    }
    setPalette(colours);
    // Only the weight is set, so the rest follows the window's font.
    QFont bold;
    bold.setBold(true);
    setFont(bold);
}

}  // namespace orvo::forms
