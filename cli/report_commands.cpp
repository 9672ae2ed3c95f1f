// The reports of a game from the command line: the HTML recap with its
// board picture (report), the whole-game analysis (analyse-game) and the
// board or screen picture of a position (board-image).
#include <chrono>
#include <cstdlib>
#include <fstream>

#include "commands.hpp"
#include "files/game_analysis_report.hpp"
#include "files/game_recap.hpp"
#include "game_files.hpp"
#include "settings.hpp"
#include "state/abort_flag.hpp"
#include "text/messages.hpp"
#include "text/text_pane.hpp"
#ifdef PEXIL_CLI_DRAWING
#include <stdexcept>

#include "board_image.hpp"
#include "draw_context.hpp"
#include "session.hpp"
#endif

namespace pexil::cli {
namespace {

// The picture size the window has on a common screen.
constexpr int kImageWidth = 1000;
constexpr int kImageHeight = 700;

Settings storedSettings() {
  SettingsStore store;
  Settings settings;
  LoadSettings(settings, store);
  return settings;
}

// Draws the game and saves the board (or the whole view) as PNG. False
// after saying why not.
bool saveImage(const Game& game, const std::string& path, bool boardOnly, int width, int height) {
#ifdef PEXIL_CLI_DRAWING
  try {
    const draw::DrawContext context(".");
    std::string error;
    if (!draw::SaveViewImage(context, game, ui::ViewOptionsOf(storedSettings(), 0), width, height, boardOnly, path, error)) {
      PrintMessageF(msg::CliCannotWrite, path.c_str());
      return false;
    }
  } catch (const std::runtime_error& e) {
    textPane().Print(std::string("The drawing library could not start: ") + e.what());
    return false;
  }
  PrintMessageF(boardOnly ? msg::BoardImageSavedAs : msg::ScreenImageSavedAs, path.c_str());
  return true;
#else
  (void)game;
  (void)boardOnly;
  (void)width;
  (void)height;
  textPane().Print("This pexil-cli was built without the drawing library: no picture of " + path + ".");
  return false;
#endif
}

// The game of a record or position named as the command's one positional
// argument (after move N of a record with --move).
bool openNamed(const ParsedOptions& options, Game& game) {
  ParsedOptions opening = options;
  opening.values["--open"] = options.positional.front();
  opening.positional.clear();
  bool opened = false;
  return openFromOptions(game, opening, opened) && opened;
}

std::optional<int> numberOption(const ParsedOptions& options, const char* name, int low, int high, int fallback) {
  const auto text = options.value(name);
  if (!text) return fallback;
  const auto n = parseNumber(*text, low, high);
  if (!n) {
    PrintMessageF(msg::CliBadOption, (std::string(name) + " " + *text).c_str());
    return std::nullopt;
  }
  return static_cast<int>(*n);
}

}  // namespace

int runReport(const Arguments& args) {
  const char* usage = "report RECORD/POSITION [--move N] [--list NAME] [--out FILE.htm] [--no-image]";
  const auto options = parseOptions(args, {"--move", "--list", "--type", "--kind", "--out"}, {"--no-image"});
  if (!options) return 2;
  if (options->positional.size() != 1) {
    PrintMessageF(msg::CliBadOption, usage);
    return 2;
  }
  Game game;
  if (!openNamed(*options, game)) return 1;
  const std::string path = userFilePath(options->value("--out").value_or("game.htm"));
  RecapOptions recap;
  recap.highlightLexicon = storedSettings().highlightLexicon;
  if (!options->has("--no-image")) {
    // The picture first, named in the page only when it was written.
    const std::string image = RecapImagePath(path);
    if (saveImage(game, image, true, kImageWidth, kImageHeight)) {
      recap.imageFile = FileNameOf(image);
    } else {
      PrintMessage(msg::RecapNoImage);
    }
  }
  if (!WriteGameRecap(game, path, recap)) {
    PrintMessageF(msg::CliCannotWrite, path.c_str());
    return 1;
  }
  PrintMessageF(msg::RecapSavedAs, path.c_str());
  return 0;
}

int runBoardImage(const Arguments& args) {
  const char* usage = "board-image RECORD/POSITION [--move N] [--out FILE.png] [--screen] [--size WIDTHxHEIGHT]";
  const auto options = parseOptions(args, {"--move", "--list", "--type", "--kind", "--out", "--size"}, {"--screen"});
  if (!options) return 2;
  if (options->positional.size() != 1) {
    PrintMessageF(msg::CliBadOption, usage);
    return 2;
  }
  int width = kImageWidth, height = kImageHeight;
  if (const auto size = options->value("--size")) {
    const std::size_t x = size->find('x');
    const auto w = x == std::string::npos ? std::nullopt : parseNumber(size->substr(0, x), 64, 8000);
    const auto h = x == std::string::npos ? std::nullopt : parseNumber(size->substr(x + 1), 64, 8000);
    if (!w || !h) {
      PrintMessageF(msg::CliBadOption, ("--size " + *size).c_str());
      return 2;
    }
    width = static_cast<int>(*w);
    height = static_cast<int>(*h);
  }
  Game game;
  if (!openNamed(*options, game)) return 1;
  const bool screen = options->has("--screen");
  const std::string path = userFilePath(options->value("--out").value_or(screen ? "screen.png" : "board.png"));
  return saveImage(game, path, !screen, width, height) ? 0 : 1;
}

int runAnalyseGame(const Arguments& args) {
  const char* usage =
      "analyse-game RECORD [--list NAME] [--out REPORT] [--top N] [--min-sims N] [--ply N] [--threads N] [--seconds S] "
      "[--no-inference] [--inference] [--heatmaps]";
  const auto options = parseOptions(args, {"--out", "--top", "--min-sims", "--ply", "--threads", "--seconds", "--list"},
                                    {"--no-inference", "--inference", "--heatmaps"});
  if (!options) return 2;
  if (options->positional.size() != 1) {
    PrintMessageF(msg::CliBadOption, usage);
    return 2;
  }
  // The analysis dialog's stored choices, overridden by the options.
  const Settings settings = storedSettings();
  GameAnalysisOptions analysis;
  const auto top = numberOption(*options, "--top", 1, 999, std::max(1, settings.topMoves));
  const auto minSims = numberOption(*options, "--min-sims", 0, 100000, std::max(0, settings.minSim));
  const auto ply = numberOption(*options, "--ply", 1, 99, std::max(1, settings.simPly));
  const auto threads = numberOption(*options, "--threads", 1, 256, Game{}.threads);
  // Seconds per move, fractions allowed (0.5).
  double seconds = 0;
  if (const auto text = options->value("--seconds")) {
    char* end = nullptr;
    seconds = std::strtod(text->c_str(), &end);
    if (text->empty() || end == nullptr || *end != 0 || !(seconds >= 0 && seconds <= 86400)) {
      PrintMessageF(msg::CliBadOption, ("--seconds " + *text).c_str());
      return 2;
    }
  }
  if (!top || !minSims || !ply || !threads) return 2;
  analysis.topMoves = *top;
  analysis.minSimulations = *minSims;
  analysis.ply = *ply;
  analysis.threads = *threads;
  analysis.timeBudget = static_cast<int>(seconds * 100 + 0.5);
  analysis.tileGuesses = settings.outputTileGuesses;
  if (options->has("--inference")) analysis.tileGuesses = true;
  if (options->has("--no-inference")) analysis.tileGuesses = false;
  analysis.heatmaps = options->has("--heatmaps") || settings.outputHeatmap;
  if (const auto list = options->value("--list")) analysis.wordListName = userInputPath(*list);

  const std::string record = userInputPath(options->positional.front());
  const std::string out = options->value("--out") ? userFilePath(*options->value("--out")) : AnalysisReportPath(record);
  std::ofstream file(out, std::ios::binary | std::ios::trunc);
  if (!file) {
    PrintMessage(msg::OutputFileError);
    return 1;
  }
  PrintMessageF(msg::AnalysisStarting, record.c_str());
  setInterruptStopsSearch(true);
  clearAbort();
  const auto start = std::chrono::steady_clock::now();
  TextPane& pane = textPane();
  pane.Redirect(&file);
  const GameAnalysisSummary summary = AnalyzeGameRecord(record, analysis, [&](int number, int total) {
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    pane.PrintProgressToPane(AnalysisProgressLine(number, total, seconds));
  });
  pane.EndRedirect();
  setInterruptStopsSearch(false);
  file.close();
  if (!summary.opened) return 1;
  if (!file) {
    PrintMessageF(msg::CliCannotWrite, out.c_str());
    return 1;
  }
  PrintMessageF(msg::AnalysisWritten, out.c_str());
  return summary.aborted ? 1 : 0;
}

}  // namespace pexil::cli
