// Message texts show the whole quoted text, control bytes included.

#include <gtest/gtest.h>

#include <string>

#include "base/OrvoError.h"

namespace orvo {
namespace {

TEST(MessageText, ControlBytesInAQuotedTextAreShownAndNeverCutTheMessage) {
    const struct {
        std::string text;
        std::string shown;
    } cases[] = {
        {std::string("48\0 0", 5), "'48\\0 0' は整数ではありません"},
        {"1\t2", "'1\\x092' は整数ではありません"},
        {"\x1b", "'\\x1B' は整数ではありません"},
        {"表", "'表' は整数ではありません"},  // a 0x5C trail byte is no control byte
    };
    for (const auto& c : cases) EXPECT_EQ(std::string(notAnInteger(c.text).what()), c.shown);
}

}  // namespace
}  // namespace orvo
