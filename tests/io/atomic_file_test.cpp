// Files written whole or not at all: a write that fails (beyond the
// file-size limit, into a folder that does not exist or takes no new
// files) reports it, leaves the earlier file as it was and no temporary
// file behind; the record and position writers go that way.
#include <gtest/gtest.h>

#include <signal.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <functional>

#include "files/gcg_test_support.hpp"
#include "files/gcg_writer.hpp"
#include "files/position_file.hpp"
#include "io/atomic_file.hpp"

namespace pexil {
namespace {

namespace fs = std::filesystem;

std::string contents(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

std::vector<std::string> namesIn(const std::string& folder) {
  std::vector<std::string> names;
  for (const auto& entry : fs::directory_iterator(folder)) names.push_back(entry.path().filename().string());
  std::sort(names.begin(), names.end());
  return names;
}

// Runs `write` in a child process whose files may not grow beyond `limit`
// bytes (a write beyond fails instead of raising SIGXFSZ); whether the
// write said it succeeded.
bool writesUnderSizeLimit(rlim_t limit, const std::function<bool()>& write) {
  const pid_t child = ::fork();
  if (child == 0) {
    ::signal(SIGXFSZ, SIG_IGN);
    const rlimit small{limit, limit};
    ::setrlimit(RLIMIT_FSIZE, &small);
    ::_exit(write() ? 1 : 0);
  }
  int status = 0;
  ::waitpid(child, &status, 0);
  EXPECT_TRUE(WIFEXITED(status)) << "the writer did not end normally";
  return WIFEXITED(status) && WEXITSTATUS(status) == 1;
}

class AtomicFiles : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(activateGameType(kKindStandard));
    setWordListAlphabet(kAlphabetEnglish);
    SetUILang(kEnglish);
    textPane().SetQuiet(true);
    setProgramSeed(11u);
    test::playSeededGame(game, 11u, test::wordsWithPhonies());
  }
  void TearDown() override {
    textPane().SetQuiet(false);
    undoStack().clear();
  }
  test::StateGuard guard;
  test::TempFolder folder;
  Game game;
};

TEST_F(AtomicFiles, AFileIsReplacedWhole) {
  const std::string path = folder.write("a.txt", "old text, longer than the new one\n");
  ASSERT_TRUE(writeFileAtomically(path, "new\n"));
  EXPECT_EQ(contents(path), "new\n");
  EXPECT_EQ(namesIn(folder.path("")), std::vector<std::string>{"a.txt"});
}

TEST_F(AtomicFiles, AReplacedFileKeepsItsPermissions) {
  const std::string path = folder.write("a.txt", "old\n");
  fs::permissions(path, fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
  ASSERT_TRUE(writeFileAtomically(path, "new\n"));
  EXPECT_EQ(fs::status(path).permissions() & fs::perms::all,
            fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
}

TEST_F(AtomicFiles, ALinkIsWrittenThrough) {
  const std::string target = folder.write("target.txt", "old\n");
  fs::create_symlink(target, folder.path("link.txt"));
  ASSERT_TRUE(writeFileAtomically(folder.path("link.txt"), "new\n"));
  EXPECT_TRUE(fs::is_symlink(folder.path("link.txt")));
  EXPECT_EQ(contents(target), "new\n");
}

TEST_F(AtomicFiles, AFolderThatDoesNotExistIsRefused) {
  EXPECT_FALSE(writeFileAtomically(folder.path("none/a.txt"), "text"));
  EXPECT_FALSE(WriteGcg(game, folder.path("none/a.gcg")));
  EXPECT_FALSE(WritePosition(game, folder.path("none/a.pexil")));
  EXPECT_TRUE(namesIn(folder.path("")).empty());
  // A folder in place of the file is refused too, and stays.
  fs::create_directory(folder.path("dir"));
  EXPECT_FALSE(writeFileAtomically(folder.path("dir"), "text"));
  EXPECT_TRUE(fs::is_directory(folder.path("dir")));
  EXPECT_EQ(namesIn(folder.path("")), std::vector<std::string>{"dir"});
}

TEST_F(AtomicFiles, AWriterDroppedOrFailingLeavesNoTemporaryFile) {
  const std::string path = folder.write("log.txt", "old log\n");
  {
    AtomicFileWriter writer(path);
    ASSERT_TRUE(writer.isOpen());
    writer.stream() << "half a log";
    EXPECT_EQ(namesIn(folder.path("")).size(), 2u);
  }
  EXPECT_EQ(contents(path), "old log\n");
  EXPECT_EQ(namesIn(folder.path("")), std::vector<std::string>{"log.txt"});
  AtomicFileWriter writer(path);
  writer.stream() << "a whole log\n";
  ASSERT_TRUE(writer.commit());
  EXPECT_TRUE(writer.commit());
  EXPECT_EQ(contents(path), "a whole log\n");
}

TEST_F(AtomicFiles, AWriteBeyondTheFileSizeLimitLeavesTheOldFile) {
  const std::string path = folder.write("big.txt", "old\n");
  const std::string text(100000, 'x');
  EXPECT_FALSE(writesUnderSizeLimit(4096, [&] { return writeFileAtomically(path, text); }));
  EXPECT_EQ(contents(path), "old\n");
  EXPECT_EQ(namesIn(folder.path("")), std::vector<std::string>{"big.txt"});
}

TEST_F(AtomicFiles, ARecordThatCannotBeWrittenWholeLeavesTheOldRecord) {
  const std::string text = GcgText(game);
  ASSERT_GT(text.size(), 1024u);
  const std::string old = "#player1 Old Old\n#player2 Record Record\n>Old: AEHRTTW 8D WATER +24 24\n";
  const std::string path = folder.write("game.gcg", old);
  EXPECT_FALSE(writesUnderSizeLimit(text.size() / 2, [&] { return WriteGcg(game, path); }));
  EXPECT_EQ(contents(path), old);
  EXPECT_EQ(namesIn(folder.path("")), std::vector<std::string>{"game.gcg"});
  // With room enough the record replaces the old one.
  EXPECT_TRUE(writesUnderSizeLimit(text.size() * 2, [&] { return WriteGcg(game, path); }));
  EXPECT_EQ(contents(path), text);
}

TEST_F(AtomicFiles, APositionThatCannotBeWrittenWholeLeavesTheOldPosition) {
  const std::string path = folder.path("game.pexil");
  ASSERT_TRUE(WritePosition(game, path));
  const std::string written = contents(path);
  const std::string old = "gametype\t0\nold position\n";
  folder.write("game.pexil", old);
  EXPECT_FALSE(writesUnderSizeLimit(written.size() / 2, [&] { return WritePosition(game, path); }));
  EXPECT_EQ(contents(path), old);
  EXPECT_EQ(namesIn(folder.path("")), std::vector<std::string>{"game.pexil"});
}

TEST_F(AtomicFiles, AFolderThatTakesNoNewFilesLeavesTheOldRecord) {
  if (::geteuid() == 0) GTEST_SKIP() << "folder permissions do not bind the superuser";
  const std::string old = "#player1 Old Old\n";
  const std::string path = folder.write("game.gcg", old);
  fs::permissions(folder.path(""), fs::perms::owner_read | fs::perms::owner_exec);
  const bool written = WriteGcg(game, path);
  fs::permissions(folder.path(""), fs::perms::owner_all);
  EXPECT_FALSE(written);
  EXPECT_EQ(contents(path), old);
  EXPECT_EQ(namesIn(folder.path("")), std::vector<std::string>{"game.gcg"});
}

}  // namespace
}  // namespace pexil
