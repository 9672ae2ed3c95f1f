#include "dialog_values.hpp"

#include <algorithm>
#include <array>
#include <climits>
#include <filesystem>
#include <fstream>

#include "rules/game_rules.hpp"
#include "rules/letter_codes.hpp"
#include "settings.hpp"
#include "text/messages.hpp"

namespace pexil::ui {
namespace {

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// Digits only (no sign, no blanks), at most `most`; none otherwise.
std::optional<long long> Digits(const std::string& text, long long most) {
  if (text.empty()) return std::nullopt;
  long long value = 0;
  for (const char c : text) {
    if (!IsDigit(c)) return std::nullopt;
    value = value * 10 + (c - '0');
    if (value > most) return std::nullopt;
  }
  return value;
}

}  // namespace

std::string Trimmed(const std::string& text) {
  const auto blank = [](char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; };
  std::size_t first = 0;
  std::size_t last = text.size();
  while (first < last && blank(text[first])) ++first;
  while (last > first && blank(text[last - 1])) --last;
  return text.substr(first, last - first);
}


std::optional<int> ParseBounded(const std::string& typed, int least, int most) {
  std::string text = Trimmed(typed);
  bool negative = false;
  if (!text.empty() && (text[0] == '-' || text[0] == '+')) {
    negative = text[0] == '-';
    text.erase(0, 1);
  }
  const auto magnitude = Digits(text, static_cast<long long>(INT_MAX) + 1);
  if (!magnitude) return std::nullopt;
  const long long value = negative ? -*magnitude : *magnitude;
  if (value < least || value > most) return std::nullopt;
  return static_cast<int>(value);
}

int SimulationSeconds(int timeCombo) {
  static constexpr std::array<int, 10> kSeconds = {0, 30, 45, 60, 90, 120, 180, 240, 300, 600};
  if (timeCombo < 0 || timeCombo >= static_cast<int>(kSeconds.size())) return 0;
  return kSeconds[static_cast<std::size_t>(timeCombo)];
}

std::string ChallengeNote(int type) {
  if (type < 0 || type > 4) return {};
  const char* note = Message(msg::DlgChallengeSingleNote + type);
  return note != nullptr ? note : "";
}

int MaxThreads() { return std::max(1, ProcessorCount()); }

std::string RackProblem(const std::string& typed, bool mayBeEmpty) {
  const std::string text = Trimmed(typed);
  if (text.empty()) return mayBeEmpty ? std::string() : Message(msg::DlgTypeRack);
  const RackText rack = convertRackText(text);
  if (rack.error != RackTextError::none) return FormatMessage(msg::DlgNotATile, rack.offending.c_str());
  for (const char c : rack.tiles) {
    const LetterCode code = codeOfTile(c);
    const bool letter = code >= 0 && code < rules().letterCount;
    if (!letter && code != rules().blankCode) return FormatMessage(msg::DlgNotATile, std::string(1, c).c_str());
  }
  if (static_cast<int>(rack.tiles.size()) > rules().rackSize) {
    return FormatMessage(msg::DlgRackTooLong, rules().rackSize);
  }
  return {};
}

std::optional<char> BlankLetter(const std::string& typed) {
  const std::string text = Trimmed(typed);
  if (text.empty()) return std::nullopt;
  // A multi-letter tile typed as written ("ll", "(LL)") is one letter too.
  std::string letters = convertMultiLetter(text);
  if (letters.size() != 1) {
    const RackText rack = convertRackText(text);
    if (rack.error != RackTextError::none || rack.tiles.size() != 1) return std::nullopt;
    letters = rack.tiles;
  }
  const char c = letters[0];
  const LetterCode code = codeOfLetter(c);
  if (code < 0 || code >= rules().letterCount) return std::nullopt;
  return c;
}

std::optional<std::vector<std::string>> ReadWordFile(const std::string& path) {
  std::error_code error;
  if (!std::filesystem::is_regular_file(path, error)) return std::nullopt;
  std::ifstream in(path, std::ios::binary);
  if (!in) return std::nullopt;
  std::vector<std::string> words;
  std::string line;
  while (std::getline(in, line)) {
    const std::string word = Trimmed(line);
    if (!word.empty()) words.push_back(word);
  }
  if (in.bad()) return std::nullopt;
  return words;
}

}  // namespace pexil::ui
