// Word tools on a word list: check, hooks, anagram, pattern, define.
#include <string>

#include "commands.hpp"
#include "game_choice.hpp"
#include "lexicon/definitions.hpp"
#include "lexicon/word_queries.hpp"
#include "text/messages.hpp"

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

// Runs a list tool and prints its first page, or with --all every page.
// Exit code 0 with results, 1 without.
int runListTool(const ParsedOptions& options, WordQuery query, const std::string& text) {
  const auto lexicon = loadChosenLexicon(options);
  if (!lexicon) return 1;
  const bool highlight = options.has("--highlight");
  WordResults results;
  const bool all = options.has("--all");
  const std::size_t found = runWordQuery(*lexicon, query, text, results, highlight, !all);
  while (all && results.hasMore()) results.showPage(highlight, false);
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
  const auto lexicon = loadChosenLexicon(*options);
  if (!lexicon) return 1;
  bool allValid = true;
  for (const std::string& word : options->positional) {
    allValid = lexicon->isWord(convertQueryText(word), 0) && allValid;
    PrintMessageF(msg::QueryCheckedWord, word.c_str(), checkWord(*lexicon, word).c_str());
  }
  return allValid ? 0 : 1;
}

int runHooks(const Arguments& args) {
  const char* usage = "hooks front|back TEXT";
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
  // The list decides the alphabet, and so the definitions file.
  const auto lexicon = loadChosenLexicon(*options);
  if (!lexicon) return 1;
  resetDefinitionChain();
  return lookupDefinition(convertQueryText(options->positional[0])) ? 0 : 1;
}

}  // namespace pexil::cli
