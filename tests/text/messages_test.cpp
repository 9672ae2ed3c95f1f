#include "text/messages.hpp"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <string>

#include "test_support.hpp"
#include "text/pig_latin.hpp"

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
      while (*p && std::strchr("0123456789.*-+ #hlLqjzt", *p)) found.push_back(*p++);
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

int entryCount(int language, int first, int end) {
  int count = 0;
  for (int n = first; n < end; ++n) count += CatalogueEntry(language, n) != nullptr;
  return count;
}

TEST(MessageCatalogue, EveryLanguageCoversItsNumbers) {
  EXPECT_EQ(entryCount(kEnglish, 0, kMessageCount), kMessageCount);
  EXPECT_EQ(entryCount(kPigLatin, 0, kMessageCount), kMessageCount - 1);
  EXPECT_EQ(CatalogueEntry(kPigLatin, msg::OpeningBookQuestion), nullptr);
  EXPECT_EQ(entryCount(kCatalan, 0, kMessageCount), kMessageCount - 2);
  EXPECT_EQ(CatalogueEntry(kCatalan, msg::MenuTestingOpeningBook), nullptr);
  EXPECT_EQ(CatalogueEntry(kCatalan, msg::OpeningBookQuestion), nullptr);
  // The front end's own texts are English only.
  EXPECT_GT(entryCount(kEnglish, kFrontEndFirst, kFrontEndEnd), 0);
  EXPECT_EQ(entryCount(kPigLatin, kFrontEndFirst, kFrontEndEnd), 0);
  EXPECT_EQ(entryCount(kCatalan, kFrontEndFirst, kFrontEndEnd), 0);
  EXPECT_EQ(CatalogueEntry(3, msg::GameReady), nullptr);
}

TEST(MessageCatalogue, QuotedEnglishTexts) {
  EXPECT_STREQ(CatalogueEntry(kEnglish, msg::MenuGameBagContents), "Bag contents\tShift+W");
  EXPECT_STREQ(CatalogueEntry(kEnglish, msg::TilesSetFirst), "Tiles set to white on dark wood.");
  EXPECT_STREQ(CatalogueEntry(kEnglish, msg::TilesCustom), "Using custom tile colors.");
  EXPECT_STREQ(CatalogueEntry(kEnglish, msg::RecapTitle), "Pexil Game Recap");
  EXPECT_STREQ(CatalogueEntry(kEnglish, msg::DlgTimeFormatNote), "Time may be entered in minutes, or in the format mm:ss.");
  EXPECT_STREQ(CatalogueEntry(kEnglish, msg::DlgTitleWordKnowledge), "Word knowledge");
  EXPECT_EQ(std::string(CatalogueEntry(kEnglish, msg::AboutText)),
            std::string("Pexil, Version ") + PEXIL_PROJECT_VERSION +
                "\nHigh performance, high strength\ncrossword puzzle game software");
}

TEST(MessageCatalogue, PigLatinIsTheRuleWithFixes) {
  int byRule = 0;
  for (int n = 0; n < msg::OpeningBookQuestion; ++n) {
    byRule += PigLatin(CatalogueEntry(kEnglish, n)) == CatalogueEntry(kPigLatin, n);
  }
  EXPECT_GT(byRule, 650);
  EXPECT_STREQ(CatalogueEntry(kPigLatin, msg::MenuGameBagContents), "Agbay ontentscay\tShift+W");
  // A name stays English; a fix keeps what the user types.
  EXPECT_STREQ(CatalogueEntry(kPigLatin, msg::PlayComputerName), CatalogueEntry(kEnglish, msg::PlayComputerName));
  EXPECT_NE(std::string(CatalogueEntry(kPigLatin, msg::PlayUnknownCommand)).find("ypetay help"), std::string::npos);
  // The same text on every call: the table is made once.
  EXPECT_EQ(CatalogueEntry(kPigLatin, msg::GameReady), CatalogueEntry(kPigLatin, msg::GameReady));
}

// A menu's shortcut keys as the Catalan captions show them.
std::string catalanKeys(const std::string& keys) {
  std::string out;
  std::size_t start = 0;
  while (start <= keys.size()) {
    const std::size_t plus = std::min(keys.find('+', start), keys.size());
    const std::string key = keys.substr(start, plus - start);
    out += key == "Shift" ? "Maj" : key == "Enter" ? "Retorn" : key == "Home" ? "Inici" : key == "End" ? "Final" : key;
    if (plus < keys.size()) out += '+';
    start = plus + 1;
  }
  return out;
}

TEST(MessageCatalogue, MenuCaptionsKeepShortcutsAndAccelerators) {
  auto shortcut = [](const std::string& caption) {
    const std::size_t tab = caption.find('\t');
    return tab == std::string::npos ? std::string("-") : caption.substr(tab + 1);
  };
  auto accelerated = [](const std::string& caption) {
    const std::size_t mark = caption.find('&');
    return mark != std::string::npos && mark + 1 < caption.size() && caption[mark + 1] != ' ';
  };
  int withShortcut = 0;
  for (int n = msg::MenuFile; n <= msg::MenuHelpWebsite; ++n) {
    const std::string english = CatalogueEntry(kEnglish, n);
    const std::string pigLatin = CatalogueEntry(kPigLatin, n);
    EXPECT_EQ(shortcut(pigLatin), shortcut(english)) << n;
    EXPECT_EQ(accelerated(pigLatin), accelerated(english)) << n;
    if (const char* catalan = CatalogueEntry(kCatalan, n)) {
      const std::string expected = shortcut(english) == "-" ? "-" : catalanKeys(shortcut(english));
      EXPECT_EQ(shortcut(catalan), expected) << n;
      EXPECT_EQ(accelerated(catalan), accelerated(english)) << n;
    }
    withShortcut += shortcut(english) != "-";
  }
  EXPECT_EQ(withShortcut, 28);
  EXPECT_EQ(catalanKeys("Shift+W"), "Maj+W");
  EXPECT_STREQ(CatalogueEntry(kCatalan, msg::MenuGameJumpToStart), "Ves al comen\xE7" "ament\tInici");
  EXPECT_STREQ(CatalogueEntry(kCatalan, msg::MenuMoveMake), "&Juga\tRetorn");
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
