#include "text/messages.hpp"

#include <gtest/gtest.h>

#include <cstring>

#include "test_support.hpp"

namespace pexil {
namespace {

TEST(Messages, LanguagesFallBackToEnglish) {
  test::StateGuard guard;
  SetUILang(kEnglish);
  EXPECT_STREQ(Message(msg::MoreMoves), "Type 'y' to see more moves.");
  SetUILang(kPigLatin);
  EXPECT_STREQ(Message(msg::MoreMoves), "Ypetay 'y' otay eesay oremay ovesmay.");
  SetUILang(kCatalan);
  EXPECT_STREQ(Message(msg::MoreMoves), "Pitgeu 'y' per veure m\xE9s jugades.");

  // Message 741 has no translation; 631 none in Catalan.
  for (int language : {kPigLatin, kCatalan}) {
    SetUILang(language);
    EXPECT_STREQ(Message(741), CatalogueEntry(kEnglish, 741));
  }
  SetUILang(kCatalan);
  EXPECT_STREQ(Message(631), "Help create opening book...");
  SetUILang(kPigLatin);
  EXPECT_STRNE(Message(631), "Help create opening book...");

  // Any other language value selects English.
  SetUILang(7);
  EXPECT_STREQ(Message(msg::MoreMoves), "Type 'y' to see more moves.");
  SetUILang(-1);
  EXPECT_STREQ(Message(msg::MoreMoves), "Type 'y' to see more moves.");
}

TEST(Messages, NumbersOutsideTheCatalogueGiveNothing) {
  EXPECT_EQ(Message(-1), nullptr);
  EXPECT_EQ(Message(742), nullptr);
  EXPECT_EQ(Message(kFrontEndFirst - 1), nullptr);
  EXPECT_EQ(Message(kFrontEndEnd), nullptr);
  EXPECT_EQ(MessageLength(742), 0u);
  EXPECT_EQ(MessageLength(msg::MoreMoves), std::strlen("Type 'y' to see more moves."));
  EXPECT_EQ(FormatMessage(9999), "");
  test::PaneCapture capture;
  PrintMessage(9999);
  EXPECT_TRUE(capture.lines().empty());
}

TEST(Messages, TranslationsKeepThePlaceholdersOfEnglish) {
  auto placeholders = [](const char* text) {
    std::string found;
    for (const char* p = text; *p; ++p) {
      if (*p != '%') continue;
      ++p;
      while (*p && std::strchr("0123456789.-+ #l", *p)) found.push_back(*p++);
      if (!*p) break;
      found.push_back(*p);
      found.push_back('|');
    }
    return found;
  };
  for (int n = 0; n < kFrontEndEnd; ++n) {
    const char* english = CatalogueEntry(kEnglish, n);
    for (int language : {kPigLatin, kCatalan}) {
      const char* translated = CatalogueEntry(language, n);
      if (!translated) continue;
      ASSERT_NE(english, nullptr) << "translation without English text: " << n;
      EXPECT_EQ(placeholders(translated), placeholders(english)) << "message " << n;
    }
  }
}

TEST(Messages, FormattingAndLanguageHook) {
  test::StateGuard guard;
  EXPECT_EQ(FormatMessage(msg::DefsWarning, "X", "unknown line"), "Warning: Syntax error in game \"X\" unknown line");
  const std::string longText(1000, 'z');
  EXPECT_EQ(FormatText("<%s>", longText.c_str()), "<" + longText + ">");

  int hooked = -1;
  SetLanguageChangeHook([&](int language) { hooked = language; });
  SetLanguage(kCatalan);
  EXPECT_EQ(hooked, kCatalan);
  EXPECT_EQ(UILang(), kCatalan);
  SetLanguageChangeHook(nullptr);
  SetLanguage(kEnglish);
  EXPECT_EQ(hooked, kCatalan);
}

}  // namespace
}  // namespace pexil
