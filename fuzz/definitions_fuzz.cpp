// Writes arbitrary bytes as the DEFINITIONS file of a private folder (the
// working folder of the whole run) and looks words up in it: the file's
// first key, keys from its middle and end, and a few plain words, through
// both the search and the printing lookup that follows references.
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <string_view>
#include <vector>

#include "lexicon/definitions.hpp"
#include "rules/letter_codes.hpp"
#include "text/text_pane.hpp"

namespace {

bool isSpace(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\v' || c == '\f'; }

// The whitespace-delimited token at or after `from`, at most 255 bytes.
std::string tokenAfter(std::string_view text, std::size_t from) {
  while (from < text.size() && isSpace(text[from])) ++from;
  std::size_t end = from;
  while (end < text.size() && !isSpace(text[end]) && end - from < pexil::kMaxDefinitionWord) ++end;
  return std::string(text.substr(std::min(from, text.size()), end - std::min(from, text.size())));
}

std::filesystem::path privateFolder() {
  return std::filesystem::temp_directory_path() / ("pexil-fuzz-definitions-" + std::to_string(::getpid()));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static const std::string folder = [] {
    pexil::textPane().SetQuiet(true);  // the pane keeps every line; don't grow it for ever
    pexil::setDefinitionLog([](const std::string&) {});
    pexil::setWordListAlphabet(pexil::kAlphabetEnglish);
    const auto path = privateFolder();
    std::filesystem::create_directories(path);
    std::filesystem::current_path(path);
    std::atexit([] {
      std::error_code ignored;
      std::filesystem::current_path(std::filesystem::temp_directory_path(), ignored);
      std::filesystem::remove_all(privateFolder(), ignored);
    });
    return path.string();
  }();
  (void)folder;

  const std::string_view input(reinterpret_cast<const char*>(data), size);
  {
    std::ofstream out("DEFINITIONS", std::ios::binary | std::ios::trunc);
    out.write(input.data(), static_cast<std::streamsize>(input.size()));
  }

  std::vector<std::string> words{"a", "cat", "zz", "~"};
  words.push_back(tokenAfter(input, 0));
  const std::size_t middle = input.find('\n', input.size() / 2);
  if (middle != std::string_view::npos) words.push_back(tokenAfter(input, middle));
  const std::size_t last = input.rfind('\n');
  if (last != std::string_view::npos) words.push_back(tokenAfter(input, last));

  const std::string first = tokenAfter(input, 0);
  const bool startsWithKey = !first.empty() && !isSpace(input[0]) && first.size() < input.size() &&
                             isSpace(input[first.size()]);
  for (const std::string& word : words) {
    const auto found = pexil::findDefinition("DEFINITIONS", word);
    if (found) {
      if (found->size() > pexil::kMaxDefinitionBytes) __builtin_trap();
      if (found->find_first_of("\r\n") != std::string::npos) __builtin_trap();
      (void)pexil::readReference(*found);
    }
    // A file that starts with the word and white space always has it.
    if (word == first && startsWithKey && !found) __builtin_trap();
    pexil::resetDefinitionChain();
    (void)pexil::lookupDefinition(word);
  }
  return 0;
}
