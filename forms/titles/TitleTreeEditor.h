#pragma once
// The account-title tree editor: `TreeView1` shows the titles as a tree, edited
// in place, with the pop-up menu `PopupMenu1` ("追加", "追加(階層下)", "削除")
// and drag and drop inside the tree. The titles themselves live in a
// `TitleForest`; the tree view is redrawn from it after every change.
//
// The settings window places this widget on its tab "勘定科目編集", fills it
// once at creation with LoadTitleTree and writes it on confirm with SaveTitleTree.

#include <QPoint>
#include <QString>
#include <QTreeWidget>
#include <QWidget>
#include <functional>
#include <set>
#include <unordered_map>

#include "ledger/TitleRename.h"
#include "settings/TitleForest.h"

class QAction;
class QMenu;

namespace orvo::forms {

// The tree view: drags its selected title, hands drops to the editor, and
// leaves the selection alone under the right mouse button (the pop-up menu
// acts on the selected title, not on the one under the pointer).
class TitleTreeView : public QTreeWidget {
    Q_OBJECT
public:
    explicit TitleTreeView(QWidget* parent = nullptr);

    std::function<bool(QObject* source)> dragOver;
    std::function<void(QObject* source, const QPoint& viewportPos)> dragDrop;

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void startDrag(Qt::DropActions supportedActions) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dragMoveEvent(QDragMoveEvent* event) override;
    void dropEvent(QDropEvent* event) override;
};

class TitleTreeEditor : public QWidget {
    Q_OBJECT
public:
    explicit TitleTreeEditor(QWidget* parent = nullptr);
    ~TitleTreeEditor() override;

    // Clears the tree and fills it from the title files in `folder` (empty: the
    // working folder), or with the bundled titles when neither file exists.
    // On a read error the tree shows what was read and the OrvoError is thrown
    // on, for the caller's central error display.
    void LoadTitleTree(const QString& folder = QString());

    // Writes both title files from the tree. Throws OrvoError
    // "ファイル %s を作成できません"; a file that failed keeps its old contents.
    void SaveTitleTree(const QString& folder = QString()) const;

    const TitleForest& titles() const { return forest_; }
    // Shows `forest` in place of the current titles.
    void setTitles(TitleForest forest);
    // The row showing `id`, or nullptr.
    QTreeWidgetItem* itemOf(TitleId id) const;
    TitleId titleOf(const QTreeWidgetItem* item) const;

    // The pop-up commands; each acts on the selected title.
    void Add1Click();
    void Add2Click();
    void Delete1Click();

    // Drag and drop: only drags from this tree are taken. `pos` is in the
    // tree's viewport; below the last row means "no target".
    bool TreeView1DragOver(QObject* source) const;
    void TreeView1DragDrop(QObject* sender, QObject* source, const QPoint& pos);

    // Called after a level-1 or level-2 title was renamed: the title as the
    // records carry its old name, and the new name.
    std::function<void(const RecordTitle& old, const std::string& newName)> titleRenamed;

    TitleTreeView* TreeView1;
    QMenu* PopupMenu1;
    QAction* Add1;
    QAction* Add2;
    QAction* Delete1;

private:
    TitleId selectedTitle() const;
    // Redraws the tree from the forest, keeping the expanded titles, and selects `select`.
    void showTitles(TitleId select);
    void reveal(TitleId id);
    void TreeView1Edited(QTreeWidgetItem* item);

    TitleForest forest_;
    std::set<TitleId> expanded_;
    std::unordered_map<TitleId, QTreeWidgetItem*> items_;  // the rows as last drawn
};

}  // namespace orvo::forms
