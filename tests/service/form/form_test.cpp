// Tests of the form decoder and encoder.

#include "service/form.h"

#include <gtest/gtest.h>

namespace casavo::service {
namespace {

TEST(FormDecoding, EscapesPlusAndStrayPercentSigns) {
  const FormFields fields("a=1%262&b=x+y%2Bz&c=100%25&d=%E9t%C3%A9&e=50%&f=%zz&g&=v&a=second");
  EXPECT_EQ(fields.GetOr("a"), "1&2");  // the first of two values wins
  EXPECT_EQ(fields.GetOr("b"), "x y+z");
  EXPECT_EQ(fields.GetOr("c"), "100%");
  EXPECT_EQ(fields.GetOr("d"), "\xE9t\xC3\xA9");  // bytes as sent
  EXPECT_EQ(fields.GetOr("e"), "50%");
  EXPECT_EQ(fields.GetOr("f"), "%zz");
  EXPECT_TRUE(fields.Has("g"));
  EXPECT_EQ(fields.GetOr("g"), "");
  EXPECT_EQ(fields.GetOr(""), "v");
  EXPECT_FALSE(fields.Get("absent"));
  EXPECT_EQ(FormFields(FormBody({{"k", std::string("\0\r\n&=+%\xFF", 8)}})).GetOr("k"),
            std::string("\0\r\n&=+%\xFF", 8));
}

TEST(FormDecoding, CookieValueFindsTheNamedCookie) {
  EXPECT_EQ(CookieValue("a=1; casavo_session=abc ; b=2", "casavo_session"), "abc");
  EXPECT_EQ(CookieValue("xcasavo_session=abc", "casavo_session"), "");
  EXPECT_EQ(CookieValue("", "casavo_session"), "");
}

}  // namespace
}  // namespace casavo::service
