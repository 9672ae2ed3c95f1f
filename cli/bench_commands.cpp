// Benchmarks that print figures: bench lexicon.
#include <chrono>
#include <cstdio>
#include <fstream>
#include <string>

#include "commands.hpp"
#include "files/data_files.hpp"
#include "game_choice.hpp"
#include "rules/random.hpp"
#include "text/messages.hpp"
#include "text/text_pane.hpp"

namespace pexil::cli {
namespace {

using Clock = std::chrono::steady_clock;

// Resident set size and its peak so far, in KiB, from /proc.
long statusKiB(const char* field) {
  std::ifstream status("/proc/self/status");
  std::string line;
  const std::string prefix = std::string(field) + ":";
  while (std::getline(status, line)) {
    if (line.starts_with(prefix)) return std::strtol(line.c_str() + prefix.size(), nullptr, 10);
  }
  return -1;
}

double secondsSince(Clock::time_point start) {
  return std::chrono::duration<double>(Clock::now() - start).count();
}

void say(const std::string& text) { textPane().Print(text); }

int benchLexicon(const ParsedOptions& options) {
  const long rssBefore = statusKiB("VmRSS");
  // Load with the word graph (when the list has one), then without it.
  auto start = Clock::now();
  const auto withGraph = loadChosenLexicon(options);
  if (!withGraph || withGraph->wordCount() == 0) return 1;
  const double loadWithGraph = secondsSince(start);
  const long rssLoaded = statusKiB("VmRSS");
  const bool hasGraph = withGraph->graph() != nullptr;

  Lexicon withoutGraph;
  withoutGraph.loadLeaves = false;
  withoutGraph.useGraphFile = false;
  start = Clock::now();
  withoutGraph.loadWordList(withGraph->fileName());
  const double loadWithoutGraph = secondsSince(start);

  // Lookups: words of the list and random letter strings, half and half.
  Mt19937 random;
  random.seed(12345);
  std::vector<std::string> queries;
  const int n = withGraph->wordCount();
  for (int i = 0; i < 100000; ++i) {
    if (i % 2 == 0) {
      queries.emplace_back(withGraph->textView(static_cast<EntryIndex>(random.next() % static_cast<unsigned>(n))));
    } else {
      std::string junk(2 + random.next() % 8, 'a');
      for (char& c : junk) c = static_cast<char>('a' + random.next() % 26);
      queries.push_back(std::move(junk));
    }
  }
  long found = 0, lookups = 0;
  start = Clock::now();
  double elapsed = 0;
  do {
    for (const std::string& q : queries) found += withGraph->isWord(q, 0) ? 1 : 0;
    lookups += static_cast<long>(queries.size());
    elapsed = secondsSince(start);
  } while (elapsed < 1.0);

  TextPane& pane = textPane();
  const bool wasNoWrap = pane.NoWrap();
  pane.SetNoWrap(true);
  say(FormatText("Word list: %s (%d words, %zu trie nodes%s)", withGraph->fileName().c_str(), n,
                 withGraph->trieNodeCount(),
                 hasGraph ? FormatText(", %zu graph nodes", withGraph->graph()->nodeCount()).c_str() : ", no graph"));
  say(FormatText("Load time with graph:    %.3f s%s", loadWithGraph, hasGraph ? "" : " (no graph file)"));
  say(FormatText("Load time without graph: %.3f s", loadWithoutGraph));
  say(FormatText("Memory: %.1f MiB resident for the loaded list; peak resident %.1f MiB",
                 (rssLoaded - rssBefore) / 1024.0, statusKiB("VmHWM") / 1024.0));
  say(FormatText("isWord: %.2f million lookups per second (%ld of %ld found)", lookups / elapsed / 1e6, found, lookups));
  pane.SetNoWrap(wasNoWrap);
  return 0;
}

}  // namespace

int runBench(const Arguments& args) {
  const auto options = parseOptions(args, {"--type", "--kind", "--list"});
  if (!options) return 2;
  if (options->positional.size() == 1 && options->positional.front() == "lexicon") return benchLexicon(*options);
  PrintMessageF(msg::CliBadOption, options->positional.empty() ? "bench" : options->positional.front().c_str());
  return 2;
}

}  // namespace pexil::cli
