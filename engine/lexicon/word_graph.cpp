#include "lexicon/word_graph.hpp"

#include <cstring>
#include <unordered_map>

#include "lexicon/lexicon.hpp"

namespace pexil {
namespace {

constexpr std::uint8_t kEndOfEdges = 255;

class ByteReader {
 public:
  explicit ByteReader(std::string_view bytes) : bytes_(bytes) {}
  bool int32(std::int32_t& value) {
    if (bytes_.size() - pos_ < 4) return false;
    std::uint32_t v = 0;
    for (int i = 3; i >= 0; --i) v = (v << 8) | static_cast<unsigned char>(bytes_[pos_ + static_cast<std::size_t>(i)]);
    pos_ += 4;
    value = static_cast<std::int32_t>(v);
    return true;
  }
  bool byte(std::uint8_t& value) {
    if (pos_ >= bytes_.size()) return false;
    value = static_cast<std::uint8_t>(bytes_[pos_++]);
    return true;
  }
  std::size_t remaining() const { return bytes_.size() - pos_; }

 private:
  std::string_view bytes_;
  std::size_t pos_ = 0;
};

void putInt32(std::string& out, std::int32_t value) {
  const auto v = static_cast<std::uint32_t>(value);
  for (int i = 0; i < 4; ++i) out.push_back(static_cast<char>((v >> (8 * i)) & 0xFF));
}

}  // namespace

WordGraph::WordGraph(const WordGraph& other)
    : nodes_(other.nodes_), children_(other.children_), ownNodes_(other.ownNodes_), ownChildren_(other.ownChildren_),
      owns_(other.owns_) {
  if (owns_) bindOwned();
}

WordGraph& WordGraph::operator=(const WordGraph& other) {
  if (this != &other) {
    WordGraph copy(other);
    *this = std::move(copy);
  }
  return *this;
}

WordGraph::WordGraph(WordGraph&& other) noexcept
    : nodes_(other.nodes_), children_(other.children_), ownNodes_(std::move(other.ownNodes_)),
      ownChildren_(std::move(other.ownChildren_)), owns_(other.owns_) {
  if (owns_) bindOwned();
  other.nodes_ = {};
  other.children_ = {};
  other.owns_ = false;
}

WordGraph& WordGraph::operator=(WordGraph&& other) noexcept {
  if (this != &other) {
    ownNodes_ = std::move(other.ownNodes_);
    ownChildren_ = std::move(other.ownChildren_);
    owns_ = other.owns_;
    nodes_ = other.nodes_;
    children_ = other.children_;
    if (owns_) bindOwned();
    other.nodes_ = {};
    other.children_ = {};
    other.owns_ = false;
  }
  return *this;
}

void WordGraph::bindOwned() {
  nodes_ = ownNodes_;
  children_ = ownChildren_;
  owns_ = true;
}

WordGraph WordGraph::view(std::span<const GraphNode> nodes, std::span<const std::int32_t> children) {
  WordGraph graph;
  graph.nodes_ = nodes;
  graph.children_ = children;
  return graph;
}

std::optional<WordGraph> WordGraph::parse(std::string_view bytes, int wordCount) {
  ByteReader in(bytes);
  std::int32_t count = 0;
  // Every node takes at least five bytes (its word index and the end mark).
  if (!in.int32(count) || count <= 0 || static_cast<std::size_t>(count) > in.remaining() / 5) return std::nullopt;
  WordGraph graph;
  std::vector<GraphNode>& nodes = graph.ownNodes_;
  std::vector<std::int32_t>& children = graph.ownChildren_;
  std::vector<std::uint8_t> edgeLetters;  // the letter of each child slot, as read
  nodes.resize(static_cast<std::size_t>(count));
  for (GraphNode& node : nodes) {
    std::int32_t word = 0;
    if (!in.int32(word) || word >= wordCount) return std::nullopt;
    node.word = word < 0 ? -1 : word;
    node.firstChild = static_cast<std::uint32_t>(children.size());
    for (;;) {
      std::uint8_t letter = 0;
      if (!in.byte(letter)) return std::nullopt;
      if (letter == kEndOfEdges) break;
      std::int32_t target = 0;
      if (letter > 31 || !in.int32(target) || target < 0 || target >= count) return std::nullopt;
      children.push_back(target);
      edgeLetters.push_back(letter);
      node.edgeMask |= 1u << letter;
      ++node.edgeCount;
    }
  }
  // The edge into a node gives its letter (the last one read decides).
  for (std::size_t i = 0; i < children.size(); ++i) {
    nodes[static_cast<std::size_t>(children[i])].letter = edgeLetters[i];
  }
  // Every edge must agree with its target's letter (so the letters need
  // not be kept), and no path may loop.
  std::vector<std::int32_t> incoming(nodes.size(), 0);
  for (std::size_t i = 0; i < children.size(); ++i) {
    if (nodes[static_cast<std::size_t>(children[i])].letter != edgeLetters[i]) return std::nullopt;
    ++incoming[static_cast<std::size_t>(children[i])];
  }
  graph.bindOwned();
  std::vector<std::int32_t> ready;
  for (std::size_t i = 0; i < incoming.size(); ++i) {
    if (incoming[i] == 0) ready.push_back(static_cast<std::int32_t>(i));
  }
  std::size_t done = 0;
  while (!ready.empty()) {
    const GraphNode& node = graph.nodes_[static_cast<std::size_t>(ready.back())];
    ready.pop_back();
    ++done;
    for (int k = 0; k < node.edgeCount; ++k) {
      const std::int32_t target = graph.childAt(node, k);
      if (--incoming[static_cast<std::size_t>(target)] == 0) ready.push_back(target);
    }
  }
  if (done != graph.nodes_.size()) return std::nullopt;
  return graph;
}

WordGraph WordGraph::build(const Lexicon& lexicon) {
  // Equivalent trie nodes (same word, same edges to equivalent nodes) get
  // one canonical node. Children come after their parents in the trie, so a
  // walk from the last node backwards meets every child first.
  const auto trieNodes = static_cast<NodeIndex>(lexicon.trieNodeCount());
  struct Canonical {
    std::int32_t word;
    std::vector<std::pair<std::uint8_t, std::int32_t>> edges;
  };
  std::vector<Canonical> canonical;
  std::vector<std::int32_t> canonOf(static_cast<std::size_t>(trieNodes), -1);
  std::unordered_map<std::string, std::int32_t> known;
  for (NodeIndex t = trieNodes - 1; t >= 0; --t) {
    Canonical c{lexicon.nodeWord(t), {}};
    for (std::uint32_t mask = lexicon.childMask(t); mask; mask &= mask - 1) {
      const int code = __builtin_ctz(mask);
      c.edges.emplace_back(static_cast<std::uint8_t>(code), canonOf[static_cast<std::size_t>(lexicon.child(t, code))]);
    }
    std::string key;
    putInt32(key, c.word);
    for (const auto& [code, target] : c.edges) {
      key.push_back(static_cast<char>(code));
      putInt32(key, target);
    }
    const auto [it, added] = known.emplace(std::move(key), static_cast<std::int32_t>(canonical.size()));
    if (added) canonical.push_back(std::move(c));
    canonOf[static_cast<std::size_t>(t)] = it->second;
  }

  // Number the canonical nodes breadth first from the root.
  WordGraph graph;
  std::vector<std::int32_t> number(canonical.size(), -1);
  std::vector<std::int32_t> order{canonOf[0]};  // the trie always has its root
  number[static_cast<std::size_t>(order[0])] = 0;
  for (std::size_t q = 0; q < order.size(); ++q) {
    for (const auto& edge : canonical[static_cast<std::size_t>(order[q])].edges) {
      if (number[static_cast<std::size_t>(edge.second)] < 0) {
        number[static_cast<std::size_t>(edge.second)] = static_cast<std::int32_t>(order.size());
        order.push_back(edge.second);
      }
    }
  }
  std::vector<GraphNode>& nodes = graph.ownNodes_;
  std::vector<std::int32_t>& children = graph.ownChildren_;
  nodes.resize(order.size());
  for (std::size_t i = 0; i < order.size(); ++i) {
    const Canonical& c = canonical[static_cast<std::size_t>(order[i])];
    GraphNode& node = nodes[i];
    node.word = c.word;
    node.firstChild = static_cast<std::uint32_t>(children.size());
    for (const auto& [code, target] : c.edges) {
      const std::int32_t child = number[static_cast<std::size_t>(target)];
      children.push_back(child);
      nodes[static_cast<std::size_t>(child)].letter = code;
      node.edgeMask |= 1u << code;
      ++node.edgeCount;
    }
  }
  graph.bindOwned();
  return graph;
}

std::string WordGraph::serialise() const {
  std::string out;
  putInt32(out, static_cast<std::int32_t>(nodes_.size()));
  for (const GraphNode& node : nodes_) {
    putInt32(out, node.word);
    for (int k = 0; k < node.edgeCount; ++k) {
      const std::int32_t target = childAt(node, k);
      out.push_back(static_cast<char>(nodes_[static_cast<std::size_t>(target)].letter));
      putInt32(out, target);
    }
    out.push_back(static_cast<char>(kEndOfEdges));
  }
  return out;
}

bool WordGraph::fitsLexicon(const Lexicon& lexicon, std::size_t sampleSize) const {
  // The first path found to each node, breadth first.
  const std::size_t n = nodes_.size();
  std::vector<std::int32_t> parent(n, -2);
  std::vector<std::int32_t> order{root};
  parent[0] = -1;
  for (std::size_t q = 0; q < order.size(); ++q) {
    const GraphNode& node = nodes_[static_cast<std::size_t>(order[q])];
    for (int k = 0; k < node.edgeCount; ++k) {
      const std::int32_t target = childAt(node, k);
      if (parent[static_cast<std::size_t>(target)] != -2) continue;
      parent[static_cast<std::size_t>(target)] = order[q];
      order.push_back(target);
    }
  }
  std::vector<std::int32_t> wordNodes;
  for (std::int32_t i : order) {
    if (nodes_[static_cast<std::size_t>(i)].word >= 0) wordNodes.push_back(i);
  }
  // A list with words needs a graph that reaches some; one without none.
  if (wordNodes.empty() != (lexicon.wordCount() == 0)) return false;
  const std::size_t step = std::max<std::size_t>(1, wordNodes.size() / std::max<std::size_t>(1, sampleSize));
  for (std::size_t s = 0; s < wordNodes.size(); s += step) {
    const std::int32_t start = wordNodes[s];
    const EntryIndex word = nodes_[static_cast<std::size_t>(start)].word;
    const std::string_view text = lexicon.textView(word);
    std::size_t depth = 0;
    for (std::int32_t at = start; at != root; at = parent[static_cast<std::size_t>(at)]) {
      if (++depth > text.size()) return false;
      const int expected = codeOfLetter(text[text.size() - depth]);
      if (nodes_[static_cast<std::size_t>(at)].letter != expected) return false;
    }
    if (depth != text.size()) return false;
  }
  return true;
}

}  // namespace pexil
