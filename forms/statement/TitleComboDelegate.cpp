#include "forms/statement/TitleComboDelegate.h"

#include <QComboBox>

#include "forms/statement/StatementPreviewModel.h"
#include "platform/Text.h"

namespace orvo::forms {

TitleComboDelegate::TitleComboDelegate(const TitleLists& titles, QObject* parent)
    : QStyledItemDelegate(parent), titles_(titles) {}

QWidget* TitleComboDelegate::createEditor(QWidget* parent, const QStyleOptionViewItem&,
                                          const QModelIndex& index) const {
    auto* combo = new QComboBox(parent);
    combo->setObjectName(QStringLiteral("titleCombo"));
    combo->setEditable(true);
    combo->setInsertPolicy(QComboBox::NoInsert);
    if (index.column() == StatementPreviewModel::Title1) {
        for (const std::string& t : titles_.level1) combo->addItem(platform::fromCp932(t));
    } else {
        const QString level1 =
            index.siblingAtColumn(StatementPreviewModel::Title1).data(Qt::EditRole).toString();
        for (std::size_t i = 0; i < titles_.level1.size(); ++i)
            if (platform::fromCp932(titles_.level1[i]) == level1)
                for (const std::string& t : titles_.level2Under(static_cast<int>(i)))
                    combo->addItem(platform::fromCp932(t));
    }
    return combo;
}

void TitleComboDelegate::setEditorData(QWidget* editor, const QModelIndex& index) const {
    auto* combo = static_cast<QComboBox*>(editor);
    combo->setCurrentText(index.data(Qt::EditRole).toString());
}

void TitleComboDelegate::setModelData(QWidget* editor, QAbstractItemModel* model,
                                      const QModelIndex& index) const {
    model->setData(index, static_cast<QComboBox*>(editor)->currentText(), Qt::EditRole);
}

}  // namespace orvo::forms
