// pexil-cli build-data: the evaluation-data builder (tools/databuilder).
//
//   build-data --list NAME ...          the whole run: shard processes per
//                                       generation, merging, finishing
//   build-data shard --list NAME ...    one shard of one generation
//   build-data merge --out FILE COUNTS  sums counts files
//   build-data finish --list NAME --counts FILE --out DIR
//
// The run starts copies of this program (posix_spawn of /proc/self/exe),
// one per shard, each writing its own counts file and a small progress
// file, and reads the progress files to show how far it has got. Every
// step leaves its result in files, so running the same command again
// resumes: finished generations are kept and shards continue from their
// checkpoints. The pieces can run on other machines under any scheduler:
// shard, merge and finish are commands of their own.
#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "commands.hpp"
#include "terminal_sink.hpp"
#include "counts.hpp"
#include "finish.hpp"
#include "game_choice.hpp"
#include "lexicon/lexicon.hpp"
#include "tables/rack_tables.hpp"
#include "rules/game_definitions.hpp"
#include "rules/game_rules.hpp"
#include "rules/random.hpp"
#include "self_play.hpp"
#include "text/messages.hpp"
#include "text/text_pane.hpp"

extern char** environ;

namespace pexil::cli {
namespace {

namespace db = pexil::databuilder;
namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

constexpr std::int64_t kDefaultGames = 20000;
constexpr int kDefaultGenerations = 3;
constexpr std::uint32_t kDefaultSeed = 1;
constexpr std::int64_t kMostGames = 100000000;

void say(const std::string& text) { textPane().Print(text); }

bool badOption(const std::string& what) {
  PrintMessageF(msg::CliBadOption, what.c_str());
  return false;
}

// A whole number option within a range, or its default.
bool numberOption(const ParsedOptions& options, const char* name, long long low, long long high, long long& value) {
  if (const auto text = options.value(name)) {
    const auto n = parseNumber(*text, low, high);
    if (!n) return badOption(std::string(name) + " " + *text);
    value = *n;
  }
  return true;
}

std::uint32_t runSeed() { return programSeed().value_or(kDefaultSeed); }

// Activates the game type: --type when given, else the first game type
// whose default word list is the list, else the first one.
bool activateGameFor(const ParsedOptions& options, const std::string& list) {
  if (options.has("--type") || options.has("--kind")) return activateChosenGame(options);
  loadGameDefinitionsOnce();
  ParsedOptions chosen;
  const std::string wanted = latin1Lower(fs::path(list).filename().string());
  for (int i = 0; i < gameTypeCount(); ++i) {
    if (latin1Lower(gameType(i).defaultWordList) == wanted) {
      chosen.values["--type"] = std::to_string(i + 1);
      break;
    }
  }
  return activateChosenGame(chosen);
}

// The list to build for (a file in the current folder, else a data file),
// loaded without any evaluation table: self-play must not depend on tables
// an earlier build left in the data folder. None after reporting, with the
// command's exit code in `failure`.
std::shared_ptr<Lexicon> loadBareList(const ParsedOptions& options, std::string& list, int& failure) {
  failure = 2;
  const auto name = options.value("--list");
  if (!name) {
    badOption("--list");
    return nullptr;
  }
  list = userInputPath(*name);
  failure = 1;
  if (!activateGameFor(options, list)) return nullptr;
  std::string validating;
  if (const GameType* g = activeGameType(); g && g->markPhonies && g->phonyCheckList) validating = *g->phonyCheckList;
  auto lexicon = std::make_shared<Lexicon>();
  lexicon->loadLeaves = false;
  lexicon->loadSquareStats = false;
  if (!loadCommandWordList(*lexicon, list, *name, validating)) {
    failure = kExitNoWordList;
    return nullptr;
  }
  clearRackTables();
  return lexicon;
}

std::string shardFileName(const std::string& list, int generation, int players, int shard, int shards) {
  return db::listBaseName(list) + FormatText("-g%d-p%d-s%dof%d.counts", generation, players, shard, shards);
}

std::string formatDuration(double seconds) {
  const long s = std::lround(std::max(0.0, seconds));
  if (s >= 3600) return FormatText("%ld h %02ld min", s / 3600, (s / 60) % 60);
  if (s >= 60) return FormatText("%ld min %02ld s", s / 60, s % 60);
  return FormatText("%ld s", s);
}

std::string fileSize(const std::string& path) {
  std::error_code error;
  const auto bytes = fs::file_size(path, error);
  if (error) return "?";
  if (bytes >= 10 * 1024 * 1024) return FormatText("%.1f MB", static_cast<double>(bytes) / (1024.0 * 1024.0));
  if (bytes >= 10 * 1024) return FormatText("%.0f kB", static_cast<double>(bytes) / 1024.0);
  return FormatText("%lu bytes", static_cast<unsigned long>(bytes));
}

// ---------------------------------------------------------------------------
// build-data shard

int runShardCommand(const ParsedOptions& options) {
  long long generation = 0, shard = 0, shards = 1, games = kDefaultGames, players = 2, checkpoint = 250, baseline = 4;
  if (!numberOption(options, "--generation", 0, 1000000, generation) || !numberOption(options, "--shards", 1, 100000, shards) ||
      !numberOption(options, "--shard", 0, shards - 1, shard) || !numberOption(options, "--games", 0, kMostGames, games) ||
      !numberOption(options, "--players", 2, 4, players) || !numberOption(options, "--checkpoint", 1, kMostGames, checkpoint) ||
      !numberOption(options, "--baseline-every", 1, 1000000, baseline)) {
    return 2;
  }
  const auto out = options.value("--out");
  if (!out) {
    badOption("--out");
    return 2;
  }
  std::string list;
  int failure = 1;
  const std::shared_ptr<Lexicon> lexicon = loadBareList(options, list, failure);
  if (!lexicon) return failure;

  // The leave values this generation plays with.
  std::string digest;
  if (const auto leaves = options.value("--leaves")) {
    std::string text;
    if (!db::readFileText(userInputPath(*leaves), text)) {
      say(FormatText("Cannot read the leave values \"%s\".", leaves->c_str()));
      return 1;
    }
    loadLeaveText(text);
    digest = db::digestOf(text);
  }

  const std::string folder = userFilePath(*out);
  std::error_code error;
  fs::create_directories(folder, error);
  db::ShardOptions shardOptions;
  shardOptions.config.seed = runSeed();
  shardOptions.config.generation = static_cast<int>(generation);
  shardOptions.config.players = static_cast<int>(players);
  shardOptions.config.baselineEvery = static_cast<int>(baseline);
  shardOptions.list = fs::path(list).filename().string();
  shardOptions.leavesDigest = digest;
  shardOptions.shard = static_cast<int>(shard);
  shardOptions.shards = static_cast<int>(shards);
  shardOptions.games = games;
  shardOptions.checkpointEvery = checkpoint;
  shardOptions.outPath = (fs::path(folder) / shardFileName(list, static_cast<int>(generation), static_cast<int>(players),
                                                           static_cast<int>(shard), static_cast<int>(shards)))
                             .string();
  // Progress for the run that started this shard: the games done, written
  // now and then to a small file.
  std::string progressPath;
  if (const auto p = options.value("--progress")) progressPath = userFilePath(*p);
  auto lastWrite = Clock::now() - std::chrono::seconds(10);
  shardOptions.progress = [&](std::int64_t done, std::int64_t share) {
    if (progressPath.empty()) return;
    const auto now = Clock::now();
    if (done < share && now - lastWrite < std::chrono::milliseconds(500)) return;
    lastWrite = now;
    db::writeFileAtomically(progressPath, std::to_string(done) + " " + std::to_string(share) + "\n");
  };

  const auto start = Clock::now();
  std::string message;
  const db::ShardResult result = db::runShard(shardOptions, lexicon, message);
  if (result == db::ShardResult::failed) {
    say(message);
    return 1;
  }
  NoWrapPane noWrap;
  say(FormatText("Shard %lld of %lld, generation %lld: %lld games of %lld, %s in %.1f s", shard, shards, generation,
                 static_cast<long long>(db::shardShare(games, static_cast<int>(shard), static_cast<int>(shards))), games,
                 shardOptions.outPath.c_str(), std::chrono::duration<double>(Clock::now() - start).count()));
  return 0;
}

// ---------------------------------------------------------------------------
// build-data merge

// Reads counts files and adds them up; false (with a message) when one
// cannot be read or belongs to another list.
bool mergeFiles(const std::vector<std::string>& paths, db::EvalCounts& merged) {
  for (const std::string& path : paths) {
    std::string text;
    if (!db::readFileText(path, text)) {
      say(FormatText("Cannot read \"%s\".", path.c_str()));
      return false;
    }
    db::EvalCounts counts;
    const db::ReadReport report = db::readCounts(text, counts);
    if (!report.sawFormat) {
      say(FormatText("\"%s\" is no counts file.", path.c_str()));
      return false;
    }
    if (report.skipped > 0) say(FormatText("%s: %zu damaged records skipped.", path.c_str(), report.skipped));
    if (counts.info.end > 0 && counts.info.next < counts.info.end) {
      say(FormatText("%s: an unfinished shard (%lld of %lld games); its games so far are counted.", path.c_str(),
                     static_cast<long long>(counts.info.next), static_cast<long long>(counts.info.end)));
    }
    if (!merged.add(counts)) {
      say(FormatText("\"%s\" cannot be added: another word list, or sums too large.", path.c_str()));
      return false;
    }
  }
  // A merged file is no shard.
  const std::string list = merged.info.list;
  merged.info = db::CountsInfo{};
  merged.info.list = list;
  return true;
}

int runMergeCommand(const ParsedOptions& options) {
  const auto out = options.value("--out");
  if (!out) {
    badOption("--out");
    return 2;
  }
  if (options.positional.size() < 2) {
    badOption("merge: no counts files");
    return 2;
  }
  std::vector<std::string> paths;
  for (std::size_t i = 1; i < options.positional.size(); ++i) paths.push_back(userInputPath(options.positional[i]));
  db::EvalCounts merged;
  if (!mergeFiles(paths, merged)) return 1;
  if (!db::writeFileAtomically(userFilePath(*out), db::writeCounts(merged))) {
    PrintMessageF(msg::CliCannotWrite, out->c_str());
    return 1;
  }
  NoWrapPane noWrap;
  say(FormatText("Merged %zu files into %s: %lld two-player games, %zu leaves, %zu racks.", paths.size(), out->c_str(),
                 static_cast<long long>(merged.games[2]), merged.leaves.size(), merged.racks.size()));
  return 0;
}

// ---------------------------------------------------------------------------
// build-data finish

// Prints what was written and a few leave values to judge them by.
void reportTables(const db::FinishedTables& tables, const std::vector<std::string>& written) {
  say(FormatText("Leaves: %zu written, %zu observed; fresh-rack baseline %.1f points; %zu full racks written.",
                 tables.leavesWritten, tables.leavesObserved, tables.baselineMean / 10.0, tables.racksWritten));
  for (const std::string& path : written) say(FormatText("  %s (%s)", path.c_str(), fileSize(path).c_str()));
  if (!tables.leaves.empty()) {
    loadLeaveText(tables.leaves);
    std::string sample;
    const GameRules& r = rules();
    for (int code = 0; code < r.codeCount && code < kCodeSlots; ++code) {
      if (tileCount(code) <= 0) continue;
      const std::string letter(1, code == r.blankCode ? '?' : charOfUpper(code));
      sample += FormatText(" %s %+.1f", letter.c_str(), leaveValueOf(letter).value_or(0) / 10.0);
    }
    say("Single tiles:" + sample);
  }
}

bool finishInto(const db::EvalCounts& counts, const std::string& folder, const std::string& list, bool generic) {
  const db::FinishedTables tables = db::finishTables(counts, db::FinishOptions{});
  std::vector<std::string> written;
  std::string error;
  if (!db::writeTables(tables, folder, list, generic, written, error)) {
    PrintMessageF(msg::CliCannotWrite, error.c_str());
    return false;
  }
  reportTables(tables, written);
  return true;
}

int runFinishCommand(const ParsedOptions& options) {
  const auto countsPath = options.value("--counts");
  const auto out = options.value("--out");
  if (!countsPath) {
    badOption("--counts");
    return 2;
  }
  if (!out) {
    badOption("--out");
    return 2;
  }
  std::string list;
  int failure = 1;
  if (!loadBareList(options, list, failure)) return failure;
  db::EvalCounts counts;
  if (!mergeFiles({userInputPath(*countsPath)}, counts)) return 1;
  NoWrapPane noWrap;
  return finishInto(counts, userFilePath(*out), list, options.has("--generic")) ? 0 : 1;
}

// ---------------------------------------------------------------------------
// build-data (the whole run)

// One stage of a run: a set of shard processes playing one generation.
struct Stage {
  int generation = 0;
  int players = 2;
  std::int64_t games = 0;
  std::string folder;
  std::string leaves;  // the leave values played with, "" for none
};

// Starts one copy of this program; its output goes to a log file.
pid_t spawnSelf(const std::vector<std::string>& args, const std::string& logPath) {
  std::vector<char*> argv;
  argv.reserve(args.size() + 1);
  for (const std::string& a : args) argv.push_back(const_cast<char*>(a.c_str()));
  argv.push_back(nullptr);
  posix_spawn_file_actions_t actions;
  if (posix_spawn_file_actions_init(&actions) != 0) return -1;
  posix_spawn_file_actions_addopen(&actions, STDIN_FILENO, "/dev/null", O_RDONLY, 0);
  posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, logPath.c_str(), O_WRONLY | O_CREAT | O_APPEND, 0644);
  posix_spawn_file_actions_adddup2(&actions, STDOUT_FILENO, STDERR_FILENO);
  pid_t pid = -1;
  const int failed = posix_spawn(&pid, "/proc/self/exe", &actions, nullptr, argv.data(), environ);
  posix_spawn_file_actions_destroy(&actions);
  return failed == 0 ? pid : -1;
}

// The games done as the progress files of a stage tell.
std::int64_t stageProgress(const Stage& stage, int jobs) {
  std::int64_t done = 0;
  for (int k = 0; k < jobs; ++k) {
    std::string text;
    if (!db::readFileText((fs::path(stage.folder) / FormatText("shard-%d.progress", k)).string(), text)) continue;
    done += std::max(0LL, std::atoll(text.c_str()));
  }
  return done;
}

// The run's progress: the rate is measured from the first game this
// invocation saw played, so that resumed games do not count as fast ones.
struct RunClock {
  bool started = false;
  Clock::time_point reference;
  std::int64_t gamesAtReference = 0;
  std::int64_t totalGames = 0;      // every game of every stage
  std::int64_t finishedStages = 0;  // games of the stages complete
};

// Plays one stage with `jobs` shard processes, showing progress; then
// merges the shard files into the stage's merged counts.
bool playStage(const Stage& stage, int jobs, const ParsedOptions& options, const std::string& list, RunClock& clock,
               const std::string& stageName) {
  // What the stage's merged counts say about themselves: a later run with
  // other settings must not take them for its own.
  std::string leavesDigest;
  if (!stage.leaves.empty()) {
    std::string text;
    if (!db::readFileText(stage.leaves, text)) {
      say(FormatText("Cannot read the leave values \"%s\".", stage.leaves.c_str()));
      return false;
    }
    leavesDigest = db::digestOf(text);
  }
  auto describe = [&](db::CountsInfo& info) {
    info.list = fs::path(list).filename().string();
    info.seed = runSeed();
    info.generation = stage.generation;
    info.players = stage.players;
    info.next = info.end = stage.games;
    info.leaves = leavesDigest;
  };
  const std::string merged = (fs::path(stage.folder) / "merged.counts").string();
  if (fs::exists(merged)) {
    std::string text;
    db::EvalCounts held;
    if (!db::readFileText(merged, text)) {
      say(FormatText("Cannot read \"%s\".", merged.c_str()));
      return false;
    }
    db::readCounts(text, held);
    db::CountsInfo expected;
    describe(expected);
    if (!(held.info == expected)) {
      say(FormatText("%s holds the games of another run (other games, seed or leave values): remove the folder "
                     "or choose another --out.",
                     stage.folder.c_str()));
      return false;
    }
    say(FormatText("%s: already played (%s).", stageName.c_str(), merged.c_str()));
    clock.finishedStages += stage.games;
    return true;
  }
  std::error_code error;
  fs::create_directories(stage.folder, error);
  const std::string dataFolder = fs::current_path(error).string();
  std::vector<pid_t> children;
  for (int k = 0; k < jobs; ++k) {
    std::vector<std::string> args = {"pexil-cli", "--data", dataFolder, "--no-colour", "--seed", std::to_string(runSeed()),
                                     "build-data", "shard", "--list", list,
                                     "--generation", std::to_string(stage.generation), "--players", std::to_string(stage.players),
                                     "--shard", std::to_string(k), "--shards", std::to_string(jobs),
                                     "--games", std::to_string(stage.games), "--out", stage.folder,
                                     "--progress", (fs::path(stage.folder) / FormatText("shard-%d.progress", k)).string()};
    if (const auto type = options.value("--type")) args.insert(args.end(), {"--type", *type});
    if (const auto kind = options.value("--kind")) args.insert(args.end(), {"--kind", *kind});
    if (!stage.leaves.empty()) args.insert(args.end(), {"--leaves", stage.leaves});
    const pid_t pid = spawnSelf(args, (fs::path(stage.folder) / FormatText("shard-%d.log", k)).string());
    if (pid < 0) {
      say("Cannot start a shard process.");
      for (pid_t child : children) waitpid(child, nullptr, 0);
      return false;
    }
    children.push_back(pid);
  }

  // Progress every few seconds until every shard has ended.
  std::vector<bool> running(children.size(), true);
  bool failed = false;
  auto lastShown = Clock::now();
  for (;;) {
    int alive = 0;
    for (std::size_t k = 0; k < children.size(); ++k) {
      if (!running[k]) continue;
      int status = 0;
      const pid_t r = waitpid(children[k], &status, WNOHANG);
      if (r == children[k]) {
        running[k] = false;
        if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) failed = true;
      } else if (r < 0) {
        running[k] = false;
        failed = true;
      } else {
        ++alive;
      }
    }
    const std::int64_t done = stageProgress(stage, jobs);
    const auto now = Clock::now();
    const std::int64_t all = clock.finishedStages + done;
    if (!clock.started) {
      clock.started = true;
      clock.reference = now;
      clock.gamesAtReference = all;
    }
    if (alive == 0 || now - lastShown >= std::chrono::seconds(10)) {
      lastShown = now;
      const double elapsed = std::chrono::duration<double>(now - clock.reference).count();
      const double rate = elapsed > 0 ? static_cast<double>(all - clock.gamesAtReference) / elapsed : 0;
      const std::string left = rate > 0 ? formatDuration(static_cast<double>(clock.totalGames - all) / rate) : "?";
      say(FormatText("%s: %lld of %lld games (%.0f%%), %.1f games/s, about %s left in all", stageName.c_str(),
                     static_cast<long long>(done), static_cast<long long>(stage.games),
                     stage.games > 0 ? 100.0 * static_cast<double>(done) / static_cast<double>(stage.games) : 100.0, rate,
                     left.c_str()));
    }
    if (alive == 0) break;
    std::this_thread::sleep_for(std::chrono::milliseconds(500));
  }
  if (failed) {
    say(FormatText("A shard failed; see the shard-*.log files in %s. Run the same command again to resume.",
                   stage.folder.c_str()));
    return false;
  }
  std::vector<std::string> paths;
  for (int k = 0; k < jobs; ++k) {
    paths.push_back((fs::path(stage.folder) / shardFileName(list, stage.generation, stage.players, k, jobs)).string());
  }
  db::EvalCounts counts;
  if (!mergeFiles(paths, counts)) return false;
  describe(counts.info);
  if (!db::writeFileAtomically(merged, db::writeCounts(counts))) {
    PrintMessageF(msg::CliCannotWrite, merged.c_str());
    return false;
  }
  clock.finishedStages += stage.games;
  return true;
}

