#include "files/game_analysis_report.hpp"

#include <algorithm>
#include <array>
#include <chrono>
#include <cmath>
#include <filesystem>

#include "files/gcg_reader.hpp"
#include "lexicon/lexicon.hpp"
#include "movegen/evaluation.hpp"
#include "movegen/move_line.hpp"
#include "play/game_flow.hpp"
#include "rules/board_text.hpp"
#include "rules/game_rules.hpp"
#include "search/endgame.hpp"
#include "search/endgame_state.hpp"
#include "search/fast_lookahead.hpp"
#include "search/guess_summary.hpp"
#include "search/tile_inference.hpp"
#include "state/abort_flag.hpp"
#include "text/messages.hpp"
#include "text/text_pane.hpp"

namespace pexil {
namespace {

constexpr int kEndgameBudget = 3000;  // hundredths of a second

void line(const std::string& text) { textPane().Print(text + "\n"); }

std::string padded(std::string text, std::size_t width) {
  if (text.size() < width) text.append(width - text.size(), ' ');
  return text;
}

bool isPhony(const Game& game, const Move& move) {
  if (isNonPlacement(move)) return false;
  if (move.wordClass == kClassPhony || move.phonyCross) return true;
  return game.lexicon && game.lexicon->findEntry(move.wordView()) == kNoEntry;
}

// The win chance a candidate's search gave it, in percent.
double winOf(const Move& move, bool endgame) {
  if (endgame) return move.equity > 0 ? 100.0 : move.equity == 0 ? 50.0 : 0.0;
  return move.simValueB;
}

struct Candidates {
  std::vector<Move> shown;  // best first, at most topMoves
  int simulated = 0;        // candidates with iterations
  long long simulations = 0;
  bool havePlayed = false;  // the played move was searched
  double bestWin = 0, playedWin = 0;
};

Candidates gather(const Game& game, const Move& played, bool endgame, int top) {
  Candidates result;
  const std::vector<Move>& list = game.moves;
  bool first = true;
  for (const Move& move : list) {
    const bool searched = endgame ? move.equity != kNotSearched : move.simValueA != kNoSimValue && move.simCount > 0;
    if (!searched) continue;
    if (!endgame) {
      ++result.simulated;
      result.simulations += move.simCount;
    }
    if (first) {
      result.bestWin = winOf(move, endgame);
      first = false;
    }
    if (!result.havePlayed && SameMove(move, played)) {
      result.havePlayed = true;
      result.playedWin = winOf(move, endgame);
    }
    if (static_cast<int>(result.shown.size()) < top) result.shown.push_back(move);
  }
  return result;
}

void printBoard(const Board& board) {
  for (const std::string& text : boardTextLines(board)) line(text);
  line("");
}

void printScores(const Game& game) {
  std::string text;
  for (int p = 0; p < std::min(2, game.playerCount); ++p) {
    if (p > 0) text += "     ";
    text += padded(playerName(game, p), 16) + FormatText(" %4d", game.scores[static_cast<std::size_t>(p)]);
  }
  line(text);
}

void printRack(const Game& game, const GcgAnalysisEntry& entry) {
  if (entry.rack.total() > 0) {
    line(tilesDisplayText(rackString(entry.rack)));
    return;
  }
  const std::string& known = game.knownTiles[static_cast<std::size_t>(entry.mover)];
  if (!known.empty()) line(std::string(Message(msg::AnalysisKnownOnRack)) + tilesDisplayText(known));
}

void printCandidates(const Game& game, int mover, const Candidates& found, const Move& played, bool endgame) {
  int rank = 0;
  for (Move move : found.shown) {
    ++rank;
    const char* mark = isPhony(game, move) ? " PHONEY " : SameMove(move, played) ? " PLAYED " : "        ";
    std::string text;
    if (endgame) {
      const int spread = move.equity;
      move.simValueA = kEndgameResultMark;
      move.simValueB = static_cast<float>(winOf(move, true));
      text = MoveLine(game, mover, move, FormatText("%s%03d. ", mark, rank)) + FormatText("  %+d", spread);
    } else {
      MoveLineOptions options;
      options.longForm = true;
      text = MoveLine(game, mover, move, FormatText("%s%03d. ", mark, rank), options);
    }
    line(text);
  }
}

// The inference section: what is known of the opponent's last move and
// rack, and per letter the chance that the rack it kept holds it.
void printInference(Game& game, int number, int threads) {
  line(std::string(80, '='));
  line(FormatMessage(msg::AnalysisInferenceHeading, number));
  const int opponent = (game.toMove + game.playerCount - 1) % std::max(1, game.playerCount);
  const std::string& known = game.knownTiles[static_cast<std::size_t>(opponent)];
  if (!known.empty()) line(std::string(Message(msg::InferKnownOnOpponentRack)) + tilesDisplayText(known));
  if (game.history.empty()) {
    textPane().Print(Message(msg::InferFirstTurn));
    return;
  }
  const Move& last = game.history.back().move.move();
  if (isPass(last)) {
    line(Message(msg::InferKnownPass));
  } else if (isExchange(last)) {
    line(Message(msg::InferKnownExchange));
  } else if (!isNonPlacement(last)) {
    line(FormatMessage(msg::InferKnownPlayed, moveLineWord(last, nullptr).c_str()));
    if (last.leaveView().empty() && game.history.back().rackKnown) {
      textPane().Print(Message(msg::InferBingo));
      return;
    }
  }
  game.knownRacks.clear();
  const bool quiet = game.quiet;
  game.quiet = true;
  const int racks = GuessOpponentRack(game, threads);
  game.quiet = quiet;
  if (racks <= 0) {
    textPane().Print(Message(msg::InferNoGuess));
    return;
  }
  if (game.averageOpponentRack > 0.0f) {
    line(FormatMessage(msg::InferOpponentBetter, static_cast<double>(game.averageOpponentRack)));
  } else if (game.averageOpponentRack < 0.0f) {
    line(FormatMessage(msg::InferOpponentWorse, -static_cast<double>(game.averageOpponentRack)));
  }
  // One row per letter: the share of the guessed racks holding one or
  // more of it, two or more, and the chance of a random rack holding one.
  line(Message(msg::InferTableHeading));
  const GuessSummary summary = SummarizeGuess(game);
  for (const LetterLikelihood& letter : summary.letters) {
    int twoOrMore = 0;
    for (const Rack& rack : game.knownRacks) twoOrMore += rack[letter.code] >= 2 ? 1 : 0;
    const double two = 100.0 * twoOrMore / static_cast<double>(game.knownRacks.size());
    line(FormatText("  %-4s 1x %5.1f%%   2x %5.1f%%   chance %5.1f%%", tileDisplayText(letter.code).c_str(),
                    100.0 * letter.guessed, two, 100.0 * letter.chance));
  }
  line(Message(msg::InferTableNote));
}

// A heat map as rows of cells: the share of the recorded moves that
// covered each square.
void printHeatMap(const HeatMap& map) {
  for (int row = 0; row < map.height; ++row) {
    std::string text = FormatText("%2d", row + 1);
    for (int column = 0; column < map.width; ++column) {
      const int count = map.counts[static_cast<std::size_t>(row * map.width + column)];
      const double percent = map.moves > 0 ? 100.0 * count / map.moves : 0.0;
      text += percent >= 100.0 ? " 100.0%" : FormatText(" %5.1f%%", percent);
    }
    line(text);
  }
}

void printHeatMaps(const Game& game, int number, int mover, const Candidates& found) {
  for (const Move& move : found.shown) {
    const SimulationStats* stats = simulationStatsOf(game, move);
    if (stats == nullptr || !stats->hasHeatMaps) continue;
    line(std::string(80, '='));
    line(FormatMessage(msg::AnalysisHeatmapHeading, number) + MoveLine(game, mover, move, std::string()));
    printHeatMap(stats->replyHeat);
    line("");
    printHeatMap(stats->nextHeat);
  }
}

}  // namespace

std::string AnalysisReportPath(const std::string& recordPath) {
  std::filesystem::path path(recordPath);
  path.replace_extension(".analysis.txt");
  return path.string();
}

std::string AnalysisProgressLine(int number, int total, double secondsSoFar) {
  std::string text = FormatMessage(msg::AnalysisProgress, number, total);
  if (number > 1 && secondsSoFar > 0) {
    const double perMove = secondsSoFar / (number - 1);
    const long left = std::lround(perMove * (total - number + 1));
    text += FormatText(" (about %ld:%02ld left)", left / 60, left % 60);
  }
  return text;
}

GameAnalysisSummary AnalyzeGameRecord(const std::string& recordPath, const GameAnalysisOptions& options,
                                      const GameAnalysisProgress& progress) {
  GameAnalysisSummary summary;
  Game record;
  GcgReadOptions read;
  read.analysisMode = true;
  read.lexicon = options.lexicon;
  read.wordListName = options.wordListName;
  const GcgReadResult result = ReadGcg(record, recordPath, read);
  if (!result.opened) return summary;
  summary.opened = true;
  std::array<double, 2> givenUp{};
  std::array<int, 2> counted{};
  const int total = static_cast<int>(result.analysis.size());
  for (int number = 1; number <= total; ++number) {
    if (abortRequested()) {
      summary.aborted = true;
      break;
    }
    if (progress) progress(number, total);
    const GcgAnalysisEntry& entry = result.analysis[static_cast<std::size_t>(number - 1)];
    Game game = entry.before;
    game.quiet = true;
    game.threads = std::max(1, options.threads);
    game.trackHeatmaps = options.heatmaps;
    const Move played = entry.move.move();
    const int mover = entry.mover;

    line(std::string(80, '='));
    line(std::string(Message(msg::AnalysisMoveNumber)) + std::to_string(number));
    line("");
    printBoard(game.board);
    printScores(game);
    printRack(game, entry);
    textPane().Print(FormatMessage(msg::PlayPlayed, playerName(game, mover).c_str()));
    line(MoveLine(game, mover, played, std::string()));
    if (played.word == label::lostChallenge) line(Message(msg::AnalysisChallengedOff));

    const bool endgame = game.playerCount == 2 && IsEndgame(game);
    if (endgame) {
      line(Message(msg::AnalysisEndgame));
      FillOpponentRackFromBag(game);
      game.timeBudget = options.timeBudget > 0 ? options.timeBudget : kEndgameBudget;
      EndgameSearch(game);
    } else {
      line(FormatMessage(msg::AnalysisSimulationHeading, options.ply));
      game.timeBudget = options.timeBudget;
      if (played.word != label::lostChallenge && played.word != label::incorrectChallenge) game.alsoSimulate = {played};
      game.minSimulations = options.minSimulations;
      game.minSimulatedTop = options.topMoves;
      FastLookahead(game, options.ply, game.threads);
    }
    const Candidates found = gather(game, played, endgame, std::max(1, options.topMoves));
    printCandidates(game, mover, found, played, endgame);
    if (!endgame && found.simulated > 0) line(FormatMessage(msg::AnalysisSimulated, found.simulated, static_cast<int>(found.simulations)));
    if (found.havePlayed && mover >= 0 && mover < 2) {
      givenUp[static_cast<std::size_t>(mover)] += found.bestWin - found.playedWin;
      ++counted[static_cast<std::size_t>(mover)];
    }
    line(Message(msg::AnalysisWinGivenUp));
    for (int p = 0; p < std::min(2, game.playerCount); ++p) {
      std::string text = "   " + padded(playerName(game, p), 16) + FormatText(" %.2f", givenUp[static_cast<std::size_t>(p)]);
      if (counted[static_cast<std::size_t>(p)] > 0) {
        text += FormatText(" (%.2f avg.)", givenUp[static_cast<std::size_t>(p)] / counted[static_cast<std::size_t>(p)]);
      }
      line(text);
    }
    if (options.tileGuesses) {
      Game before = entry.before;
      before.quiet = true;
      before.averageOpponentRack = game.averageOpponentRack;
      printInference(before, number, game.threads);
    }
    if (options.heatmaps && !endgame) printHeatMaps(game, number, mover, found);
    ++summary.moves;
  }
  return summary;
}

}  // namespace pexil
