#include "standard_input.hpp"

#include <unistd.h>

#include <iostream>

namespace pexil::cli {

bool standardInputIsTerminal() { return isatty(STDIN_FILENO) != 0; }

std::optional<std::string> readAnswerLine() {
  std::string line;
  if (!std::getline(std::cin, line)) return std::nullopt;
  if (!line.empty() && line.back() == '\r') line.pop_back();
  return line;
}

bool answerIsYes(std::string_view answer) {
  const auto first = answer.find_first_not_of(" \t");
  if (first == std::string_view::npos) return false;
  const auto last = answer.find_last_not_of(" \t");
  std::string word(answer.substr(first, last - first + 1));
  for (char& c : word) {
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  }
  return word == "y" || word == "yes";
}

}  // namespace pexil::cli
