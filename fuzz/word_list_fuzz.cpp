// Loads arbitrary bytes as a word list, with the English and the Spanish
// alphabet, and exercises the lookups on the result.
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <string>

#include "lexicon/lexicon.hpp"
#include "play/word_list_loading.hpp"
#include "rules/game_rules.hpp"
#include "text/text_pane.hpp"

// A folder of this process's own, so that looking for companion files
// scans nothing else.
static std::filesystem::path privateFolder() {
  const auto folder = std::filesystem::temp_directory_path() / ("pexil-fuzz-" + std::to_string(::getpid()));
  std::filesystem::create_directories(folder);
  return folder;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static const std::string path = [] {
    pexil::textPane().SetQuiet(true);
    return (privateFolder() / "FUZZ.lst").string();
  }();
  {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
  }
  const std::string text(reinterpret_cast<const char*>(data), size);
  for (int alphabet : {pexil::kAlphabetEnglish, pexil::kAlphabetSpanish}) {
    pexil::setAlphabetCounts(alphabet);
    pexil::Lexicon lexicon;
    lexicon.loadWinProb = false;
    loadWordListWithTables(lexicon, path);
    const std::string probe = text.substr(0, 12);
    (void)lexicon.isWord(probe, 0);
    (void)lexicon.findEntry(probe);
    (void)lexicon.hasAnagram(text.substr(0, 8));
    (void)lexicon.findAnagramWord(text.substr(0, 6));
    for (int i = 0; i < lexicon.wordCount() && i < 50; ++i) {
      if (!lexicon.isWord(lexicon.textView(i), 0)) __builtin_trap();
      if (lexicon.findEntry(lexicon.textView(i)) == pexil::kNoEntry) __builtin_trap();
    }
  }
  pexil::setAlphabetCounts(pexil::kAlphabetEnglish);
  return 0;
}
