// Commands about word lists: build-graph.
#include <fstream>

#include "commands.hpp"
#include "files/data_files.hpp"
#include "game_choice.hpp"
#include "lexicon/word_graph.hpp"
#include "rules/game_definitions.hpp"
#include "text/messages.hpp"

namespace pexil::cli {

int runBuildGraph(const Arguments& args) {
  auto options = parseOptions(args, {"--type", "--kind"});
  if (!options) return 2;
  if (options->positional.size() != 1) {
    PrintMessageF(msg::CliBadOption, "build-graph LIST");
    return 2;
  }
  const std::string list = options->positional.front();
  // Read the list with the alphabet of the game type it belongs to.
  loadGameDefinitionsOnce();
  if (!options->has("--type") && !options->has("--kind")) {
    const std::string base = latin1Lower(list.substr(list.find_last_of('/') + 1));
    for (int i = 0; i < gameTypeCount(); ++i) {
      if (latin1Lower(gameType(i).defaultWordList) == base) {
        options->values["--type"] = std::to_string(i + 1);
        break;
      }
    }
  }
  options->values["--list"] = list;
  const auto lexicon = loadChosenLexicon(*options);
  if (!lexicon) return 1;
  if (lexicon->wordCount() == 0) return 1;
  const WordGraph graph = WordGraph::build(*lexicon);
  const std::string target = companionName(list, ".tribble");
  std::ofstream out(target, std::ios::binary | std::ios::trunc);
  const std::string bytes = graph.serialise();
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  out.close();
  if (!out) {
    PrintMessageF(msg::CliCannotWrite, target.c_str());
    return 1;
  }
  PrintMessageF(msg::CliGraphWritten, target.c_str(), static_cast<int>(graph.nodeCount()), lexicon->wordCount());
  return 0;
}

}  // namespace pexil::cli
