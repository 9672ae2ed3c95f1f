// What the commands keep between them (the files of the game, the pending
// word listing, the seat of the computer in a game against it) and the
// command numbers they test. Internal to the commands' files.
#pragma once

#include <chrono>
#include <memory>
#include <string>

#include "commands.hpp"
#include "files/game_file_actions.hpp"
#include "lexicon/word_queries.hpp"
#include "recent_files.hpp"
#include "state/game.hpp"

namespace pexil::ui {

namespace cmd {
inline constexpr int openGame = 509;
inline constexpr int saveGame = 510;
inline constexpr int saveGameAs = 511;
inline constexpr int analyzeGame = 512;
inline constexpr int openPosition = 513;
inline constexpr int savePosition = 514;
inline constexpr int savePositionAs = 515;
inline constexpr int saveRecap = 516;
inline constexpr int saveRatings = 517;
inline constexpr int newGame = 523;
inline constexpr int playPexil = 524;
inline constexpr int autoplay = 525;
inline constexpr int beep = 526;
inline constexpr int setClock = 527;
inline constexpr int setScores = 531;
inline constexpr int playerNames = 532;
inline constexpr int jumpStart = 535;
inline constexpr int jumpEnd = 536;
inline constexpr int annotate = 537;
inline constexpr int forfeit = 539;
inline constexpr int simulationResults = 544;
inline constexpr int makeMove = 547;
inline constexpr int quickMove = 548;
inline constexpr int fastLookahead = 550;
inline constexpr int staticEndgameInSimulation = 563;
inline constexpr int wordKnowledge = 569;
inline constexpr int analyzeMove = 552;
inline constexpr int clockMove = 553;
inline constexpr int recall = 554;
inline constexpr int pass = 555;
inline constexpr int exchange = 556;
inline constexpr int challengeLast = 557;
inline constexpr int challengeSettings = 558;
inline constexpr int highestScore = 559;
inline constexpr int abort = 561;
inline constexpr int setRack = 579;
inline constexpr int fillFromWell = 581;
inline constexpr int newRack = 582;
inline constexpr int knownTiles = 583;
inline constexpr int shuffleRack = 584;
inline constexpr int rateDraw = 585;
inline constexpr int leaveGuess = 586;
inline constexpr int leaveValues = 587;
inline constexpr int undo = 590;
inline constexpr int redo = 591;
inline constexpr int copyPane = 592;
inline constexpr int copyVisible = 593;
inline constexpr int copySimulation = 594;
inline constexpr int definition = 596;
inline constexpr int checkWord = 597;
inline constexpr int selectLexicon = 598;
inline constexpr int frontHooks = 599;
inline constexpr int backHooks = 600;
inline constexpr int anagrams = 601;
inline constexpr int pattern = 602;
inline constexpr int phonies = 604;
inline constexpr int customText = 617;
inline constexpr int customBackground = 618;
inline constexpr int customBlank = 626;
inline constexpr int runBenchmarks = 628;
inline constexpr int lastBenchmark = 629;
inline constexpr int strengthTests = 630;
inline constexpr int openingBook = 631;
inline constexpr int website = 638;
}  // namespace cmd

struct Commands::State {
  GameFileNames files;
  // Changes of the game since it was set up, and their count when it was
  // last saved or opened.
  long changes = 0;
  long savedAt = 0;
  // The pending listing of a word tool.
  WordResults words;
  // A game against the computer: its seat (-1: none) and how it plays
  // (a fixed depth, or 0 for its clock).
  int computerSeat = -1;
  int computerPly = 0;
  bool computerMovesAutomatically = true;
  // The seat the computer had in the last game against it (for "Alternate
  // the first turn").
  int lastComputerSeat = 1;
  // When the user's turn began, for the user's clock.
  std::chrono::steady_clock::time_point turnStart = std::chrono::steady_clock::now();
  // The files opened or saved last.
  RecentFiles recent;
  // The number of players chosen last in "Start game...".
  int players = 2;
};

// Whether the command makes or looks for a move of the player to move
// (disabled once the game is over).
bool MovesInGame(int number);
// Whether the command changes the game (disabled while anything runs).
bool ChangesGame(int number);
// The settings that menu items toggle, or null.
bool Settings::*ToggledSetting(int number);

}  // namespace pexil::ui
