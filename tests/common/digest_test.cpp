// Tests of the digests and Base64.

#include "common/digest.h"

#include <gtest/gtest.h>

namespace casavo {

TEST(Digest, KnownVectors) {
  EXPECT_EQ(Md5Hex(""), "D41D8CD98F00B204E9800998ECF8427E");
  EXPECT_EQ(Md5Hex("(5),7,11,15,19,7"), Md5Hex(std::string("(5),7,11,15,19,7")));
  EXPECT_EQ(Md5Hex("abc"), "900150983CD24FB0D6963F7D28E17F72");
  const auto sha = Sha1("abc");
  EXPECT_EQ(sha[0], 0xA9);
  EXPECT_EQ(sha[19], 0x9D);
}

TEST(Base64, EncodesWithPaddingAndDecodesStrictly) {
  EXPECT_EQ(Base64Encode(""), "");
  EXPECT_EQ(Base64Encode("f"), "Zg==");
  EXPECT_EQ(Base64Encode("fo"), "Zm8=");
  EXPECT_EQ(Base64Encode("foo"), "Zm9v");
  EXPECT_EQ(Base64Encode(std::string("\xFB\xFF", 2)), "+/8=");
  for (std::string s : {"", "f", "fo", "foo", "foob", "fooba", "foobar"})
    EXPECT_EQ(Base64Decode(Base64Encode(s)), s);
  std::string bin;
  for (int i = 0; i < 256; ++i) bin += static_cast<char>(i);
  EXPECT_EQ(Base64Decode(Base64Encode(bin)), bin);
  EXPECT_FALSE(Base64Decode("Zg="));
  EXPECT_FALSE(Base64Decode("Z g=="));
  EXPECT_FALSE(Base64Decode("Zg==Zg=="));
  EXPECT_FALSE(Base64Decode("=Zg="));
}

}  // namespace casavo
