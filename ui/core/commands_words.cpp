// The Lexicon, Tiles, UI Language and Help menus.
#include <algorithm>
#include <filesystem>
#include <optional>

#include "commands.hpp"
#include "commands_state.hpp"
#include "lexicon/definitions.hpp"
#include "lexicon/lexicon.hpp"
#include "lexicon/word_queries.hpp"
#include "menu_table.hpp"
#include "movegen/move_line.hpp"
#include "play/word_list_loading.hpp"
#include "search/benchmark_results.hpp"
#include "rules/letter_codes.hpp"
#include "tables/rack_tables.hpp"
#include "text/latin1.hpp"
#include "text/messages.hpp"
#include "text/text_pane.hpp"
#include "io/data_files.hpp"

namespace pexil::ui {
namespace {

// The program has no web site of its own: the Help menu's web page is the
// documentation shipped in its data folder, opened in the browser.
std::optional<std::string> DocumentationAddress() {
  const auto path = findDataFile("README.md");
  if (!path) return std::nullopt;
  std::error_code error;
  const auto absolute = std::filesystem::absolute(*path, error);
  if (error) return std::nullopt;
  return "file://" + absolute.string();
}

// The word lists of the data folder (the working folder): the .lst files.
std::vector<std::string> WordListFiles() {
  std::vector<std::string> lists;
  std::error_code error;
  for (const auto& entry : std::filesystem::directory_iterator(".", error)) {
    const std::string name = entry.path().filename().string();
    if (name.size() > 4 && latin1Lower(name.substr(name.size() - 4)) == ".lst") lists.push_back(name);
  }
  std::sort(lists.begin(), lists.end());
  return lists;
}

WordQuery QueryOf(int number) {
  switch (number) {
    case cmd::frontHooks: return WordQuery::frontHooks;
    case cmd::backHooks: return WordQuery::backHooks;
    case cmd::anagrams: return WordQuery::anagrams;
    default: return WordQuery::pattern;
  }
}

int PromptOf(int number) {
  switch (number) {
    case cmd::definition: return msg::QueryPromptLookUp;
    case cmd::checkWord: return msg::QueryPromptCheck;
    case cmd::anagrams: return msg::QueryPromptAnagram;
    case cmd::pattern: return msg::QueryPromptPattern;
    default: return msg::QueryPromptWord;
  }
}

}  // namespace

void Commands::runWords(int number) {
  Settings& s = session_.settings();
  if (const int style = TileStyleOfItem(number); style != -2) {
    s.tileTexture = style;
    PrintMessage(style < 0 ? msg::TilesCustom : msg::TilesSetFirst + style);
    settingsChanged();
    return;
  }
  if (const int colour = BlankColourOfItem(number); colour != -2) {
    s.blankColour = colour;
    settingsChanged();
    return;
  }
  switch (number) {
    case cmd::definition:
    case cmd::checkWord:
    case cmd::frontHooks:
    case cmd::backHooks:
    case cmd::anagrams:
    case cmd::pattern: {
      const auto typed = prompter_.lexiconText(Message(PromptOf(number)));
      if (!typed || typed->empty()) return;
      const Lexicon& lexicon = *session_.game()->lexicon;
      if (number == cmd::definition) {
        lookupWord(*typed);
      } else if (number == cmd::checkWord) {
        prompter_.message(checkWord(lexicon, *typed));
      } else {
        moveListing().clear();
        runWordQuery(lexicon, QueryOf(number), *typed, state_->words, s.highlightLexicon);
      }
      return;
    }
    case cmd::selectLexicon: selectLexiconDialog(); return;
    case cmd::phonies: {
      const auto length = prompter_.phonies(s.phonyLength);
      if (!length) return;
      s.phonyLength = std::clamp(*length, 2, 15);
      settingsChanged();
      return;
    }
    case cmd::customText:
    case cmd::customBackground: {
      const bool text = number == cmd::customText;
      int& member = text ? s.customTileText : s.customTileBackground;
      const auto colour = prompter_.colour(text ? msg::ColourDlgTileText : msg::ColourDlgTileBackground, member);
      if (!colour) return;
      member = *colour;
      s.tileTexture = -1;
      PrintMessage(text ? msg::TilesCustomTextSet : msg::TilesCustomBackgroundSet);
      settingsChanged();
      return;
    }
    case cmd::customBlank: {
      const auto colour = prompter_.colour(msg::ColourDlgBlankLetter, std::max(0, s.blankColour));
      if (!colour) return;
      s.blankColour = *colour;
      settingsChanged();
      return;
    }
    default: return;
  }
}

void Commands::runOther(int number) {
  switch (number) {
    case cmd::english: SetLanguage(kEnglish); return;
    case cmd::pigLatin: SetLanguage(kPigLatin); return;
    case cmd::catalan: SetLanguage(kCatalan); return;
    case cmd::about: prompter_.about(); return;
    case cmd::lastBenchmark: PrintBenchmarkResults(storedBenchmarkRates()); return;
    case cmd::runBenchmarks: runBenchmarks(); return;
    case cmd::strengthTests: runStrengthTests(); return;
    case cmd::openingBook: runOpeningBook(); return;
    case cmd::website: {
      const auto address = DocumentationAddress();
      if (!address || !host_.openUrl(*address)) PrintMessage(msg::WebsiteNotOpened);
      return;
    }
    default: return;
  }
}

void Commands::lookupWord(const std::string& typed) {
  const Game* game = session_.game();
  if (game == nullptr || typed.empty()) return;
  const std::string file = definitionsFileName(wordListAlphabet());
  if (!dataFileExists(file)) {
    PrintMessageF(msg::CliNoDefinitionsFile, file.c_str());
    host_.repaint();
    return;
  }
  // Definitions are keyed by the words as the list writes them.
  std::string key = convertQueryText(typed);
  const EntryIndex entry = game->lexicon->findEntry(key);
  key = entry != kNoEntry ? std::string(game->lexicon->textView(entry)) : latin1Lower(key);
  resetDefinitionChain();
  if (!lookupDefinition(key)) PrintMessageF(msg::CliNoDefinition, typed.c_str());
  host_.repaint();
}

void Commands::selectLexiconDialog() {
  const std::vector<std::string> lists = WordListFiles();
  if (lists.empty()) {
    PrintMessage(msg::WordListsNone);
    return;
  }
  const Game& game = *session_.game();
  const std::string current = game.lexicon ? game.lexicon->fileName() : std::string();
  int selected = 0;
  for (std::size_t k = 0; k < lists.size(); ++k) {
    if (latin1Lower(lists[k]) == latin1Lower(current)) selected = static_cast<int>(k);
  }
  const auto choice = prompter_.selectLexicon(lists, selected);
  if (!choice || *choice < 0 || *choice >= static_cast<int>(lists.size())) return;
  const std::string name = lists[static_cast<std::size_t>(*choice)];
  auto loaded = std::make_shared<std::shared_ptr<Lexicon>>();
  startLong(
      Busy::loading,
      [this, name, loaded] {
        // Loading a list may switch the alphabet painting reads.
        std::lock_guard lock(session_.gameMutex());
        auto lexicon = std::make_shared<Lexicon>();
        if (!loadWordListWithTables(*lexicon, name) || lexicon->wordCount() == 0) {
          PrintMessageF(msg::CliWordListUnreadable, name.c_str());
          return;
        }
        LoadRackTables(*lexicon);
        *loaded = std::move(lexicon);
      },
      [this, loaded] {
        if (!*loaded || session_.mutableGame() == nullptr) return;
        std::lock_guard lock(session_.gameMutex());
        session_.mutableGame()->lexicon = *loaded;
        session_.mutableGame()->moves.clear();
      });
}

}  // namespace pexil::ui
