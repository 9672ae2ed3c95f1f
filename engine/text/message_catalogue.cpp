// Texts of the message catalogue. Each table is written as (number, text)
// pairs and laid out by number at compile time; a number given twice in one
// table stops the build.
#include "text/message_catalogue.hpp"

#include <cstddef>

#include "text/message_ids.hpp"

namespace pexil::catalogue {
namespace {

struct Entry {
  int number;
  const char* text;
};

template <std::size_t N>
constexpr Table layOut(const Entry (&entries)[N]) {
  Table table{};
  for (const Entry& entry : entries) {
    if (entry.number < 0 || entry.number >= kSize) throw "message number out of range";
    if (table[static_cast<std::size_t>(entry.number)] != nullptr) throw "message number given twice";
    table[static_cast<std::size_t>(entry.number)] = entry.text;
  }
  return table;
}

constexpr Entry kEnglish[] = {
    {msg::Welcome, "Welcome to Pexil crossword puzzle game software."},
    {msg::Ownership, "Pexil is the work of its authors. All rights reserved."},
    {msg::Version, "Version 0.1.8, built Dec 31 2013"},
    {msg::SelectGameType, "Please select a game type to begin."},
    {msg::NoGameDefinitions, "No game definitions found."},
    {msg::GameReady, "The game is ready."},
    {msg::MoreMoves, "Type 'y' to see more moves."},
    {msg::MoreWords, "Type 'y' to see more words."},

    {msg::DefsWarning, "Warning: Syntax error in game \"%s\" %s"},
    {msg::DefsUnnamed, "(unnamed)"},
    {msg::DefsUnknownLine, "unknown line"},
    {msg::DefsNoGameName, "Fatal error: couldn't find game name\n"},
    {msg::DefsNoPlayerCount, "couldn't find number of players"},
    {msg::DefsUnknownBonusType, "unknown bonus square type"},
    {msg::DefsSymbolTooLong, "use only one character to represent a square"},
    {msg::DefsAmbiguousSymbol, "ambiguous representation of bonus squares"},
    {msg::DefsInvalidColour, "invalid square color"},
    {msg::DefsUnexpectedEndOfLine, "unexpected end of line"},
    {msg::DefsNoWordListName, "couldn't find default word list name?"},
    {msg::DefsNoValidatingListName, "couldn't find validating word list name as argument to \"markphonies\"?"},
    {msg::DefsBoardWithoutSize, "Error: board without board dimensions"},
    {msg::DefsBadCopyboardArgument, "Missing or invalid copyboard argument\n"},
    {msg::DefsUnknownCopyboardGame, "Game unknown in copyboard\n"},
    {msg::DefsBadCopyArgument, "Missing or invalid copy argument\n"},
    {msg::DefsUnknownCopyGame, "Game unknown in copy\n"},
    {msg::DefsSyntaxError, "Syntax error: Unknown line"},
    {msg::DefsUnknownTileLetter, "unknown letter or digraph for tile: %c"},
    {msg::DefsTileEndOfLine, "unexpected end of line in tile"},
    {msg::DefsBadBoardRow, "Error reading board in game \"%s\" -- invalid size for board string"},
    {msg::DefsUnknownSquareChar, "unknown square character %c"},
    {msg::DefsNoName, "Invalid game description -- no name for game!\n"},
    {msg::DefsTooFewPlayers, "Invalid game description -- min players is too small!\n"},
    {msg::DefsMaxBelowMin, "Invalid game description -- max players < min players!\n"},
    {msg::DefsTooManyPlayers, "Invalid game description -- too many players (maximum is 16)\n"},
    {msg::DefsZeroBoard, "Invalid game description -- zero board dimensions\n"},
    {msg::DefsBoardTooBig, "Invalid game description -- board is too big (maximum allowed side is 32 squares)\n"},
    {msg::DefsStartOffBoard, "Invalid game description -- starting square is outside of the board?\n"},
    {msg::DefsNoBoard, "Invalid game description -- didn't set game board?\n"},
    {msg::DefsRackTooSmall, "Invalid game description -- rack size too small\n"},
    {msg::DefsRackTooLarge, "Invalid game description -- rack size too large (maximum is 32)\n"},
    {msg::DefsErrorInGame, "(Error in game description \"%s\")\n"},
    {msg::DefsFileNotFound, "Could not open the game definitions file \"%s\"; no game types are available.\n"},
    {msg::DefsMissingGameEnd, "has no \"GameEnd\" line and is ignored"},
    {msg::DefsReadFailed, "Reading the game definitions file \"%s\" failed; the game types read so far are kept.\n"},

    {msg::DefsTileOutOfRange, "Invalid game description -- tile count (0 to 10000) or value (-1000 to 1000) out of range\n"},

    {msg::MarkQuick, "Quick:"},
    {msg::MarkFastSim, "FastSim:"},
    {msg::MarkLook, "Look:"},
    {msg::MarkEndgame, "Endgame:"},
    {msg::MarkForBestMove, "for best move"},
    {msg::MarkSimulationPass, "simulation pass"},

    {msg::CliUnknownGameType, "Unknown game type \"%s\". Type \"pexil-cli types\" to list them."},
    {msg::CliNoGameTypes, "No game types are available."},
    {msg::CliGameTypesHeading, "Game types:"},
    {msg::CliUnknownCommand, "Unknown command \"%s\". Type \"pexil-cli help\" for the list of commands."},
    {msg::CliDataDirMissing, "Cannot use \"%s\" as the data folder."},
    {msg::CliBadOption, "Invalid option or value: %s"},
    {msg::CliBoardHeading, "Board of \"%s\":"},
    {msg::CliRackDealt, "Rack: %s   (%d tiles left in the bag)"},
    {msg::CliWellHeading, "Bag (%d tiles):"},
    {msg::CliBuiltInKind, "built-in game kind %d"},
    {msg::CliCannotWrite, "Cannot write \"%s\"."},
    {msg::CliGraphWritten, "Wrote %s: %d nodes for %d words."},
    {msg::CliBoardFileUnreadable, "Cannot read the board file \"%s\"."},
    {msg::CliBoardFileTooLarge, "The board file \"%s\" is too large for a board (more than %d bytes)."},
    {msg::CliBoardRowCount, "Board file \"%s\": expected %d rows, found %d."},
    {msg::CliBoardColumnCount, "Board file \"%s\", row %d: expected %d columns, found %d."},
    {msg::CliBoardBadLetter, "Board file \"%s\", row %d, column %d: %s is not a letter of this game."},
    {msg::CliBoardUnusableSquare,
     "Board file \"%s\", row %d, column %d: a tile on a square outside the playing area."},
    {msg::CliTooManyTiles, "Too many '%s' tiles: %d on the board and %d on the rack, but the set has %d."},
    {msg::CliRackBadTile, "Rack \"%s\": %s is not a tile of this game."},
    {msg::CliRackSize, "Rack \"%s\": a rack holds 1 to %d tiles, not %d."},
    {msg::CliMovesGenerated, "Rack %s: %d moves generated."},
    {msg::CliMovesBest, "Rack %s: the best move."},
    {msg::CliMovesColumnWord, "Move"},
    {msg::CliMovesColumnPosition, "Pos."},
    {msg::CliMovesColumnScore, "Score"},
    {msg::CliMovesColumnLeave, "Leave"},
    {msg::CliMovesColumnEquity, "Equity"},
    {msg::CliMovesMore, "(%d more; --top N lists more.)"},
    {msg::CliHighestStopKey, "Press Ctrl-C to stop the search."},
    {msg::CliHighestStopsAfter, "The search runs for %s s (Ctrl-C stops it sooner)."},

    {msg::LexReading, "Reading word list \"%s\"...\n"},
    {msg::LexWordCount, "%d words in word list.\n"},
    {msg::LexCannotRead, "The word list \"%s\" could not be read; the lexicon is empty.\n"},
    {msg::LexCannotReadClassList, "The word list \"%s\" could not be read; words are not marked by it.\n"},
    {msg::LexGraphDoesNotFit, "The word graph \"%s\" does not fit the word list and is ignored.\n"},
    {msg::LexPackStars, "*****************************************************\n"},
    {msg::LexPackLine1, "It appears that you do not have the %s\n"},
    {msg::LexPackLine2, "language lexicon pack installed. Without the lexicon\n"},
    {msg::LexPackLine3, "pack, Pexil will play a much weaker and a slower game.\n"},
    {msg::LexPackLine4, "The lexicon pack for this language can be downloaded\n"},
    {msg::LexPackLine5, "or built with Pexil's own data command (scripts/setup).\n"},
    {msg::LexPackLine6, "Unzip the lexicon pack into the Pexil directory to\n"},
    {msg::LexPackLine7, "install it.\n"},
    {msg::LanguageUnknown, "unknown"},
    {msg::LanguageNameEnglish, "English"},
    {msg::LanguageNameEnglish + 1, "Spanish"},
    {msg::LanguageNameEnglish + 2, "Danish"},
    {msg::LanguageNameEnglish + 3, "French"},
    {msg::LanguageNameEnglish + 4, "German"},
    {msg::LanguageNameEnglish + 5, "Italian"},
    {msg::LanguageNameEnglish + 6, "Latin"},
    {msg::LanguageNameEnglish + 7, "Catalan"},
    {msg::LanguageNameEnglish + 8, "Swedish"},

    {msg::QueryValidWord, "That is a valid word in the current lexicon."},
    {msg::QueryInvalidWord, "That is not a valid word in the current lexicon."},
    {msg::QueryFrontHooksHeading, "Front hooks '%s'"},
    {msg::QueryBackHooksHeading, "Back hooks '%s'"},
    {msg::QueryAnagramsHeading, "Anagrams '%s'"},
    {msg::QueryMatchesHeading, "Matches '%s'"},
    {msg::QueryNoFrontHooks, "No front hooks found in the current lexicon."},
    {msg::QueryNoBackHooks, "No back hooks found in the current lexicon."},
    {msg::QueryNoAnagrams, "No anagrams found in the current lexicon."},
    {msg::QueryNoMatches, "No matches found in the current lexicon."},
    {msg::QueryPromptLookUp, "Enter word to look up:"},
    {msg::QueryPromptCheck, "Enter word to check:"},
    {msg::QueryPromptWord, "Enter word:"},
    {msg::QueryPromptAnagram, "Enter anagram string:"},
    {msg::QueryPromptPattern, "Enter pattern string:"},
    {msg::QueryNoEndLine, "error: didn't find end line"},
    {msg::QueryCheckedWord, "%s: %s"},

    {msg::GenNeedGame, "Need a game first."},
    {msg::GenHighestIntro1, "I will now attempt to find the highest scoring possible"},
    {msg::GenHighestIntro2, "move on this board."},
    {msg::GenHighestIntro3, "I will print the best moves I find to the text pane."},
    {msg::GenHighestIntro4, "I will continue searching until you stop me."},
    {msg::GenHighestIntro5, "Press ESC to stop the move search."},
    {msg::GenHighestFound, "%05d %s "},
    {msg::GenStopped, "Stopped."},

    {msg::RackReading, "Reading rack statistics...\n"},
    {msg::RackNoStatistics, "no rack statistics found\n"},
    {msg::RackEstimateTitle, "Estimated value of rack leaves\n"},
    {msg::RackEstimateLine, "%s expected value %+5.1f%s\n"},
    {msg::RackEstimateThisRack, " (this rack)"},
    {msg::RackEstimateUnseenAverage, " (avg. of unseen tiles)"},

    {msg::MoveLinePass, "(Pass)"},
    {msg::MoveLineLostChallenge, "(Lost challenge)"},
    {msg::MoveLineBadChallenge, "(Bad challenge)"},
    {msg::MoveLineKeep, "(Keep %s)"},
    {msg::MoveLineExchangeAll, "(Exchange all)"},
    {msg::MoveLineExchanged, "(Exchanged %d)"},

    {msg::WellOneTileLeft, "1 tile left in the bag."},
    {msg::WellTilesLeft, "%d tiles left in the bag."},
    {msg::WellNoteLine1, "*** NOTE: More of some tiles have been removed than are"},
    {msg::WellNoteLine2, "contained in the default well. The well distribution,"},
    {msg::WellNoteLine3, "accordingly, will not match that of a standard game."},
    {msg::WellAllSeen, "All tiles have been seen: the game is over."},
    {msg::WellRemainingHeading, "Tiles remaining in the bag:"},
    {msg::WellUnseenHeading, "Tiles not yet seen:"},
    {msg::WellVowels, "Vowels: %d Consonants: %d Blanks: %d"},
    {msg::HistoryHeading, "Game history: "},
    {msg::HistoryPlayerScore, "P%d: %s, %d %s"},
    {msg::HistoryPoint, "point"},
    {msg::HistoryPoints, "points"},
    {msg::StatsHeading, "Statistics for %s:\n"},
    {msg::StatsBingos, "Number of bingos played: %d\n"},
    {msg::StatsTurnover, "Tile turnover (# of tiles played): %d\n"},
    {msg::StatsValue, "Value of tiles played: %d\n"},
    {msg::StatsBlankNote, "(In above calculation, a blank is worth half the bingo bonus.)"},
    {msg::StatsEfficiency, "Tile efficiency (score/value of tiles): %.2f\n"},
    {msg::StatsScorePerTile, "Score per tile: %.2f\n"},
    {msg::StatsAverageRack, "Average relative value of rack: %+.2f\n"},

    {msg::FlowChallengeSucceeded, "Challenge of last move was successful."},
    {msg::FlowChallengeFailed, "Challenge of last move was unsuccessful."},
    {msg::FlowSenyors, "I invoke the \"senyors\" rule (rack %s)\n"},
    {msg::PlayerNumbered, "Player %d"},
    {msg::StrategyUnknown, "Unknown strategy???"},
    {msg::AutoplayStarting, "Autoplaying game...\n"},
    {msg::AutoplayFinished, "Game played.\n"},

    {631, "Help create opening book..."},
    {msg::LanguageEnglish, "English"},
    {msg::LanguageCatalan, "Catal\xE0"},
    {msg::LanguagePigLatin, "Pig Latin"},
    {msg::OpeningBookQuestion,
     "This option will help build a library of opening moves. Would you like these tests to run in the "
     "background (single-threaded)?"},
};

constexpr Entry kPigLatin[] = {
    {msg::Welcome, "Elcomeway otay Exilpay osswordcray uzzlepay amegay oftwaresay."},
    {msg::SelectGameType, "Easeplay electsay ayay amegay ypetay otay eginbay."},
    {msg::GameReady, "Ethay amegay isyay eadyray."},
    {msg::MoreMoves, "Ypetay 'y' otay eesay oremay ovesmay."},
    {msg::MoreWords, "Ypetay 'y' otay eesay oremay ordsway."},
    {msg::MoveLinePass, "(Asspay)"},
    {msg::MoveLineLostChallenge, "(Ostlay allengechay)"},
    {msg::MoveLineBadChallenge, "(Adbay allengechay)"},
    {msg::MarkQuick, "Uickqay:"},
    {msg::MarkFastSim, "Astfay-Imsay:"},
    {msg::MarkLook, "Ooklay:"},
    {msg::MarkEndgame, "Endgameyay:"},
    {msg::MarkForBestMove, "orfay estbay ovemay"},
    {msg::MarkSimulationPass, "imulationsay asspay"},
    {msg::LanguageNameEnglish, "Englishyay"},
    {msg::LanguageNameEnglish + 1, "Anishspay"},
    {msg::LanguageNameEnglish + 2, "Anishday"},
    {msg::LanguageNameEnglish + 3, "Enchfray"},
    {msg::LanguageNameEnglish + 4, "Ermangay"},
    {msg::LanguageNameEnglish + 5, "Italianyay"},
    {msg::LanguageNameEnglish + 6, "Atinlay"},
    {msg::LanguageNameEnglish + 7, "Atalancay"},
    {msg::LanguageNameEnglish + 8, "Edishsway"},
    {631, "Elphay eatecray openingyay ookbay..."},
    {msg::LanguageEnglish, "Englishyay"},
    {msg::LanguageCatalan, "Atal\xE0" "cay"},
    {msg::LanguagePigLatin, "Igpay Atinlay"},
};

constexpr Entry kCatalan[] = {
    {msg::Welcome, "Benvinguts al programari de joc de mots encreuats Pexil."},
    {msg::SelectGameType, "Seleccioneu un tipus de joc per comen\xE7" "ar."},
    {msg::GameReady, "El joc est\xE0 a punt."},
    {msg::MoreMoves, "Pitgeu 'y' per veure m\xE9s jugades."},
    {msg::MoreWords, "Pitgeu 'y' per veure m\xE9s mots."},
    {msg::MoveLinePass, "(Passa)"},
    {msg::MoveLineLostChallenge, "(Impug. perd.)"},
    {msg::MarkQuick, "R\xE0pid:"},
    {msg::MarkFastSim, "SimR\xE0pida:"},
    {msg::MarkLook, "Mira:"},
    {msg::MarkEndgame, "Final:"},
    {msg::MarkForBestMove, "per a la millor jugada"},
    {msg::MarkSimulationPass, "passada de simulaci\xF3"},
    {msg::LanguageUnknown, "desconegut"},
    {msg::LanguageNameEnglish, "angl\xE8s"},
    {msg::LanguageNameEnglish + 1, "castell\xE0"},
    {msg::LanguageNameEnglish + 2, "dan\xE8s"},
    {msg::LanguageNameEnglish + 3, "franc\xE8s"},
    {msg::LanguageNameEnglish + 4, "alemany"},
    {msg::LanguageNameEnglish + 5, "itali\xE0"},
    {msg::LanguageNameEnglish + 6, "llat\xED"},
    {msg::LanguageNameEnglish + 7, "catal\xE0"},
    {msg::LanguageNameEnglish + 8, "suec"},
    {msg::LanguageEnglish, "Angl\xE8s"},
    {msg::LanguageCatalan, "Catal\xE0"},
    {msg::LanguagePigLatin, "Llat\xED porc\xED"},
};

}  // namespace

constexpr Table kEnglishTable = layOut(kEnglish);
constexpr Table kPigLatinTable = layOut(kPigLatin);
constexpr Table kCatalanTable = layOut(kCatalan);

const Table english = kEnglishTable;
const Table pigLatin = kPigLatinTable;
const Table catalan = kCatalanTable;

}  // namespace pexil::catalogue
