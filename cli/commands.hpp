// The commands of pexil-cli.
#pragma once

#include <filesystem>
#include <optional>
#include <string>

#include "options.hpp"
#include "state/game.hpp"

namespace pexil::cli {

// Usage lines printed through the text pane (after "Invalid option or
// value:") write alternatives with '/', since the pane takes '|' for a
// highlight mark; the help texts, printed directly, keep '|'.

// Runs one command with its own options; returns the process exit code.
// An empty command runs the main job.
int runCommand(const std::string& command, const Arguments& args);

// The usage text listing every command.
std::string usageText();
// The usage of one command, or none for an unknown one.
std::optional<std::string> commandUsage(const std::string& command);
bool isCommandName(const std::string& word);

// The position of the move commands: --open POSITION/RECORD [--move N]
// [--rack TILES], or --board FILE --rack TILES (the opponents dealt from
// what is left). 0, or the exit code after reporting what was wrong.
int setUpMoverPosition(const ParsedOptions& options, Game& game);
// A move's word as it lies on the board once played (board tiles set apart
// by highlight marks).
std::string moveWordOnBoard(const Game& game, const Move& move);
// The main list after an endgame search: word, position, score and the
// final spread of each move's line ("-" when not searched), `top` lines;
// moves from exactMoves on show their values as upper bounds ("<=").
void printEndgameList(const Game& game, int top, int exactMoves = -1);

// The computer's endgame options of play and autoplay: --exact-endgame
// (the exact solver instead of the selective search) and
// --greedier-endgame.
void applyEndgameOptions(const ParsedOptions& options);

// The racks of the game's known-rack list, distinct, with their shares,
// the likeliest `top` of them (infer, and infer inside play).
void printListedRacks(const Game& game, int top);

// Tiles typed as known to be on the previous player's rack (decoded to
// Latin-1, written as racks are typed; empty forgets them): made the
// game's known-rack list. False after saying what was wrong.
bool setKnownTiles(Game& game, const std::string& typed);

// Command handlers, by area.
int runMainJob(const Arguments& args);
int runTypes(const Arguments& args);
int runBoard(const Arguments& args);
int runDeal(const Arguments& args);
int runBuildGraph(const Arguments& args);
int runBuildBinary(const Arguments& args);
int runBench(const Arguments& args);
int runStrengthTest(const Arguments& args);
int runOpeningBook(const Arguments& args);
// bench suite and bench positions (tool_commands.cpp).
int benchSuite(const ParsedOptions& options);
int benchPositions(const ParsedOptions& options);
int runCheck(const Arguments& args);
int runHooks(const Arguments& args);
int runAnagram(const Arguments& args);
int runPattern(const Arguments& args);
int runDefine(const Arguments& args);
int runMoves(const Arguments& args);
int runSimulate(const Arguments& args);
int runEndgame(const Arguments& args);
int runPeg(const Arguments& args);
int runAnalyze(const Arguments& args);
int runInfer(const Arguments& args);
int runHighest(const Arguments& args);
int runLeaves(const Arguments& args);
int runPlay(const Arguments& args);
int runAutoplay(const Arguments& args);
int runOpenPosition(const Arguments& args);
int runSavePosition(const Arguments& args);
int runOpenGame(const Arguments& args);
int runSaveGame(const Arguments& args);
int runReplayGcgCommand(const Arguments& args);
int runRateDraws(const Arguments& args);
int runReport(const Arguments& args);
int runBoardImage(const Arguments& args);
int runAnalyseGame(const Arguments& args);
int runBuildData(const Arguments& args);
int runStrategies(const Arguments& args);
int runSettings(const Arguments& args);
int runUpload(const Arguments& args);
int runHelp(const Arguments& args);

// While on, Ctrl-C raises the abort flag that a running search polls
// instead of ending the program (a second Ctrl-C still ends it). Defined
// beside the signal handler in main.cpp.
void setInterruptStopsSearch(bool on);

// A file named by the user to be written (or a folder to write into): a
// relative name is taken from the folder the program was started in, not
// the data folder.
std::string userFilePath(const std::string& name);
// A file named by the user to be read: from the folder the program was
// started in when it is there, otherwise the data file of that name (as in
// "--list ENGLISH.LST"). A name found in neither gives userFilePath(name).
std::string userInputPath(const std::string& name);
void setLaunchFolder(const std::filesystem::path& folder);

}  // namespace pexil::cli
