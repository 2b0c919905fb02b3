#pragma once
// The title forest the title tests start from, for the core's and the
// windows' tests alike.

#include "settings/TitleForest.h"

namespace orvo::testing {

// Builds A;B(B1(B1a),B2);C.
inline TitleForest abcForest() {
    TitleForest f;
    f.addLastChild(kNoTitle, "A");
    const TitleId b = f.addLastChild(kNoTitle, "B");
    f.addLastChild(kNoTitle, "C");
    const TitleId b1 = f.addLastChild(b, "B1");
    f.addLastChild(b1, "B1a");
    f.addLastChild(b, "B2");
    return f;
}

}  // namespace orvo::testing
