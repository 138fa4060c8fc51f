#include "host/base/textcodec.h"

#include <gtest/gtest.h>

namespace vorn {

TEST(TextCodec, ChineseAndAstralCharactersRoundTrip) {
    const std::wstring text = L"道路绘制 PLAN-ROAD \U0001F333";
    EXPECT_EQ(FromUtf8(ToUtf8(text)), text);
    EXPECT_EQ(ToUtf8(L"图例"), "\xE5\x9B\xBE\xE4\xBE\x8B");
}

TEST(TextCodec, MalformedInputBecomesReplacementCharacters) {
    EXPECT_EQ(FromUtf8("a\xFF" "b"), L"a\uFFFDb");
    EXPECT_EQ(FromUtf8("\xE5\x9B"), L"\uFFFD");         // truncated sequence
    EXPECT_EQ(FromUtf8("\xC0\xAF"), L"\uFFFD");         // overlong '/'
    EXPECT_EQ(FromUtf8("\xED\xA0\x80"), L"\uFFFD");     // encoded surrogate
    EXPECT_EQ(ToUtf8(std::wstring(1, static_cast<wchar_t>(0xD800))), "\xEF\xBF\xBD");
}

}  // namespace vorn
