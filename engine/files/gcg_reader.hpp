// Reading a GCG game record into a new two-player game. The record's moves
// are replayed on the board and every score is computed again; the scores
// the record states are kept beside ours so that a caller can report where
// they differ.
//
// The reader accepts records written by other programs: "." for tiles
// already on the board, positions in either case, partial racks, end-of-
// game rack lines, challenge bonuses and time penalties, notes over several
// lines, UTF-8 text (with or without a "#character-encoding" line; text
// outside Latin-1 cannot be represented and its line is skipped). Faulty
// lines never stop a load: a line that cannot be used is skipped and
// listed as unrecognised, and what could be mended is mended and listed.
#pragma once

#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "files/gcg_analysis.hpp"
#include "state/game.hpp"

namespace pexil {

class Lexicon;

struct GcgReadOptions {
  // Collect the analysis list; "#note" lines are then unrecognised.
  bool analysisMode = false;
  // Replay only the first N moves (history entries); the game is left in
  // the position before the next move, with the rack that move's line
  // gives its player, who is then to move. -1 replays everything.
  int stopAfterMove = -1;
  // Use this word list instead of the one the record names (the record's
  // "#lexicon" line still chooses the alphabet and the game type).
  std::shared_ptr<Lexicon> lexicon;
  // Or load the list of this file instead, once the record's language has
  // chosen the game type, so that it is read in that alphabet.
  std::string wordListName;
};

// Faults the reader met, mended or not.
enum class GcgFault {
  lineTooLong,          // longer than the line buffer: skipped
  notRepresentable,     // characters outside Latin-1, or bytes that are no UTF-8: skipped
  unknownPlayer,        // a move line for neither player: skipped
  playersAdopted,       // move lines before any "#player" line: the names were taken from them
  badRack,              // a rack with characters that are no tiles: skipped
  impossibleRack,       // a rack needing tiles that do not exist (or too many): skipped
  rackNotSet,           // the rack of a withdrawal cannot be made or is not the play's: the rack held is kept
  badPosition,          // a position that is not on the board: skipped
  offBoard,             // a word running off the board: skipped
  badWord,              // characters that are no letters of the game: skipped
  dotOnEmptySquare,     // "." where the board has no tile: skipped
  noNewTile,            // a placement that lays no tile: skipped
  tilesAdded,           // tiles the play needed were missing from the rack: added
  blankChosen,          // a letter the rack lacked was played by its spare blank (or the reverse)
  boardLetterDiffers,   // the word names another letter than the board has: the board's is used
  wordExtended,         // tiles adjoining the word on the board: the word now includes them
  blanksMoved,          // the game put the blanks elsewhere: moved where the record has them
  exchangeByCount,      // "-N": N tiles exchanged, which tiles unknown
  gameReopened,         // a move after the game had ended under our rules: the game goes on
  turnSkipped,          // a player moved twice in a row: a pass was put in for the other
  tooManyMoves,         // more moves than any game can have: skipped
  sameNicknames,        // two players of one name: each move line given to a player by its running total
};

// A short English description of a fault, for reports.
const char* gcgFaultText(GcgFault fault);

struct GcgLine {
  int number = 0;  // 1-based line number in the file
  std::string text;
};

struct GcgFaultNote {
  int line = 0;
  GcgFault fault = GcgFault::badRack;
  std::string text;  // the line, as read
};

// One move line that made a move, with the score the record states and the
// one computed from the board.
struct GcgMoveCheck {
  int line = 0;
  int moveNumber = 0;     // 1-based history entry number
  int player = 0;         // 0 or 1
  std::string moveText;   // the position and word (or "-", "-TILES", "--") as the record has them
  bool hasStatedScore = false;
  int statedScore = 0;
  int computedScore = 0;
  bool hasStatedTotal = false;
  int statedTotal = 0;
  int computedTotal = 0;  // the player's score after the line
  bool scoresDiffer() const { return hasStatedScore && statedScore != computedScore; }
};

struct GcgReadResult {
  bool opened = false;
  // Some line was not used (the discarded-pragma warning is due).
  bool pragmaDiscarded = false;
  // Where "Save game" writes instead, so as not to overwrite the record.
  std::string alternativeName;
  std::vector<GcgLine> unrecognised;
  std::vector<GcgFaultNote> faults;
  std::vector<GcgMoveCheck> moves;
  // The word list the "#lexicon" line chose (empty without one), and the
  // one the game was set up with.
  std::string lexiconLine;
  std::string wordListChosen;
  std::string wordListUsed;
  bool utf8 = false;
  // The totals the record last states for each player (end-of-game lines
  // and time penalties included), when it states any.
  bool hasStatedFinal[2] = {false, false};
  int statedFinal[2] = {0, 0};
  // When nothing of a game could be read (an empty or binary file, a
  // folder, a record whose every line was skipped): `opened` is false and
  // the game was left as it was.
  bool nothingRead = false;
  // A record with end-of-game rack lines is scored as they state. When
  // that is not what our rule for the end gives with the same racks, the
  // difference is told here (information, not a fault of the record).
  struct EndRule {
    bool differs = false;
    int line = 0;          // the first end-of-game line
    int stated[2] = {0, 0};
    int ours[2] = {0, 0};
  } endRule;
  GcgAnalysis analysis;  // filled in analysis mode
};

// Replaces `game` by the record in `path`. A file that cannot be opened
// prints "File %s not found."; one that holds nothing of a game prints
// that nothing could be read. Either leaves the game (with the active
// rules and the undo stack) as it was.
GcgReadResult ReadGcg(Game& game, const std::string& path, const GcgReadOptions& options = {});

// The name "Save game" uses after a load that discarded lines: the path
// without its extension plus "-N.gcg" for the first N from 0 to 999 under
// which no file exists (the last one when all do).
std::string gcgAlternativeName(const std::string& path);

// Whether a record without an encoding line is read as UTF-8: its bytes
// are UTF-8 and not all of them ASCII.
bool gcgReadsAsUtf8(std::string_view bytes);

// The word list and alphabet a "#lexicon" line chooses; an empty name when
// the line names no list the program knows.
struct GcgListChoice {
  std::string wordList;
  int alphabet = 0;
};
GcgListChoice gcgListForLexiconLine(const std::string& line);

}  // namespace pexil
