#include "commands.hpp"

#include <cstdio>

#include "text/messages.hpp"

namespace pexil::cli {
namespace {

struct Command {
  const char* name;
  int (*run)(const Arguments&);
  const char* synopsis;
};

constexpr Command kCommands[] = {
    {"types", runTypes, "types                       list the game types of game.definitions"},
    {"board", runBoard, "board [GAME]                print the empty board of a game type"},
    {"deal", runDeal, "deal [GAME]                 deal a rack from a full bag"},
    {"build-graph", runBuildGraph, "build-graph LIST            write LIST's compact word graph (.tribble)"},
    {"build-binary", runBuildBinary,
     "build-binary LIST [GAME]    write the binary forms of LIST (.lexbin) and of its\n"
     "                              rack tables (.rackbin), which later loads use instead\n"
     "                              of the texts while those stay the same"},
    {"bench", runBench,
     "bench lexicon [LIST]        word-list load time, memory, lookups per second\n"
     "  bench movegen [GAME] [LIST] move generations per second, 400 self-play positions\n"
     "  bench selfplay [GAME] [LIST] [--games N]\n"
     "                              static self-play games per second (200 games, seeded)\n"
     "  bench sim [--iterations N]  simulation rollouts per second: 15 candidates of a\n"
     "                              shipped position, 2 plies, N (100) iterations each,\n"
     "                              one thread and all; with GAME or LIST a self-play one;\n"
     "                              --engine fast: the fast lookahead to its own stop,\n"
     "                              iterations per second on one worker and on all\n"
     "  bench endgame [GAME] [LIST] [--threads N] [--positions N] [--seconds S] [--cpu]\n"
     "                [--only exact,select,static,peg] [--pick I,J...]\n"
     "                              exact endgame solving: N (100) seeded self-play\n"
     "                              endgames with an empty bag, at most S (60) s each\n"
     "                              (of CPU time with --cpu);\n"
     "                              median, 90th percentile and worst time, nodes per\n"
     "                              second, checksum; 20 one-tile-bag positions listed\n"
     "  bench suite [--tests N] [--evaluations N] [--processors N]\n"
     "                              the benchmark suite: 24 five-ply simulations (15000\n"
     "                              evaluations each) of opening, mid-game and late-game\n"
     "                              positions (bench1.pexil..bench15.pexil) on the\n"
     "                              processors less one; the nine rates (evaluations per\n"
     "                              thread-second) are stored in the settings for the\n"
     "                              timed move when none is 0; Ctrl-C stops it unstored\n"
     "  bench results               the stored rates\n"
     "  bench positions [--out DIR] write the suite's position files from seeded games"},
    {"check", runCheck, "check [GAME] [LIST] WORD... whether each word is valid (exit 1 if any is not)"},
    {"hooks", runHooks,
     "hooks front|back TEXT [GAME] [LIST] [--all] [--highlight]\n"
     "                              words extending TEXT at the front or the back"},
    {"anagram", runAnagram,
     "anagram TEXT [GAME] [LIST] [--all] [--highlight]\n"
     "                              words of all the letters of TEXT; '?' is a blank"},
    {"pattern", runPattern,
     "pattern TEXT [GAME] [LIST] [--all] [--highlight]\n"
     "                              words matching TEXT: ? [ab] (c) (v) (N) * letters"},
    {"define", runDefine,
     "define WORD [GAME] [LIST]   the definition of WORD and of the words it names"},
    {"strategies", runStrategies,
     "strategies                  the computer player's strategies by number, for\n"
     "                              play --strategy and autoplay --strategies"},
    {"settings", runSettings,
     "settings [KEY [VALUE]]      the stored options shared with the desktop program:\n"
     "                              all of them, one, or set one (flags take 0 or 1);\n"
     "                              play, simulate and analyze start from them\n"
     "                              ($XDG_CONFIG_HOME/pexil.conf, or $PEXIL_SETTINGS)"},
    {"upload", runUpload,
     "upload [FILE] [--host H] [--port N]\n"
     "                              send a game record (strength.gcg) to the results\n"
     "                              server of the UploadHost setting (or H), port N (80);\n"
     "                              with no server configured nothing is sent (exit 1)"},
    {"strength-test", runStrengthTest,
     "strength-test [--games N] [--host H] [--port N]\n"
     "                              the computer plays itself on one thread with one-hour\n"
     "                              clocks, one seat with an experimental play flag (0, 1\n"
     "                              or 2, seats swapped every other game); each finished\n"
     "                              game is written to strength.gcg with notes (benchmark\n"
     "                              rates, ARRV, UTC date) and uploaded to the UploadHost\n"
     "                              server (or H); N games, else until Ctrl-C"},
    {"opening-book", runOpeningBook,
     "opening-book [--cycles N] [--host H] [--port N] [--threads N]\n"
     "                              fetch opening racks from the results server, simulate\n"
     "                              each 9 plies deep and report the five best moves back;\n"
     "                              N cycles, else until Ctrl-C; --threads (processors)"},
    {"moves", runMoves,
     "moves --board FILE --rack TILES [GAME] [LIST]\n"
     "  moves --open POSITION|RECORD [--move N] [--rack TILES]\n"
     "                              the moves of TILES on the board of FILE (or of the\n"
     "                              player to move in a position file or game record,\n"
     "                              after move N of a record), best first:\n"
     "                              --top N lists N (20), --best finds the best one only,\n"
     "                              --rank score|equity|pool ranks by score, by equity with\n"
     "                              the leave tables (the default) or against the unseen tiles"},
    {"simulate", runSimulate,
     "simulate --board FILE --rack TILES [GAME] [LIST]\n"
     "  simulate --open POSITION|RECORD [--move N] [--rack TILES]\n"
     "                              the lookahead simulation of the moves: --ply N plies\n"
     "                              after each candidate (2), --engine threaded|single|fast,\n"
     "                              --threads N (the processors), --iterations N and\n"
     "                              --candidates N for the single engine (200, 10),\n"
     "                              --stdev X to stop on (0.1 threaded, 0.25 single),\n"
     "                              --seconds S time budget, --winprob ranks by win\n"
     "                              chance, --top N lists N (20), --known-tiles TILES\n"
     "                              puts TILES on the previous player's rack in every\n"
     "                              iteration (threaded and fast engines),\n"
     "                              --static-endgame has the simulated players choose by\n"
     "                              the static endgame once the bag is empty (2 players);\n"
     "                              Ctrl-C stops it. The fast engine also takes --mood -3..3 (the\n"
     "                              opponents' racks biased), --guess (the opponent's\n"
     "                              rack guessed from its last move), --stats (the first\n"
     "                              move's statistics) and --heatmaps"},
    {"endgame", runEndgame,
     "endgame --board FILE --rack TILES [GAME] [LIST]\n"
     "  endgame --open POSITION|RECORD [--move N] [--rack TILES]\n"
     "                              the endgame search of a two-player position with the\n"
     "                              bag empty (or the opponent's rack empty and at most a\n"
     "                              rackful in the bag, which is then that rack): every\n"
     "                              move with the final spread its line reaches; --exact\n"
     "                              the exact solver, --static the static endgame,\n"
     "                              --greedier searches wins harder,\n"
     "                              --seconds S time budget, --threads N, --top N (20);\n"
     "                              Ctrl-C stops it"},
    {"peg", runPeg,
     "peg 8D WORD|D8 WORD|pass --open POSITION|RECORD [--move N] [--rack TILES]\n"
     "  peg --all --board FILE --rack TILES [GAME] [LIST]\n"
     "                              the pre-endgame: the win chance of a move that empties\n"
     "                              the bag over every draw of the unseen tiles, with the\n"
     "                              outcome of each (the pass with one tile in the bag);\n"
     "                              --all values every such move, --seconds S, --threads N"},
    {"analyze", runAnalyze,
     "analyze 8D WORD|D8 WORD|pass --open POSITION|RECORD [--move N] [--rack TILES]\n"
     "  analyze 8D WORD --board FILE --rack TILES [GAME] [LIST]\n"
     "                              the move alone simulated by the fast lookahead, --ply N\n"
     "                              plies (2), with its statistics: spread and win chance,\n"
     "                              medians and quartiles, the replies seen most; the\n"
     "                              pre-endgame when it empties the bag. --winprob,\n"
     "                              --mood -3..3, --heatmaps, --seconds S, --threads N"},
    {"infer", runInfer,
     "infer --open POSITION|RECORD [--move N] [--threads N] [--top N]\n"
     "                              guess the rack of the player who made the last move\n"
     "                              (after move N of a record) from that move: the racks\n"
     "                              its kept tiles may make, each as often as it can be\n"
     "                              drawn, the letters more and less likely than chance,\n"
     "                              and the N (10) likeliest racks"},
    {"leaves", runLeaves,
     "leaves --board FILE --rack TILES [GAME] [LIST]\n"
     "                              the estimated value of every leave of TILES"},
    {"highest", runHighest,
     "highest --board FILE [GAME] [LIST]\n"
     "                              the highest-scoring move with any rack, until Ctrl-C\n"
     "                              or --seconds S have passed"},
    {"play", runPlay,
     "play [GAME] [LIST] [--first me|pexil|alternate|random] [--name NAME]\n"
     "     [--strategy S] [--challenge 0..4] [--time MIN|MM:SS [--same-time]] [--ply N]\n"
     "     [--open POSITION|RECORD [--move N]] [--exact-endgame] [--greedier-endgame]\n"
     "                              a game against Pexil, typed on standard input:\n"
     "                              8D WORD plays across, D8 WORD down; help lists the\n"
     "                              commands. --first alternate is Pexil first in a\n"
     "                              single game; random draws the first player"},
    {"autoplay", runAutoplay,
     "autoplay [GAME] [LIST] [--players N] [--strategies S1,S2,...] [--games N]\n"
     "         [--summary] [--log FILE] [--gcg-dir DIR] [--pairs N [--no-leaves SEAT]] [--time MIN]\n"
     "         [--word-usage FILE]\n"
     "                              whole games of the computer against itself (strategy\n"
     "                              2 for every player by default), then wins, draws,\n"
     "                              mean scores and spreads per seat; --summary prints\n"
     "                              one line per game; --log writes the autoplay log;\n"
     "                              --pairs plays N pairs of games with the same tiles and\n"
     "                              the seats swapped and reports the first strategy's win\n"
     "                              rate and spread with standard errors; --no-leaves SEAT\n"
     "                              values every leave at 0 for that seat's player;\n"
     "                              --exact-endgame: the endgame strategies use the exact\n"
     "                              solver, --greedier-endgame: the selective search looks\n"
     "                              harder for wins near its root; --time MIN sets every\n"
     "                              player's clock at the start of each game (the timed\n"
     "                              strategies 30-35 and 54; unset: 20 minutes);\n"
     "                              --word-usage FILE writes every word played with its count"},
    {"open-position", runOpenPosition, "open-position FILE          read a position file and show it"},
    {"save-position", runSavePosition,
     "save-position FILE --open POSITION|RECORD [--move N]\n"
     "                              write the position of a file (after move N of a record)"},
    {"open-game", runOpenGame,
     "open-game FILE [--move N] [--list NAME]\n"
     "                              read a game record (GCG): its history, position, racks"},
    {"save-game", runSaveGame,
     "save-game FILE --open POSITION|RECORD [--move N]\n"
     "                              write a game record (GCG) of a file's game"},
    {"replay-gcg", runReplayGcgCommand,
     "replay-gcg FILE...          replay game records, reporting every move whose stated\n"
     "                              score differs from the score computed on the board"},
    {"rate-draws", runRateDraws,
     "rate-draws RECORD|POSITION [--move N] [--list NAME] [--draws N] [--out REPORT]\n"
     "                              how lucky each rack draw of the game was: after every\n"
     "                              move the tiles drawn against N random redraws (4000)\n"
     "                              by the best move each allows, as a percentile, and\n"
     "                              each player's average; --out writes the report to a file"},
    {"report", runReport,
     "report RECORD|POSITION [--move N] [--list NAME] [--out FILE.htm] [--no-image]\n"
     "                              the game's recap as a web page (game.htm), with the\n"
     "                              picture of the board beside it (game.png)"},
    {"analyse-game", runAnalyseGame,
     "analyse-game RECORD [--list NAME] [--out REPORT] [--top N] [--min-sims N] [--ply N]\n"
     "             [--threads N] [--seconds S] [--inference|--no-inference] [--heatmaps]\n"
     "                              every move of a game record analysed (the endgame\n"
     "                              search at the end, the fast lookahead before): the\n"
     "                              position, the move played, the N best candidates\n"
     "                              simulated at least --min-sims times each, the win\n"
     "                              percentage each player gave up, the rack guesses and\n"
     "                              heat maps; into RECORD.analysis.txt (or REPORT), with\n"
     "                              the progress and time left on the terminal; the\n"
     "                              defaults are the desktop program's stored choices;\n"
     "                              --seconds bounds each move's search; Ctrl-C stops it"},
    {"board-image", runBoardImage,
     "board-image RECORD|POSITION [--move N] [--out FILE.png] [--screen] [--size WxH]\n"
     "                              the board (or with --screen the whole window) drawn\n"
     "                              as the desktop program draws it, as a PNG picture of a\n"
     "                              window WxH (1000x700) pixels large"},
    {"build-data", runBuildData,
     "build-data --list NAME [GAME] [--games N] [--generations G] [--out DIR] [--jobs J]\n"
     "           [--games3 N] [--games4 N] [--generic]\n"
     "                              seeded self-play (--seed S) that writes the leave,\n"
     "                              full-rack, win-probability, square-letter (and with\n"
     "                              --generic the generic win and board-pattern) tables\n"
     "                              of a word list into DIR, J shard processes per generation\n"
     "  build-data shard --list NAME --generation G --shard K --shards N --out DIR\n"
     "           [--games N] [--players P] [--leaves FILE] [--baseline-every N]\n"
     "                              one shard of one generation (resumable)\n"
     "  build-data merge --out FILE COUNTS...\n"
     "                              add counts files\n"
     "  build-data finish --list NAME --counts FILE --out DIR [--generic]\n"
     "                              write the tables of a counts file"},
    {"help", runHelp, "help [COMMAND]              this text, or the usage of COMMAND"},
};

const Command* findCommand(const std::string& name) {
  for (const Command& c : kCommands) {
    if (name == c.name) return &c;
  }
  return nullptr;
}

// What the words of the synopses stand for.
constexpr const char* kNotation =
    "GAME: --type NAME|N (a game type as listed by \"types\", or its number)\n"
    "      or --kind K (a built-in game kind 0..6).\n"
    "LIST: --list NAME (a word list file, from the current folder or else the\n"
    "      data folder; by default the game type's own).\n"
    "FILE: a board as text, one line per row: '.' an empty square, A-Z a tile,\n"
    "      a-z a blank. TILES: the rack, '?' a blank, \"(CH)\" a two-letter tile.\n"
    "Typed words and tiles are UTF-8: A\u00d1O, CHICO, COL\u00b7LOCAR, \u00c4RGER.\n"
    "hooks, anagram, pattern: words come a page of 20 at a time; on a terminal\n"
    "      'y' shows the next page. --all, or input that is not a terminal,\n"
    "      prints every page; --highlight marks list-specific words (* and #).\n"
    "Files named on the command line are read from the current folder, or else\n"
    "from the data folder; files written go to the current folder.\n";

}  // namespace

std::string usageText() {
  std::string text =
      "Usage: pexil-cli [options] [command] [command options]\n"
      "\n"
      "With no command: list the game types, print the board of the first one\n"
      "and deal a rack from its bag.\n"
      "\n"
      "Commands:\n";
  for (const Command& c : kCommands) text += std::string("  ") + c.synopsis + "\n";
  text += "\n";
  text += kNotation;
  text +=
      "\n"
      "Options, before or after the command (also as --option=VALUE):\n"
      "  --data DIR     read data files from DIR (default: the program's folder, or\n"
      "                 ../share/pexil beside an installed program)\n"
      "  --seed N       repeatable random numbers from seed N\n"
      "  --ui-lang L    0 English, 1 Pig Latin, 2 Catalan\n"
      "  --quiet        print nothing\n"
      "  --latin1       write text as Latin-1 instead of UTF-8\n"
      "  --colour / --no-colour   force coloured output on or off\n"
      "  --help, -h     this text; after a command, that command's usage\n"
      "  --version      the version and build date\n"
      "\n"
      "Exit status: 0 done, 1 a negative answer or a failure, 2 a wrong command\n"
      "line, 3 no word list could be loaded.\n";
  return text;
}

std::optional<std::string> commandUsage(const std::string& command) {
  const Command* c = findCommand(command);
  if (!c) return std::nullopt;
  return std::string("Usage: pexil-cli ") + c->synopsis + "\n\n" + kNotation +
         "Options: see \"pexil-cli help\".\n";
}

bool isCommandName(const std::string& word) { return findCommand(word) != nullptr; }

int runHelp(const Arguments& args) {
  if (args.empty()) {
    std::fputs(usageText().c_str(), stdout);
    return 0;
  }
  if (args.size() > 1) {
    PrintMessageF(msg::CliBadOption, "help [COMMAND]");
    return 2;
  }
  if (const auto usage = commandUsage(args.front())) {
    std::fputs(usage->c_str(), stdout);
    return 0;
  }
  PrintMessageF(msg::CliUnknownCommand, args.front().c_str());
  return 2;
}

int runCommand(const std::string& command, const Arguments& args) {
  if (command.empty()) return runMainJob(args);
  if (const Command* c = findCommand(command)) return c->run(args);
  PrintMessageF(msg::CliUnknownCommand, command.c_str());
  return 2;
}

}  // namespace pexil::cli
