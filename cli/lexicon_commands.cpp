// Commands about word lists: build-graph, build-binary.
#include <filesystem>

#include "commands.hpp"
#include "game_choice.hpp"
#include "io/atomic_file.hpp"
#include "io/data_files.hpp"
#include "lexicon/word_graph.hpp"
#include "rules/game_definitions.hpp"
#include "rules/game_rules.hpp"
#include "tables/rack_tables.hpp"
#include "terminal_sink.hpp"
#include "text/messages.hpp"

namespace pexil::cli {
namespace {

// Without --type or --kind: the first game type whose default word list is
// the list's file name.
void chooseTypeOfList(ParsedOptions& options, const std::string& list) {
  loadGameDefinitionsOnce();
  if (options.has("--type") || options.has("--kind")) return;
  const std::string base = latin1Lower(list.substr(list.find_last_of('/') + 1));
  for (int i = 0; i < gameTypeCount(); ++i) {
    if (latin1Lower(gameType(i).defaultWordList) == base) {
      options.values["--type"] = std::to_string(i + 1);
      return;
    }
  }
}

double mebibytes(const std::string& path) {
  std::error_code error;
  const auto size = std::filesystem::file_size(path, error);
  return error ? 0.0 : static_cast<double>(size) / (1024.0 * 1024.0);
}

}  // namespace

int runBuildGraph(const Arguments& args) {
  auto options = parseOptions(args, {"--type", "--kind"});
  if (!options) return 2;
  if (options->positional.size() != 1) {
    PrintMessageF(msg::CliBadOption, "build-graph LIST");
    return 2;
  }
  // The list is read from the current folder when it is there, else from
  // the data folder; the graph is written beside it.
  const std::string& named = options->positional.front();
  const std::string list = userInputPath(named);
  // Read the list with the alphabet of the game type it belongs to: the
  // chosen one, or the one whose default list it is. Only the alphabet is
  // taken, so no game-type checks (the language-pack notice) run.
  chooseTypeOfList(*options, list);
  if (!activateChosenGame(*options)) return 1;
  const int alphabet = activeGameType() ? activeGameType()->alphabet : kAlphabetEnglish;
  activateGameType(kKindStandard);
  setAlphabetCounts(alphabet);
  auto lexicon = std::make_unique<Lexicon>();
  lexicon->loadLeaves = false;
  lexicon->useGraphFile = false;
  if (!loadCommandWordList(*lexicon, list, named)) return kExitNoWordList;
  const WordGraph graph = WordGraph::build(*lexicon);
  const std::string target = companionName(list, ".tribble");
  if (!writeFileAtomically(target, graph.serialise())) {
    PrintMessageF(msg::CliCannotWrite, target.c_str());
    return 1;
  }
  PrintMessageF(msg::CliGraphWritten, target.c_str(), static_cast<int>(graph.nodeCount()), lexicon->wordCount());
  return 0;
}

int runBuildBinary(const Arguments& args) {
  auto options = parseOptions(args, {"--type", "--kind"});
  if (!options) return 2;
  if (options->positional.size() != 1) {
    PrintMessageF(msg::CliBadOption, "build-binary LIST");
    return 2;
  }
  const std::string& named = options->positional.front();
  const std::string list = userInputPath(named);
  // The binary forms record the rules they were made under (letter count,
  // blank, rack size, bag): the game type that plays the list, with its
  // validating list, as play and the word tools load it.
  chooseTypeOfList(*options, list);
  if (!activateChosenGame(*options)) return 1;
  std::string validating;
  if (const GameType* g = activeGameType(); g && g->markPhonies && g->phonyCheckList) validating = *g->phonyCheckList;
  // Both are made from the texts, whatever binary forms are there now.
  auto lexicon = std::make_unique<Lexicon>();
  lexicon->useBinaryFile = false;
  lexicon->loadWinProb = false;
  lexicon->loadSquareStats = false;
  clearRackTables();
  if (!loadCommandWordList(*lexicon, list, named, validating)) return kExitNoWordList;
  NoWrapPane noWrap;  // file names read better unwrapped
  const std::string lexiconTarget = lexicon->binaryFileName();
  if (!lexicon->writeBinaryFile(lexiconTarget)) {
    PrintMessageF(msg::CliCannotWrite, lexiconTarget.c_str());
    return 1;
  }
  PrintMessageF(msg::BinaryLexiconWritten, lexiconTarget.c_str(), lexicon->wordCount(), mebibytes(lexiconTarget));
  const std::string tablesTarget = rackTablesBinaryName();
  if (tablesTarget.empty()) {
    PrintMessageF(msg::BinaryNoRackTables, named.c_str());
    return 0;
  }
  if (!writeRackTablesBinary(tablesTarget)) {
    PrintMessageF(msg::CliCannotWrite, tablesTarget.c_str());
    return 1;
  }
  PrintMessageF(msg::BinaryRackTablesWritten, tablesTarget.c_str(), static_cast<int>(fullRackTableSize()),
                static_cast<int>(leaveTableSize()), mebibytes(tablesTarget));
  return 0;
}

}  // namespace pexil::cli
