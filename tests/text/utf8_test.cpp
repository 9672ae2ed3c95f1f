// Strict UTF-8 decoding and the Latin-1 the program works in.
#include "text/utf8.hpp"

#include <gtest/gtest.h>

namespace pexil {
namespace {

TEST(Utf8, DecodesEveryLengthAndRefusesWhatIsNotUtf8) {
  EXPECT_EQ(decodeUtf8("a\xC3\xA7\xE2\x82\xAC\xF0\x9F\x98\x80"), std::u32string(U"a\u00E7\u20AC\U0001F600"));
  EXPECT_EQ(decodeUtf8(""), std::u32string());
  EXPECT_FALSE(decodeUtf8("\xC0\xAF"));          // overlong '/'
  EXPECT_FALSE(decodeUtf8("\xE0\x80\xAF"));      // overlong, three bytes
  EXPECT_FALSE(decodeUtf8("\xED\xA0\x80"));      // a surrogate
  EXPECT_FALSE(decodeUtf8("\xF4\x90\x80\x80"));  // beyond U+10FFFF
  EXPECT_FALSE(decodeUtf8("ab\xC3"));            // cut short at the end
  EXPECT_FALSE(decodeUtf8("\xC3(x"));            // no continuation byte
  EXPECT_FALSE(decodeUtf8("caf\xE9"));           // Latin-1, not UTF-8
}

TEST(Utf8, LooksLikeUtf8OnlyWithSomethingBeyondAscii) {
  EXPECT_FALSE(looksLikeUtf8("plain ascii"));
  EXPECT_TRUE(looksLikeUtf8("L\xC2\xB7L"));
  EXPECT_FALSE(looksLikeUtf8("L\xB7L"));
}

TEST(Utf8, ToLatin1KeepsLatin1AndMarksOrRefusesTheRest) {
  EXPECT_EQ(utf8ToLatin1("L\xC2\xB7L \xC3\x91"), std::string("L\xB7L \xD1"));
  EXPECT_FALSE(utf8ToLatin1("\xC5\x81"));  // Polish L with stroke
  EXPECT_EQ(utf8ToLatin1("a\xC5\x81z", '\x01'), std::string("a\x01z"));
  EXPECT_FALSE(utf8ToLatin1("caf\xE9", '\x01'));
}

}  // namespace
}  // namespace pexil
