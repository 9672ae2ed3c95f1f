#include "play_text.hpp"

#include <sstream>

#include "movegen/move_line.hpp"
#include "rules/game_rules.hpp"

namespace pexil::cli {

std::string asciiLower(std::string text) {
  for (char& c : text) {
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  }
  return text;
}

std::vector<std::string> splitWords(const std::string& line) {
  std::istringstream in(line);
  std::vector<std::string> words;
  for (std::string w; in >> w;) words.push_back(w);
  return words;
}

std::string tileText(int code) {
  const std::string text = tileDisplayText(code);
  return text.size() > 1 ? "(" + text + ")" : text;
}

std::string rackText(const LetterCounts& rack) {
  std::string text;
  for (int code = 0; code < rules().codeCount && code < kCodeSlots; ++code) {
    for (int n = 0; n < rack[code]; ++n) text += tileText(code);
  }
  return text;
}

}  // namespace pexil::cli
