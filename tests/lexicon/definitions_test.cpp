#include "lexicon/definitions.hpp"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <map>
#include <random>
#include <sstream>

#include "rules/letter_codes.hpp"
#include "test_support.hpp"

namespace pexil {
namespace {

using test::PaneCapture;
using test::StateGuard;
using test::InFolder;
using test::TempFolder;
using Lines = std::vector<std::string>;

const std::string kFixture = PEXIL_TEST_DATA "/lexicon/DEFINITIONS";

std::string readFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

// Collects the search's log lines while it lives.
class LogCapture {
 public:
  LogCapture() {
    setDefinitionLog([this](const std::string& line) { lines.push_back(line); });
  }
  ~LogCapture() { setDefinitionLog({}); }
  Lines lines;
};

struct PaneLine {
  std::string text;
  int colour;
  bool operator==(const PaneLine&) const = default;
};
std::ostream& operator<<(std::ostream& out, const PaneLine& line) {
  return out << '"' << line.text << "\" " << std::hex << line.colour << std::dec;
}
std::vector<PaneLine> paneFrom(std::size_t start) {
  std::vector<PaneLine> lines;
  for (std::size_t i = start; i < textPane().LineCount(); ++i) lines.push_back({textPane().Line(i), textPane().LineColour(i)});
  return lines;
}
PaneLine word(const std::string& text) { return {text, colour::orange}; }
PaneLine meaning(const std::string& text) { return {text, colour::cyan}; }

// ---- the search ----

TEST(DefinitionsSearch, OneFilePerAlphabet) {
  const Lines expected{"DEFINITIONS",    "DEFINITIONS.es", "DEFINITIONS.da", "DEFINITIONS.fr", "DEFINITIONS.de",
                       "DEFINITIONS.it", "DEFINITIONS.la", "DEFINITIONS.ca", "DEFINITIONS.sv"};
  for (int alphabet = 0; alphabet < kAlphabetCount; ++alphabet) {
    EXPECT_EQ(definitionsFileName(alphabet), expected[static_cast<std::size_t>(alphabet)]);
  }
  EXPECT_EQ(definitionsFileName(-1), "DEFINITIONS");
  EXPECT_EQ(definitionsFileName(kAlphabetCount), "DEFINITIONS");
}

TEST(DefinitionsSearch, FindsEveryKeyOfTheFixture) {
  std::istringstream lines(readFile(kFixture));
  std::string line;
  int keys = 0;
  LogCapture log;
  while (std::getline(lines, line)) {
    const std::string key = line.substr(0, line.find(' '));
    if (key == "~") continue;  // the end marker; see PastTheLastKeyNothingIsFound
    EXPECT_EQ(findDefinition(kFixture, key), line.substr(key.size() + 1)) << key;
    ++keys;
  }
  EXPECT_EQ(keys, 25);
  EXPECT_TRUE(log.lines.empty());
  // The first line, which only the final check reaches.
  EXPECT_EQ(findDefinition(kFixture, "aa"), "(n.) a rough cindery lava");
}

TEST(DefinitionsSearch, WordsWithoutALineFindNothing) {
  for (const char* missing : {"a", "aaa", "ac", "bi", "ca", "catz", "chain", "chain01", "do", "zzz", "Cat", "CATS"}) {
    EXPECT_EQ(findDefinition(kFixture, missing), std::nullopt) << missing;
  }
  // Nothing that could never be a key: empty, with white space, too long.
  EXPECT_EQ(findDefinition(kFixture, ""), std::nullopt);
  EXPECT_EQ(findDefinition(kFixture, "cat "), std::nullopt);
  EXPECT_EQ(findDefinition(kFixture, "aa (n.)"), std::nullopt);
  EXPECT_EQ(findDefinition(kFixture, std::string(300, 'a')), std::nullopt);
  EXPECT_EQ(findDefinition(kFixture + ".missing", "cat"), std::nullopt);
}

TEST(DefinitionsSearch, PastTheLastKeyNothingIsFound) {
  // Every key is smaller, so the probes move into the last line, after
  // which no line starts: the search looks before it and finds nothing.
  LogCapture log;
  EXPECT_EQ(findDefinition(kFixture, "~~"), std::nullopt);
  EXPECT_TRUE(log.lines.empty());
}

TEST(DefinitionsSearch, TheLastLinesAreFoundToo) {
  // No end marker after the last key: a probe landing in the last line
  // must not end the search.
  TempFolder folder;
  std::string content;
  std::vector<std::string> keys;
  for (char a = 'a'; a <= 'z'; ++a) {
    for (char b = 'a'; b <= 'z'; b += 5) {
      keys.push_back(std::string{a, b});
      content += keys.back() + " meaning of " + keys.back() + "\n";
    }
  }
  const std::string path = folder.write("DEFINITIONS", content);
  LogCapture log;
  for (const std::string& key : keys) EXPECT_EQ(findDefinition(path, key), "meaning of " + key) << key;
  EXPECT_EQ(findDefinition(path, "zzz"), std::nullopt);
  EXPECT_TRUE(log.lines.empty());
}

TEST(DefinitionsSearch, WindowsLineEnds) {
  TempFolder folder;
  const std::string path = folder.write("crlf", "aa one\r\nbb two words\r\ncc\r\ndd four\r\nee five\r\n~ end\r\n");
  EXPECT_EQ(findDefinition(path, "aa"), "one");
  EXPECT_EQ(findDefinition(path, "bb"), "two words");
  EXPECT_EQ(findDefinition(path, "cc"), "");  // a key alone on its line
  EXPECT_EQ(findDefinition(path, "dd"), "four");
  EXPECT_EQ(findDefinition(path, "ee"), "five");
  EXPECT_EQ(findDefinition(path, "c"), std::nullopt);
}

TEST(DefinitionsSearch, KeysInUnsignedByteOrder) {
  // Latin-1 letters sort after z.
  TempFolder folder;
  const std::string path =
      folder.write("latin1", "bar one\nkat two\nzoo three\n\xE6" "ble four\n\xF8l five\n\xFF" "x six\n\xFF\xFF end\n");
  EXPECT_EQ(findDefinition(path, "bar"), "one");
  EXPECT_EQ(findDefinition(path, "kat"), "two");
  EXPECT_EQ(findDefinition(path, "zoo"), "three");
  EXPECT_EQ(findDefinition(path, "\xE6" "ble"), "four");
  EXPECT_EQ(findDefinition(path, "\xF8l"), "five");
  EXPECT_EQ(findDefinition(path, "\xFF" "x"), "six");
}

TEST(DefinitionsSearch, KeyAcrossTheEndOfARead) {
  // The first probe lands near the end of a long first line, so that the
  // next key starts just before the end of the 8192 bytes read there and
  // runs past it. Cut there, the key would read as "bbbbbbbbbb".
  const std::string key(20, 'b');
  std::string rest = key + " second\n";
  for (int i = 0; i < 180; ++i) {
    rest += 'c';
    rest += std::to_string(1000 + i);
    rest += ' ';
    rest.append(100, 'y');
    rest += '\n';
  }
  const std::int64_t firstLength = static_cast<std::int64_t>(rest.size()) + 16364;  // makes the cut 10 bytes into the key
  const std::string first = "aaa " + std::string(static_cast<std::size_t>(firstLength - 5), 'x') + "\n";
  const std::string content = first + rest;
  const std::int64_t mid = static_cast<std::int64_t>(content.size()) / 2;
  ASSERT_EQ(mid + static_cast<std::int64_t>(kDefinitionReadSize), static_cast<std::int64_t>(first.size()) + 10);
  TempFolder folder;
  const std::string path = folder.write("straddle", content);
  LogCapture log;
  EXPECT_EQ(findDefinition(path, key), "second");
  EXPECT_EQ(findDefinition(path, std::string(10, 'b')), std::nullopt);
  EXPECT_EQ(findDefinition(path, "c1090"), std::string(100, 'y'));
}

TEST(DefinitionsSearch, AgreesWithAPlainReadOfTheFile) {
  std::mt19937 random(77);
  auto pick = [&](std::size_t n) { return static_cast<std::size_t>(random() % n); };
  const std::string letters = "abcdeilmnorstu";
  std::map<std::string, std::string> entries;
  while (entries.size() < 300) {
    std::string key;
    for (std::size_t n = 1 + pick(9); n > 0; --n) key += letters[pick(letters.size())];
    std::string text;
    for (std::size_t n = pick(40); n > 0; --n) text += std::string(1 + pick(12), letters[pick(letters.size())]) + " ";
    if (pick(5) == 0) text += "(plural of/" + key + ")";
    entries[key] = text;
  }
  std::string content;
  for (const auto& [key, text] : entries) content += key + (pick(4) ? " " : "\t") + text + "\n";
  content += "~ end\n";
  TempFolder folder;
  const std::string path = folder.write("generated", content);
  LogCapture log;
  for (const auto& [key, text] : entries) EXPECT_EQ(findDefinition(path, key), text) << key;
  EXPECT_TRUE(log.lines.empty());
  for (int i = 0; i < 300; ++i) {
    std::string probe;
    for (std::size_t n = 1 + pick(9); n > 0; --n) probe += letters[pick(letters.size())];
    const auto found = entries.find(probe);
    EXPECT_EQ(findDefinition(path, probe), found == entries.end() ? std::nullopt : std::optional(found->second))
        << probe;
  }
}

// ---- files of any shape ----

TEST(DefinitionsSearch, EmptyFileAndFolders) {
  TempFolder folder;
  LogCapture log;
  EXPECT_EQ(findDefinition(folder.write("empty", ""), "aa"), std::nullopt);
  EXPECT_EQ(findDefinition(folder.write("blank", "\n\n   \n"), "aa"), std::nullopt);
  std::filesystem::create_directory(folder.path("adir"));
  EXPECT_EQ(findDefinition(folder.path("adir"), "aa"), std::nullopt);
}

TEST(DefinitionsSearch, FileWithoutLineEnds) {
  TempFolder folder;
  const std::string path = folder.write("oneline", "cat feline animal");
  LogCapture log;
  EXPECT_EQ(findDefinition(path, "cat"), "feline animal");
  EXPECT_EQ(findDefinition(path, "dog"), std::nullopt);
  EXPECT_EQ(findDefinition(path, "feline"), std::nullopt);
  EXPECT_TRUE(log.lines.empty());  // only one line: the search looks before it
  // The first line's key needs white space after it.
  EXPECT_EQ(findDefinition(folder.write("keyonly", "cat"), "cat"), std::nullopt);
  EXPECT_EQ(findDefinition(folder.write("keyblank", "cat "), "cat"), "");
  // Any other key that ends the file has an empty definition.
  EXPECT_EQ(findDefinition(folder.write("lastkey", "aa x\ncat"), "cat"), "");
}

TEST(DefinitionsSearch, OneHugeLine) {
  TempFolder folder;
  std::string huge = "cat ";
  while (huge.size() < (3u << 20)) huge += "meow ";
  const std::string path = folder.write("huge", huge);
  LogCapture log;
  const auto found = findDefinition(path, "cat");
  ASSERT_TRUE(found.has_value());
  EXPECT_EQ(found->size(), kMaxDefinitionBytes);
  EXPECT_TRUE(found->starts_with("meow meow"));
  EXPECT_EQ(findDefinition(path, "meow"), std::nullopt);

  const std::string solid = folder.write("solid", std::string(3u << 20, 'x'));
  EXPECT_EQ(findDefinition(solid, "x"), std::nullopt);
  EXPECT_EQ(findDefinition(solid, std::string(200, 'x')), std::nullopt);
}

TEST(DefinitionsSearch, BinaryJunk) {
  std::mt19937 random(5);
  LogCapture log;
  TempFolder folder;
  for (int file = 0; file < 8; ++file) {
    std::string junk(1000 + random() % 100000, '\0');
    for (char& c : junk) c = static_cast<char>(random());
    if (file % 2) {
      // Some junk with many line ends and blanks, where keys are found.
      for (std::size_t i = 0; i < junk.size(); i += 1 + random() % 40) junk[i] = (random() % 2) ? '\n' : ' ';
    }
    const std::string path = folder.write("junk" + std::to_string(file), junk);
    for (int probe = 0; probe < 40; ++probe) {
      // Words taken from the junk itself, and plain ones.
      const std::size_t at = random() % junk.size();
      std::string word = junk.substr(at, 1 + random() % 12);
      word.erase(std::remove_if(word.begin(), word.end(),
                                [](char c) { return c == ' ' || c == '\n' || c == '\r' || c == '\t' || c == '\v' || c == '\f'; }),
                 word.end());
      for (const std::string& w : {word, std::string("cat")}) {
        const auto found = findDefinition(path, w);
        if (!found) continue;
        EXPECT_LE(found->size(), kMaxDefinitionBytes);
        EXPECT_EQ(found->find_first_of("\r\n"), std::string::npos);
      }
    }
  }
}

// ---- references ----

TEST(DefinitionReferences, MarkersInTheirOrder) {
  EXPECT_EQ(readReference("(plural of/cat)").baseWord, "cat");
  EXPECT_EQ(readReference("(plural of/cat)").display, "(plural of/cat)");
  // The list's order decides, not the place in the line.
  EXPECT_EQ(readReference("(past of/run) or (plural of/dog)").baseWord, "dog");
  EXPECT_EQ(readReference("(informal spelling of/nite)").baseWord, "nite");
  EXPECT_EQ(readReference("(irregular plural of/mouse)").baseWord, "mouse");
  EXPECT_EQ(readReference("(n.) a thing; (obsolete form of/Olde \t)").baseWord, "olde");
  EXPECT_EQ(readReference("(simple past of/go) (third-person singular of/goes)").baseWord, "go");
  // Without its ')' the marker takes the rest of the line.
  EXPECT_EQ(readReference("(plural of/cat  ").baseWord, "cat");
  EXPECT_EQ(readReference("(plural of/)").baseWord, "");
  EXPECT_EQ(readReference("plural of/cat)").baseWord, "");
}

TEST(DefinitionReferences, AngleBracketConstruct) {
  EXPECT_EQ(readReference("<dog=n. pl.> more than one dog").baseWord, "dog");
  EXPECT_EQ(readReference("<dog=n. pl.> more than one dog").display, "<dog=n. pl.> more than one dog");
  EXPECT_EQ(readReference("x <DOG =y> z").baseWord, "dog");
  EXPECT_EQ(readReference("a < b = c").baseWord, "");       // no '>'
  EXPECT_EQ(readReference("a < b > c = d").baseWord, "");   // '>' before '='
  EXPECT_EQ(readReference("a <> <cat=x>").baseWord, "cat");
  // A marker comes first.
  EXPECT_EQ(readReference("<dog=n.> (plural of/cat)").baseWord, "cat");
}

TEST(DefinitionReferences, AbbreviationsAreRewritten) {
  struct Case {
    const char* line;
    const char* display;
    const char* base;
  };
  for (const Case& c : {Case{"p run", "(past of/run)", "run"},
                        Case{"past of run", "(past of/run)", "run"},
                        Case{"pl cat", "(plural of/cat)", "cat"},
                        Case{"pl. of cat", "(plural of/cat)", "cat"},
                        Case{"plural of Cat \t ", "(plural of/Cat)", "cat"},
                        Case{"pp run", "(present participle of/run)", "run"},
                        Case{"p. p. of run", "(present participle of/run)", "run"},
                        Case{"3ps run", "(third-person singular of/run)", "run"},
                        Case{"2pf t\xDA", "(second-person familiar of/t\xDA)", "t\xFA"},
                        Case{"comp big", "(comparative of/big)", "big"},
                        Case{"supl big", "(superlative of/big)", "big"}}) {
    const DefinitionReference ref = readReference(c.line);
    EXPECT_EQ(ref.display, c.display) << c.line;
    EXPECT_EQ(ref.baseWord, c.base) << c.line;
  }
  // Only at the start, only as whole prefixes, only in lines under 50.
  EXPECT_EQ(readReference("the pl. of cat").baseWord, "");
  EXPECT_EQ(readReference("pluto").baseWord, "");
  EXPECT_EQ(readReference("p").baseWord, "");
  const std::string under = "pl " + std::string(46, 'a');  // 49 characters
  EXPECT_EQ(readReference(under).baseWord, std::string(46, 'a'));
  const std::string limit = "pl " + std::string(47, 'a');  // 50 characters
  EXPECT_EQ(readReference(limit).baseWord, "");
  EXPECT_EQ(readReference(limit).display, limit);
}

// ---- lookups ----

class DefinitionLookupTest : public ::testing::Test {
 protected:
  void SetUp() override {
    setWordListAlphabet(kAlphabetEnglish);
    folder.write("DEFINITIONS", readFile(kFixture));
    resetDefinitionChain();
    start = textPane().LineCount();
  }
  std::vector<PaneLine> printed() const { return paneFrom(start); }

