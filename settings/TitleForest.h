#pragma once
// The account-title tree the editor works on: an ordered forest of titles in
// CP932, any depth. A top-level title is a level-1 title; every title below it
// is one of its level-2 titles. Titles keep their id for life, so a view can
// map its rows to them and keep expansion and selection across changes.

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace orvo {

using TitleId = std::uint32_t;
inline constexpr TitleId kNoTitle = 0;  // "no title": the forest's root

class TitleForest {
public:
    bool empty() const { return roots_.empty(); }
    std::size_t size() const { return nodes_.size(); }
    void clear();

    bool contains(TitleId id) const { return nodes_.count(id) != 0; }
    const std::string& text(TitleId id) const;
    // kNoTitle for a top-level title.
    TitleId parent(TitleId id) const;
    // The sub-titles in order; for kNoTitle, the top-level titles.
    const std::vector<TitleId>& children(TitleId id) const;
    // 0 for a top-level title.
    int level(TitleId id) const;
    TitleId topLevelAncestor(TitleId id) const;
    // Depth-first: a title, its sub-titles in order, then its next sibling.
    std::vector<TitleId> displayOrder() const;

    // A title is one line of a title file: a CR or LF in `text` becomes a blank.
    void setText(TitleId id, std::string_view text);

    // Adds a title as the last child of `parent` (the last top-level title for kNoTitle).
    TitleId addLastChild(TitleId parent, std::string_view text);
    // Inserts a title immediately before `sibling`, under the same parent.
    TitleId insertBefore(TitleId sibling, std::string_view text);
    // Removes a title with its whole subtree.
    void remove(TitleId id);
    // Re-links `id` with its subtree as the last child of `newParent` (kNoTitle:
    // top level). `newParent` must not be `id` nor lie in its subtree.
    void moveToLastChild(TitleId id, TitleId newParent);

    // Unknown ids are a caller's fault: std::out_of_range.
private:
    struct Node {
        std::string text;
        TitleId parent = kNoTitle;
        std::vector<TitleId> children;
    };
    const Node& node(TitleId id) const;
    Node& node(TitleId id);
    std::vector<TitleId>& siblingsOf(TitleId id);
    TitleId create(TitleId parent, std::string_view text);

    std::unordered_map<TitleId, Node> nodes_;
    std::vector<TitleId> roots_;
    TitleId nextId_ = 1;
};

// True when `target` is a descendant of `node` at any depth; false for `node`
// itself and for kNoTitle.
bool IsInSubtree(const TitleForest& forest, TitleId target, TitleId node);

// Makes `node` with all its sub-titles, in their order, the last child of
// `target` (the last top-level title when `target` is kNoTitle). Dropping onto
// the node itself or into its own subtree is refused with std::invalid_argument;
// the tree editor checks both before and tells the user.
void MoveSubtree(TitleForest& forest, TitleId target, TitleId node);

// The pop-up commands of the tree editor, with the new titles' default texts.
// "追加": a new title immediately before `selected`; with nothing selected, the
// last top-level title.
TitleId AddTitleBefore(TitleForest& forest, TitleId selected);
// "追加(階層下)": a new last child of `selected`; with nothing selected, the
// last top-level title.
TitleId AddSubTitle(TitleForest& forest, TitleId selected);

}  // namespace orvo
