#pragma once
// Test helpers for the title tree: a forest written as "A;B(B1(B1a),B2);C",
// and the title looked up by its text.

#include <gtest/gtest.h>

#include <string>

#include "CoreTestSupport.h"
#include "base/OrvoError.h"
#include "settings/TitleForest.h"
#include "support/TitleForests.h"

namespace orvo::testing {

inline std::string shapeOf(const TitleForest& forest, TitleId parent = kNoTitle) {
    std::string out;
    for (TitleId id : forest.children(parent)) {
        if (!out.empty()) out += parent == kNoTitle ? ";" : ",";
        out += forest.text(id);
        if (!forest.children(id).empty()) out += "(" + shapeOf(forest, id) + ")";
    }
    return out;
}

// The id of the first title with `text` in display order; fails the test when absent.
inline TitleId titleNamed(const TitleForest& forest, const std::string& text) {
    for (TitleId id : forest.displayOrder())
        if (forest.text(id) == text) return id;
    ADD_FAILURE() << "no title " << text;
    return kNoTitle;
}

}  // namespace orvo::testing
