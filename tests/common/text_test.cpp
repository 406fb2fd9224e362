// Tests of the Windows-1252 converter and the UTF-8 decoder.

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

// One decoder, two readings of a malformed sequence: the strict one refuses
// the text, the lenient one (the Windows-1252 converter's) replaces each bad
// byte and goes on.
TEST(Utf8, StrictRefusesWhatLenientReplaces) {
  struct Case {
    const char* what;
    std::string_view bytes;
    std::u32string lenient;
    std::string cp1252;
  };
  const Case cases[] = {
      {"Latin-1 bytes", "\xE9t\xE9", U"\uFFFDt\uFFFD", "?t?"},
      {"overlong slash", "\xC0\xAF", U"\uFFFD\uFFFD", "??"},
      {"surrogate", "\xED\xA0\x80", U"\uFFFD\uFFFD\uFFFD", "???"},
      {"above U+10FFFF", "\xF4\x90\x80\x80", U"\uFFFD\uFFFD\uFFFD\uFFFD", "????"},
      {"cut short", "a\xE2\x82", U"a\uFFFD\uFFFD", "a??"},
  };
  for (const Case& c : cases) {
    EXPECT_FALSE(DecodeUtf8(c.bytes, Utf8Mode::Strict)) << c.what;
    EXPECT_EQ(DecodeUtf8(c.bytes, Utf8Mode::Lenient), c.lenient) << c.what;
    EXPECT_EQ(Utf8ToCp1252(c.bytes), c.cp1252) << c.what;
  }
  EXPECT_EQ(DecodeUtf8("été €"), U"été €");
}

TEST(AsciiUpper, LeavesOtherBytesAlone) {
  EXPECT_EQ(AsciiUpper("Email_é"), "EMAIL_é");
}

}  // namespace casavo
