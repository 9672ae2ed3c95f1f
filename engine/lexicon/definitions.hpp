// Word definitions: one plain-text file per word-list alphabet beside the
// program ("DEFINITIONS", "DEFINITIONS.es", ...), each line a key word,
// white space and the definition, lines sorted by key in byte order. A
// lookup prints the word and its definition and follows the base word that
// a definition names ("(plural of/cat)", "<cat=...>", "pl. of cat").
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <string_view>

namespace pexil {

// The definitions file of an alphabet; alphabets outside the table use the
// English file.
std::string definitionsFileName(int alphabet);

// Reads of the binary search; a found line's definition is also read in
// pieces of this size.
inline constexpr std::size_t kDefinitionReadSize = 8192;
// Longer definitions are cut here (only the start of the line is shown).
inline constexpr std::size_t kMaxDefinitionBytes = 1 << 16;
// Longer words are no keys of a definitions file.
inline constexpr std::size_t kMaxDefinitionWord = 255;
// The ninth lookup in a chain prints nothing and ends the chain.
inline constexpr int kDefinitionChainLimit = 8;

// The definition of `word` in the file at `path`: the rest of its line
// after the key and one separator character. None when the file cannot be
// read or holds no line for the word. Any file content is safe to search.
std::optional<std::string> findDefinition(const std::string& path, std::string_view word);

// What a definition's first line shows and which base word it names.
struct DefinitionReference {
  std::string display;   // the line as printed; abbreviations are rewritten
  std::string baseWord;  // lower case, no trailing white space; empty for none
};
DefinitionReference readReference(std::string_view firstLine);

// Looks the word up in the definitions file of the loaded list's alphabet
// and prints it (orange) and its definition (cyan, wrapped to the pane
// width), then the definition of the base word it names, and so on. Every
// call counts towards the chain limit: the menu command resets the counter
// before its first call. True when the word and its definition were
// printed; a missing file or word prints nothing.
bool lookupDefinition(std::string_view word);
void resetDefinitionChain();

// Log lines of the search ("error: didn't find end line"). They describe a
// broken file rather than anything the user asked for, so they never go to
// the text pane: by default debug builds write them to standard error and
// release builds drop them. Tests install their own receiver; an empty
// function restores the default.
using DefinitionLog = std::function<void(const std::string& line)>;
void setDefinitionLog(DefinitionLog log);

}  // namespace pexil