  StateGuard guard;
  TempFolder folder;
  InFolder here{folder.path("")};
  LogCapture log;
  std::size_t start = 0;
};

TEST_F(DefinitionLookupTest, PluralAbbreviationThenTheBaseWord) {
  EXPECT_TRUE(lookupDefinition("cats"));
  EXPECT_EQ(printed(), (std::vector<PaneLine>{
                           word("cats"),
                           meaning("(plural of/cat)"),
                           word("cat"),
                           meaning("(n.) a small domesticated carnivore with soft fur, kept as a"),
                           meaning("pet or for catching mice; also any wild member of the cat"),
                           meaning("family"),
                       }));
}

TEST_F(DefinitionLookupTest, ReferencesOfEveryKind) {
  EXPECT_TRUE(lookupDefinition("dogs"));
  EXPECT_TRUE(lookupDefinition("ran"));
  EXPECT_TRUE(lookupDefinition("runs"));
  EXPECT_TRUE(lookupDefinition("bigger"));
  resetDefinitionChain();
  EXPECT_TRUE(lookupDefinition("biggest"));
  EXPECT_EQ(printed(), (std::vector<PaneLine>{
                           word("dogs"), meaning("<dog=n. pl.> more than one dog"),
                           word("dog"), meaning("(n.) a domesticated canid"),
                           word("ran"), meaning("(past of/run)"),
                           word("run"), meaning("(v.) move fast on foot"),
                           word("runs"), meaning("(third-person singular of/run)"),
                           word("run"), meaning("(v.) move fast on foot"),
                           word("bigger"), meaning("(comparative of/big)"),
                           word("big"), meaning("(adj.) of great size"),
                           word("biggest"), meaning("(superlative of/big)"),
                           word("big"), meaning("(adj.) of great size"),
                       }));
}

TEST_F(DefinitionLookupTest, ChainStopsAfterTheEighthWord) {
  EXPECT_TRUE(lookupDefinition("chain0"));
  std::vector<PaneLine> expected;
  for (int i = 0; i < 8; ++i) {
    expected.push_back(word("chain" + std::to_string(i)));
    expected.push_back(meaning("(alternative form of/chain" + std::to_string(i + 1) + ")"));
  }
  EXPECT_EQ(printed(), expected);
  // The stopped chain put the counter back to 0: the next lookup prints.
  start = textPane().LineCount();
  EXPECT_TRUE(lookupDefinition("aa"));
  EXPECT_EQ(printed(), (std::vector<PaneLine>{word("aa"), meaning("(n.) a rough cindery lava")}));
}

TEST_F(DefinitionLookupTest, EveryCallCountsUntilReset) {
  EXPECT_TRUE(lookupDefinition("cats"));  // two calls
  EXPECT_FALSE(lookupDefinition("zz"));   // a third, finding nothing
  start = textPane().LineCount();
  EXPECT_TRUE(lookupDefinition("chain0"));  // calls 4 to 8 print
  const std::vector<PaneLine> lines = printed();
  ASSERT_EQ(lines.size(), 10u);
  EXPECT_EQ(lines.back(), meaning("(alternative form of/chain5)"));
  // The ninth call printed nothing and started over.
  start = textPane().LineCount();
  EXPECT_TRUE(lookupDefinition("chain8"));
  EXPECT_EQ(printed().size(), 6u);  // chain8, chain9, chaina
}

TEST_F(DefinitionLookupTest, OverlongWordEndsTheWholeLookup) {
  EXPECT_TRUE(lookupDefinition("longword"));
  EXPECT_EQ(printed(), (std::vector<PaneLine>{word("longword"), meaning("(n.) a word:")}));
}

TEST_F(DefinitionLookupTest, WordOfExactlyTheWidthIsPrinted) {
  EXPECT_TRUE(lookupDefinition("sixty"));
  EXPECT_EQ(printed(), (std::vector<PaneLine>{word("sixty"), meaning(std::string(60, 'x')), meaning("(plural of/dog)"),
                                              word("dog"), meaning("(n.) a domesticated canid")}));
}

TEST_F(DefinitionLookupTest, MissingWordOrFilePrintsNothing) {
  EXPECT_FALSE(lookupDefinition("zz"));
  EXPECT_FALSE(lookupDefinition(""));
  EXPECT_FALSE(lookupDefinition("CATS"));  // callers lower the text
  setWordListAlphabet(kAlphabetSpanish);  // no DEFINITIONS.es
  EXPECT_FALSE(lookupDefinition("cats"));
  EXPECT_TRUE(printed().empty());
}

TEST_F(DefinitionLookupTest, FileOfTheListsAlphabet) {
  folder.write("DEFINITIONS.es", "gato (n.) mam\xED" "fero felino\n");
  setWordListAlphabet(kAlphabetSpanish);
  EXPECT_TRUE(lookupDefinition("gato"));
  EXPECT_FALSE(lookupDefinition("cat"));
  EXPECT_EQ(printed(), (std::vector<PaneLine>{word("gato"), meaning("(n.) mam\xED" "fero felino")}));
}

TEST_F(DefinitionLookupTest, ControlCharactersAreNotPrinted) {
  folder.write("DEFINITIONS", "bell (n.) rings\a\x01 loud\x7F" "ly\n~ end\n");
  EXPECT_TRUE(lookupDefinition("bell"));
  EXPECT_EQ(printed(), (std::vector<PaneLine>{word("bell"), meaning("(n.) rings   loud ly")}));
}

TEST_F(DefinitionLookupTest, JunkFilesNeverCrash) {
  std::mt19937 random(11);
  for (int round = 0; round < 6; ++round) {
    std::string junk(random() % 50000, '\0');
    for (char& c : junk) c = static_cast<char>(random() % 4 == 0 ? "\n ()/<=>"[random() % 8] : 'a' + random() % 3);
    folder.write("DEFINITIONS", junk);
    for (const char* w : {"a", "ab", "abc", "b", "ca", "aaa"}) {
      resetDefinitionChain();
      lookupDefinition(w);
    }
  }
  // Every printed line fits the pane.
  for (const PaneLine& line : printed()) EXPECT_LE(line.text.size(), TextPane::kWrapColumn);
}

}  // namespace
}  // namespace pexil
