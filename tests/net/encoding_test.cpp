#include <string>

#include <gtest/gtest.h>

#include "net/upload.hpp"

namespace pexil {
namespace {

TEST(GcgFormEncoding, DigitsAndSignsBecomeHexAndSpacesPluses) {
  EXPECT_EQ(EncodeGcgForm("8D QI +22"), "%38D+QI+%2B%32%32");
}

TEST(GcgFormEncoding, LineEndsAreEncoded) {
  EXPECT_EQ(EncodeGcgForm("a\r\nb"), "a%0D%0Ab");
}

TEST(GcgFormEncoding, LettersStayEveryOtherByteIsUpperCaseHex) {
  EXPECT_EQ(EncodeGcgForm("AZaz"), "AZaz");
  EXPECT_EQ(EncodeGcgForm(std::string("\0\x7F\xFF\xE9", 4)), "%00%7F%FF%E9");
  EXPECT_EQ(EncodeGcgForm("#player1 Ann"), "%23player%31+Ann");
  EXPECT_EQ(EncodeGcgForm("?_-.~%"), "%3F%5F%2D%2E%7E%25");
  EXPECT_EQ(EncodeGcgForm(""), "");
}

TEST(GcgFormEncoding, NeverMoreThanThreeBytesPerByte) {
  std::string all;
  for (int c = 0; c < 256; ++c) all += static_cast<char>(c);
  const std::string encoded = EncodeGcgForm(all);
  EXPECT_EQ(encoded.size(), 52 + 1 + 203 * 3u);
}

}  // namespace
}  // namespace pexil
