#include "common/text.h"

#include <gtest/gtest.h>

namespace casavo {

TEST(Cp1252, EveryByteSurvivesTheRoundTrip) {
  std::string all;
  for (int b = 0; b < 256; ++b) all += static_cast<char>(b);
  const std::string utf8 = Cp1252ToUtf8(all);
  EXPECT_EQ(Utf8ToCp1252(utf8), all);
  EXPECT_TRUE(FitsCp1252(utf8));
}

TEST(Cp1252, HighRangeUsesTheWindowsCharacters) {
  EXPECT_EQ(Cp1252ToUtf8("\x80"), "\u20AC");
  EXPECT_EQ(Cp1252ToUtf8("\x9C"), "\u0153");
  EXPECT_EQ(Cp1252ToUtf8("Vu Tr\xE9"), "Vu Tré");
  EXPECT_EQ(Utf8ToCp1252("Pièce à côté €"),
            "Pi\xE8"
            "ce \xE0 c\xF4t\xE9 \x80");
}

TEST(Cp1252, CharactersWithoutAFormBecomeQuestionMarks) {
  EXPECT_EQ(Utf8ToCp1252("a\u4E2Db"), "a?b");
  EXPECT_FALSE(FitsCp1252("\u4E2D"));
  EXPECT_EQ(Utf8ToCp1252("x\xC3"), "x?");  // truncated sequence
  EXPECT_EQ(Utf8ToCp1252("\xFFz"), "?z");
}

TEST(AsciiUpper, LeavesOtherBytesAlone) {
  EXPECT_EQ(AsciiUpper("Email_é"), "EMAIL_é");
}

}  // namespace casavo
