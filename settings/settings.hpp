// The user's settings: every option the program keeps between runs, with
// its stored name and default, and the store that holds them (one file per
// user, section "Options"). The desktop program and pexil-cli share it, so
// an option changed in either holds in both.
#pragma once

#include <array>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

#include "search/timed_move.hpp"

namespace pexil {

struct Game;

// The in-memory options. Defaults are those of a missing key; `threads`
// 0 stands for "the number of processors" until a game records it.
struct Settings {
  bool freeform = false;
  bool beep = false;
  bool tileValue = true;
  bool rowColumnLabels = false;
  bool wideText = false;
  bool quickMoveEndgame = true;
  bool conciseWell = false;
  bool autoShowWell = false;
  bool bonusLabels = true;
  bool heatmaps = true;
  bool lockHeatmap = false;
  bool greedierEndgame = false;
  bool medianRackDraws = false;
  bool highlightTiles = true;
  bool highlightLexicon = true;
  int phonyLength = 5;
  int challengePenalty = 10;
  int challengeType = 2;
  int uiLang = 0;
  int simPly = 3;
  bool guessTiles = true;
  int threads = 0;
  int simType = 1;
  int timeCombo = 0;
  int blankColour = 255;  // red << 16 | green << 8 | blue; -1: the letter is not drawn
  int tileTexture = 2;    // 0..7, -1 custom colours
  int defaultTime = 150000;
  std::string playerName;
  int lastGamePlayer = 0;
  int playGameStrength = 2;
  int mood = 0;
  bool preendgame = true;
  bool sortRacksPreEndgame = true;
  // "Use static endgame in simulation": for the session only, not stored.
  bool staticEndgameInSimulation = false;
  int minSim = 0;
  int topMoves = 20;
  bool outputHeatmap = false;
  bool outputTileGuesses = true;
  int defaultPlayType = 0;
  int defaultGameType = 0;
  int customTileText = 0;
  int customTileBackground = 0xFFFFFF;
  bool analysisEnabled = false;
  int hasBenchmark = 0;
  // The results server that games are uploaded to; empty (the default):
  // uploading is not set up and nothing is sent.
  std::string uploadHost;
};

// One stored option: its key and where it lives in `Settings`.
struct SettingKey {
  const char* key;
  std::variant<bool Settings::*, int Settings::*, std::string Settings::*> member;
};
// Every key of the table in its order (the benchmark pair is apart).
const std::vector<SettingKey>& SettingKeys();
const SettingKey* FindSettingKey(std::string_view key);

// The processor count the platform reports, at least 1.
int ProcessorCount();

// The settings file of the user: $XDG_CONFIG_HOME/pexil.conf, else
// ~/.config/pexil.conf; $PEXIL_SETTINGS names another file.
std::string DefaultSettingsPath();

// A settings file: read once when made, written whole (to a temporary file
// renamed over the old one) by `Save`. Keys of the file that this program
// does not know are kept. Every failure is reported by `error()`, never
// thrown.
class SettingsStore {
 public:
  explicit SettingsStore(std::string path = DefaultSettingsPath());
  ~SettingsStore();
  SettingsStore(const SettingsStore&) = delete;
  SettingsStore& operator=(const SettingsStore&) = delete;

  const std::string& path() const { return path_; }
  // The value stored under a key of section "Options", if any. Strings are
  // Latin-1 here (the program's text) and UTF-8 in the file; a character
  // beyond Latin-1 reads as '?'.
  std::optional<long> readInt(const std::string& key) const;
  std::optional<std::string> readString(const std::string& key) const;
  std::optional<std::vector<unsigned char>> readBytes(const std::string& key) const;
  bool has(const std::string& key) const;
  void writeInt(const std::string& key, long value);
  void writeString(const std::string& key, const std::string& value);
  void writeBytes(const std::string& key, const std::vector<unsigned char>& bytes);
  // Writes the file; false (with `error()`) when it could not be written.
  bool save();
  // The last problem met reading or writing, empty when none.
  const std::string& error() const { return error_; }

 private:
  struct Impl;
  std::string path_;
  std::string error_;
  std::unique_ptr<Impl> impl_;  // opaque, so that callers need no wx header
};

// Reads every key of the table into `settings`; missing keys (and values of
// the wrong form) take their defaults, `Threads` the processor count.
void LoadSettings(Settings& settings, const SettingsStore& store);
// Writes every key of the table and saves the file.
bool SaveSettings(const Settings& settings, SettingsStore& store);

// The nine benchmark results, when `HasBenchmark` is set and the stored
// value is exactly 36 bytes.
std::optional<std::array<float, 9>> LoadBenchmarkResults(const SettingsStore& store);
// The stored results as the rates the timed move's clock management reads.
std::optional<BenchmarkRates> StoredRates(const SettingsStore& store);
// Stores the nine results and sets `HasBenchmark`, unless one of them is 0
// (then nothing changes and the answer is false).
bool SaveBenchmarkResults(const std::array<float, 9>& results, SettingsStore& store);

// A setting's value as text ("0"/"1" for a flag), and setting it from text;
// false when the text is not a value of the key's kind.
std::string SettingText(const Settings& settings, const SettingKey& key);
bool SetSettingFromText(Settings& settings, const SettingKey& key, std::string_view text);

// Puts the engine's options from the settings into a game and the
// process-wide engine options (greedier endgame, UI language, benchmark
// rates are the caller's).
void ApplyEngineSettings(const Settings& settings, Game& game);

}  // namespace pexil
