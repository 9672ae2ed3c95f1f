// Parses arbitrary bytes as a word graph for a small fixed list; a graph
// that parses is checked against the list and walked.
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <string>

#include "lexicon/lexicon.hpp"
#include "lexicon/word_graph.hpp"
#include "play/word_list_loading.hpp"
#include "text/text_pane.hpp"

// A folder of this process's own, so that looking for companion files
// scans nothing else.
static std::filesystem::path privateFolder() {
  const auto folder = std::filesystem::temp_directory_path() / ("pexil-fuzz-" + std::to_string(::getpid()));
  std::filesystem::create_directories(folder);
  return folder;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static pexil::Lexicon* lexicon = [] {
    pexil::textPane().SetQuiet(true);
    const auto path = privateFolder() / "FUZZ.lst";
    std::ofstream(path) << "aa ab ba bad bat cab cat dab tab tad act";
    static pexil::Lexicon fixed;
    fixed.useGraphFile = false;
    loadWordListWithTables(fixed, path.string());
    return &fixed;
  }();
  const auto graph = pexil::WordGraph::parse(std::string_view(reinterpret_cast<const char*>(data), size),
                                             lexicon->wordCount());
  if (!graph) return 0;
  (void)graph->fitsLexicon(*lexicon);
  for (const char* word : {"cat", "bad", "zzz", "ab"}) {
    std::int32_t node = pexil::WordGraph::root;
    for (const char* c = word; *c && node >= 0; ++c) node = graph->child(node, *c - 'a');
    if (node >= 0 && graph->node(node).word >= lexicon->wordCount()) __builtin_trap();
  }
  return 0;
}
