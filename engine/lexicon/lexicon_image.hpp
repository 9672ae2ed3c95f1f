// The binary form of a loaded word list (".lexbin" beside the list): the
// arrays of a Lexicon and of its word graph, laid out so that they are used
// in place from a read-only mapping (io/binary_image.hpp describes the
// container).
//
// Sections: the source key (what the arrays were made from: the list's
// size and hash, the alphabet's letter count and blank code, the files that
// decided the word classes; the lexicon builds it and compares it bytewise),
// the graph record (the state of the ".tribble" when the form was made: none,
// used, or refused as not fitting, with its size and hash), the fixed
// tables, then the arrays: entries, text, signatures, trie, repeated words,
// both sorted views, the position index (starts and entries), and with a
// used graph its nodes and child lists.
//
// Reading refuses a file whose header, checksum, key or graph record does
// not match, and then checks every count, offset and index of every array
// against the others before handing out views: entries against the text
// (NUL-terminated words of the alphabet's letters, sorted by length) and the
// signatures, the trie as a tree (children after their parents, each node
// reached once, depth at most 32, each node's word as long as its depth),
// the sorted views and the position index against the word count, and the
// graph's edges against its node count, without cycles.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "io/binary_image.hpp"
#include "io/content_hash.hpp"
#include "lexicon/lexicon.hpp"
#include "lexicon/word_graph.hpp"

namespace pexil {

class MappedFile;

inline constexpr char kLexiconImageKind[] = "LEXICON";
inline constexpr std::uint32_t kLexiconImageVersion = 1;

struct LexiconImageContent {
  LexiconArrays arrays;
  LexiconTables tables;
  GraphState graphState = GraphState::none;
  FileStamp graphStamp;  // of the .tribble, unless the state is none
  std::span<const GraphNode> graphNodes;
  std::span<const std::int32_t> graphChildren;
};

// What a reader expects of the graph: nothing (the graph is not used and
// its sections are not looked at), or the stamp of the graph file beside
// the list (none when there is no such file).
struct GraphExpectation {
  bool wanted = false;
  std::optional<FileStamp> file;
};

// The image of a lexicon's content with its source key.
ImageWriter lexiconImageWriter(const LexiconImageContent& content, std::string_view sourceKey);

// Reads and checks an image (see above). `letterCount` is the alphabet's,
// which the key also records. With a mapping, pages are given back as the
// checks pass over them.
std::optional<LexiconImageContent> readLexiconImage(std::span<const std::byte> bytes, std::string_view sourceKey,
                                                    const GraphExpectation& graph, int letterCount,
                                                    const MappedFile* pages, ImageRefusal& refusal);

}  // namespace pexil
