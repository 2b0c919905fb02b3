#pragma once
// Menus of the menu bar that have no item yet stay out of sight, so that no
// menu appears before one of its commands works.

#include <QMenu>

namespace orvo::forms {

// Shows `menu` in its menu bar exactly while it holds at least one action.
void hideWhileEmpty(QMenu* menu);

}  // namespace orvo::forms
