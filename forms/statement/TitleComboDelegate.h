#pragma once
// The title cells of the preview grid: a drop-down of the title lists (the
// level-2 list under the row's level-1 title), editable for a title not in them.

#include <QStyledItemDelegate>

#include "settings/TitleFiles.h"

namespace orvo::forms {

class TitleComboDelegate : public QStyledItemDelegate {
    Q_OBJECT
public:
    TitleComboDelegate(const TitleLists& titles, QObject* parent);

    QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem& option,
                          const QModelIndex& index) const override;
    void setEditorData(QWidget* editor, const QModelIndex& index) const override;
    void setModelData(QWidget* editor, QAbstractItemModel* model,
                      const QModelIndex& index) const override;

private:
    const TitleLists& titles_;
};

}  // namespace orvo::forms
