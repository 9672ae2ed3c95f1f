// Word tools on a word list: check, hooks, anagram, pattern, define.
//
// Typed words and patterns are UTF-8 (see typed_text.hpp). The list tools
// print their results a page of 20 at a time: on a terminal each further
// page waits for the answer 'y', as in a game; when standard input is not
// a terminal (a pipe, a script) or with --all, every page is printed.
#include <string>

#include "commands.hpp"
#include "game_choice.hpp"
#include "io/data_files.hpp"
#include "lexicon/definitions.hpp"
#include "lexicon/word_queries.hpp"
#include "rules/letter_codes.hpp"
#include "standard_input.hpp"
#include "text/messages.hpp"
#include "typed_text.hpp"

namespace pexil::cli {
namespace {

// Options of the list tools: game, word list, every page, class marks.
std::optional<ParsedOptions> listToolOptions(const Arguments& args, std::size_t positionals, const char* usage) {
  auto options = parseOptions(args, {"--type", "--kind", "--list"}, {"--all", "--highlight"});
  if (options && options->positional.size() != positionals) {
    PrintMessageF(msg::CliBadOption, usage);
    return std::nullopt;
  }
  return options;
}

// Runs a list tool and prints its first page, then the others: all at once
// with --all or without a terminal, otherwise one per 'y' typed. Exit code
// 0 with results, 1 without.
int runListTool(const ParsedOptions& options, WordQuery query, const std::string& typed) {
  const auto text = decodeTypedText(typed);
  if (!text) return 2;
  const auto chosen = loadChosenLexicon(options);
  if (!chosen.lexicon) return chosen.exitCode;
  const bool highlight = options.has("--highlight");
  const bool all = options.has("--all") || !standardInputIsTerminal();
  WordResults results;
  const std::size_t found = runWordQuery(*chosen.lexicon, query, *text, results, highlight, !all);
  if (all) {
    while (results.hasMore()) results.showPage(highlight, false);
  } else {
    while (results.hasMore()) {
      const auto answer = readAnswerLine();
      if (!answer || !answerIsYes(*answer)) break;
      results.showPage(highlight);
    }
  }
  return found > 0 ? 0 : 1;
}

}  // namespace

int runCheck(const Arguments& args) {
  const auto options = parseOptions(args, {"--type", "--kind", "--list"});
  if (!options) return 2;
  if (options->positional.empty()) {
    PrintMessageF(msg::CliBadOption, "check WORD...");
    return 2;
  }
  std::vector<std::string> words;
  for (const std::string& typed : options->positional) {
    const auto word = decodeTypedText(typed);
    if (!word) return 2;
    words.push_back(*word);
  }
  const auto chosen = loadChosenLexicon(*options);
  if (!chosen.lexicon) return chosen.exitCode;
  bool allValid = true;
  for (const std::string& word : words) {
    allValid = chosen.lexicon->isWord(convertQueryText(word), 0) && allValid;
    PrintMessageF(msg::QueryCheckedWord, word.c_str(), checkWord(*chosen.lexicon, word).c_str());
  }
  return allValid ? 0 : 1;
}

int runHooks(const Arguments& args) {
  const char* usage = "hooks front/back TEXT";
  const auto options = listToolOptions(args, 2, usage);
  if (!options) return 2;
  const std::string& side = options->positional[0];
  if (side != "front" && side != "back") {
    PrintMessageF(msg::CliBadOption, usage);
    return 2;
  }
  return runListTool(*options, side == "front" ? WordQuery::frontHooks : WordQuery::backHooks,
                     options->positional[1]);
}

int runAnagram(const Arguments& args) {
  const auto options = listToolOptions(args, 1, "anagram TEXT");
  if (!options) return 2;
  return runListTool(*options, WordQuery::anagrams, options->positional[0]);
}

int runPattern(const Arguments& args) {
  const auto options = listToolOptions(args, 1, "pattern TEXT");
  if (!options) return 2;
  return runListTool(*options, WordQuery::pattern, options->positional[0]);
}

int runDefine(const Arguments& args) {
  const auto options = parseOptions(args, {"--type", "--kind", "--list"});
  if (!options) return 2;
  if (options->positional.size() != 1) {
    PrintMessageF(msg::CliBadOption, "define WORD");
    return 2;
  }
  const auto word = decodeTypedText(options->positional[0]);
  if (!word) return 2;
  // The list decides the alphabet, and so the definitions file.
  const auto chosen = loadChosenLexicon(*options);
  if (!chosen.lexicon) return chosen.exitCode;
  const std::string file = definitionsFileName(wordListAlphabet());
  if (!dataFileExists(file)) {
    PrintMessageF(msg::CliNoDefinitionsFile, file.c_str());
    return 1;
  }
  // Definitions are keyed by the words as the list writes them: a word of
  // the list is looked up in that form, whatever spelling of its tiles was
  // typed ('4' for the Spanish n with tilde, capitals); another in lower case.
  std::string key = convertQueryText(*word);
  const EntryIndex entry = chosen.lexicon->findEntry(key);
  key = entry != kNoEntry ? std::string(chosen.lexicon->textView(entry)) : latin1Lower(key);
  resetDefinitionChain();
  if (lookupDefinition(key)) return 0;
  PrintMessageF(msg::CliNoDefinition, word->c_str());
  return 1;
}

}  // namespace pexil::cli
