#include "board_text_file.hpp"

#include <algorithm>
#include <cstdint>
#include <fstream>
#include <vector>

#include "commands.hpp"
#include "movegen/move_line.hpp"
#include "rules/board.hpp"
#include "rules/game_rules.hpp"
#include "rules/letter_codes.hpp"
#include "rules/tile_counts.hpp"
#include "text/utf8.hpp"
#include "text/messages.hpp"

namespace pexil::cli {
namespace {

// Boards are at most 32 squares a side; anything much larger is no board.
constexpr std::size_t kMaxBoardFileBytes = 64 * 1024;
// A broken file is reported this many problems deep, no further.
constexpr int kMaxReportedProblems = 10;

using CodePoints = std::vector<std::uint32_t>;

// The whole text as UTF-8 when it is valid UTF-8, otherwise byte by byte as
// Latin-1. A byte-order mark at the start is dropped.
CodePoints decodeText(std::string_view bytes) {
  const auto decoded = decodeUtf8(bytes);
  if (!decoded) {
    CodePoints latin1;
    latin1.reserve(bytes.size());
    for (char c : bytes) latin1.push_back(static_cast<unsigned char>(c));
    return latin1;
  }
  CodePoints utf8(decoded->begin(), decoded->end());
  if (!utf8.empty() && utf8.front() == 0xFEFF) utf8.erase(utf8.begin());
  return utf8;
}

// The lines of the text: LF ends a line, a CR before it is dropped, and
// empty lines after the last non-empty one are left out.
std::vector<CodePoints> splitLines(const CodePoints& text) {
  std::vector<CodePoints> lines(1);
  for (std::uint32_t cp : text) {
    if (cp == '\n') {
      if (!lines.back().empty() && lines.back().back() == '\r') lines.back().pop_back();
      lines.emplace_back();
    } else {
      lines.back().push_back(cp);
    }
  }
  if (!lines.back().empty() && lines.back().back() == '\r') lines.back().pop_back();
  while (!lines.empty() && lines.back().empty()) lines.pop_back();
  return lines;
}

// A character as a message shows it: quoted when printable, else its code.
std::string describeCharacter(std::uint32_t cp) {
  if ((cp >= 0x21 && cp <= 0x7E) || (cp >= 0xA1 && cp <= 0xFF)) {
    return std::string("'") + static_cast<char>(cp) + "'";
  }
  return FormatText("U+%04X", static_cast<unsigned>(cp));
}


bool isEmptyMark(std::uint32_t cp, int row, int column) {
  switch (cp) {
    case '.': case ' ': case ':': case '$': case '!': case '*': case '#': case '@': return true;
    default: break;
  }
  // The game type's own print character of the square, unless it reads as
  // a letter of the game.
  const char own = squarePrintChar(row, column);
  return cp == static_cast<unsigned char>(own) && letterCodeOf(own) < 0;
}

std::optional<std::string> readSmallFile(const std::string& fileName, bool& tooLarge) {
  tooLarge = false;
  std::ifstream in(fileName, std::ios::binary);
  if (!in) return std::nullopt;
  std::string data(kMaxBoardFileBytes + 1, '\0');
  in.read(data.data(), static_cast<std::streamsize>(data.size()));
  if (in.bad()) return std::nullopt;
  const auto got = static_cast<std::size_t>(in.gcount());
  // A folder opens but reads nothing and fails.
  if (got == 0 && !in.eof()) return std::nullopt;
  if (got > kMaxBoardFileBytes) {
    tooLarge = true;
    return std::nullopt;
  }
  data.resize(got);
  return data;
}

struct PlacedTile {
  int column;
  int row;
  char letter;  // board form, lower case
  bool blank;
};

}  // namespace

// The letter code of a tile character, or -1 when it is no letter of the
// active alphabet. Catalan also takes K, the word lists' form of Ç.
int letterCodeOf(char c) {
  const int code = codeOfLetter(c);
  if (code < 0 || code >= rules().letterCount) return -1;
  if (latin1Upper(c) == charOfUpper(code)) return code;
  if (wordListAlphabet() == kAlphabetCatalan && latin1Lower(c) == 'k') return code;
  return -1;
}

// The one-character form a tile takes on the board: the word lists' form.
char boardLetter(int code) {
  if (wordListAlphabet() == kAlphabetCatalan && code == 10) return 'k';
  return charOfLower(code);
}

bool isLowerCaseLetter(char c) { return latin1IsLetter(c) && !latin1IsUpper(c); }

// A tile as players write it (the multi-letter tiles of Spanish and
// Catalan in full).
std::string tileName(int code) { return tileDisplayText(code); }

std::string displayLetter(char letter, bool isBlank) {
  const int code = codeOfLetter(letter);
  std::string text = code >= 0 && code < rules().letterCount ? tileName(code) : std::string(1, letter);
  return isBlank ? latin1Lower(text) : latin1Upper(text);
}

bool layBoardFile(Game& game, const std::string& fileName) {
  bool tooLarge = false;
  const auto bytes = readSmallFile(userInputPath(fileName), tooLarge);
  if (!bytes) {
    if (tooLarge) {
      PrintMessageF(msg::CliBoardFileTooLarge, fileName.c_str(), static_cast<int>(kMaxBoardFileBytes));
    } else {
      PrintMessageF(msg::CliBoardFileUnreadable, fileName.c_str());
    }
    return false;
  }
  const std::vector<CodePoints> lines = splitLines(decodeText(*bytes));
  Board& board = game.board;
  int problems = 0;
  auto report = [&problems](auto&&... args) {
    if (problems++ < kMaxReportedProblems) PrintMessageF(args...);
  };

  // A file without rows stands for the empty board.
  if (lines.empty()) return true;
  if (static_cast<int>(lines.size()) != board.height) {
    report(msg::CliBoardRowCount, fileName.c_str(), board.height, static_cast<int>(lines.size()));
  }
  std::vector<PlacedTile> tiles;
  const int rows = std::min(static_cast<int>(lines.size()), board.height);
  for (int row = 0; row < rows; ++row) {
    CodePoints line = lines[static_cast<std::size_t>(row)];
    while (static_cast<int>(line.size()) > board.width && (line.back() == ' ' || line.back() == '\t')) line.pop_back();
    if (static_cast<int>(line.size()) != board.width) {
      report(msg::CliBoardColumnCount, fileName.c_str(), row + 1, board.width, static_cast<int>(line.size()));
      continue;
    }
    for (int column = 0; column < board.width; ++column) {
      const std::uint32_t cp = line[static_cast<std::size_t>(column)];
      if (isEmptyMark(cp, row, column)) continue;
      const int code = cp <= 0xFF ? letterCodeOf(static_cast<char>(cp)) : -1;
      if (code < 0) {
        report(msg::CliBoardBadLetter, fileName.c_str(), row + 1, column + 1, describeCharacter(cp).c_str());
        continue;
      }
      const Square* square = squareAt(board, column, row);
      if (!square || !square->usable) {
        report(msg::CliBoardUnusableSquare, fileName.c_str(), row + 1, column + 1);
        continue;
      }
      tiles.push_back({column, row, boardLetter(code), isLowerCaseLetter(static_cast<char>(cp))});
    }
  }
  if (problems > 0) return false;

  // Take the tiles from the bag; count first so that each letter is
  // reported once.
  LetterCounts used;
  for (const PlacedTile& t : tiles) ++used[t.blank ? rules().blankCode : codeOfLetter(t.letter)];
  for (int code = 0; code < rules().codeCount && code < kCodeSlots; ++code) {
    if (used[code] > game.bag[code]) {
      report(msg::CliTooManyTiles, tileName(code).c_str(), used[code], 0, game.bag[code]);
    }
  }
  if (problems > 0) return false;

  for (const PlacedTile& t : tiles) {
    Square& square = *squareAt(board, t.column, t.row);
    square.letter = t.letter;
    square.isBlank = t.blank ? 1 : 0;
    square.placedMark = 0;
    const int code = t.blank ? rules().blankCode : codeOfLetter(t.letter);
    --game.bag[code];
    --game.bag[kTotalSlot];
    if (static_cast<std::size_t>(t.column) < board.columnHasNew.size()) board.columnHasNew[static_cast<std::size_t>(t.column)] = 1;
    if (static_cast<std::size_t>(t.row) < board.rowHasNew.size()) board.rowHasNew[static_cast<std::size_t>(t.row)] = 1;
  }
  updateNearOpenBonus(board);
  return true;
}

std::optional<std::string> parseRackText(std::string_view typed) {
  // Command lines are usually UTF-8; the engine reads Latin-1.
  std::string latin1;
  const CodePoints decoded = decodeText(typed);
  for (std::uint32_t cp : decoded) latin1.push_back(cp <= 0xFF ? static_cast<char>(cp) : '?');
  for (std::uint32_t cp : decoded) {
    if (cp > 0xFF) {
      PrintMessageF(msg::CliRackBadTile, latin1.c_str(), describeCharacter(cp).c_str());
      return std::nullopt;
    }
  }
  const RackText converted = convertRackText(latin1);
  if (converted.error != RackTextError::none) {
    PrintMessageF(msg::CliRackBadTile, latin1.c_str(), ("\"" + converted.offending + "\"").c_str());
    return std::nullopt;
  }
  std::string tiles;
  for (const char c : converted.tiles) {
    if (c == '?') {
      tiles.push_back('?');
      continue;
    }
    const int code = letterCodeOf(c);
    if (code < 0) {
      PrintMessageF(msg::CliRackBadTile, latin1.c_str(), describeCharacter(static_cast<unsigned char>(c)).c_str());
      return std::nullopt;
    }
    tiles.push_back(latin1Upper(boardLetter(code)));
  }
  const int count = static_cast<int>(tiles.size());
  if (count < 1 || count > kMaxRackTiles) {
    PrintMessageF(msg::CliRackSize, latin1.c_str(), kMaxRackTiles, count);
    return std::nullopt;
  }
  return tiles;
}

}  // namespace pexil::cli
