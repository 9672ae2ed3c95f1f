// The File menu's recent list: its order and length, its captions, and
// its round trip through the settings store (Latin-1 names included).
#include <gtest/gtest.h>

#include <unistd.h>

#include <filesystem>

#include "commands_state.hpp"
#include "commands_support.hpp"
#include "recent_files.hpp"
#include "settings.hpp"

namespace pexil::ui {
namespace {

TEST(UiRecentFiles, NewestFirstWithoutRepeatsAtMostFour) {
  RecentFiles recent;
  for (const char* path : {"a.gcg", "b.gcg", "c.pexil", "d.gcg", "e.gcg"}) recent.add(path);
  EXPECT_EQ(recent.paths(), (std::vector<std::string>{"e.gcg", "d.gcg", "c.pexil", "b.gcg"}));
  recent.add("c.pexil");
  EXPECT_EQ(recent.paths(), (std::vector<std::string>{"c.pexil", "e.gcg", "d.gcg", "b.gcg"}));
  recent.remove("e.gcg");
  EXPECT_EQ(recent.paths(), (std::vector<std::string>{"c.pexil", "d.gcg", "b.gcg"}));
  recent.add("");
  EXPECT_EQ(recent.paths().size(), 3u);
}

TEST(UiRecentFiles, CaptionsNumberShortenAndEscape) {
  EXPECT_EQ(RecentFileCaption(0, "/tmp/R&D.gcg"), "&1 /tmp/R&&D.gcg");
  const std::string longPath = "/home/someone/games/" + std::string(60, 'x') + ".gcg";
  const std::string caption = RecentFileCaption(3, longPath);
  EXPECT_EQ(caption.substr(0, 6), "&4 ...");
  EXPECT_EQ(caption.size(), 6u + 40u);
  EXPECT_EQ(caption.substr(caption.size() - 4), ".gcg");
}

TEST(UiRecentFiles, StoredAndReadBackWithLatin1Names) {
  const std::string file =
      (std::filesystem::temp_directory_path() / ("pexil-recent-" + std::to_string(::getpid()) + ".conf")).string();
  std::filesystem::remove(file);
  const std::string catalan = "/tmp/partida de l\xB7l.gcg";  // L·L in Latin-1
  {
    SettingsStore store(file);
    RecentFiles recent;
    recent.add("/tmp/one.gcg");
    recent.add(catalan);
    recent.save(store);
    ASSERT_TRUE(store.save());
  }
  SettingsStore store(file);
  RecentFiles read;
  read.load(store);
  EXPECT_EQ(read.paths(), (std::vector<std::string>{catalan, "/tmp/one.gcg"}));
  std::filesystem::remove(file);
}

// Saving puts the record on the list; a listed file that is gone is taken
// off when opening it fails, and the game shown stays.
TEST(UiRecentFiles, CommandsKeepTheList) {
  test::CommandsBench bench(0, 5, false);
  const auto folder = std::filesystem::temp_directory_path() / ("pexil-recent-files-" + std::to_string(::getpid()));
  std::filesystem::create_directories(folder);
  const std::string record = (folder / "saved.gcg").string();
  bench.commands->run(cmd::pass);
  bench.prompter.file = record;
  bench.commands->run(cmd::saveGameAs);
  ASSERT_FALSE(bench.commands->recentFiles().empty());
  EXPECT_EQ(bench.commands->recentFiles().front(), record);
  {
    SettingsStore store(bench.settingsPath);
    RecentFiles stored;
    stored.load(store);
    EXPECT_EQ(stored.paths().front(), record);
  }
  std::filesystem::remove_all(folder);
  const std::size_t moves = bench.game().history.size();
  bench.commands->openRecent(0);
  bench.settle();
  EXPECT_TRUE(bench.commands->recentFiles().empty());
  EXPECT_EQ(bench.game().history.size(), moves);
}

}  // namespace
}  // namespace pexil::ui
