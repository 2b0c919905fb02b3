#include "forms/titles/TitleTreeEditor.h"

#include <QDrag>
#include <QDragEnterEvent>
#include <QDragMoveEvent>
#include <QDropEvent>
#include <QHeaderView>
#include <QMenu>
#include <QMimeData>
#include <QMouseEvent>
#include <QSignalBlocker>
#include <QVBoxLayout>
#include <algorithm>

#include "base/OrvoError.h"
#include "platform/Dialogs.h"
#include "platform/Text.h"
#include "settings/TitleFiles.h"

using namespace Qt::Literals::StringLiterals;

namespace orvo::forms {

namespace {

// The drag carries nothing the tree needs (the dragged title is the selected
// one); the format only marks it as a title drag.
const QString kTitleDragFormat = u"application/x-orvokakei-title"_s;

constexpr int kTitleIdRole = Qt::UserRole;

}  // namespace

// --- TitleTreeView -----------------------------------------------------------

TitleTreeView::TitleTreeView(QWidget* parent) : QTreeWidget(parent) {
    setHeaderHidden(true);
    setColumnCount(1);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setEditTriggers(QAbstractItemView::SelectedClicked | QAbstractItemView::EditKeyPressed);
    setDragEnabled(true);
    setAcceptDrops(true);
    setDragDropMode(QAbstractItemView::DragDrop);
    // A drop always lands on the row under the pointer, never between rows.
    setDropIndicatorShown(false);
}

void TitleTreeView::mousePressEvent(QMouseEvent* event) {
    if (event->button() == Qt::RightButton) {
        event->accept();
        return;
    }
    QTreeWidget::mousePressEvent(event);
}

void TitleTreeView::startDrag(Qt::DropActions) {
    QTreeWidgetItem* item = currentItem();
    if (!item || !item->isSelected()) return;
    auto* mime = new QMimeData;
    mime->setData(kTitleDragFormat, QByteArray());
    auto* drag = new QDrag(this);
    drag->setMimeData(mime);
    const QRect rect = visualItemRect(item);
    drag->setPixmap(viewport()->grab(rect));
    drag->setHotSpot(viewport()->mapFromGlobal(QCursor::pos()) - rect.topLeft());
    // The editor moves the title itself; the view must not remove any rows
    // afterwards, whatever the drag reports.
    drag->exec(Qt::MoveAction);
}

void TitleTreeView::dragEnterEvent(QDragEnterEvent* event) {
    if (dragOver && dragOver(event->source()))
        event->acceptProposedAction();
    else
        event->ignore();
}

void TitleTreeView::dragMoveEvent(QDragMoveEvent* event) {
    if (!dragOver || !dragOver(event->source())) {
        event->ignore();
        return;
    }
    // The base class scrolls near the edges and expands on hover; the answer is ours.
    QTreeWidget::dragMoveEvent(event);
    event->acceptProposedAction();
}

void TitleTreeView::dropEvent(QDropEvent* event) {
    if (!dragOver || !dragOver(event->source())) {
        event->ignore();
        return;
    }
    event->setDropAction(Qt::IgnoreAction);
    event->accept();
    if (dragDrop) dragDrop(event->source(), event->position().toPoint());
}

// --- TitleTreeEditor ---------------------------------------------------------

TitleTreeEditor::TitleTreeEditor(QWidget* parent) : QWidget(parent) {
    TreeView1 = new TitleTreeView(this);
    TreeView1->setObjectName(u"TreeView1"_s);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(TreeView1);

    PopupMenu1 = new QMenu(this);
    PopupMenu1->setObjectName(u"PopupMenu1"_s);
    Add1 = PopupMenu1->addAction(u"追加"_s, this, &TitleTreeEditor::Add1Click);
    Add2 = PopupMenu1->addAction(u"追加(階層下)"_s, this, &TitleTreeEditor::Add2Click);
    Delete1 = PopupMenu1->addAction(u"削除"_s, this, &TitleTreeEditor::Delete1Click);

    TreeView1->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(TreeView1, &QWidget::customContextMenuRequested, this, [this](const QPoint& pos) {
        PopupMenu1->popup(TreeView1->viewport()->mapToGlobal(pos));
    });
    connect(TreeView1, &QTreeWidget::itemChanged, this,
            [this](QTreeWidgetItem* item, int) { TreeView1Edited(item); });
    connect(TreeView1, &QTreeWidget::itemExpanded, this,
            [this](QTreeWidgetItem* item) { expanded_.insert(titleOf(item)); });
    connect(TreeView1, &QTreeWidget::itemCollapsed, this,
            [this](QTreeWidgetItem* item) { expanded_.erase(titleOf(item)); });
    TreeView1->dragOver = [this](QObject* source) { return TreeView1DragOver(source); };
    TreeView1->dragDrop = [this](QObject* source, const QPoint& pos) {
        TreeView1DragDrop(TreeView1, source, pos);
    };
}

TitleTreeEditor::~TitleTreeEditor() {
    // An editor still open commits when the tree goes; the titles are gone by then.
    TreeView1->disconnect(this);
    TreeView1->dragOver = nullptr;
    TreeView1->dragDrop = nullptr;
}

void TitleTreeEditor::LoadTitleTree(const QString& folder) {
    expanded_.clear();
    try {
        orvo::LoadTitleTree(forest_, platform::toNativePath(folder));
    } catch (const OrvoError&) {
        showTitles(kNoTitle);
        throw;
    }
    showTitles(kNoTitle);
}

void TitleTreeEditor::SaveTitleTree(const QString& folder) const {
    orvo::SaveTitleTree(forest_, platform::toNativePath(folder));
}

void TitleTreeEditor::setTitles(TitleForest forest) {
    forest_ = std::move(forest);
    expanded_.clear();
    showTitles(kNoTitle);
}

TitleId TitleTreeEditor::titleOf(const QTreeWidgetItem* item) const {
    return item ? item->data(0, kTitleIdRole).value<TitleId>() : kNoTitle;
}

QTreeWidgetItem* TitleTreeEditor::itemOf(TitleId id) const {
    const auto it = items_.find(id);
    return it == items_.end() ? nullptr : it->second;
}

TitleId TitleTreeEditor::selectedTitle() const {
    const QList<QTreeWidgetItem*> selected = TreeView1->selectedItems();
    return selected.isEmpty() ? kNoTitle : titleOf(selected.first());
}

void TitleTreeEditor::showTitles(TitleId select) {
    const QSignalBlocker blocker(TreeView1);
    TreeView1->setUpdatesEnabled(false);
    TreeView1->clear();
    items_.clear();
    std::set<TitleId> stillExpanded;
    // Parents come before their children in display order.
    for (TitleId id : forest_.displayOrder()) {
        const TitleId parent = forest_.parent(id);
        auto* item = parent == kNoTitle ? new QTreeWidgetItem(TreeView1)
                                        : new QTreeWidgetItem(itemOf(parent));
        item->setText(0, platform::fromCp932(forest_.text(id)));
        item->setData(0, kTitleIdRole, QVariant::fromValue(id));
        item->setFlags(item->flags() | Qt::ItemIsEditable | Qt::ItemIsDragEnabled |
                       Qt::ItemIsDropEnabled);
        items_.emplace(id, item);
    }
    for (TitleId id : expanded_) {
        if (QTreeWidgetItem* item = itemOf(id)) {
            item->setExpanded(true);
            stillExpanded.insert(id);
        }
    }
    expanded_ = std::move(stillExpanded);
    TreeView1->setCurrentItem(itemOf(select));
    if (select == kNoTitle) TreeView1->clearSelection();
    TreeView1->setUpdatesEnabled(true);
}

void TitleTreeEditor::reveal(TitleId id) {
    for (TitleId p = forest_.parent(id); p != kNoTitle; p = forest_.parent(p)) {
        expanded_.insert(p);
        if (QTreeWidgetItem* item = itemOf(p)) {
            const QSignalBlocker blocker(TreeView1);
            item->setExpanded(true);
        }
    }
    if (QTreeWidgetItem* item = itemOf(id)) TreeView1->scrollToItem(item);
}

void TitleTreeEditor::Add1Click() {
    const TitleId selected = selectedTitle();
    const TitleId added = AddTitleBefore(forest_, selected);
    showTitles(selected);
    reveal(added);
}

void TitleTreeEditor::Add2Click() {
    const TitleId selected = selectedTitle();
    const TitleId added = AddSubTitle(forest_, selected);
    showTitles(selected);
    reveal(added);
}

void TitleTreeEditor::Delete1Click() {
    const TitleId selected = selectedTitle();
    if (selected == kNoTitle) return;
    const QString question =
        u"『"_s + platform::fromCp932(forest_.text(selected)) + u"』を削除しますか"_s;
    if (platform::dialogs().message(platform::MessageKind::Warning, question,
                                    platform::Yes | platform::No | platform::Cancel) !=
        platform::Yes)
        return;
    // The selection moves to a neighbour: the next title on the same level, else
    // the one before, else the parent.
    const TitleId parent = forest_.parent(selected);
    const std::vector<TitleId>& siblings = forest_.children(parent);
    const auto at = std::find(siblings.begin(), siblings.end(), selected);
    TitleId next = parent;
    if (at + 1 != siblings.end())
        next = *(at + 1);
    else if (at != siblings.begin())
        next = *(at - 1);
    forest_.remove(selected);
    showTitles(next);
}

bool TitleTreeEditor::TreeView1DragOver(QObject* source) const {
    return source == TreeView1;
}

void TitleTreeEditor::TreeView1DragDrop(QObject* sender, QObject* source, const QPoint& pos) {
    if (!qobject_cast<QTreeWidget*>(sender) || !qobject_cast<QTreeWidget*>(source)) return;
    const TitleId dragged = selectedTitle();
    if (dragged == kNoTitle) return;
    const TitleId target = titleOf(TreeView1->itemAt(pos));
    if (target == dragged) {
        platform::dialogs().message(platform::MessageKind::Information,
                                    u"同じ場所には移動できません"_s, platform::Ok);
        return;
    }
    if (IsInSubtree(forest_, target, dragged)) {
        platform::dialogs().message(platform::MessageKind::Information, u"この移動はできません"_s,
                                    platform::Ok);
        return;
    }
    MoveSubtree(forest_, target, dragged);
    showTitles(dragged);
    reveal(dragged);
}

void TitleTreeEditor::TreeView1Edited(QTreeWidgetItem* item) {
    const TitleId id = titleOf(item);
    if (!forest_.contains(id)) return;
    const platform::Cp932Result text = platform::toCp932(item->text(0));
    RecordTitle old;
    if (forest_.level(id) == 0) old.title1 = forest_.text(id);
    if (forest_.level(id) == 1) old = {forest_.text(forest_.parent(id)), forest_.text(id)};
    if (text.ok()) forest_.setText(id, text.bytes);
    if (!text.ok())
        platform::dialogs().message(platform::MessageKind::Warning,
                                    u"次の文字は勘定科目に使えません: "_s + text.unencodable,
                                    platform::Ok);
    // The row shows what the title holds: the old text after a refusal, blanks
    // for line breaks.
    {
        const QSignalBlocker blocker(TreeView1);
        item->setText(0, platform::fromCp932(forest_.text(id)));
    }
    const std::string& now = forest_.text(id);
    const std::string& was = old.title2.empty() ? old.title1 : old.title2;
    if (!old.title1.empty() && now != was && titleRenamed) titleRenamed(old, now);
}

}  // namespace orvo::forms
