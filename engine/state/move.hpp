// The Move record: one candidate play, a fixed-size value copied into move
// lists and sorted by value. Non-placement moves carry one of the fixed
// labels below as their word and are recognised by the label's identity.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

namespace pexil {

// The labels of non-placement moves.
namespace label {
extern const char pass[];              // "(Pass)"
extern const char exchange[];          // "(Exchange)": keeps only the blanks
extern const char exchangeRetains[];   // "(Xchg RETAINS)"
extern const char exchangeX[];         // "(Xchg X)"
extern const char exchangeS[];         // "(Xchg S)"
extern const char exchangeOptimal[];   // "(Xchg optimal)"
extern const char exchangedTiles[];    // "(Exchanged tiles)": an exchange entered by a user
extern const char lostChallenge[];     // "(Lost challenge)"
extern const char incorrectChallenge[];// "(Incorrect challenge)"
}  // namespace label

inline constexpr int kBlankSlots = 8;
inline constexpr int kLeaveSize = 36;
inline constexpr float kNoSimValue = -9999999.0f;

struct Move {
  const char* word = label::pass;  // lexicon text (not owned) or a label
  int column = 0;
  int row = 0;
  int direction = 0;  // 0 across, 1 down
  int score = 0;      // points, bingo bonus included
  int equity = 0;     // tenths of a point: score x 10 + leave value + adjustments
  float simValueA = kNoSimValue;
  float simValueB = 0.0f;
  std::uint8_t winsByGoingOut = 0;
  int strategy = 0;
  std::array<int, kBlankSlots> blankPositions = {-1, -1, -1, -1, -1, -1, -1, -1};
  std::array<char, kLeaveSize> leave{};  // upper case, alphabet order, NUL-terminated
  int bonus = 0;                         // tenths: the static adjustments in equity
  int simCount = 0;
  int simPly = 0;
  std::uint8_t simByWinProb = 0;
  float simMedian = 0.0f;
  float simValueC = kNoSimValue;
  std::int32_t simStats = -1;  // index of the move's simulation statistics in its game, or -1
  int wordClass = 0;
  std::uint8_t phonyCross = 0;  // forms a phony-class cross-word

  std::string_view wordView() const { return word ? std::string_view(word) : std::string_view(); }
  std::string_view leaveView() const { return std::string_view(leave.data()); }
  void setLeave(std::string_view text);
  // Whether some blank slot holds this index of the word.
  bool isBlankAt(int index) const;
};

// The six exchange labels.
bool isExchange(const Move& move);

// The alphabet positions (letter codes) whose tiles an exchange label
// keeps, one tile of each that the rack holds, besides every blank:
// "(Exchange)" none; "(Xchg RETAINS)" 0 4 8 13 17 18 19 (A E I N R S T in
// English); "(Xchg X)" 23; "(Xchg S)" 18. Used as they stand for every
// language. Empty for the other labels.
struct KeptPositions {
  int codes[7];
  int count;
};
KeptPositions keptPositionsOf(const char* label);
// Whether two moves are the same play: the same label (an exchange
// keeping the same tiles), or the same word at the same square and
// direction with the blanks in the same places.
bool SameMove(const Move& a, const Move& b);

// An exchange, a pass or a challenge outcome.
bool isNonPlacement(const Move& move);
bool isPass(const Move& move);

}  // namespace pexil
