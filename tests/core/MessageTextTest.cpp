// Message texts show the whole quoted text, control bytes included.

#include <gtest/gtest.h>

#include <string>

#include "CoreTestSupport.h"
#include "base/OrvoError.h"
#include "print/FormatAmount.h"

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
    // Every message that quotes a text quotes it so.
    EXPECT_EQ(std::string(notADate("1\t2").what()), "'1\\x092' は日付ではありません");
    EXPECT_EQ(errorOf([] { print::FormatAmount(std::string("4\0", 2), 12); }),
              "'4\\0' は浮動小数点数ではありません");
}

TEST(MessageText, ALongQuotedTextIsCutAfter200Characters) {
    // Two-byte characters count as one, and none is split.
    const std::string twoHundred = std::string(199, 'a') + "表";
    EXPECT_EQ(std::string(notAFloat(twoHundred).what()),
              "'" + twoHundred + "' は浮動小数点数ではありません");
    EXPECT_EQ(std::string(notAFloat(twoHundred + "\x01" + std::string(100 << 20, 'b')).what()),
              "'" + twoHundred + "…' は浮動小数点数ではありません");
    EXPECT_EQ(std::string(notADate(std::string(199, 'a') + "\t表").what()),
              "'" + std::string(199, 'a') + "\\x09…' は日付ではありません");
}

}  // namespace
}  // namespace orvo
