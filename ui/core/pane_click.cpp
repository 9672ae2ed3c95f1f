#include "pane_click.hpp"

#include <cctype>

#include "move_preview.hpp"
#include "movegen/move_line.hpp"
#include "rules/game_rules.hpp"
#include "rules/letter_codes.hpp"
#include "text/latin1.hpp"
#include "text/messages.hpp"

namespace pexil::ui {
namespace {

// The line as read: without the board marks and the trailing blanks.
std::string bare(const std::string& line) {
  std::string text;
  for (char c : line) {
    if (c != '|') text += c;
  }
  while (!text.empty() && (text.back() == ' ' || text.back() == '\t' || text.back() == '\r' || text.back() == '\n')) {
    text.pop_back();
  }
  return text;
}

bool isContinuation(const std::string& text, int number) {
  for (const int language : {kEnglish, kPigLatin, kCatalan}) {
    const char* entry = CatalogueEntry(language, number);
    if (entry != nullptr && bare(entry) == text) return true;
  }
  const char* current = Message(number);
  return current != nullptr && *current != 0 && bare(current) == text;
}

bool isDigit(char c) { return c >= '0' && c <= '9'; }

}  // namespace

PaneLineRead ReadPaneText(const std::string& line) {
  PaneLineRead read;
  const std::string text = bare(line);
  if (isContinuation(text, msg::MoreMoves)) {
    read.kind = PaneLineKind::moreMoves;
    return read;
  }
  if (isContinuation(text, msg::MoreWords)) {
    read.kind = PaneLineKind::moreWords;
    return read;
  }
  // "%4d. %s": blanks, then digits up to the fourth column, the full stop
  // in the fifth, the word from the seventh.
  if (text.size() < 7 || text[4] != '.' || text[5] != ' ') return read;
  std::size_t k = 0;
  while (k < 4 && text[k] == ' ') ++k;
  if (k == 4) return read;
  long number = 0;
  for (; k < 4; ++k) {
    if (!isDigit(text[k])) return read;
    number = number * 10 + (text[k] - '0');
  }
  if (number <= 0) return read;
  std::string word;
  for (k = 6; k < text.size() && text[k] != ' ' && text[k] != '\t'; ++k) word += text[k];
  while (!word.empty() && (word.back() == '*' || word.back() == '#')) word.pop_back();
  if (word.empty()) return read;
  read.kind = PaneLineKind::numberedWord;
  read.word = word;
  return read;
}

PaneLineRead ReadPaneLine(const Game* game, const std::string& line) {
  if (game != nullptr) {
    if (const auto move = ReadMove(*game, line)) {
      PaneLineRead read;
      read.kind = PaneLineKind::move;
      for (char c : move->wordView()) {
        const int code = codeOfLetter(c);
        read.word += code >= 0 && code < rules().letterCount ? tileDisplayText(code) : latin1Upper(std::string(1, c));
      }
      return read;
    }
  }
  return ReadPaneText(line);
}

}  // namespace pexil::ui
