#include "settings/TitleForest.h"

#include <algorithm>
#include <stdexcept>
#include <utility>

namespace orvo {

namespace {

const char kNewTitleBeside[] = "新しい科目1";
const char kNewTitleBelow[] = "新しい科目2";

// CR and LF end a line in the title files; inside a title they would split it.
// Neither can be a CP932 trail byte, so a byte-wise replace is safe.
std::string oneLine(std::string_view text) {
    std::string s(text);
    std::replace(s.begin(), s.end(), '\r', ' ');
    std::replace(s.begin(), s.end(), '\n', ' ');
    return s;
}

}  // namespace

void TitleForest::clear() {
    nodes_.clear();
    roots_.clear();
}

const TitleForest::Node& TitleForest::node(TitleId id) const {
    auto it = nodes_.find(id);
    if (it == nodes_.end()) throw std::out_of_range("no such title");
    return it->second;
}

TitleForest::Node& TitleForest::node(TitleId id) {
    return const_cast<Node&>(std::as_const(*this).node(id));
}

const std::string& TitleForest::text(TitleId id) const {
    return node(id).text;
}

TitleId TitleForest::parent(TitleId id) const {
    return node(id).parent;
}

const std::vector<TitleId>& TitleForest::children(TitleId id) const {
    return id == kNoTitle ? roots_ : node(id).children;
}

std::vector<TitleId>& TitleForest::siblingsOf(TitleId id) {
    const TitleId p = node(id).parent;
    return p == kNoTitle ? roots_ : node(p).children;
}

int TitleForest::level(TitleId id) const {
    int depth = 0;
    for (TitleId p = parent(id); p != kNoTitle; p = parent(p)) ++depth;
    return depth;
}

TitleId TitleForest::topLevelAncestor(TitleId id) const {
    while (parent(id) != kNoTitle) id = parent(id);
    return id;
}

std::vector<TitleId> TitleForest::displayOrder() const {
    std::vector<TitleId> order;
    order.reserve(nodes_.size());
    // Explicit stack: a hand-made tree may be deep.
    std::vector<TitleId> pending(roots_.rbegin(), roots_.rend());
    while (!pending.empty()) {
        const TitleId id = pending.back();
        pending.pop_back();
        order.push_back(id);
        const auto& kids = node(id).children;
        pending.insert(pending.end(), kids.rbegin(), kids.rend());
    }
    return order;
}

void TitleForest::setText(TitleId id, std::string_view text) {
    node(id).text = oneLine(text);
}

TitleId TitleForest::create(TitleId parent, std::string_view text) {
    const TitleId id = nextId_++;
    nodes_.emplace(id, Node{oneLine(text), parent, {}});
    return id;
}

TitleId TitleForest::addLastChild(TitleId parent, std::string_view text) {
    if (parent != kNoTitle) node(parent);  // checks it exists before anything changes
    const TitleId id = create(parent, text);
    (parent == kNoTitle ? roots_ : node(parent).children).push_back(id);
    return id;
}

TitleId TitleForest::insertBefore(TitleId sibling, std::string_view text) {
    std::vector<TitleId>& siblings = siblingsOf(sibling);
    const auto at = std::find(siblings.begin(), siblings.end(), sibling);
    const TitleId id = create(node(sibling).parent, text);
    siblings.insert(at, id);
    return id;
}

void TitleForest::remove(TitleId id) {
    std::vector<TitleId>& siblings = siblingsOf(id);
    siblings.erase(std::find(siblings.begin(), siblings.end(), id));
    std::vector<TitleId> pending{id};
    while (!pending.empty()) {
        const TitleId next = pending.back();
        pending.pop_back();
        const auto& kids = node(next).children;
        pending.insert(pending.end(), kids.begin(), kids.end());
        nodes_.erase(next);
    }
}

void TitleForest::moveToLastChild(TitleId id, TitleId newParent) {
    if (newParent == id || IsInSubtree(*this, newParent, id))
        throw std::invalid_argument("a title cannot move into its own subtree");
    if (newParent != kNoTitle) node(newParent);
    std::vector<TitleId>& siblings = siblingsOf(id);
    siblings.erase(std::find(siblings.begin(), siblings.end(), id));
    node(id).parent = newParent;
    (newParent == kNoTitle ? roots_ : node(newParent).children).push_back(id);
}

bool IsInSubtree(const TitleForest& forest, TitleId target, TitleId node) {
    if (target == kNoTitle || !forest.contains(target)) return false;
    // Walking up from the target is the same answer as searching down from node.
    for (TitleId p = forest.parent(target); p != kNoTitle; p = forest.parent(p))
        if (p == node) return true;
    return false;
}

void MoveSubtree(TitleForest& forest, TitleId target, TitleId node) {
    forest.moveToLastChild(node, target);
}

TitleId AddTitleBefore(TitleForest& forest, TitleId selected) {
    if (selected == kNoTitle) return forest.addLastChild(kNoTitle, kNewTitleBeside);
    return forest.insertBefore(selected, kNewTitleBeside);
}

TitleId AddSubTitle(TitleForest& forest, TitleId selected) {
    return forest.addLastChild(selected, kNewTitleBelow);
}

}  // namespace orvo
