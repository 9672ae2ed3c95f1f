#include "board_entry.hpp"

#include <algorithm>
#include <random>

#include "lexicon/lexicon.hpp"
#include "movegen/generator.hpp"
#include "rules/game_rules.hpp"
#include "rules/letter_codes.hpp"
#include "rules/notation.hpp"
#include "text/messages.hpp"

namespace pexil::ui {
namespace {

bool hasTile(const Board& board, int column, int row) {
  const Square* s = squareAt(board, column, row);
  return s != nullptr && !s->empty();
}

// The letter code a typed character lays: the character must be the
// alphabet's own form of a letter of the game (so a Spanish "k", which the
// code tables read as RR, lays nothing).
int typedCode(char typed) {
  const char lower = latin1Lower(typed);
  const int code = codeOfLetter(lower);
  if (code < 0 || code >= rules().letterCount || code == rules().blankCode) return -1;
  return charOfLower(code) == lower ? code : -1;
}

// A pair of typed letters that makes one tile: the tile's character, or 0.
char typedPair(const std::string& before, char typed) {
  switch (wordListAlphabet()) {
    case kAlphabetSpanish:
      if (before == "c" && typed == 'h') return '1';
      if (before == "l" && typed == 'l') return '2';
      if (before == "r" && typed == 'r') return '3';
      break;
    case kAlphabetCatalan:
      if (before == "l\xB7" && typed == 'l') return 'w';
      if (before == "n" && typed == 'y') return 'y';
      break;
    default: break;
  }
  return 0;
}

bool middleDot(char c) { return c == '\xB7' || c == '.' || c == '-'; }

std::string why(int number, const std::string& argument = std::string()) {
  return argument.empty() ? std::string(Message(number)) : FormatMessage(number, argument.c_str());
}

bool validWord(const Lexicon& lexicon, const std::string& letters) {
  if (anagramRule()) return lexicon.hasAnagram(letters);
  const EntryIndex entry = lexicon.findEntry(letters);
  return entry != kNoEntry && lexicon.entry(entry).wordClass != kClassPhony;
}

bool samePlacement(const Move& a, const Move& b) {
  return !isNonPlacement(a) && a.word != nullptr && a.column == b.column && a.row == b.row &&
         a.direction == b.direction && a.wordView() == b.wordView();
}

int blankCount(const Move& move) {
  return static_cast<int>(std::count_if(move.blankPositions.begin(), move.blankPositions.end(), [](int p) { return p >= 0; }));
}

}  // namespace

BoardEntry::Stamp BoardEntry::stampOf(const Game& game) {
  Stamp stamp;
  stamp.moveNumber = game.moveNumber;
  stamp.toMove = game.toMove;
  stamp.players = game.playerCount;
  stamp.history = game.history.size();
  stamp.gameOver = game.gameOver;
  stamp.width = game.board.width;
  stamp.height = game.board.height;
  if (game.toMove >= 0 && game.toMove < kMaxPlayers) stamp.rack = game.racks[static_cast<std::size_t>(game.toMove)];
  return stamp;
}

void BoardEntry::sync(const Game& game) {
  bool keep = synced(game);
  // A tile that came onto a laid tile's square (a position changed in
  // place) ends the entry too.
  for (const LaidTile& tile : laid_) keep = keep && !hasTile(game.board, tile.column, tile.row);
  if (keep) return;
  laid_.clear();
  typed_.clear();
  cursor_.reset();
  order_.clear();
  stamp_ = stampOf(game);
  synced_ = true;
  if (game.playerCount <= 0) return;
  const Rack& rack = stamp_.rack;
  for (int code = 0; code < rules().codeCount && code < kCodeSlots; ++code) {
    for (int k = 0; k < rack[code]; ++k) order_.push_back(code);
  }
}

bool BoardEntry::freeSquare(const Game& game, int column, int row) const {
  const Square* s = squareAt(game.board, column, row);
  return s != nullptr && s->usable && s->type != square::empty && s->empty() && laidAt(column, row) == nullptr;
}

std::optional<std::pair<int, int>> BoardEntry::emptyFrom(const Game& game, int column, int row, int dc, int dr) const {
  for (; squareAt(game.board, column, row) != nullptr; column += dc, row += dr) {
    if (freeSquare(game, column, row)) return std::make_pair(column, row);
  }
  return std::nullopt;
}

const LaidTile* BoardEntry::laidAt(int column, int row) const {
  for (const LaidTile& tile : laid_) {
    if (tile.column == column && tile.row == row) return &tile;
  }
  return nullptr;
}

bool BoardEntry::indexUsed(int index) const {
  return std::any_of(laid_.begin(), laid_.end(), [index](const LaidTile& t) { return t.rackIndex == index; });
}

int BoardEntry::unusedIndexOf(int code) const {
  for (std::size_t k = 0; k < order_.size(); ++k) {
    if (order_[k] == code && !indexUsed(static_cast<int>(k))) return static_cast<int>(k);
  }
  return -1;
}

void BoardEntry::setCursor(const Game& game, int column, int row) {
  sync(game);
  typed_.clear();
  if (squareAt(game.board, column, row) == nullptr) {
    cursor_.reset();
    return;
  }
  const bool down = cursor_ && cursor_->down;
  cursor_ = Cursor{column, row, down};
}

void BoardEntry::toggleDirection() {
  typed_.clear();
  if (cursor_) cursor_->down = !cursor_->down;
}

void BoardEntry::moveCursor(const Game& game, int columnStep, int rowStep) {
  sync(game);
  typed_.clear();
  if (!cursor_ || (columnStep == 0 && rowStep == 0)) return;
  const auto next = emptyFrom(game, cursor_->column + columnStep, cursor_->row + rowStep, columnStep, rowStep);
  if (next) {
    cursor_->column = next->first;
    cursor_->row = next->second;
  }
}

bool BoardEntry::layCode(const Game& game, int code, int column, int row) {
  int index = unusedIndexOf(code);
  bool blank = false;
  if (index < 0) {
    index = unusedIndexOf(rules().blankCode);
    blank = true;
  }
  if (index < 0 || !freeSquare(game, column, row)) return false;
  laid_.push_back(LaidTile{column, row, charOfUpper(code), blank, index});
  return true;
}

bool BoardEntry::canLay(int code) const {
  return code >= 0 && code < rules().letterCount && (unusedIndexOf(code) >= 0 || unusedIndexOf(rules().blankCode) >= 0);
}

bool BoardEntry::typeLetter(const Game& game, char letter) {
  sync(game);
  if (!cursor_ || game.playerCount <= 0 || game.gameOver) return false;
  const char lower = latin1Lower(letter);
  const int dc = cursor_->down ? 0 : 1, dr = cursor_->down ? 1 : 0;
  auto advanceFrom = [&](int column, int row) {
    const auto next = emptyFrom(game, column + dc, row + dr, dc, dr);
    cursor_->column = next ? next->first : column;
    cursor_->row = next ? next->second : row;
  };

  // The second letter of a two-letter tile: the tile laid for the first
  // (if the rack had one) goes back and the pair's tile takes its square.
  const bool catalan = wordListAlphabet() == kAlphabetCatalan;
  if (!typed_.empty()) {
    if (catalan && typed_ == "l" && middleDot(letter)) {
      typed_ += '\xB7';
      return true;
    }
    if (catalan && typed_ == "q" && lower == 'u' && typedLaid_) {
      typed_.clear();  // the QU tile holds its U already
      return true;
    }
    if (const char pair = typedPair(typed_, lower)) {
      const int code = codeOfLetter(pair);
      if (typedLaid_ && !laid_.empty()) {
        const LaidTile first = laid_.back();
        laid_.pop_back();
        if (layCode(game, code, first.column, first.row)) {
          typed_.clear();
          advanceFrom(first.column, first.row);
          return true;
        }
        // No such tile left: the letters stay single tiles.
        laid_.push_back(first);
      } else if (const auto at = emptyFrom(game, cursor_->column, cursor_->row, dc, dr);
                 at && layCode(game, code, at->first, at->second)) {
        typed_.clear();
        advanceFrom(at->first, at->second);
        return true;
      }
    }
  }
  typed_.clear();

  const int code = typedCode(lower);
  const auto at = emptyFrom(game, cursor_->column, cursor_->row, dc, dr);
  if (!at) return false;
  if (code >= 0 && layCode(game, code, at->first, at->second)) {
    typed_ = std::string(1, lower);
    typedLaid_ = true;
    advanceFrom(at->first, at->second);
    return true;
  }
  // No tile for the letter, but it may begin a two-letter tile the rack
  // holds ("l" of "ll" with an LL tile and no L): it waits for the second.
  for (const char second : {'h', 'l', 'r', 'y'}) {
    const char pair = typedPair(std::string(1, lower), second);
    const char dotted = catalan && lower == 'l' ? typedPair("l\xB7", second) : 0;
    for (const char tile : {pair, dotted}) {
      if (tile != 0 && canLay(codeOfLetter(tile))) {
        typed_ = std::string(1, lower);
        typedLaid_ = false;
        return true;
      }
    }
  }
  return false;
}

bool BoardEntry::takeBackLast() {
  typed_.clear();
  if (laid_.empty()) return false;
  const LaidTile last = laid_.back();
  laid_.pop_back();
  const bool down = cursor_ && cursor_->down;
  cursor_ = Cursor{last.column, last.row, down};
  return true;
}

bool BoardEntry::placeFromRack(const Game& game, int slot, int column, int row, char blankLetter) {
  sync(game);
  typed_.clear();
  if (slot < 0 || game.playerCount <= 0 || game.gameOver || !freeSquare(game, column, row)) return false;
  // The slot-th tile of the displayed rack is the slot-th unused one of
  // the full order.
  int index = -1;
  for (int k = 0, seen = 0; k < static_cast<int>(order_.size()); ++k) {
    if (indexUsed(k)) continue;
    if (seen++ == slot) {
      index = k;
      break;
    }
  }
  if (index < 0) return false;
  const int code = order_[static_cast<std::size_t>(index)];
  if (code == rules().blankCode) {
    const int stands = blankLetter == 0 ? -1 : typedCode(blankLetter);
    if (stands < 0) return false;
    laid_.push_back(LaidTile{column, row, charOfUpper(stands), true, index});
  } else {
    laid_.push_back(LaidTile{column, row, charOfUpper(code), false, index});
  }
  return true;
}

bool BoardEntry::moveLaid(const Game& game, int fromColumn, int fromRow, int column, int row) {
  sync(game);
  typed_.clear();
  auto it = std::find_if(laid_.begin(), laid_.end(),
                         [&](const LaidTile& t) { return t.column == fromColumn && t.row == fromRow; });
  if (it == laid_.end() || !freeSquare(game, column, row)) return false;
  it->column = column;
  it->row = row;
  return true;
}

bool BoardEntry::returnToRack(int column, int row) {
  typed_.clear();
  auto it = std::find_if(laid_.begin(), laid_.end(), [&](const LaidTile& t) { return t.column == column && t.row == row; });
  if (it == laid_.end()) return false;
  laid_.erase(it);
  return true;
}

void BoardEntry::recall() {
  typed_.clear();
  laid_.clear();
}

std::vector<char> BoardEntry::displayedRack(const Game& game, int player) const {
  std::vector<char> tiles;
  if (player < 0 || player >= game.playerCount || player >= kMaxPlayers) return tiles;
  if (player == game.toMove && synced(game)) {
    for (std::size_t k = 0; k < order_.size(); ++k) {
      if (!indexUsed(static_cast<int>(k))) tiles.push_back(charOfUpper(order_[k]));
    }
    return tiles;
  }
  const Rack& rack = game.racks[static_cast<std::size_t>(player)];
  for (int code = 0; code < rules().codeCount && code < kCodeSlots; ++code) {
    for (int k = 0; k < rack[code]; ++k) tiles.push_back(charOfUpper(code));
  }
  return tiles;
}

void BoardEntry::shuffle(unsigned seed) {
  typed_.clear();
  // Fisher-Yates with the generator's raw output, so that a seed gives the
  // same order with every standard library.
  std::mt19937 random(seed);
  std::vector<int> places(order_.size());
  for (std::size_t k = 0; k < places.size(); ++k) places[k] = static_cast<int>(k);
  for (std::size_t k = places.size(); k > 1; --k) {
    const std::size_t j = random() % k;
    std::swap(places[k - 1], places[j]);
  }
  // places[new] = old: the laid tiles follow their tiles to the new places.
  std::vector<int> shuffled(order_.size());
  std::vector<int> newIndex(order_.size());
  for (std::size_t k = 0; k < places.size(); ++k) {
    shuffled[k] = order_[static_cast<std::size_t>(places[k])];
    newIndex[static_cast<std::size_t>(places[k])] = static_cast<int>(k);
  }
  order_ = std::move(shuffled);
  for (LaidTile& tile : laid_) {
    if (tile.rackIndex >= 0 && tile.rackIndex < static_cast<int>(newIndex.size())) {
      tile.rackIndex = newIndex[static_cast<std::size_t>(tile.rackIndex)];
    }
  }
}

std::optional<Move> BoardEntry::laidMove(const Game& game, std::string* reason) const {
  auto fail = [&](std::string text) -> std::optional<Move> {
    if (reason != nullptr) *reason = std::move(text);
    return std::nullopt;
  };
  if (reason != nullptr) reason->clear();
  if (game.playerCount <= 0 || game.gameOver || !game.lexicon) return fail(why(msg::NoGameYet));
  if (laid_.empty() || !synced(game)) return fail(why(msg::LaidNone));
  const Board& board = game.board;

  // One row or one column.
  const bool oneRow = std::all_of(laid_.begin(), laid_.end(), [&](const LaidTile& t) { return t.row == laid_[0].row; });
  const bool oneColumn =
      std::all_of(laid_.begin(), laid_.end(), [&](const LaidTile& t) { return t.column == laid_[0].column; });
  if (!oneRow && !oneColumn) return fail(why(msg::LaidNotInLine));
  auto occupied = [&](int column, int row) { return hasTile(board, column, row) || laidAt(column, row) != nullptr; };
  // The direction of the word: a single tile reads along the line where it
  // has a neighbour (across first).
  int direction = oneRow ? kAcross : kDown;
  if (laid_.size() == 1) {
    const int c = laid_[0].column, r = laid_[0].row;
    const bool across = occupied(c - 1, r) || occupied(c + 1, r);
    const bool down = occupied(c, r - 1) || occupied(c, r + 1);
    direction = across || !down ? kAcross : kDown;
  }
  const int dc = direction == kAcross ? 1 : 0, dr = 1 - dc;
  auto along = [&](const LaidTile& t) { return direction == kAcross ? t.column : t.row; };
  const auto [first, last] = std::minmax_element(laid_.begin(), laid_.end(),
                                                 [&](const LaidTile& a, const LaidTile& b) { return along(a) < along(b); });
  const int fixedColumn = first->column, fixedRow = first->row;
  // No gap between the first and the last laid tile.
  for (int k = along(*first); k <= along(*last); ++k) {
    const int column = direction == kAcross ? k : fixedColumn, row = direction == kAcross ? fixedRow : k;
    if (!occupied(column, row)) return fail(why(msg::LaidGap, squareName(column, row)));
  }
  // The whole word runs over the board's tiles at both ends.
  int startColumn = first->column, startRow = first->row;
  while (occupied(startColumn - dc, startRow - dr)) {
    startColumn -= dc;
    startRow -= dr;
  }
  int endColumn = last->column, endRow = last->row;
  while (occupied(endColumn + dc, endRow + dr)) {
    endColumn += dc;
    endRow += dr;
  }
  const int length = direction == kAcross ? endColumn - startColumn + 1 : endRow - startRow + 1;
  if (length < kMinWordLength) return fail(why(msg::PlayWordTooShort));

  Move move;
  move.column = startColumn;
  move.row = startRow;
  move.direction = direction;
  std::string letters;
  int blanks = 0;
  bool usesBoard = false, touches = false, coversStart = false;
  for (int k = 0; k < length; ++k) {
    const int column = startColumn + dc * k, row = startRow + dr * k;
    coversStart = coversStart || (column == rules().startColumn && row == rules().startRow);
    if (const LaidTile* tile = laidAt(column, row)) {
      letters.push_back(latin1Lower(tile->letter));
      if (tile->blank && blanks < kBlankSlots) move.blankPositions[static_cast<std::size_t>(blanks++)] = k;
      touches = touches || hasTile(board, column + dr, row + dc) || hasTile(board, column - dr, row - dc);
    } else {
      letters.push_back(latin1Lower(squareAt(board, column, row)->letter));
      usesBoard = true;
    }
  }
  if (boardIsEmpty(board)) {
    if (!coversStart) return fail(why(msg::PlayStartSquare, squareName(rules().startColumn, rules().startRow)));
  } else if (!usesBoard && !touches) {
    return fail(why(msg::LaidNotConnected));
  }

  // A legal move of the rack: as the generator lists it, with the blanks
  // where they were laid (or, where the generator placed a blank of the
  // same letter elsewhere in the word, as it placed it).
  Game copy(game);
  copy.quiet = true;
  GenerateMoves(copy, Generation::fullList);
  Move probe = move;
  probe.word = letters.c_str();
  const std::vector<Move>& list = activeList(copy);
  const Move* fallback = nullptr;
  for (const Move& listed : list) {
    if (!samePlacement(listed, probe)) continue;
    if (listed.blankPositions == probe.blankPositions) {
      fallback = &listed;
      break;
    }
    if (fallback == nullptr && blankCount(listed) == blanks) fallback = &listed;
  }
  // The word's text as it lasts: the word list's own, or kept here (the
  // copy's texts go with the copy).
  const Lexicon& lexicon = *game.lexicon;
  const EntryIndex entry = anagramRule() ? kNoEntry : lexicon.findEntry(letters);
  const bool listed = entry != kNoEntry && lexicon.textView(entry) == letters;
  const char* lasting = listed ? lexicon.text(entry) : words_.add(letters);
  if (fallback != nullptr) {
    Move found = *fallback;
    found.word = lasting;
    found.simStats = -1;  // the copy's statistics records stay with the copy
    return found;
  }

  // Not among the legal moves: a placement with words missing from the
  // list (or otherwise left out by the generator), scored as the generator
  // scores, with its blanks where they were laid.
  const bool mainValid = validWord(lexicon, letters);
  bool crossInvalid = false;
  for (const LaidTile& tile : laid_) {
    int before = 0, after = 0;
    while (hasTile(board, tile.column - dr * (before + 1), tile.row - dc * (before + 1))) ++before;
    while (hasTile(board, tile.column + dr * (after + 1), tile.row + dc * (after + 1))) ++after;
    if (before == 0 && after == 0) continue;
    std::string cross;
    for (int j = -before; j <= after; ++j) {
      cross.push_back(j == 0 ? latin1Lower(tile.letter)
                             : latin1Lower(squareAt(board, tile.column + dr * j, tile.row + dc * j)->letter));
    }
    crossInvalid = crossInvalid || !validWord(lexicon, cross);
  }
  move.word = lasting;
  move.wordClass = listed ? lexicon.entry(entry).wordClass : mainValid ? kClassNormal : kClassPhony;
  move.phonyCross = crossInvalid ? 1 : 0;
  auto& scored = activeList(copy);
  scored.clear();
  const bool generating = copy.generating;
  copy.generating = true;  // the blanks stay where they were laid
  RecordPlacement(copy, move, false);
  copy.generating = generating;
  for (const Move& recorded : activeList(copy)) {
    if (samePlacement(recorded, move)) {
      Move result = recorded;
      result.simStats = -1;
      return result;
    }
  }
  return move;
}

draw::EntryView EntryPictureOf(const BoardEntry& entry, const Game& game) {
  draw::EntryView view;
  for (const LaidTile& tile : entry.laid()) view.laid.push_back({tile.column, tile.row, tile.letter, tile.blank});
  if (entry.cursor()) {
    view.hasCursor = true;
    view.cursorColumn = entry.cursor()->column;
    view.cursorRow = entry.cursor()->row;
    view.cursorDown = entry.cursor()->down;
  }
  view.rackPlayer = game.toMove;
  view.rack = entry.displayedRack(game, game.toMove);
  return view;
}

}  // namespace pexil::ui
