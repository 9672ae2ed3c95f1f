#include "movegen/move_line.hpp"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <cstring>

#include "rules/game_rules.hpp"
#include "rules/letter_codes.hpp"
#include "rules/notation.hpp"
#include "text/highlight_marks.hpp"
#include "text/messages.hpp"
#include "text/text_pane.hpp"

namespace pexil {
namespace {

constexpr std::size_t kWordColumn = 16;
constexpr std::size_t kPositionColumn = 3;  // " 8D", "10D"
constexpr std::size_t kScoreColumn = 8;     // "  24 pts"
constexpr std::size_t kEquityColumn = 8;    // "    26.5"

// A letter of a placement as shown: upper case, or lower case for a blank,
// with the Spanish multi-letter tiles written out.
std::string shownLetter(char letter, bool blank) {
  const char upper = latin1Upper(letter);
  std::string text(1, upper);
  if (wordListAlphabet() == kAlphabetSpanish) {
    if (upper == '1') text = "CH";
    if (upper == '2') text = "LL";
    if (upper == '3') text = "RR";
  }
  return blank ? latin1Lower(text) : text;
}

// Tiles of a rack or leave as shown: the Spanish multi-letter tiles
// written out, as in the word.
std::string shownTiles(std::string_view tiles) {
  std::string text;
  for (char c : tiles) text += c == '?' ? std::string(1, c) : shownLetter(c, false);
  return text;
}

// Whether square `index` of the move's line holds a tile already.
bool onBoard(const Board& board, const Move& move, int index) {
  const int column = move.direction == kAcross ? move.column + index : move.column;
  const int row = move.direction == kAcross ? move.row : move.row + index;
  const Square* square = squareAt(board, column, row);
  return square != nullptr && !square->empty() && square->placedMark != kNewTileMark;
}

// The padding of a figure: one space below 100 and another below 10.
const char* padHundreds(double value) { return std::fabs(value) < 100.0 ? " " : ""; }
const char* padTens(double value) { return std::fabs(value) < 10.0 ? " " : ""; }

std::string moveText(const Game& game, const Move& move, const MoveLineOptions& options) {
  if (move.word == label::pass) return Message(msg::MoveLinePass);
  if (move.word == label::lostChallenge) return Message(msg::MoveLineLostChallenge);
  if (move.word == label::incorrectChallenge) return Message(msg::MoveLineBadChallenge);
  if (isExchange(move)) {
    const std::string kept(move.leaveView());
    if (kept.empty()) return Message(msg::MoveLineExchangeAll);
    if (game.hideLeaves) {
      return FormatMessage(msg::MoveLineExchanged, rules().rackSize - static_cast<int>(kept.size()));
    }
    return FormatMessage(msg::MoveLineKeep, shownTiles(kept).c_str());
  }
  const Board* board = nullptr;
  if (options.boardKnown) board = options.before != nullptr ? options.before : &game.board;
  return moveLineWord(move, board);
}

// The position, with a leading space when it holds a single digit.
std::string positionText(const Move& move) {
  std::string position = movePosition(move.direction, move.column, move.row, true);
  int digits = 0;
  for (char c : position) {
    if (c >= '0' && c <= '9') ++digits;
  }
  if (digits == 1) position.insert(position.begin(), ' ');
  return position;
}

std::string simulatedFigures(const Move& move, const MoveLineOptions& options) {
  const double spread = move.simValueA;
  const double win = move.simValueB;
  const double median = move.simMedian;
  const bool pre = move.simCount == kPreEndgameCountMark;
  // Win percentages get one space below 10.
  const char* padWin = padTens(win);
  std::string text;
  if (!options.longForm) {
    text = pre ? FormatText("%s%s%+.2f / %s%.1f%% (peg)", padHundreds(spread), padTens(spread), spread, padWin, win)
               : FormatText("%s%s%+.2f / %s%.1f%% (%d)", padHundreds(spread), padTens(spread), spread, padWin, win,
                            move.simCount);
  } else if (move.simByWinProb) {
    const char* padMedian = padTens(median);
    text = pre ? FormatText("%s%s%+.2f / %s%.1f%% / %s%.1f%% (peg)", padHundreds(spread), padTens(spread), spread,
                            padMedian, median, padWin, win)
               : FormatText("%s%s%+.2f / %s%.1f%% / %s%.1f%% (%d)", padHundreds(spread), padTens(spread), spread,
                            padMedian, median, padWin, win, move.simCount);
  } else {
    text = pre ? FormatText("%s%s%+.2f /%s%s%+.2f / %s%.1f%% (peg)", padHundreds(spread), padTens(spread), spread,
                            padHundreds(median), padTens(median), median, padWin, win)
               : FormatText("%s%s%+.2f /%s%s%+.2f / %s%.1f%% (%d)", padHundreds(spread), padTens(spread), spread,
                            padHundreds(median), padTens(median), median, padWin, win, move.simCount);
  }
  if (options.mixedOptimisation) text += FormatText(" ms %.2f", static_cast<double>(move.simValueC));
  return text;
}

std::string evaluationText(const Game& game, const Move& move, const MoveLineOptions& options) {
  if (move.simValueA == kEndgameResultMark) {
    const double win = move.simValueB;
    return win < 10.0 ? FormatText("     %.1f%% (eg)", win) : FormatText("   %.1f%% (eg)", win);
  }
  if (game.hideLeaves) return std::string();
  std::string text;
  if (move.simValueA != kNoSimValue && move.simCount > 0) {
    text.push_back(' ');
    text += simulatedFigures(move, options);
    return text;
  }
  const std::string_view leave = move.leaveView();
  if (!leave.empty()) {
    text = "  [";
    text += shownTiles(leave);
    text.push_back(']');
  }
  return text;
}

// Equity, held in tenths of a point, as points with one decimal.
std::string equityText(int equity) {
  return FormatText("%s%d.%d", equity < 0 ? "-" : "", std::abs(equity) / 10, std::abs(equity) % 10);
}

std::string rightAligned(const std::string& text, std::size_t width) {
  return text.size() < width ? std::string(width - text.size(), ' ') + text : " " + text;
}

std::string leftAligned(std::string text, std::size_t width) {
  text.append(text.size() < width ? width - text.size() : 1, ' ');
  return text;
}

std::string playerPrefix(const Game& game, int player) {
  if (player < 0) return std::string();
  const int number = player + 1;
  return FormatText("P%d%s: ", number, game.playerCount >= 10 && number < 10 ? " " : "");
}

}  // namespace

std::string tilesDisplayText(std::string_view tiles) { return shownTiles(tiles); }

std::string MoveLineText(const Game& game, const Move& move, const MoveLineOptions& options) {
  return moveText(game, move, options);
}

std::string tileDisplayText(int code) {
  if (code == rules().blankCode) return "?";
  const char c = charOfUpper(code);
  switch (wordListAlphabet()) {
    case kAlphabetSpanish:
      if (c == '1') return "CH";
      if (c == '2') return "LL";
      if (c == '3') return "RR";
      break;
    case kAlphabetCatalan:
      if (c == 'Q') return "QU";
      if (c == 'W') return "L\xB7L";
      if (c == 'Y') return "NY";
      break;
    default: break;
  }
  return std::string(1, c);
}

std::string moveLineWord(const Move& move, const Board* before) {
  const std::string_view word = move.wordView();
  std::string text;
  bool inRun = false;
  for (std::size_t i = 0; i < word.size(); ++i) {
    const int index = static_cast<int>(i);
    const bool laid = before != nullptr && onBoard(*before, move, index);
    if (laid != inRun) {
      text.push_back(kHighlightMark);
      inRun = laid;
    }
    text += shownLetter(word[i], move.isBlankAt(index));
  }
  if (inRun) text.push_back(kHighlightMark);
  return text;
}

std::string MoveLine(const Game& game, int player, const Move& move, const std::string& prefix,
                     const MoveLineOptions& options) {
  std::string line = playerPrefix(game, player);
  line += prefix;

  std::string text = moveText(game, move, options);
  for (std::size_t width = shownLength(text); width < kWordColumn; ++width) text.push_back(' ');
  line += text;

  if (!isNonPlacement(move)) line += positionText(move);

  const int score = move.score;
  line += FormatText(" %s%s%d pt%s", score < 100 ? " " : "", score < 10 ? " " : "", score, score == 1 ? " " : "s");
  if (options.showEquity) line += rightAligned(equityText(move.equity), kEquityColumn);

  line += evaluationText(game, move, options);
  return line;
}

std::string MoveLineHeader(const Game& game, int player, std::size_t prefixWidth, const MoveLineOptions& options) {
  std::string line(playerPrefix(game, player).size() + prefixWidth, ' ');
  line += leftAligned(Message(msg::CliMovesColumnWord), kWordColumn);
  // The position and the score share one stretch: " 8D  24 pts".
  const std::string position = Message(msg::CliMovesColumnPosition);
  const std::string score = Message(msg::CliMovesColumnScore);
  const std::size_t stretch = kPositionColumn + kScoreColumn;
  line += position + rightAligned(score, stretch > position.size() ? stretch - position.size() : 0);
  if (options.showEquity) line += rightAligned(Message(msg::CliMovesColumnEquity), kEquityColumn);
  line += "  ";
  line += Message(msg::CliMovesColumnLeave);
  return line;
}

void PrintMoveLine(const Game& game, int player, const Move& move, const std::string& prefix, bool toList,
                   const MoveLineOptions& options) {
  std::string line = MoveLine(game, player, move, prefix, options);
  if (toList) {
    moveListing().add(std::move(line));
  } else {
    textPane().Print(line);
  }
}

void MoveListing::add(std::string line) {
  std::lock_guard<std::mutex> lock(mutex_);
  if (next_ > 0 && next_ >= lines_.size()) {
    // The previous listing was shown to its end: this line starts a new one.
    lines_.clear();
    next_ = 0;
  }
  lines_.push_back(std::move(line));
}

void MoveListing::clear() {
  std::lock_guard<std::mutex> lock(mutex_);
  lines_.clear();
  next_ = 0;
}

std::size_t MoveListing::remaining() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return lines_.size() - next_;
}

bool MoveListing::showNextPage(TextPane& pane) {
  std::vector<std::string> page;
  bool more = false;
  {
    std::lock_guard<std::mutex> lock(mutex_);
    const std::size_t end = std::min(lines_.size(), next_ + kPageSize);
    page.assign(lines_.begin() + static_cast<std::ptrdiff_t>(next_), lines_.begin() + static_cast<std::ptrdiff_t>(end));
    next_ = end;
    more = next_ < lines_.size();
  }
  if (page.empty()) return false;
  for (const std::string& line : page) pane.Print(line);
  if (more) pane.Print(Message(msg::MoreMoves));
  return true;
}

bool MoveListing::showNextPage() { return showNextPage(textPane()); }

MoveListing& moveListing() {
  static MoveListing listing;
  return listing;
}

}  // namespace pexil
