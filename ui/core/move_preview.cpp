#include "move_preview.hpp"

#include <cctype>
#include <sstream>
#include <vector>

#include "movegen/generator.hpp"
#include "movegen/move_line.hpp"
#include "rules/game_rules.hpp"
#include "rules/letter_codes.hpp"
#include "rules/notation.hpp"
#include "text/highlight_marks.hpp"
#include "text/latin1.hpp"

namespace pexil::ui {
namespace {

struct Placement {
  int column = 0;
  int row = 0;
  int direction = kAcross;
};

std::string asciiLower(std::string text) {
  for (char& c : text) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return text;
}

// The placements a position names on this board: as the move lines write
// it (regional form) or in the plain form, the exact letter case first.
std::vector<Placement> positionsNamed(const Board& board, const std::string& text) {
  std::vector<Placement> found;
  for (const bool exactCase : {true, false}) {
    for (const bool regional : {true, false}) {
      for (const int direction : {kAcross, kDown}) {
        for (int row = 0; row < board.height; ++row) {
          for (int column = 0; column < board.width; ++column) {
            const std::string name = movePosition(direction, column, row, regional);
            if (exactCase ? name == text : asciiLower(name) == asciiLower(text)) found.push_back({column, row, direction});
          }
        }
      }
    }
    if (!found.empty()) break;
  }
  return found;
}

// The word as the move lines write it, and with every multi-letter tile
// written out.
bool wordMatches(const Move& move, const std::string& text) {
  if (moveLineWord(move, nullptr) == text) return true;
  std::string spelled;
  const std::string_view word = move.wordView();
  for (std::size_t i = 0; i < word.size(); ++i) {
    const int code = codeOfLetter(word[i]);
    std::string piece = code >= 0 && code < rules().letterCount ? tileDisplayText(code) : std::string(1, word[i]);
    spelled += move.isBlankAt(static_cast<int>(i)) ? latin1Lower(piece) : latin1Upper(piece);
  }
  return spelled == text;
}

bool names(const Move& move, const Placement& at, const std::string& word) {
  return !isNonPlacement(move) && move.word != nullptr && move.column == at.column && move.row == at.row &&
         move.direction == at.direction && wordMatches(move, word);
}

// Position and word pairs of the text: a position next to a word, in
// either order.
std::vector<std::pair<Placement, std::string>> pairsOf(const Board& board, const std::string& text) {
  std::vector<std::string> tokens;
  std::istringstream in(text);
  for (std::string token; in >> token;) {
    std::string bare;
    for (char c : token) {
      if (c != kHighlightMark) bare += c;
    }
    if (!bare.empty()) tokens.push_back(bare);
  }
  std::vector<std::pair<Placement, std::string>> pairs;
  for (std::size_t i = 0; i + 1 < tokens.size(); ++i) {
    for (const Placement& at : positionsNamed(board, tokens[i])) pairs.emplace_back(at, tokens[i + 1]);
    for (const Placement& at : positionsNamed(board, tokens[i + 1])) pairs.emplace_back(at, tokens[i]);
  }
  return pairs;
}

// Whether a listed move can be made now by the player to move: the word's
// squares that hold tiles hold its letters, and the rack holds the tiles
// for the others (and an exchange's kept tiles). The game's move list may
// be left from another turn (the computer's candidates stay in it after
// its move), and such a move played with the wrong rack would take tiles
// the rack does not have.
bool PlayableNow(const Game& game, const Move& move) {
  if (game.toMove < 0 || game.toMove >= game.playerCount) return false;
  const Rack& rack = game.racks[static_cast<std::size_t>(game.toMove)];
  LetterCounts needed{};
  const auto need = [&](int code) {
    if (code < 0 || code >= kCodeSlots) return false;
    return ++needed[code] <= rack[code];
  };
  if (isNonPlacement(move)) {
    if (!isExchange(move) && move.word != label::exchangedTiles) return true;
    for (const char c : move.leaveView()) {
      if (!need(codeOfTile(c))) return false;
    }
    return true;
  }
  const std::string_view word = move.wordView();
  for (std::size_t i = 0; i < word.size(); ++i) {
    const int column = move.direction == kAcross ? move.column + static_cast<int>(i) : move.column;
    const int row = move.direction == kAcross ? move.row : move.row + static_cast<int>(i);
    const Square* square = squareAt(game.board, column, row);
    if (square == nullptr) return false;
    if (!square->empty()) {
      if (codeOfLetter(square->letter) != codeOfLetter(word[i])) return false;
      continue;
    }
    if (!need(move.isBlankAt(static_cast<int>(i)) ? rules().blankCode : codeOfLetter(word[i]))) return false;
  }
  return true;
}

}  // namespace

std::optional<Move> ReadMove(const Game& game, const std::string& latin1) {
  if (game.playerCount <= 0 || game.gameOver || !game.lexicon) return std::nullopt;
  const auto pairs = pairsOf(game.board, latin1);
  if (pairs.empty()) return std::nullopt;
  for (const auto& [at, word] : pairs) {
    for (const Move& move : game.moves) {
      if (names(move, at, word) && PlayableNow(game, move)) return move;
    }
  }
  // Not listed: one of the legal moves of the rack to move.
  Game copy(game);
  copy.quiet = true;
  GenerateMoves(copy, Generation::fullList);
  for (const auto& [at, word] : pairs) {
    for (const Move& move : activeList(copy)) {
      if (names(move, at, word)) {
        Move found = move;
        found.simStats = -1;  // the copy's statistics records stay with the copy
        return found;
      }
    }
  }
  return std::nullopt;
}

LaidMove LayMove(const Game& game, const Move& move) {
  LaidMove laid;
  laid.move = move;
  laid.board = game.board;
  const std::string_view word = move.wordView();
  for (std::size_t i = 0; i < word.size() && !isNonPlacement(move); ++i) {
    const int column = move.direction == kAcross ? move.column + static_cast<int>(i) : move.column;
    const int row = move.direction == kAcross ? move.row : move.row + static_cast<int>(i);
    Square* square = squareAt(laid.board, column, row);
    if (square == nullptr) continue;
    if (!square->empty()) {
      laid.used.push_back({column, row});
      continue;
    }
    square->letter = word[i];
    square->isBlank = move.isBlankAt(static_cast<int>(i)) ? 1 : 0;
    square->placedMark = game.moveNumber;
    laid.laid.push_back({column, row});
  }
  return laid;
}

const SimulationStats* HeatStatsOf(const Game& game, const Move& move) {
  for (const Move& listed : game.moves) {
    if (listed.column != move.column || listed.row != move.row || listed.direction != move.direction ||
        listed.wordView() != move.wordView() || listed.blankPositions != move.blankPositions) {
      continue;
    }
    const SimulationStats* stats = simulationStatsOf(game, listed);
    if (stats != nullptr && stats->hasHeatMaps) return stats;
  }
  return nullptr;
}

draw::HeatView HeatViewFor(bool shift, bool control, bool alt, bool lockHeatmap) {
  if (control) return draw::HeatView::replyScore;
  if (alt) return draw::HeatView::nextShare;
  return shift != lockHeatmap ? draw::HeatView::replyShare : draw::HeatView::none;
}

}  // namespace pexil::ui