int runWholeBuild(const ParsedOptions& options) {
  long long games = kDefaultGames, generations = kDefaultGenerations;
  long long jobs = std::max(1u, std::thread::hardware_concurrency());
  if (!numberOption(options, "--games", 1, kMostGames, games) || !numberOption(options, "--generations", 1, 1000, generations) ||
      !numberOption(options, "--jobs", 1, 1024, jobs)) {
    return 2;
  }
  long long games3 = games / 10, games4 = games / 10;
  if (!numberOption(options, "--games3", 0, kMostGames, games3) || !numberOption(options, "--games4", 0, kMostGames, games4)) {
    return 2;
  }
  std::string list;
  int failure = 1;
  if (!loadBareList(options, list, failure)) return failure;
  const std::string out = userFilePath(options.value("--out").value_or(db::listBaseName(list) + "-tables"));
  const std::string work = (fs::path(out) / "work").string();
  std::error_code error;
  fs::create_directories(work, error);
  if (!fs::is_directory(work)) {
    PrintMessageF(msg::CliCannotWrite, work.c_str());
    return 1;
  }
  NoWrapPane noWrap;
  say(FormatText("Building the evaluation tables of %s: %lld generations of %lld games, %lld three-player and %lld "
                 "four-player games, seed %u, %lld processes; working files in %s",
                 list.c_str(), generations, games, games3, games4, runSeed(), jobs, work.c_str()));

  RunClock clock;
  clock.totalGames = generations * games + games3 + games4;
  const auto start = Clock::now();
  std::string leaves;
  for (int g = 0; g < generations; ++g) {
    Stage stage;
    stage.generation = g;
    stage.games = games;
    stage.folder = (fs::path(work) / FormatText("gen%d", g)).string();
    stage.leaves = leaves;
    if (!playStage(stage, static_cast<int>(jobs), options, list, clock,
                   FormatText("generation %d of %lld", g + 1, generations))) {
      return 1;
    }
    // The next generation plays with the values this one measured.
    const std::string leavesPath = (fs::path(stage.folder) / "leaves.rack.partial").string();
    if (!fs::exists(leavesPath)) {
      db::EvalCounts counts;
      if (!mergeFiles({(fs::path(stage.folder) / "merged.counts").string()}, counts)) return 1;
      if (!db::writeFileAtomically(leavesPath, db::finishLeaves(counts, db::FinishOptions{}))) {
        PrintMessageF(msg::CliCannotWrite, leavesPath.c_str());
        return 1;
      }
    }
    leaves = leavesPath;
  }
  // The final tables: the last generation's two-player counts, with the
  // three- and four-player games played with its leave values.
  std::vector<std::string> finalCounts = {(fs::path(work) / FormatText("gen%lld", generations - 1) / "merged.counts").string()};
  for (int players = 3; players <= 4; ++players) {
    const long long n = players == 3 ? games3 : games4;
    if (n <= 0) continue;
    Stage stage;
    stage.generation = static_cast<int>(generations - 1);
    stage.players = players;
    stage.games = n;
    stage.folder = (fs::path(work) / FormatText("players%d", players)).string();
    stage.leaves = leaves;
    if (!playStage(stage, static_cast<int>(jobs), options, list, clock, FormatText("%d players", players))) return 1;
    finalCounts.push_back((fs::path(stage.folder) / "merged.counts").string());
  }
  db::EvalCounts counts;
  if (!mergeFiles(finalCounts, counts)) return 1;
  const std::string finalPath = (fs::path(work) / "final.counts").string();
  if (!db::writeFileAtomically(finalPath, db::writeCounts(counts))) {
    PrintMessageF(msg::CliCannotWrite, finalPath.c_str());
    return 1;
  }
  if (!finishInto(counts, out, list, options.has("--generic"))) return 1;
  say(FormatText("Done in %s.", formatDuration(std::chrono::duration<double>(Clock::now() - start).count()).c_str()));
  return 0;
}

}  // namespace

int runBuildData(const Arguments& args) {
  const auto options = parseOptions(args,
                                    {"--type", "--kind", "--list", "--games", "--generations", "--out", "--jobs", "--games3",
                                     "--games4", "--generation", "--shard", "--shards", "--leaves", "--players",
                                     "--progress", "--checkpoint", "--counts", "--baseline-every"},
                                    {"--generic"});
  if (!options) return 2;
  const std::string sub = options->positional.empty() ? std::string() : options->positional.front();
  if (sub == "shard") return runShardCommand(*options);
  if (sub == "merge") return runMergeCommand(*options);
  if (sub == "finish") return runFinishCommand(*options);
  if (!sub.empty()) {
    PrintMessageF(msg::CliBadOption, sub.c_str());
    return 2;
  }
  return runWholeBuild(*options);
}

}  // namespace pexil::cli
