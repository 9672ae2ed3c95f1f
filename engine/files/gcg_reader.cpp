#include "files/gcg_reader.hpp"

#include <algorithm>
#include <array>
#include <climits>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <optional>
#include <string_view>

#include "files/gcg_tiles.hpp"
#include "lexicon/lexicon.hpp"
#include "movegen/evaluation.hpp"
#include "movegen/generator.hpp"
#include "play/game_flow.hpp"
#include "play/word_list_choice.hpp"
#include "rules/board.hpp"
#include "rules/game_definitions.hpp"
#include "rules/game_rules.hpp"
#include "rules/letter_codes.hpp"
#include "rules/scoring.hpp"
#include "rules/tile_counts.hpp"
#include "text/messages.hpp"
#include "text/utf8.hpp"

namespace pexil {
namespace {

// Lines are read up to this length; longer ones are skipped.
constexpr std::size_t kLineBuffer = 262144;
// A record is read up to this size; the rest is not looked at.
constexpr std::size_t kMostBytes = std::size_t(64) << 20;
// No game has more turns than this; move lines beyond are skipped, so that
// no record can grow the game (and its undo snapshots) without end.
constexpr std::size_t kMostHistory = 400;

bool isSpace(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\v' || c == '\f'; }
bool isDigit(char c) { return c >= '0' && c <= '9'; }

std::string_view trimLeft(std::string_view text) {
  std::size_t i = 0;
  while (i < text.size() && isSpace(text[i])) ++i;
  return text.substr(i);
}

std::string_view trimRight(std::string_view text) {
  std::size_t n = text.size();
  while (n > 0 && isSpace(text[n - 1])) --n;
  return text.substr(0, n);
}

bool startsWith(std::string_view text, std::string_view prefix) { return text.substr(0, prefix.size()) == prefix; }


std::vector<std::string_view> words(std::string_view text) {
  std::vector<std::string_view> list;
  std::size_t i = 0;
  while (i < text.size()) {
    while (i < text.size() && isSpace(text[i])) ++i;
    const std::size_t start = i;
    while (i < text.size() && !isSpace(text[i])) ++i;
    if (i > start) list.push_back(text.substr(start, i - start));
  }
  return list;
}

// A whole signed number ("+32", "-24", "405"); none for anything else or a
// number too large to be a score.
std::optional<int> signedNumber(std::string_view text) {
  std::size_t i = 0;
  bool negative = false;
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';
  if (i >= text.size()) return std::nullopt;
  long long value = 0;
  for (; i < text.size(); ++i) {
    if (!isDigit(text[i])) return std::nullopt;
    value = value * 10 + (text[i] - '0');
    if (value > 10000000) return std::nullopt;
  }
  return static_cast<int>(negative ? -value : value);
}

// The number after a place in a text (spaces skipped), 0 when none.
int numberAt(std::string_view text, std::size_t pos) {
  while (pos < text.size() && isSpace(text[pos])) ++pos;
  long long value = 0;
  while (pos < text.size() && isDigit(text[pos]) && value < 1000000) value = value * 10 + (text[pos++] - '0');
  return static_cast<int>(value);
}

// ---- text encodings ----


enum class Encoding { latin1, utf8 };

// ---- the file as lines ----

struct RawLine {
  int number = 0;
  std::string text;
  bool tooLong = false;
};

// Splits the bytes at line ends ("\n", "\r\n" or a lone "\r").
std::vector<RawLine> splitLines(const std::string& data) {
  std::vector<RawLine> lines;
  int number = 0;
  std::size_t i = 0;
  while (i < data.size()) {
    std::size_t end = i;
    while (end < data.size() && data[end] != '\n' && data[end] != '\r') ++end;
    RawLine line;
    line.number = ++number;
    if (end - i >= kLineBuffer) {
      line.tooLong = true;
      line.text = data.substr(i, 80);
    } else {
      line.text = data.substr(i, end - i);
    }
    lines.push_back(std::move(line));
    if (end < data.size() && data[end] == '\r' && end + 1 < data.size() && data[end + 1] == '\n') ++end;
    i = end + 1;
  }
  return lines;
}

std::optional<std::string> readRecord(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return std::nullopt;
  std::string data;
  std::vector<char> buffer(65536);
  while (data.size() < kMostBytes) {
    in.read(buffer.data(), static_cast<std::streamsize>(buffer.size()));
    const std::streamsize got = in.gcount();
    if (got <= 0) break;
    data.append(buffer.data(), static_cast<std::size_t>(got));
  }
  if (data.size() > kMostBytes) data.resize(kMostBytes);
  return data;
}

// ---- choices made before the game is set up ----

// The game type a record is replayed in: the first definition of the
// standard game (its name begins with "Scrabble") in the record's
// language; for English simply the first such definition. -1 when there is
// none, and the built-in standard game serves.
int firstDefinitionFor(int alphabet) {
  for (int i = 0; i < gameTypeCount(); ++i) {
    const GameType& type = gameType(i);
    if (!type.name || type.name->compare(0, 8, "Scrabble") != 0) continue;
    if (alphabet == kAlphabetEnglish || type.alphabet == alphabet) return i;
  }
  return -1;
}

// ---- tiles and words ----

// One square of a word as the record spells it: the letter in the
// program's one-character form (lower case) and whether it was written in
// lower case; 0 for a character that stands for the tile already there.
struct SpelledTile {
  char letter = 0;
  bool lower = false;
};

// The squares a move word covers: multi-letter tiles of Spanish (CH LL RR)
// and Catalan (L·L NY QU, and Ç) become their one-character forms.
std::vector<SpelledTile> spellWord(std::string_view word) {
  std::vector<SpelledTile> tiles;
  const int alphabet = wordListAlphabet();
  for (std::size_t i = 0; i < word.size();) {
    const char c = word[i];
    const bool lower = !latin1IsUpper(c);
    auto pairIs = [&](const char* pair) {
      return i + 1 < word.size() && latin1Lower(c) == pair[0] && latin1Lower(word[i + 1]) == pair[1];
    };
    SpelledTile tile;
    tile.lower = lower;
    std::size_t used = 1;
    if (alphabet == kAlphabetSpanish && pairIs("ch")) {
      tile.letter = '1', used = 2;
    } else if (alphabet == kAlphabetSpanish && pairIs("ll")) {
      tile.letter = '2', used = 2;
    } else if (alphabet == kAlphabetSpanish && pairIs("rr")) {
      tile.letter = '3', used = 2;
    } else if (alphabet == kAlphabetCatalan && i + 2 < word.size() && latin1Lower(c) == 'l' && word[i + 1] == '\xB7' &&
               latin1Lower(word[i + 2]) == 'l') {
      tile.letter = 'w', used = 3;
    } else if (alphabet == kAlphabetCatalan && pairIs("ny")) {
      tile.letter = 'y', used = 2;
    } else if (alphabet == kAlphabetCatalan && pairIs("qu")) {
      tile.letter = 'q', used = 2;
    } else if (alphabet == kAlphabetCatalan && latin1Lower(c) == '\xE7') {
      tile.letter = 'k';
    } else if (latin1IsLetter(c)) {
      tile.letter = latin1Lower(c);
    } else {
      tile.letter = 0;  // ".", or anything else that is no letter: the board's tile
      tile.lower = false;
    }
    tiles.push_back(tile);
    i += used;
  }
  return tiles;
}

// The tiles a text names, chosen among its readings (a text such as "LL"
// may be one tile or two): the first reading with `expected` tiles (when
// that is not negative) that `fits` accepts, else the first that `fits`
// accepts, else the first. None when some character is no tile.
template <class Fits>
std::optional<LetterCounts> chooseTiles(std::string_view text, int expected, Fits fits) {
  const std::vector<LetterCounts> readings = gcgTileReadings(text);
  if (readings.empty()) return std::nullopt;
  if (expected >= 0) {
    for (const LetterCounts& reading : readings) {
      if (reading.total() == expected && fits(reading)) return reading;
    }
  }
  for (const LetterCounts& reading : readings) {
    if (fits(reading)) return reading;
  }
  return readings.front();
}

// ---- the reader ----

// What a move line asks for.
enum class LineKind { placement, exchange, exchangeCount, pass, withdrawn, challenge, time, endRack };

struct MoveLine {
  int player = 0;
  LineKind kind = LineKind::pass;
  std::optional<std::string_view> rack;
  std::string_view position;
  std::string_view word;  // the move word as written
  std::optional<int> amount;
  std::optional<int> total;
};

class Reader {
 public:
  Reader(Game& game, const GcgReadOptions& options, GcgReadResult& result)
      : game_(game), options_(options), result_(result) {}

  void line(const RawLine& raw, Encoding encoding, bool encodingLineHonoured);
  void finish();
  // Whether anything of a game was read: players, moves or racks.
  bool readAnything() const { return playerLineSeen_ || finalRackSet_ || !game_.history.empty(); }

 private:
  void unrecognised(int number, const std::string& text) {
    result_.unrecognised.push_back({number, text});
  }
  void fault(GcgFault kind, const std::string& text) { result_.faults.push_back({lineNumber_, kind, text}); }
  // Adds to the rack the tiles a line needs and the rack lacks (a record
  // whose rack word left some out), noting the mend; false, with the line
  // skipped, when the rack would then hold more than a full rack.
  bool addMissingTiles(Rack& rack, const LetterCounts& need) {
    LetterCounts missing;
    for (int code = 0; code < kCodeSlots; ++code) {
      if (need[code] <= rack[code]) continue;
      missing[code] = need[code] - rack[code];
      missing[kTotalSlot] += missing[code];
    }
    if (missing.total() == 0) return true;
    if (rack.total() + missing.total() > rules().rackSize) {
      skip(GcgFault::impossibleRack, lineText_);
      return false;
    }
    for (int slot = 0; slot <= kTotalSlot; ++slot) rack.counts[static_cast<std::size_t>(slot)] += missing.counts[static_cast<std::size_t>(slot)];
    fault(GcgFault::tilesAdded, lineText_);
    return true;
  }
  void skip(GcgFault kind, const std::string& text) {
    fault(kind, text);
    unrecognised(lineNumber_, text);
  }

  void playerLine(std::string_view text);
  void noteLine(std::string_view text);
  void moveLine(std::string_view text);
  std::optional<int> playerOf(std::string_view& rest, bool& clash);
  int clashingPlayer(const MoveLine& line) const;
  bool parseMoveLine(std::string_view rest, MoveLine& line);
  void scoreLine(const MoveLine& line);
  void endRackLine(const MoveLine& line);
  void applyEndLines();
  void removeEndChanges();
  void applyMove(const MoveLine& given, bool lostTurn);
  void withdraw(const MoveLine& line, const LetterCounts& rack, bool ownPlayBefore);
  bool buildExchange(const MoveLine& line, LetterCounts& rack, Move& move);
  void beginAnalysis();
  void endAnalysis(int player);

  bool rackFeasible(const LetterCounts& rack, int player) const;
  bool setRack(int player, const LetterCounts& tiles);
  void play(const Move& move);
  bool prepareTurn(int player, const LetterCounts& rack, bool pass, bool lostTurn);
  void insertPass();
  void reopen();
  bool buildPlacement(const MoveLine& line, LetterCounts& rack, Move& move, std::vector<bool>& blanks);
  void fixBlanks(int player, const std::vector<bool>& blanks);
  void check(const MoveLine& line, int computed);

  Game& game_;
  const GcgReadOptions& options_;
  GcgReadResult& result_;
  int lineNumber_ = 0;
  std::string lineText_;
  std::array<std::string, 2> names_;
  bool playerLineSeen_ = false;
  bool finalRackSet_ = false;
  int lastMover_ = -1;  // the player of the last line that made a move
  int noteTarget_ = -1;
  std::array<std::optional<std::string>, 2> finalRack_;
  std::array<int, 2> finalRackLine_{};
  std::array<std::optional<int>, 2> statedTotal_;
  std::array<std::optional<int>, 2> previousTotal_;
  std::vector<bool> newTiles_;  // per square of the placement being read: a tile laid now
  int challengeLineBy_ = -1;
  bool stopped_ = false;
  bool endAdjusted_ = false;
  std::array<int, 2> endAdjustment_{};
  bool firstPlacementSeen_ = false;
  int placedBy_ = -1;  // the player whose placement the last move line made
  // The end-of-game lines after the last move: whose score, whose rack
  // (the player's own when the points are lost, the other's when gained).
  struct EndLine {
    int line = 0;
    int player = 0;
    int rackOf = 0;
    int points = 0;
    LetterCounts tiles{};
  };
  std::vector<EndLine> endLines_;
  std::optional<Game> analysisBefore_;
  struct PassAfterEnd {
    int player = 0;
    LetterCounts rack{};
    bool lostTurn = false;
  };
  std::vector<PassAfterEnd> passesAfterEnd_;
};

void Reader::line(const RawLine& raw, Encoding encoding, bool encodingLineHonoured) {
  lineNumber_ = raw.number;
  if (stopped_) return;
  if (raw.tooLong) {
    skip(GcgFault::lineTooLong, raw.text + "...");
    return;
  }
  std::string text = raw.text;
  if (encoding == Encoding::utf8) {
    auto converted = utf8ToLatin1(text);
    if (!converted) {
      if (!trimLeft(text).empty()) skip(GcgFault::notRepresentable, text);
      return;
    }
    text = std::move(*converted);
  }
  const std::string_view view = trimLeft(text);
  if (view.empty()) return;
  lineText_ = std::string(trimRight(view));

  if (startsWith(view, "#player")) {
    playerLine(view.substr(7));
  } else if (startsWith(view, "#lexicon")) {
    noteTarget_ = -1;
  } else if (startsWith(view, "#note")) {
    noteLine(view.substr(5));
  } else if (startsWith(view, "#rack1") || startsWith(view, "#rack2")) {
    const int player = view[5] - '1';
    const auto list = words(view.substr(6));
    std::string rack = list.empty() ? std::string() : std::string(list.front().substr(0, 32));
    finalRack_[static_cast<std::size_t>(player)] = rack;
    finalRackLine_[static_cast<std::size_t>(player)] = lineNumber_;
  } else if (startsWith(view, "#character-encoding")) {
    if (!encodingLineHonoured) unrecognised(lineNumber_, lineText_);
  } else if (startsWith(view, "#description Saved by Pexil") || startsWith(view, "#tile")) {
    // Our own description is written again on saving; the spellings of
    // multi-letter tiles are the ones the reader knows.
  } else if (view.front() == '#') {
    unrecognised(lineNumber_, lineText_);
  } else if (view.front() == '>') {
    moveLine(view.substr(1));
  } else if (noteTarget_ >= 0 && noteTarget_ < static_cast<int>(game_.history.size())) {
    game_.history[static_cast<std::size_t>(noteTarget_)].notes.push_back(lineText_);
  } else {
    unrecognised(lineNumber_, lineText_);
  }
}

void Reader::playerLine(std::string_view text) {
  noteTarget_ = -1;
  std::size_t digits = 0;
  while (digits < text.size() && isDigit(text[digits])) ++digits;
  const int number = digits > 0 && digits < 4 ? numberAt(text, 0) : 0;
  const auto list = words(text.substr(digits));
  if (digits == 0 || digits >= text.size() || !isSpace(text[digits]) || (number != 1 && number != 2) || list.empty()) {
    unrecognised(lineNumber_, lineText_);
    return;
  }
  names_[static_cast<std::size_t>(number - 1)] = std::string(list.front());
  SetPlayerName(game_, number - 1, std::string(list.front()));
  playerLineSeen_ = true;
  if (names_[0] == names_[1]) fault(GcgFault::sameNicknames, lineText_);
}

// "Time remaining on clock: [mm:ss.hh]" as our writer gives it; the
// reading in hundredths, or none.
std::optional<int> clockReading(std::string_view note) {
  const std::string_view prefix = Message(msg::ClockRemaining);
  if (!startsWith(note, prefix)) return std::nullopt;
  std::string_view rest = trimRight(note.substr(prefix.size()));
  if (rest.size() < 2 || rest.front() != '[' || rest.back() != ']') return std::nullopt;
  rest = rest.substr(1, rest.size() - 2);
  bool negative = false;
  if (!rest.empty() && rest.front() == '-') {
    negative = true;
    rest.remove_prefix(1);
  }
  // Fields separated by ':' and a final '.' before the hundredths.
  const std::size_t dot = rest.rfind('.');
  if (dot == std::string_view::npos || rest.size() - dot != 3) return std::nullopt;
  const auto hundredths = signedNumber(rest.substr(dot + 1));
  std::vector<int> fields;
  std::string_view head = rest.substr(0, dot);
  for (;;) {
    const std::size_t colon = head.find(':');
    const auto field = signedNumber(head.substr(0, colon));
    if (!field || *field < 0 || head.substr(0, colon).empty() || !isDigit(head.front())) return std::nullopt;
    fields.push_back(*field);
    if (colon == std::string_view::npos) break;
    head.remove_prefix(colon + 1);
  }
  if (!hundredths || *hundredths < 0 || (fields.size() != 2 && fields.size() != 3)) return std::nullopt;
  long long value = fields.size() == 3 ? fields[0] * 360000LL + fields[1] * 6000LL + fields[2] * 100LL
                                       : fields[0] * 6000LL + fields[1] * 100LL;
  value += *hundredths;
  if (value > 2000000000LL) return std::nullopt;
  return static_cast<int>(negative ? -value : value);
}

void Reader::noteLine(std::string_view text) {
  if (options_.analysisMode || game_.history.empty() || (!text.empty() && !isSpace(text.front()))) {
    unrecognised(lineNumber_, lineText_);
    return;
  }
  const std::string note(trimRight(trimLeft(text)));
  HistoryEntry& entry = game_.history.back();
  noteTarget_ = static_cast<int>(game_.history.size()) - 1;
  if (const auto clock = clockReading(note); clock && entry.clock == -10000000) {
    entry.clock = *clock;
    return;
  }
  entry.notes.push_back(note);
}

// The player whose name (and ':') begins the rest of a move line; the
// longer name wins when both fit. Before any "#player" line the names are
// taken from the move lines themselves.
std::optional<int> Reader::playerOf(std::string_view& rest, bool& clash) {
  clash = false;
  int found = -1;
  std::size_t length = 0;
  for (int p = 0; p < 2; ++p) {
    const std::string& name = names_[static_cast<std::size_t>(p)];
    if (name.empty() || rest.size() <= name.size() || rest.substr(0, name.size()) != name || rest[name.size()] != ':') continue;
    if (found < 0 || name.size() > length) {
      found = p;
      length = name.size();
    }
  }
  if (found < 0 && !playerLineSeen_) {
    const std::size_t colon = rest.find(':');
    const std::string_view name = colon == std::string_view::npos ? std::string_view() : rest.substr(0, colon);
    const bool plain = !name.empty() && std::none_of(name.begin(), name.end(), isSpace);
    for (int p = 0; plain && p < 2; ++p) {
      if (!names_[static_cast<std::size_t>(p)].empty()) continue;
      names_[static_cast<std::size_t>(p)] = std::string(name);
      SetPlayerName(game_, p, std::string(name));
      fault(GcgFault::playersAdopted, lineText_);
      found = p;
      length = name.size();
      break;
    }
  }
  if (found < 0) return std::nullopt;
  // Both players go by this name: the line alone cannot tell whose it is.
  clash = names_[0] == names_[1];
  rest.remove_prefix(length + 1);
  return found;
}

// The player of a line when both players have its name: the one whose
// running total the line's total continues; failing that, by turn (a move
// is the player's after the last mover, a challenge bonus the last
// mover's, the first end-of-game line the player's who went out).
int Reader::clashingPlayer(const MoveLine& line) const {
  if (line.total) {
    const int points = line.amount.value_or(0);
    int fits = -1, count = 0;
    for (int p = 0; p < 2; ++p) {
      if (*line.total - points != statedTotal_[static_cast<std::size_t>(p)].value_or(0)) continue;
      fits = p;
      ++count;
    }
    if (count == 1) return fits;
  }
  const int last = lastMover_ < 0 ? 1 : lastMover_;
  switch (line.kind) {
    case LineKind::challenge: return last;
    case LineKind::endRack: return endLines_.empty() ? last : 1 - endLines_.back().player;
    default: return 1 - last;
  }
}

bool Reader::parseMoveLine(std::string_view rest, MoveLine& line) {
  const auto list = words(rest);
  if (list.empty()) return false;
  std::size_t next = 0;
  auto special = [](std::string_view word) {
    const std::string lower = latin1Lower(word);
    return lower.find("(challenge)") != std::string::npos || lower.find("(time)") != std::string::npos;
  };
  if (list[0].front() == '(' && !special(list[0])) {
    // ">nick: (TILES) +N TOTAL": the racks left at the end.
    line.kind = LineKind::endRack;
    line.word = list[0];
    if (list.size() > 1) line.amount = signedNumber(list[1]);
    if (list.size() > 2) line.total = signedNumber(list[2]);
    return true;
  }
  // A move word in place of the rack: a player with no tiles left.
  if (list[0].front() == '-') {
    line.rack = std::string_view();
  } else if (list[0].front() != '(') {
    line.rack = list[next++];
  }
  if (next >= list.size()) return false;
  const char first = list[next].front();
  if (latin1IsLetter(first) || isDigit(first)) {
    line.position = list[next++];
    if (next >= list.size()) return false;
  }
  line.word = list[next++];
  if (next < list.size()) line.amount = signedNumber(list[next++]);
  if (next < list.size()) line.total = signedNumber(list[next]);

  const std::string_view w = line.word;
  if (w.front() == '(') {
    const std::string lower = latin1Lower(w);
    line.kind = lower.find("(challenge)") != std::string::npos ? LineKind::challenge
                : lower.find("(time)") != std::string::npos    ? LineKind::time
                                                               : LineKind::endRack;
    return true;
  }
  if (w.front() == '-') {
    if (w.size() >= 2 && w[1] == '-') {
      line.kind = LineKind::withdrawn;
    } else if (w.size() >= 2 && (latin1IsLetter(w[1]) || w[1] == '?')) {
      line.kind = LineKind::exchange;
    } else if (w.size() >= 2 && isDigit(w[1]) && signedNumber(w.substr(1))) {
      line.kind = LineKind::exchangeCount;
    } else {
      line.kind = LineKind::pass;
    }
    return true;
  }
  if (line.position.empty()) return false;
  line.kind = LineKind::placement;
  return true;
}

void Reader::moveLine(std::string_view text) {
  noteTarget_ = -1;
  const int challengeBefore = challengeLineBy_;
  challengeLineBy_ = -1;
  std::string_view rest = text;
  bool clash = false;
  const auto player = playerOf(rest, clash);
  if (!player) {
    skip(GcgFault::unknownPlayer, lineText_);
    return;
  }
  MoveLine line;
  line.player = *player;
  if (!parseMoveLine(rest, line)) {
    finalRack_[static_cast<std::size_t>(*player)].reset();
    unrecognised(lineNumber_, lineText_);
    return;
  }
  if (clash) line.player = clashingPlayer(line);
  finalRack_[static_cast<std::size_t>(line.player)].reset();
  previousTotal_[static_cast<std::size_t>(line.player)] = statedTotal_[static_cast<std::size_t>(line.player)];
  if (line.total) statedTotal_[static_cast<std::size_t>(line.player)] = line.total;
  switch (line.kind) {
    case LineKind::endRack: endRackLine(line); break;
    case LineKind::challenge:
    case LineKind::time: scoreLine(line); break;
    default:
      // A pass straight after the other player's challenge line is the
      // turn that a failed challenge cost.
      applyMove(line, line.kind == LineKind::pass && challengeBefore >= 0 && challengeBefore != line.player);
      break;
  }
}

// An end-of-game line names the tiles left on a rack: the other player's
// when the line's player gains them, the player's own when they are lost.
void Reader::endRackLine(const MoveLine& line) {
  const std::string_view word = line.word;
  if (stopped_ || word.size() < 2 || word.front() != '(' || word.back() != ')') return;
  const std::size_t p = static_cast<std::size_t>(line.player);
  std::optional<int> points = line.amount;
  if (!points && line.total && previousTotal_[p]) points = *line.total - *previousTotal_[p];
  if (!points) {
    unrecognised(lineNumber_, lineText_);
    return;
  }
  const int owner = *points < 0 ? line.player : 1 - line.player;
  const Rack& held = game_.racks[static_cast<std::size_t>(owner)];
  const auto tiles = chooseTiles(word.substr(1, word.size() - 2), held.total(), [&](const LetterCounts& t) {
    return t.total() <= rules().rackSize && rackFeasible(t, owner);
  });
  if (!tiles || tiles->total() > rules().rackSize) {
    skip(tiles ? GcgFault::impossibleRack : GcgFault::badRack, lineText_);
    return;
  }
  endLines_.push_back({lineNumber_, line.player, owner, *points, *tiles});
}

void Reader::removeEndChanges() {
  const int after = static_cast<int>(game_.history.size());
  std::erase_if(game_.scoreChanges, [after](const ScoreChange& c) {
    return c.afterEntry == after && (c.kind == ScoreChangeKind::endRackGain || c.kind == ScoreChangeKind::endRackLoss);
  });
}

// A record with end-of-game lines after its last move says how its game
// ended: the racks are the ones they name (the tiles drawn after a last
// exchange are not on record), and the points are the ones they state, in
// place of what our rule for the end gave, if it ended the game at all.
// When our rule would have given other points, the result says so.
void Reader::applyEndLines() {
  if (endLines_.empty() || game_.history.empty()) return;
  HistoryEntry& last = game_.history.back();
  if (game_.gameOver && endAdjusted_) {
    for (std::size_t p = 0; p < 2; ++p) {
      game_.scores[p] -= endAdjustment_[p];
      last.scoresAfter[p] -= endAdjustment_[p];
    }
    removeEndChanges();
  }
  for (const EndLine& end : endLines_) {
    const Rack& held = game_.racks[static_cast<std::size_t>(end.rackOf)];
    if (end.tiles != held && setRack(end.rackOf, end.tiles)) prepareBoard(game_);
  }
  std::array<int, 2> stated{};
  for (const EndLine& end : endLines_) {
    const std::size_t p = static_cast<std::size_t>(end.player);
    stated[p] += end.points;
    game_.scores[p] += end.points;
    last.scoresAfter[p] += end.points;
    ScoreChange change;
    change.player = end.player;
    change.kind = end.points < 0 && end.rackOf == end.player ? ScoreChangeKind::endRackLoss : ScoreChangeKind::endRackGain;
    change.points = end.points;
    change.rackOf = end.rackOf;
    change.tiles = game_.racks[static_cast<std::size_t>(end.rackOf)];
    change.afterEntry = static_cast<int>(game_.history.size());
    // Before a time penalty that the record gives after the end.
    const auto at = std::find_if(game_.scoreChanges.begin(), game_.scoreChanges.end(), [&](const ScoreChange& c) {
      return c.afterEntry == change.afterEntry && c.kind == ScoreChangeKind::timePenalty;
    });
    if (at == game_.scoreChanges.end()) {
      AddScoreChangeAfter(game_, change);
    } else {
      game_.scoreChanges.insert(at, change);
    }
  }
  endAdjustment_ = stated;
  endAdjusted_ = true;
  game_.gameOver = true;
  game_.clockRunning = false;

  // Our rule, with these racks, for the player who moved last.
  std::array<int, 2> ours{};
  for (const ScoreChange& change : EndOfGameChanges(game_, static_cast<int>((game_.history.size() - 1) % 2))) {
    ours[static_cast<std::size_t>(change.player)] += change.points;
  }
  GcgReadResult::EndRule& rule = result_.endRule;
  rule.line = endLines_.front().line;
  rule.differs = ours != stated;
  for (std::size_t p = 0; p < 2; ++p) {
    rule.stated[p] = stated[p];
    rule.ours[p] = ours[p];
  }
}

void Reader::scoreLine(const MoveLine& line) {
  const std::size_t p = static_cast<std::size_t>(line.player);
  if (stopped_) return;
  int points = 0;
  if (line.amount) {
    points = *line.amount;
  } else if (line.total && previousTotal_[p]) {
    points = *line.total - *previousTotal_[p];
  }
  game_.scores[p] += points;
  ScoreChange change;
  change.player = line.player;
  change.points = points;
  change.afterEntry = static_cast<int>(game_.history.size());
  if (line.kind != LineKind::challenge) {
    change.kind = ScoreChangeKind::timePenalty;
    AddScoreChangeAfter(game_, change);
    return;
  }
  change.kind = ScoreChangeKind::challengePenalty;
  // The challenged move is the player's latest: the last entry, or the
  // one before when a pass came between.
  const int count = static_cast<int>(game_.history.size());
  for (int i = count - 1; i >= 0 && i >= count - 2; --i) {
    if (i % 2 != line.player) continue;
    game_.history[static_cast<std::size_t>(i)].survivedChallenge = true;
    // The bonus was scored straight after the challenged move, before the
    // pass that came between.
    for (int later = i + 1; later < count; ++later) game_.history[static_cast<std::size_t>(later)].scoresAfter[p] += points;
    change.afterEntry = i + 1;
    break;
  }
  AddScoreChangeAfter(game_, change);
  challengeLineBy_ = line.player;
}

bool Reader::rackFeasible(const LetterCounts& rack, int player) const {
  const Rack& own = game_.racks[static_cast<std::size_t>(player)];
  const Rack& other = game_.racks[static_cast<std::size_t>(1 - player)];
  for (int code = 0; code < kCodeSlots; ++code) {
    if (rack[code] > game_.bag[code] + own[code] + other[code]) return false;
  }
  return true;
}

bool Reader::setRack(int player, const LetterCounts& tiles) {
  if (!rackFeasible(tiles, player)) return false;
  Rack& own = game_.racks[static_cast<std::size_t>(player)];
  Rack& other = game_.racks[static_cast<std::size_t>(1 - player)];
  returnAll(game_.bag, own);
  const int otherBefore = other.total();
  for (int code = 0; code < kCodeSlots; ++code) {
    for (int k = 0; k < tiles[code]; ++k) {
      // From the well, else back from the other rack.
      LetterCounts& source = game_.bag[code] > 0 ? game_.bag : other;
      --source[code];
      --source[kTotalSlot];
      ++own[code];
      ++own[kTotalSlot];
    }
  }
  if (other.total() < otherBefore) drawTiles(other, game_.bag, otherBefore, &game_.random);
  return true;
}

void Reader::play(const Move& move) {
  const bool wasOver = game_.gameOver;
  const auto before = game_.scores;
  const int mover = game_.toMove;
  PlayMove(game_, move, true, false);
  if (!wasOver && game_.gameOver) {
    // Remember what the end of the game added, should the record go on.
    endAdjusted_ = true;
    for (int p = 0; p < 2; ++p) {
      const std::size_t i = static_cast<std::size_t>(p);
      endAdjustment_[i] = game_.scores[i] - before[i] - (p == mover && !isNonPlacement(game_.lastMove) ? game_.lastMove.score : 0);
    }
  }
}

void Reader::reopen() {
  if (!game_.gameOver) return;
  if (endAdjusted_ && !game_.history.empty()) {
    for (std::size_t p = 0; p < 2; ++p) {
      game_.scores[p] -= endAdjustment_[p];
      game_.history.back().scoresAfter[p] -= endAdjustment_[p];
    }
    removeEndChanges();
  }
  endAdjusted_ = false;
  game_.gameOver = false;
  fault(GcgFault::gameReopened, lineText_);
}

// Makes it the player's turn in a game that is not over: a game that ended
// goes on (passes read after its end are played first), and a turn the
// record skips becomes a pass, so that the entries of the two players keep
// alternating. A pass that finds the game ended by such a turn waits like
// any pass after the end; false then.
bool Reader::prepareTurn(int player, const LetterCounts& rack, bool pass, bool lostTurn) {
  const std::vector<PassAfterEnd> waiting = std::move(passesAfterEnd_);
  passesAfterEnd_.clear();
  for (const PassAfterEnd& earlier : waiting) {
    reopen();
    if (game_.toMove != earlier.player) insertPass();
    reopen();
    if (rackFeasible(earlier.rack, earlier.player)) setRack(earlier.player, earlier.rack);
    Move move;
    move.word = earlier.lostTurn ? label::incorrectChallenge : label::pass;
    move.setLeave(rackString(game_.racks[static_cast<std::size_t>(earlier.player)]));
    play(move);
  }
  reopen();
  if (game_.toMove != player) insertPass();
  if (game_.gameOver && pass) {
    passesAfterEnd_.push_back({player, rack, lostTurn});
    return false;
  }
  reopen();
  return true;
}

// A pass for the player to move, whose turn the record skips.
void Reader::insertPass() {
  Move pass;
  pass.word = label::pass;
  pass.setLeave(rackString(game_.racks[static_cast<std::size_t>(game_.toMove)]));
  play(pass);
  fault(GcgFault::turnSkipped, lineText_);
}

bool Reader::buildPlacement(const MoveLine& line, LetterCounts& rack, Move& move, std::vector<bool>& blanks) {
  const Board& board = game_.board;
  // The position: "8D" across, "D8" down, either case.
  const std::string_view pos = line.position;
  int direction = kAcross, column = -1, row = 0;
  std::size_t i = 0;
  const bool across = isDigit(pos.front());
  if (!across) {
    column = latin1Lower(pos[i++]) - 'a';
    direction = kDown;
  }
  std::size_t digits = 0;
  while (i < pos.size() && isDigit(pos[i]) && digits < 4) {
    row = row * 10 + (pos[i++] - '0');
    ++digits;
  }
  if (across && i < pos.size()) column = latin1Lower(pos[i++]) - 'a';
  if (digits == 0 || i != pos.size() || column < 0 || column > 25 || column >= board.width || row < 1 || row > board.height) {
    skip(GcgFault::badPosition, lineText_);
    return false;
  }
  --row;
  const int dx = direction == kAcross ? 1 : 0, dy = 1 - dx;

  const std::vector<SpelledTile> spelled = spellWord(line.word);
  std::string text;
  std::vector<bool> isNew;
  bool differs = false;
  for (std::size_t k = 0; k < spelled.size(); ++k) {
    const Square* square = squareAt(board, column + dx * static_cast<int>(k), row + dy * static_cast<int>(k));
    if (square == nullptr || k >= static_cast<std::size_t>(kMaxWordLength)) {
      skip(GcgFault::offBoard, lineText_);
      return false;
    }
    const SpelledTile& tile = spelled[k];
    if (!square->empty()) {
      if (tile.letter != 0 && tile.letter != square->letter) differs = true;
      text.push_back(square->letter);
      isNew.push_back(false);
      blanks.push_back(false);
      continue;
    }
    if (tile.letter == 0) {
      skip(GcgFault::dotOnEmptySquare, lineText_);
      return false;
    }
    if (!gcgLetterInGame(tile.letter)) {
      skip(GcgFault::badWord, lineText_);
      return false;
    }
    text.push_back(tile.letter);
    isNew.push_back(true);
    blanks.push_back(tile.lower);
  }
  if (std::find(isNew.begin(), isNew.end(), true) == isNew.end()) {
    skip(GcgFault::noNewTile, lineText_);
    return false;
  }
  if (differs) fault(GcgFault::boardLetterDiffers, lineText_);

  // Tiles adjoining the word on the board belong to it.
  bool extended = false;
  while (const Square* before = squareAt(board, column - dx, row - dy)) {
    if (before->empty() || text.size() >= static_cast<std::size_t>(kMaxWordLength)) break;
    text.insert(text.begin(), before->letter);
    isNew.insert(isNew.begin(), false);
    blanks.insert(blanks.begin(), false);
    column -= dx;
    row -= dy;
    extended = true;
  }
  for (;;) {
    const int k = static_cast<int>(text.size());
    const Square* after = squareAt(board, column + dx * k, row + dy * k);
    if (after == nullptr || after->empty() || text.size() >= static_cast<std::size_t>(kMaxWordLength)) break;
    text.push_back(after->letter);
    isNew.push_back(false);
    blanks.push_back(false);
    extended = true;
  }
  if (extended) fault(GcgFault::wordExtended, lineText_);

  // The tiles the play takes against the rack: a letter the rack lacks is
  // played by a spare blank (and a blank the rack lacks by a spare tile of
  // its letter); what is still missing is added to the rack when it fits.
  const int blank = rules().blankCode;
  auto needed = [&] {
    LetterCounts counts;
    for (std::size_t k = 0; k < text.size(); ++k) {
      if (!isNew[k]) continue;
      ++counts[blanks[k] ? blank : codeOfLetter(text[k])];
      ++counts[kTotalSlot];
    }
    return counts;
  };
  LetterCounts need = needed();
  bool flipped = false;
  for (std::size_t k = 0; k < text.size(); ++k) {
    if (!isNew[k]) continue;
    const int code = codeOfLetter(text[k]);
    if (!blanks[k] && need[code] > rack[code] && need[blank] < rack[blank]) {
      blanks[k] = true;
      flipped = true;
    } else if (blanks[k] && need[blank] > rack[blank] && need[code] < rack[code]) {
      blanks[k] = false;
      flipped = true;
    } else {
      continue;
    }
    need = needed();
  }
  if (flipped) fault(GcgFault::blankChosen, lineText_);
  if (!addMissingTiles(rack, need)) return false;

  move = Move{};
  const EntryIndex entry = game_.lexicon ? game_.lexicon->findEntry(text) : kNoEntry;
  if (entry != kNoEntry) {
    move.word = game_.lexicon->text(entry);
    move.wordClass = game_.lexicon->entry(entry).wordClass;
  } else {
    move.word = game_.laidWords.add(text);
    move.wordClass = kClassPhony;
  }
  move.column = column;
  move.row = row;
  move.direction = direction;
  int slot = 0;
  for (std::size_t k = 0; k < text.size() && slot < kBlankSlots; ++k) {
    if (isNew[k] && blanks[k]) move.blankPositions[static_cast<std::size_t>(slot++)] = static_cast<int>(k);
  }
  newTiles_ = std::move(isNew);
  return true;
}

// The game chooses where the blanks of a placement go; the record says
// where they went. When the two differ, the blanks are moved to the
// record's squares and the play is scored again.
void Reader::fixBlanks(int player, const std::vector<bool>& blanks) {
  if (game_.history.empty() || isNonPlacement(game_.lastMove)) return;
  HistoryEntry& entry = game_.history.back();
  Move played = entry.move.move();
  Board& board = game_.board;
  const int dx = played.direction == kAcross ? 1 : 0, dy = 1 - dx;
  const int length = static_cast<int>(played.wordView().size());
  if (length != static_cast<int>(blanks.size()) || length != static_cast<int>(newTiles_.size())) return;
  auto squareOf = [&](int k) { return squareAt(board, played.column + dx * k, played.row + dy * k); };
  const int blank = rules().blankCode;
  Rack rack = game_.racks[static_cast<std::size_t>(player)];
  bool differ = false;
  for (int k = 0; k < length; ++k) {
    Square* square = squareOf(k);
    if (!newTiles_[static_cast<std::size_t>(k)] || square == nullptr) continue;
    const bool want = blanks[static_cast<std::size_t>(k)];
    if (static_cast<bool>(square->isBlank) == want) continue;
    differ = true;
    const int code = codeOfLetter(square->letter);
    if (code < 0 || code >= kCodeSlots) return;
    rack[code] += want ? 1 : -1;
    rack[blank] += want ? -1 : 1;
  }
  if (!differ || !allNonNegative(rack)) return;
  game_.racks[static_cast<std::size_t>(player)] = rack;

  int tilesUsed = 0;
  std::vector<int> marks(static_cast<std::size_t>(length), kEmptyMark);
  played.blankPositions.fill(-1);
  int slot = 0;
  for (int k = 0; k < length; ++k) {
    Square* square = squareOf(k);
    if (!newTiles_[static_cast<std::size_t>(k)] || square == nullptr) continue;
    ++tilesUsed;
    square->isBlank = blanks[static_cast<std::size_t>(k)];
    if (square->isBlank && slot < kBlankSlots) played.blankPositions[static_cast<std::size_t>(slot++)] = k;
    marks[static_cast<std::size_t>(k)] = square->placedMark;
    square->placedMark = kNewTileMark;
    const int c = played.column + dx * k, r = played.row + dy * k;
    board.columnHasNew[static_cast<std::size_t>(c)] = 1;
    board.rowHasNew[static_cast<std::size_t>(r)] = 1;
  }
  const int score = playScore(board, played.direction, played.column, played.row, length) + bingoBonusFor(tilesUsed);
  for (int k = 0; k < length; ++k) {
    Square* square = squareOf(k);
    if (newTiles_[static_cast<std::size_t>(k)] && square != nullptr) square->placedMark = marks[static_cast<std::size_t>(k)];
  }
  clearNewFlags(board);

  const int delta = score - played.score;
  played.score = score;
  // The leave: the rack before the move without the tiles laid.
  Rack leave = entry.rackBefore;
  for (int k = 0; k < length; ++k) {
    if (!newTiles_[static_cast<std::size_t>(k)]) continue;
    const int code = blanks[static_cast<std::size_t>(k)] ? blank : codeOfLetter(played.word[k]);
    if (code < 0 || code >= kCodeSlots || leave[code] <= 0) continue;
    --leave[code];
    --leave[kTotalSlot];
  }
  played.setLeave(rackString(leave));
  entry.move.set(played);
  entry.scoresAfter[static_cast<std::size_t>(player)] += delta;
  game_.scores[static_cast<std::size_t>(player)] += delta;
  game_.lastMove.score = score;
  game_.lastMove.blankPositions = played.blankPositions;
  game_.lastMove.setLeave(played.leaveView());
  fault(GcgFault::blanksMoved, lineText_);
}

void Reader::check(const MoveLine& line, int computed) {
  lastMover_ = line.player;
  GcgMoveCheck c;
  c.line = lineNumber_;
  c.moveNumber = static_cast<int>(game_.history.size());
  c.player = line.player;
  c.moveText = line.position.empty() ? std::string(line.word) : std::string(line.position) + " " + std::string(line.word);
  c.hasStatedScore = line.amount.has_value();
  c.statedScore = line.amount.value_or(0);
  c.computedScore = computed;
  c.hasStatedTotal = line.total.has_value();
  c.statedTotal = line.total.value_or(0);
  c.computedTotal = game_.scores[static_cast<std::size_t>(line.player)];
  result_.moves.push_back(std::move(c));
}

// In analysis mode, the game before the move about to be played.
void Reader::beginAnalysis() {
  if (!options_.analysisMode) return;
  analysisBefore_.emplace(game_);
  analysisBefore_->moves.clear();
  analysisBefore_->candidates.clear();
  analysisBefore_->altListA.clear();
  analysisBefore_->altListB.clear();
}

// ... and the move as played, with the rack before it and the tiles kept.
void Reader::endAnalysis(int player) {
  if (!analysisBefore_ || game_.history.empty()) return;
  GcgAnalysisEntry entry;
  entry.before = std::move(*analysisBefore_);
  analysisBefore_.reset();
  entry.mover = player;
  entry.rack = game_.history.back().rackBefore;
  entry.move = game_.history.back().move;
  entry.kept = std::string(entry.move.move().leaveView());
  result_.analysis.push_back(std::move(entry));
}

// "--": the player's own play of the line before is taken back and kept
// with the lost turn.
void Reader::withdraw(const MoveLine& line, const LetterCounts& rack, bool ownPlayBefore) {
  const int p = line.player;
  const std::size_t made = game_.history.size();
  std::optional<KeptMove> withdrawn;
  if (ownPlayBefore && made > 0 && static_cast<int>((made - 1) % 2) == p && !isNonPlacement(game_.history.back().move.move())) {
    const KeptMove last = game_.history.back().move;
    if (undoStack().undo(game_)) {
      if (game_.history.size() + 1 == made) {
        withdrawn = last;
        endAdjusted_ = false;  // the snapshot is from before any end
      } else {
        undoStack().redo(game_);
      }
    }
  }
  if (withdrawn) {
    // The rack is the one the play was made from.
    if (rack != game_.racks[static_cast<std::size_t>(p)]) fault(GcgFault::rackNotSet, lineText_);
  } else {
    prepareTurn(p, rack, false, false);
    if (rackFeasible(rack, p)) {
      setRack(p, rack);
    } else {
      fault(GcgFault::rackNotSet, lineText_);
    }
  }
  Move lost;
  lost.word = label::lostChallenge;
  lost.setLeave(rackString(game_.racks[static_cast<std::size_t>(p)]));
  beginAnalysis();
  play(lost);
  if (withdrawn && !game_.history.empty()) {
    game_.history.back().challengedMove = *withdrawn;
    game_.history.back().hasChallengedMove = true;
  }
  endAnalysis(p);
  check(line, withdrawn ? -withdrawn->move().score : 0);
}

// "-TILES": the tiles go back; tiles the rack lacks are added to it when
// they fit. "-N" (a count only): the last N tiles of the rack go back.
bool Reader::buildExchange(const MoveLine& line, LetterCounts& rack, Move& move) {
  LetterCounts kept = rack;
  if (line.kind == LineKind::exchangeCount) {
    int count = std::min(signedNumber(line.word.substr(1)).value_or(0), rack.total());
    for (int code = kCodeSlots - 1; code >= 0 && count > 0; --code) {
      while (kept[code] > 0 && count > 0) {
        --kept[code];
        --kept[kTotalSlot];
        --count;
      }
    }
    fault(GcgFault::exchangeByCount, lineText_);
  } else {
    // The reading of the tiles that the rack holds.
    const auto tiles = chooseTiles(line.word.substr(1), -1, [&](const LetterCounts& t) {
      for (int code = 0; code < kCodeSlots; ++code) {
        if (t[code] > rack[code]) return false;
      }
      return true;
    });
    if (!tiles) {
      skip(GcgFault::badWord, lineText_);
      return false;
    }
    const LetterCounts given = *tiles;
    if (!addMissingTiles(rack, given)) return false;
    kept = rack;
    for (int slot = 0; slot <= kTotalSlot; ++slot) kept.counts[static_cast<std::size_t>(slot)] -= given.counts[static_cast<std::size_t>(slot)];
  }
  move.word = label::exchangedTiles;
  move.setLeave(countsToText(kept, kLeaveSize - 1).value_or(std::string()));
  return true;
}

void Reader::applyMove(const MoveLine& given, bool lostTurn) {
  MoveLine line = given;
  const int p = line.player;
  endLines_.clear();
  // Only the play of the move line just before can be withdrawn.
  const bool ownPlayBefore = placedBy_ == p;
  placedBy_ = -1;
  const std::size_t made = game_.history.size();
  // The rack, among the readings of its text: the one with as many tiles
  // as the player holds (the rack of the play withdrawn, for a
  // withdrawal) that the tiles left allow.
  std::optional<LetterCounts> rack;
  bool rackSpelled = false;
  if (line.rack) {
    int expected = game_.racks[static_cast<std::size_t>(p)].total();
    if (line.kind == LineKind::withdrawn && ownPlayBefore && made > 0) expected = game_.history.back().rackBefore.total();
    const auto tiles = chooseTiles(*line.rack, expected, [&](const LetterCounts& t) {
      return t.total() <= rules().rackSize && rackFeasible(t, p);
    });
    rackSpelled = tiles.has_value();
    if (tiles && tiles->total() <= rules().rackSize) rack = tiles;
  }

  // Replaying stops before this move: its player gets the line's rack.
  if (options_.stopAfterMove >= 0 && line.kind != LineKind::withdrawn && made >= static_cast<std::size_t>(options_.stopAfterMove)) {
    if (rack) setRack(p, *rack);
    stopped_ = true;
    return;
  }
  if (made >= kMostHistory) {
    skip(GcgFault::tooManyMoves, lineText_);
    return;
  }
  if (!line.rack) {
    unrecognised(lineNumber_, lineText_);
    return;
  }
  if (!rack) {
    skip(rackSpelled ? GcgFault::impossibleRack : GcgFault::badRack, lineText_);
    return;
  }
  if (line.kind == LineKind::withdrawn) {
    withdraw(line, *rack, ownPlayBefore);
    return;
  }
  // An exchange of no tiles at all is a pass.
  if (line.kind == LineKind::exchangeCount && (signedNumber(line.word.substr(1)).value_or(0) <= 0 || rack->total() == 0)) {
    line.kind = LineKind::pass;
  }
  if (game_.gameOver && line.kind == LineKind::pass) {
    // A turn after the end: the turn a failed challenge of the last play
    // cost, or, should the record go on, a pass of a game that our rules
    // ended too soon. It waits until a later move tells which.
    passesAfterEnd_.push_back({p, *rack, lostTurn});
    return;
  }

  Move move;
  std::vector<bool> blanks;
  switch (line.kind) {
    case LineKind::placement:
      if (!buildPlacement(line, *rack, move, blanks)) return;
      if (!firstPlacementSeen_) {
        firstPlacementSeen_ = true;
        game_.openingDown = move.direction == kDown;
      }
      break;
    case LineKind::exchange:
    case LineKind::exchangeCount:
      if (!buildExchange(line, *rack, move)) return;
      break;
    default:
      move.word = lostTurn ? label::incorrectChallenge : label::pass;
      move.setLeave(countsToText(*rack, kLeaveSize - 1).value_or(std::string()));
      break;
  }
  if (!rackFeasible(*rack, p)) {
    skip(GcgFault::impossibleRack, lineText_);
    return;
  }
  if (!prepareTurn(p, *rack, line.kind == LineKind::pass, lostTurn)) return;
  setRack(p, *rack);
  beginAnalysis();
  play(move);
  if (line.kind == LineKind::placement) {
    fixBlanks(p, blanks);
    placedBy_ = p;
  }
  endAnalysis(p);
  check(line, isNonPlacement(game_.lastMove) ? 0 : game_.lastMove.score);
}

void Reader::finish() {
  // A pass after the last play of a finished game: a failed challenge of
  // that play cost the turn.
  if (!passesAfterEnd_.empty() && !game_.history.empty()) {
    const std::size_t last = game_.history.size() - 1;
    if (static_cast<int>(last % 2) != passesAfterEnd_.front().player && !isNonPlacement(game_.history.back().move.move())) {
      game_.history.back().survivedChallenge = true;
    }
  }
  if (!stopped_) applyEndLines();
  if (!stopped_) {
    for (int p = 0; p < 2; ++p) {
      const auto& text = finalRack_[static_cast<std::size_t>(p)];
      if (!text) continue;
      lineNumber_ = finalRackLine_[static_cast<std::size_t>(p)];
      lineText_ = FormatText("#rack%d ", p + 1) + *text;
      const auto tiles = chooseTiles(*text, game_.racks[static_cast<std::size_t>(p)].total(), [&](const LetterCounts& t) {
        return t.total() <= rules().rackSize && rackFeasible(t, p);
      });
      if (!tiles) {
        fault(GcgFault::badRack, lineText_);
        continue;
      }
      if (tiles->total() > rules().rackSize || !setRack(p, *tiles)) {
        fault(GcgFault::impossibleRack, lineText_);
        continue;
      }
      finalRackSet_ = true;
      prepareBoard(game_);
    }
  }
  for (int p = 0; p < 2; ++p) {
    std::string& name = game_.playerNames[static_cast<std::size_t>(p)];
    std::replace(name.begin(), name.end(), '_', ' ');
  }
  for (GcgAnalysisEntry& entry : result_.analysis) entry.before.openingDown = game_.openingDown;
  for (int p = 0; p < 2; ++p) {
    result_.hasStatedFinal[p] = statedTotal_[static_cast<std::size_t>(p)].has_value();
    result_.statedFinal[p] = statedTotal_[static_cast<std::size_t>(p)].value_or(0);
  }
}

}  // namespace

const char* gcgFaultText(GcgFault fault) {
  switch (fault) {
    case GcgFault::lineTooLong: return "line too long, skipped";
    case GcgFault::notRepresentable: return "text outside Latin-1, skipped";
    case GcgFault::unknownPlayer: return "no such player, skipped";
    case GcgFault::playersAdopted: return "no player lines before the moves, name taken from the move line";
    case GcgFault::badRack: return "rack with characters that are no tiles, skipped";
    case GcgFault::impossibleRack: return "rack that cannot be made from the tiles left, skipped";
    case GcgFault::rackNotSet: return "rack of a withdrawal that cannot be made or is not the play's, rack held kept";
    case GcgFault::badPosition: return "position not on the board, skipped";
    case GcgFault::offBoard: return "word running off the board, skipped";
    case GcgFault::badWord: return "characters that are no letters of the game, skipped";
    case GcgFault::dotOnEmptySquare: return "tile said to be on the board where there is none, skipped";
    case GcgFault::noNewTile: return "placement laying no tile, skipped";
    case GcgFault::tilesAdded: return "tiles the move needs were missing from the rack, added";
    case GcgFault::blankChosen: return "a tile missing from the rack was played by its spare blank, or the reverse";
    case GcgFault::boardLetterDiffers: return "letter differs from the tile on the board, the board's used";
    case GcgFault::wordExtended: return "word extended by the tiles beside it";
    case GcgFault::blanksMoved: return "blanks put where the record has them, play scored again";
    case GcgFault::exchangeByCount: return "exchange giving only a count, the last tiles of the rack exchanged";
    case GcgFault::gameReopened: return "move after the game had ended under our rules, game goes on";
    case GcgFault::turnSkipped: return "the same player moved twice, a pass put in for the other";
    case GcgFault::tooManyMoves: return "more moves than a game can have, skipped";
    case GcgFault::sameNicknames: return "both players have this name, each move line given by its running total or turn";
  }
  return "";
}

std::string gcgAlternativeName(const std::string& path) {
  std::string base = path;
  const std::size_t slash = path.find_last_of('/');
  const std::size_t dot = path.find_last_of('.');
  if (dot != std::string::npos && (slash == std::string::npos || dot > slash)) base = path.substr(0, dot);
  std::string name;
  for (int n = 0; n <= 999; ++n) {
    name = base + "-" + std::to_string(n) + ".gcg";
    std::ifstream probe(name, std::ios::binary);
    if (!probe) return name;
  }
  return name;
}

bool gcgReadsAsUtf8(std::string_view bytes) { return looksLikeUtf8(bytes); }

GcgListChoice gcgListForLexiconLine(const std::string& line) {
  const std::string upper = latin1Upper(line);
  auto find = [&](std::string_view token) { return upper.find(token); };
  auto numberAfter = [&](std::size_t at, std::size_t length) { return numberAt(upper, at + length); };
  GcgListChoice choice;
  if (const std::size_t at = find("OSPD"); at != std::string::npos) {
    const int n = numberAfter(at, 4);
    choice.wordList = n == 2 ? "OSPD2.LST" : n >= 4 ? "TWL06.LST" : "ENABLE.LST";
  } else if (find("ENABLE") != std::string::npos) {
    choice.wordList = "ENABLE.LST";
  } else if (const std::size_t at = find("TWL"); at != std::string::npos) {
    choice.wordList = numberAfter(at, 3) <= 90 ? "TWL06.LST" : "ENABLE.LST";
  } else if (find("SOWPODS") != std::string::npos) {
    choice.wordList = "SOWPODS.lst";
  } else if (const std::size_t at = find("CSW"); at != std::string::npos) {
    choice.wordList = numberAfter(at, 3) == 12 ? "CSW12.LST" : "SOWPODS.lst";
  } else if (find("FISE") != std::string::npos) {
    choice = {"FISE.LST", kAlphabetSpanish};
  } else if (find("DANISH") != std::string::npos) {
    choice = {"DANISH.LST", kAlphabetDanish};
  } else if (find("GERMAN") != std::string::npos) {
    choice = {"GERMAN.LST", kAlphabetGerman};
  } else {
    // The names of the lists shipped for English, Spanish and French, which
    // our records give lists that have no name of their own.
    if (find("ENGLISH") != std::string::npos) choice = {"ENGLISH.LST", kAlphabetEnglish};
    if (find("SPANISH") != std::string::npos) choice = {"SPANISH.LST", kAlphabetSpanish};
    if (find("FRENCH") != std::string::npos) choice = {"FRENCH.LST", kAlphabetFrench};
    // Each of these that matches replaces the one before.
    if (find("ITALIAN") != std::string::npos) choice = {"ITALIAN.LST", kAlphabetItalian};
    // "ODS" with an edition number: the French lists (ODS5 and its
    // successors).
    if (const std::size_t at = find("ODS"); at != std::string::npos && at + 3 < upper.size() && isDigit(upper[at + 3])) {
      choice = {"ODS5.LST", kAlphabetFrench};
    }
    if (find("LATIN") != std::string::npos) choice = {"LATIN.LST", kAlphabetLatin};
    if (find("CATALAN") != std::string::npos) choice = {"CATALAN.lst", kAlphabetCatalan};
    if (find("SWEDISH") != std::string::npos) choice = {"SWEDISH.lst", kAlphabetSwedish};
  }
  return choice;
}

GcgReadResult ReadGcg(Game& game, const std::string& path, const GcgReadOptions& options) {
  GcgReadResult result;
  result.alternativeName = gcgAlternativeName(path);
  std::error_code error;
  if (!std::filesystem::exists(path, error)) {
    PrintMessageF(msg::PosFileNotFound, path.c_str());
    return result;
  }
  // Only a regular file: a folder reads as nothing and a pipe could block.
  const auto data = std::filesystem::is_regular_file(path, error) ? readRecord(path) : std::nullopt;
  // A record is text: a file with zero bytes in it is none.
  if (!data || data->find('\0') != std::string::npos) {
    result.nothingRead = true;
    PrintMessageF(msg::GcgNothingRead, path.c_str());
    return result;
  }
  std::string bytes = *data;
  // A byte-order mark says UTF-8.
  const bool bom = bytes.compare(0, 3, "\xEF\xBB\xBF") == 0;
  if (bom) bytes.erase(0, 3);
  const std::vector<RawLine> lines = splitLines(bytes);

  // First pass: the encoding and the word list.
  std::optional<Encoding> declared;
  std::optional<std::string> lexiconLine;
  for (const RawLine& raw : lines) {
    if (raw.tooLong) continue;
    const std::string_view view = trimLeft(raw.text);
    if (!declared && startsWith(view, "#character-encoding")) {
      const std::string name = latin1Lower(trimRight(trimLeft(view.substr(19))));
      if (name == "utf-8" || name == "utf8") declared = Encoding::utf8;
      if (name == "iso-8859-1" || name == "iso8859-1" || name == "iso_8859-1" || name == "latin1" || name == "latin-1") {
        declared = Encoding::latin1;
      }
    }
    if (!lexiconLine && startsWith(view, "#lexicon")) lexiconLine = std::string(trimRight(view));
  }
  const Encoding encoding = declared ? *declared : (bom || looksLikeUtf8(bytes)) ? Encoding::utf8 : Encoding::latin1;
  result.utf8 = encoding == Encoding::utf8;
  GcgListChoice choice;
  if (lexiconLine) {
    if (encoding == Encoding::utf8) lexiconLine = utf8ToLatin1(*lexiconLine).value_or(std::string());
    result.lexiconLine = *lexiconLine;
    choice = gcgListForLexiconLine(*lexiconLine);
  }
  result.wordListChosen = choice.wordList;

  // The record is read into a game of its own, and replaces `game` only
  // when something of a game was read; otherwise the rules, the word-list
  // alphabet and the undo stack go back to what they were.
  const GameRules previousRules = rules();
  const int previousAlphabet = wordListAlphabet();
  UndoStack previousUndo = std::move(undoStack());
  undoStack().clear();
  Game read;

  // The game: the record's language decides the game type, its list the
  // word list (unless the caller gives one).
  std::optional<PendingWordList> pending;
  const std::string& listName = options.wordListName.empty() ? choice.wordList : options.wordListName;
  if (!listName.empty()) pending.emplace(listName);
  if (choice.alphabet != kAlphabetEnglish) setWordListAlphabet(choice.alphabet);
  const int definition = firstDefinitionFor(choice.alphabet);
  if (definition < 0 || !activateGameType(kKindDefined, definition)) activateGameType(kKindStandard);
  std::shared_ptr<Lexicon> lexicon = options.lexicon ? options.lexicon : lexiconFor(game.lexicon, wordListForNewGame());
  setWordListAlphabet(lexicon && lexicon->wordCount() > 0 ? lexicon->alphabet() : choice.alphabet);
  NewGame(read, 2, lexicon);
  result.wordListUsed = read.lexicon ? read.lexicon->fileName() : std::string();

  Reader reader(read, options, result);
  for (const RawLine& raw : lines) reader.line(raw, encoding, declared.has_value());
  reader.finish();
  result.pragmaDiscarded = !result.unrecognised.empty();
  if (!reader.readAnything()) {
    rules() = previousRules;
    setWordListAlphabet(previousAlphabet);
    undoStack() = std::move(previousUndo);
    result.nothingRead = true;
    PrintMessageF(msg::GcgNothingRead, path.c_str());
    return result;
  }
  game = std::move(read);
  result.opened = true;
  return result;
}

}  // namespace pexil
