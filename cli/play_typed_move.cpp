#include "play_typed_move.hpp"

#include <vector>

#include "board_text_file.hpp"
#include "lexicon/lexicon.hpp"
#include "movegen/move_line.hpp"
#include "play_text.hpp"
#include "rules/game_rules.hpp"
#include "rules/letter_codes.hpp"
#include "rules/notation.hpp"
#include "rules/tile_counts.hpp"
#include "text/messages.hpp"

namespace pexil::cli {
namespace {

// One letter of a word: the board's one-character form and whether it is
// a blank.
struct Cell {
  char letter = ' ';
  bool blank = false;
};

// A word as it reads: tiles upper case, blanks lower case, multi-letter
// tiles written out.
std::string cellsText(const std::vector<Cell>& cells) {
  std::string text;
  for (const Cell& cell : cells) {
    const int code = codeOfLetter(cell.letter);
    std::string piece = code >= 0 && code < rules().letterCount ? tileDisplayText(code) : std::string(1, cell.letter);
    text += cell.blank ? latin1Lower(piece) : latin1Upper(piece);
  }
  return text;
}

// Reads a typed word (Latin-1) into cells: multi-letter tiles written out
// ("ch") or in parentheses ("(CH)"), lower case for blanks. Reports and
// gives none when a character is no tile of the game.
std::optional<std::vector<Cell>> readTypedWord(const std::string& text) {
  std::vector<Cell> cells;
  auto bad = [&](const std::string& what) {
    PrintMessageF(msg::PlayBadLetter, text.c_str(), what.c_str());
    return std::nullopt;
  };
  for (std::size_t i = 0; i < text.size();) {
    std::string unit;
    std::string source;
    if (text[i] == '(') {
      const std::size_t close = text.find(')', i);
      if (close == std::string::npos) return bad("'('");
      source = text.substr(i + 1, close - i - 1);
      unit = convertMultiLetter(source);
      if (unit.size() != 1) return bad("\"(" + source + ")\"");
      i = close + 1;
    } else {
      // The longest multi-letter tile that starts here, else one letter.
      for (std::size_t length : {std::size_t{3}, std::size_t{2}, std::size_t{1}}) {
        if (i + length > text.size()) continue;
        const std::string piece = text.substr(i, length);
        const std::string converted = convertMultiLetter(piece);
        if (converted.size() == 1 && (length == 1 || converted != piece)) {
          source = piece;
          unit = converted;
          break;
        }
      }
      if (source.empty()) {
        source = text.substr(i, 1);
        unit = source;
      }
      i += source.size();
    }
    const int code = letterCodeOf(unit[0]);
    if (code < 0) {
      const auto c = static_cast<unsigned char>(source.empty() ? unit[0] : source[0]);
      return bad(c >= 0x21 && c != 0x7F ? "'" + source + "'" : FormatText("U+%04X", static_cast<unsigned>(c)));
    }
    cells.push_back({boardLetter(code), isLowerCaseLetter(source[0])});
  }
  return cells;
}

bool validWord(const Lexicon& lexicon, const std::string& letters) {
  if (anagramRule()) return lexicon.hasAnagram(letters);
  const EntryIndex entry = lexicon.findEntry(letters);
  return entry != kNoEntry && lexicon.entry(entry).wordClass != kClassPhony;
}

std::string lettersOf(const std::vector<Cell>& cells) {
  std::string text;
  for (const Cell& cell : cells) text.push_back(latin1Lower(cell.letter));
  return text;
}

}  // namespace

std::optional<Position> readPosition(const Board& board, const std::string& typed) {
  const std::string lowered = asciiLower(typed);
  for (const bool regional : {true, false}) {
    for (const bool exactCase : {true, false}) {
      for (int direction : {kAcross, kDown}) {
        for (int row = 0; row < board.height; ++row) {
          for (int column = 0; column < board.width; ++column) {
            const std::string name = movePosition(direction, column, row, regional);
            if (exactCase ? name == typed : asciiLower(name) == lowered) return Position{column, row, direction};
          }
        }
      }
    }
  }
  return std::nullopt;
}

std::optional<Move> typedPlacement(Game& game, const Position& at, const std::string& typedWord) {
  std::string wordPart = typedWord;
  const bool force = !wordPart.empty() && wordPart.back() == '!';
  if (force) wordPart.pop_back();
  const auto cells = readTypedWord(wordPart);
  if (!cells) return std::nullopt;
  const Board& board = game.board;
  const int length = static_cast<int>(cells->size());
  const std::string shown = cellsText(*cells);
  const std::string position = movePosition(at.direction, at.column, at.row, true);
  if (length < kMinWordLength) {
    PrintMessage(msg::PlayWordTooShort);
    return std::nullopt;
  }
  const int dc = at.direction == kAcross ? 1 : 0, dr = 1 - dc;
  auto square = [&](int k) { return squareAt(board, at.column + dc * k, at.row + dr * k); };

  // On the board, matching the tiles there, laying at least one.
  int newTiles = 0;
  for (int k = 0; k < length; ++k) {
    const Square* s = square(k);
    if (s == nullptr || !s->usable) {
      PrintMessageF(msg::PlayOffBoard, shown.c_str(), position.c_str());
      return std::nullopt;
    }
    if (s->empty()) {
      ++newTiles;
    } else if (codeOfLetter(s->letter) != codeOfLetter((*cells)[static_cast<std::size_t>(k)].letter)) {
      const std::string onBoard = cellsText({Cell{s->letter, s->isBlank != 0}});
      const std::string typedLetter = cellsText({(*cells)[static_cast<std::size_t>(k)]});
      PrintMessageF(msg::PlayMismatch, shown.c_str(),
                    squareName(at.column + dc * k, at.row + dr * k).c_str(), onBoard.c_str(), typedLetter.c_str());
      return std::nullopt;
    }
  }
  if (newTiles == 0) {
    PrintMessageF(msg::PlayNoNewTile, shown.c_str(), position.c_str());
    return std::nullopt;
  }

  // The whole word: no tile may stand right before or after it.
  auto occupied = [&](int column, int row) {
    const Square* s = squareAt(board, column, row);
    return s != nullptr && !s->empty();
  };
  if (occupied(at.column - dc, at.row - dr) || occupied(at.column + dc * length, at.row + dr * length)) {
    int first = 0, last = length - 1;
    while (occupied(at.column + dc * (first - 1), at.row + dr * (first - 1))) --first;
    while (occupied(at.column + dc * (last + 1), at.row + dr * (last + 1))) ++last;
    std::vector<Cell> whole;
    for (int k = first; k <= last; ++k) {
      const Square* s = square(k);
      whole.push_back(k >= 0 && k < length && s->empty() ? (*cells)[static_cast<std::size_t>(k)]
                                                         : Cell{s->letter, s->isBlank != 0});
    }
    PrintMessageF(msg::PlayWordContinues, cellsText(whole).c_str());
    return std::nullopt;
  }

  // Connected: the first move covers the start square, later ones touch a
  // tile.
  bool boardEmpty = true;
  for (const Square& s : board.squares) boardEmpty = boardEmpty && s.empty();
  const GameRules& r = rules();
  if (boardEmpty) {
    bool coversStart = false;
    for (int k = 0; k < length; ++k) {
      coversStart = coversStart || (at.column + dc * k == r.startColumn && at.row + dr * k == r.startRow);
    }
    if (!coversStart) {
      PrintMessageF(msg::PlayStartSquare, squareName(r.startColumn, r.startRow).c_str());
      return std::nullopt;
    }
  } else {
    bool touches = false;
    for (int k = 0; k < length && !touches; ++k) {
      const int column = at.column + dc * k, row = at.row + dr * k;
      touches = occupied(column, row) || occupied(column + dr, row + dc) || occupied(column - dr, row - dc);
    }
    if (!touches) {
      PrintMessageF(msg::PlayNotConnected, shown.c_str(), position.c_str());
      return std::nullopt;
    }
  }

  // The tiles: letters typed in upper case from the rack's tiles (or a
  // spare blank), lower case ones from its blanks.
  const Rack& rack = game.racks[static_cast<std::size_t>(game.toMove)];
  LetterCounts needed;
  int blanksNeeded = 0;
  for (int k = 0; k < length; ++k) {
    if (!square(k)->empty()) continue;
    const Cell& cell = (*cells)[static_cast<std::size_t>(k)];
    if (cell.blank) {
      ++blanksNeeded;
    } else {
      ++needed[codeOfLetter(cell.letter)];
    }
  }
  for (int code = 0; code < r.letterCount && code < kCodeSlots; ++code) {
    if (needed[code] > rack[code]) blanksNeeded += needed[code] - rack[code];
  }
  if (blanksNeeded > rack[r.blankCode]) {
    PrintMessageF(msg::PlayMissingTiles, shown.c_str(), rackText(rack).c_str());
    return std::nullopt;
  }

  // The words formed: the main word and one cross word per new tile that
  // has a neighbour across the line.
  const Lexicon& lexicon = *game.lexicon;
  std::vector<std::string> invalid;
  std::vector<Cell> main;
  for (int k = 0; k < length; ++k) {
    const Square* s = square(k);
    main.push_back(s->empty() ? (*cells)[static_cast<std::size_t>(k)] : Cell{s->letter, s->isBlank != 0});
  }
  const std::string mainLetters = lettersOf(main);
  const bool mainValid = validWord(lexicon, mainLetters);
  if (!mainValid) invalid.push_back(cellsText(main));
  bool crossInvalid = false;
  for (int k = 0; k < length; ++k) {
    if (!square(k)->empty()) continue;
    const int column = at.column + dc * k, row = at.row + dr * k;
    // Across the line: down for an across move, and the other way.
    int before = 0, after = 0;
    while (occupied(column - dr * (before + 1), row - dc * (before + 1))) ++before;
    while (occupied(column + dr * (after + 1), row + dc * (after + 1))) ++after;
    if (before == 0 && after == 0) continue;
    std::vector<Cell> cross;
    for (int j = -before; j <= after; ++j) {
      const Square* s = squareAt(board, column + dr * j, row + dc * j);
      cross.push_back(j == 0 ? (*cells)[static_cast<std::size_t>(k)] : Cell{s->letter, s->isBlank != 0});
    }
    if (!validWord(lexicon, lettersOf(cross))) {
      crossInvalid = true;
      invalid.push_back(cellsText(cross));
    }
  }
  if (!invalid.empty() && !force) {
    std::string list;
    for (const std::string& w : invalid) list += (list.empty() ? "" : ", ") + w;
    PrintMessageF(msg::PlayNotWords, list.c_str());
    return std::nullopt;
  }

  Move move;
  move.column = at.column;
  move.row = at.row;
  move.direction = at.direction;
  const EntryIndex entry = anagramRule() ? kNoEntry : lexicon.findEntry(mainLetters);
  if (entry != kNoEntry && lexicon.textView(entry) == mainLetters) {
    move.word = lexicon.text(entry);
    move.wordClass = lexicon.entry(entry).wordClass;
  } else {
    move.word = game.laidWords.add(mainLetters);
    move.wordClass = mainValid ? kClassNormal : kClassPhony;
  }
  move.phonyCross = crossInvalid ? 1 : 0;
  return move;
}

}  // namespace pexil::cli
