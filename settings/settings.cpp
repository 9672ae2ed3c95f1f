#include "settings.hpp"

#include <algorithm>
#include <charconv>
#include <cstdlib>
#include <cstring>
#include <thread>

#include "search/endgame_state.hpp"
#include "state/game.hpp"

namespace pexil {

const std::vector<SettingKey>& SettingKeys() {
  static const std::vector<SettingKey> keys = {
      {"Freeform", &Settings::freeform},
      {"Beep", &Settings::beep},
      {"TileValue", &Settings::tileValue},
      {"RwClLabels", &Settings::rowColumnLabels},
      {"WideText", &Settings::wideText},
      {"QMEndGame", &Settings::quickMoveEndgame},
      {"ConciseWell", &Settings::conciseWell},
      {"AutoShowWell", &Settings::autoShowWell},
      {"BonusLabels", &Settings::bonusLabels},
      {"Heatmaps", &Settings::heatmaps},
      {"LockHeatmap", &Settings::lockHeatmap},
      {"GreedierEndgame", &Settings::greedierEndgame},
      {"MedianRackDraws", &Settings::medianRackDraws},
      {"HighlightTiles", &Settings::highlightTiles},
      {"HighlightLexicon", &Settings::highlightLexicon},
      {"PhonyLength", &Settings::phonyLength},
      {"ChallengePenalty", &Settings::challengePenalty},
      {"ChallengeType", &Settings::challengeType},
      {"UILang", &Settings::uiLang},
      {"SimPly", &Settings::simPly},
      {"GuessTiles", &Settings::guessTiles},
      {"Threads", &Settings::threads},
      {"SimType", &Settings::simType},
      {"TimeCombo", &Settings::timeCombo},
      {"BlankClr", &Settings::blankColour},
      {"TileTexture", &Settings::tileTexture},
      {"DefaultTime", &Settings::defaultTime},
      {"PlayerName", &Settings::playerName},
      {"LastGamePl", &Settings::lastGamePlayer},
      {"PlayGameEType", &Settings::playGameStrength},
      {"Mood", &Settings::mood},
      {"Preendgame", &Settings::preendgame},
      {"SortRacksPEG", &Settings::sortRacksPreEndgame},
      {"MinSim", &Settings::minSim},
      {"TopMoves", &Settings::topMoves},
      {"OutputHeatmap", &Settings::outputHeatmap},
      {"OutputTileGuesses", &Settings::outputTileGuesses},
      {"DefaultPlayType", &Settings::defaultPlayType},
      {"DefaultGameType", &Settings::defaultGameType},
      {"CustomTileText", &Settings::customTileText},
      {"CustomTileBg", &Settings::customTileBackground},
      {"AnalysisEnabled", &Settings::analysisEnabled},
      {"UploadHost", &Settings::uploadHost},
  };
  return keys;
}

const SettingKey* FindSettingKey(std::string_view key) {
  for (const SettingKey& entry : SettingKeys()) {
    if (key == entry.key) return &entry;
  }
  return nullptr;
}

int ProcessorCount() {
  const unsigned n = std::thread::hardware_concurrency();
  return n == 0 ? 1 : static_cast<int>(n);
}

std::string DefaultSettingsPath() {
  if (const char* named = std::getenv("PEXIL_SETTINGS"); named != nullptr && *named != '\0') return named;
  if (const char* config = std::getenv("XDG_CONFIG_HOME"); config != nullptr && *config == '/') {
    return std::string(config) + "/pexil.conf";
  }
  const char* home = std::getenv("HOME");
  return std::string(home != nullptr && *home != '\0' ? home : ".") + "/.config/pexil.conf";
}

void LoadSettings(Settings& settings, const SettingsStore& store) {
  const Settings defaults;
  for (const SettingKey& entry : SettingKeys()) {
    std::visit(
        [&](auto member) {
          using Value = std::remove_cvref_t<decltype(settings.*member)>;
          if constexpr (std::is_same_v<Value, std::string>) {
            settings.*member = store.readString(entry.key).value_or(defaults.*member);
          } else if constexpr (std::is_same_v<Value, bool>) {
            const auto value = store.readInt(entry.key);
            settings.*member = value ? *value != 0 : defaults.*member;
          } else {
            const auto value = store.readInt(entry.key);
            settings.*member = value ? static_cast<int>(*value) : defaults.*member;
          }
        },
        entry.member);
  }
  if (!store.readInt("Threads")) settings.threads = ProcessorCount();
  settings.hasBenchmark = static_cast<int>(store.readInt("HasBenchmark").value_or(0));
}

bool SaveSettings(const Settings& settings, SettingsStore& store) {
  for (const SettingKey& entry : SettingKeys()) {
    std::visit(
        [&](auto member) {
          using Value = std::remove_cvref_t<decltype(settings.*member)>;
          if constexpr (std::is_same_v<Value, std::string>) {
            store.writeString(entry.key, settings.*member);
          } else {
            store.writeInt(entry.key, static_cast<long>(settings.*member));
          }
        },
        entry.member);
  }
  return store.save();
}

std::optional<std::array<float, 9>> LoadBenchmarkResults(const SettingsStore& store) {
  if (store.readInt("HasBenchmark").value_or(0) == 0) return std::nullopt;
  const auto bytes = store.readBytes("BenchmarkData");
  std::array<float, 9> results{};
  if (!bytes || bytes->size() != sizeof results) return std::nullopt;
  std::memcpy(results.data(), bytes->data(), sizeof results);
  return results;
}

std::optional<BenchmarkRates> StoredRates(const SettingsStore& store) {
  const auto results = LoadBenchmarkResults(store);
  if (!results) return std::nullopt;
  BenchmarkRates rates{};
  std::copy(results->begin(), results->end(), rates.begin());
  return rates;
}

bool SaveBenchmarkResults(const std::array<float, 9>& results, SettingsStore& store) {
  for (const float value : results) {
    if (value == 0.0f) return false;
  }
  std::vector<unsigned char> bytes(sizeof results);
  std::memcpy(bytes.data(), results.data(), sizeof results);
  store.writeBytes("BenchmarkData", bytes);
  store.writeInt("HasBenchmark", 1);
  return store.save();
}

std::string SettingText(const Settings& settings, const SettingKey& key) {
  return std::visit(
      [&](auto member) -> std::string {
        using Value = std::remove_cvref_t<decltype(settings.*member)>;
        if constexpr (std::is_same_v<Value, std::string>) {
          return settings.*member;
        } else {
          return std::to_string(static_cast<int>(settings.*member));
        }
      },
      key.member);
}

bool SetSettingFromText(Settings& settings, const SettingKey& key, std::string_view text) {
  return std::visit(
      [&](auto member) -> bool {
        using Value = std::remove_cvref_t<decltype(settings.*member)>;
        if constexpr (std::is_same_v<Value, std::string>) {
          settings.*member = std::string(text);
          return true;
        } else {
          int value = 0;
          const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
          if (error != std::errc() || end != text.data() + text.size() || text.empty()) return false;
          if constexpr (std::is_same_v<Value, bool>) {
            if (value != 0 && value != 1) return false;
            settings.*member = value != 0;
          } else {
            settings.*member = value;
          }
          return true;
        }
      },
      key.member);
}

void ApplyEngineSettings(const Settings& settings, Game& game) {
  game.medianDraws = settings.medianRackDraws;
  game.minPhonyLength = settings.phonyLength;
  game.challengePenalty = settings.challengePenalty;
  game.challengeType = settings.challengeType;
  game.guessTiles = settings.guessTiles;
  game.trackHeatmaps = settings.heatmaps;
  game.mood = std::clamp(settings.mood, -3, 3);
  game.preEndgameInSimulation = settings.preendgame;
  game.staticEndgameInSimulation = settings.staticEndgameInSimulation;
  game.sortRacksPeg = settings.sortRacksPreEndgame;
  game.threads = settings.threads > 0 ? settings.threads : ProcessorCount();
  endgameOptions().greedier = settings.greedierEndgame;
}

}  // namespace pexil
