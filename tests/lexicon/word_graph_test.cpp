#include "lexicon/word_graph.hpp"

#include <gtest/gtest.h>

#include <set>

#include "io/data_files.hpp"
#include "lexicon/lexicon.hpp"
#include "play/word_list_loading.hpp"
#include "rules/game_rules.hpp"
#include "rules/random.hpp"
#include "test_support.hpp"

namespace pexil {
namespace {

using test::PaneCapture;
using test::StateGuard;
using test::TempFolder;

// The entry a graph walk ends on, or -1.
std::int32_t graphWord(const WordGraph& graph, std::string_view text) {
  std::int32_t node = WordGraph::root;
  for (char c : text) {
    node = graph.child(node, codeOfLetter(c));
    if (node < 0) return -1;
  }
  return graph.node(node).word;
}

std::string int32Bytes(std::int32_t v) {
  std::string out;
  for (int i = 0; i < 4; ++i) out.push_back(static_cast<char>((static_cast<std::uint32_t>(v) >> (8 * i)) & 0xFF));
  return out;
}

class WordGraphTest : public ::testing::Test {
 protected:
  void SetUp() override {
    activateGameType(kKindStandard);
    setAlphabetCounts(kAlphabetEnglish);
    Mt19937 random;
    random.seed(31);
    for (int i = 0; i < 4000; ++i) {
      std::string w(2 + random.next() % 8, 'a');
      for (char& c : w) c = static_cast<char>('a' + random.next() % 12);
      words.push_back(w);
      content += w + "\n";
    }
    listPath = folder.write("GRAPH.LST", content);
    ASSERT_TRUE(loadWordListWithTables(lexicon, listPath));
  }
  StateGuard guard;
  TempFolder folder;
  std::vector<std::string> words;
  std::string content;
  std::string listPath;
  Lexicon lexicon;
};

TEST_F(WordGraphTest, BuiltGraphAnswersLikeTheTrie) {
  const WordGraph built = WordGraph::build(lexicon);
  // Every node ends a distinct word or leads to distinct ones, so nothing
  // merges: the graph has the trie's nodes.
  EXPECT_EQ(built.nodeCount(), lexicon.trieNodeCount());
  const auto parsed = WordGraph::parse(built.serialise(), lexicon.wordCount());
  ASSERT_TRUE(parsed.has_value());
  EXPECT_TRUE(parsed->fitsLexicon(lexicon, 1000000));
  EXPECT_EQ(parsed->serialise(), built.serialise());

  for (const std::string& w : words) {
    const std::int32_t e = graphWord(*parsed, w);
    ASSERT_GE(e, 0) << w;
    EXPECT_EQ(lexicon.textView(e), w);
    // The same entry as the trie's (a repeated word: its last entry).
    NodeIndex node = Lexicon::trieRoot;
    for (char c : w) node = lexicon.child(node, codeOfLetter(c));
    EXPECT_EQ(e, lexicon.nodeWord(node));
  }
  Mt19937 random;
  random.seed(32);
  const std::set<std::string> known(words.begin(), words.end());
  for (int i = 0; i < 5000; ++i) {
    std::string w(1 + random.next() % 10, 'a');
    for (char& c : w) c = static_cast<char>('a' + random.next() % 14);
    EXPECT_EQ(graphWord(*parsed, w) >= 0, known.count(w) > 0) << w;
  }
  // Edge masks and letters agree with the trie's children.
  const GraphNode& root = parsed->node(WordGraph::root);
  EXPECT_EQ(root.edgeMask, lexicon.childMask(Lexicon::trieRoot));
  EXPECT_EQ(parsed->child(WordGraph::root, 20), -1);
}

TEST_F(WordGraphTest, LoaderUsesAFittingGraphAndIgnoresOthers) {
  const std::string graphPath = companionName(listPath, ".tribble");
  const std::string bytes = WordGraph::build(lexicon).serialise();
  folder.write("GRAPH.tribble", bytes);
  {
    PaneCapture capture;
    Lexicon withGraph;
    ASSERT_TRUE(loadWordListWithTables(withGraph, listPath));
    ASSERT_NE(withGraph.graph(), nullptr);
    EXPECT_EQ(capture.lines().size(), 2u);
    Lexicon without;
    without.useGraphFile = false;
    ASSERT_TRUE(loadWordListWithTables(without, listPath));
    EXPECT_EQ(without.graph(), nullptr);
  }
  // A graph made for another list, and damaged graphs, are ignored with a
  // notice.
  Lexicon other;
  ASSERT_TRUE(loadWordListWithTables(other, folder.write("OTHER.LST", "zz yy xx ww vv uu tt ss rr qq pp oo")));
  std::vector<std::string> bad = {
      WordGraph::build(other).serialise(),   // another list: words spelled differently
      bytes.substr(0, bytes.size() / 2),     // truncated
      std::string(),                         // empty
      int32Bytes(2000000000),                // an absurd node count
      int32Bytes(1) + int32Bytes(99999) + "\xFF",          // a word index out of range
      int32Bytes(1) + int32Bytes(-1) + "\x01" + int32Bytes(5) + "\xFF",  // an edge out of range
      int32Bytes(1) + int32Bytes(-1) + "\x28" + int32Bytes(0) + "\xFF",  // a letter above 31
      // Two nodes pointing at each other: a cycle.
      int32Bytes(2) + int32Bytes(-1) + "\x01" + int32Bytes(1) + "\xFF" + int32Bytes(-1) + "\x01" + int32Bytes(0) + "\xFF",
  };
  for (std::size_t i = 0; i < bad.size(); ++i) {
    folder.write("GRAPH.tribble", bad[i]);
    PaneCapture capture;
    Lexicon lexiconWithBadGraph;
    ASSERT_TRUE(loadWordListWithTables(lexiconWithBadGraph, listPath));
    EXPECT_EQ(lexiconWithBadGraph.graph(), nullptr) << i;
    std::string all;
    for (const std::string& line : capture.lines()) all += line;
    EXPECT_NE(all.find("The word graph \"" + graphPath + "\" does not fit the word list and is ignored."), std::string::npos) << i;
    EXPECT_EQ(lexiconWithBadGraph.wordCount(), lexicon.wordCount());
  }
  // Every truncation of a good graph is rejected.
  for (std::size_t cut = 0; cut < bytes.size(); cut += 1 + bytes.size() / 997) {
    EXPECT_FALSE(WordGraph::parse(bytes.substr(0, cut), lexicon.wordCount()).has_value()) << cut;
  }
}

TEST(WordGraph, ChildIsTheFirstEdgeWithTheLetter) {
  // Root with edges a -> 1 and b -> 2; node 2 ends word 0.
  const std::string bytes = int32Bytes(3) + int32Bytes(-1) + std::string(1, '\0') + int32Bytes(1) + "\x01" +
                            int32Bytes(2) + "\xFF" + int32Bytes(-1) + "\xFF" + int32Bytes(0) + "\xFF";
  const auto graph = WordGraph::parse(bytes, 1);
  ASSERT_TRUE(graph.has_value());
  EXPECT_EQ(graph->nodeCount(), 3u);
  EXPECT_EQ(graph->node(0).edgeMask, 3u);
  EXPECT_EQ(graph->node(0).edgeCount, 2);
  EXPECT_EQ(graph->child(0, 0), 1);
  EXPECT_EQ(graph->child(0, 1), 2);
  EXPECT_EQ(graph->child(0, 2), -1);
  EXPECT_EQ(graph->node(2).word, 0);
  EXPECT_EQ(graph->node(2).letter, 1);
  EXPECT_FALSE(WordGraph::parse(bytes, 0).has_value());  // word index 0 is out of range for an empty list
}

}  // namespace
}  // namespace pexil
