// The compact word graph: a companion file of a word list (".tribble"),
// little-endian binary. For each node in turn: an int32 word index (the
// entry it ends, in the list's entry order; negative for none), then its
// edges, each a letter-code byte and an int32 target node, ended by a byte
// 255. The file starts with the int32 node count; node 0 is the root.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace pexil {

class Lexicon;

// The state of a word list's graph file when its arrays were made: none
// there, used, or refused as not fitting the list.
enum class GraphState : std::uint8_t { none = 0, used = 1, refused = 2 };

struct GraphNode {
  std::int32_t word = -1;         // entry index, or -1
  std::uint32_t edgeMask = 0;     // bit c: an edge with letter code c
  std::int32_t edgeCount = 0;
  std::int32_t letter = 0;        // code of the edge that leads here
  std::uint32_t firstChild = 0;   // start of this node's children in the child array
};

// The nodes and child lists are views: into vectors the graph owns (read
// from a graph file or built), or into the binary form of the word list,
// whose owner keeps the mapping alive as long as the graph.
class WordGraph {
 public:
  static constexpr std::int32_t root = 0;

  WordGraph() = default;
  WordGraph(const WordGraph& other);
  WordGraph& operator=(const WordGraph& other);
  WordGraph(WordGraph&& other) noexcept;
  WordGraph& operator=(WordGraph&& other) noexcept;
  ~WordGraph() = default;

  // A graph over arrays held elsewhere (already checked by their reader).
  static WordGraph view(std::span<const GraphNode> nodes, std::span<const std::int32_t> children);

  // Reads a graph file's bytes; none when they are not a well-formed graph
  // for a list of `wordCount` words (truncated, out-of-range indexes,
  // letters above 31, cycles).
  static std::optional<WordGraph> parse(std::string_view bytes, int wordCount);

  // A graph for the lexicon's words in its entry order, with equivalent
  // nodes (same word, same edges) stored once.
  static WordGraph build(const Lexicon& lexicon);
  // The graph in the file format.
  std::string serialise() const;

  // Checks, for a sample of word-ending nodes, that the word a node claims
  // is the word spelled by the path from the root to it.
  bool fitsLexicon(const Lexicon& lexicon, std::size_t sampleSize = 4096) const;

  std::size_t nodeCount() const { return nodes_.size(); }
  std::span<const GraphNode> nodes() const { return nodes_; }
  std::span<const std::int32_t> children() const { return children_; }
  const GraphNode& node(std::int32_t index) const { return nodes_[static_cast<std::size_t>(index)]; }
  std::int32_t childAt(const GraphNode& n, int k) const { return children_[n.firstChild + static_cast<std::size_t>(k)]; }
  // None when the mask lacks the letter, else the first child reached by it.
  std::int32_t child(std::int32_t index, int code) const {
    const GraphNode& n = node(index);
    if (!(n.edgeMask & (1u << (code & 31)))) return -1;
    for (int k = 0; k < n.edgeCount; ++k) {
      const std::int32_t target = childAt(n, k);
      if (nodes_[static_cast<std::size_t>(target)].letter == code) return target;
    }
    return -1;
  }

 private:
  // Points the views at the owned vectors.
  void bindOwned();

  std::span<const GraphNode> nodes_;
  std::span<const std::int32_t> children_;
  std::vector<GraphNode> ownNodes_;
  std::vector<std::int32_t> ownChildren_;
  bool owns_ = false;
};

}  // namespace pexil
