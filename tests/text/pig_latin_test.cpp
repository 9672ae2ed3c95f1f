#include "text/pig_latin.hpp"

#include <gtest/gtest.h>

#include <string_view>

namespace pexil {
namespace {

TEST(PigLatin, WordsMoveTheirLeadingConsonants) {
  EXPECT_EQ(PigLatin("Type 'y' to see more moves."), "Ypetay 'y' otay eesay oremay ovesmay.");
  EXPECT_EQ(PigLatin("The game is ready."), "Ethay amegay isyay eadyray.");
  EXPECT_EQ(PigLatin("Please select a game type to begin."), "Easeplay electsay ayay amegay ypetay otay eginbay.");
  EXPECT_EQ(PigLatin("quick square yes rhythm"), "ickquay aresquay esyay ythmrhay");
  EXPECT_EQ(PigLatin("a A I"), "ayay Ayay Iyay");
  EXPECT_EQ(PigLatin("N x (y/n)"), "N x (y/n)");
  EXPECT_EQ(PigLatin(""), "");
  EXPECT_EQ(PigLatin("Catal\xE0 \xE9s"), "Atal\xE0" "cay \xE9syay");
}

TEST(PigLatin, CapitalsMoveWithTheWord) {
  EXPECT_EQ(PigLatin("Type Quick"), "Ypetay Ickquay");
  EXPECT_EQ(PigLatin("GAME WORD QUAD"), "AMEGAY ORDWAY ADQUAY");
  EXPECT_EQ(PigLatin("FastSim"), "AstSimfay");
  // Abbreviations stay.
  EXPECT_EQ(PigLatin("GCG CPU OK HTML"), "GCG CPU OK HTML");
}

TEST(PigLatin, ApostrophesAndHyphens) {
  EXPECT_EQ(PigLatin("don't couldn't"), "on'tday ouldn'tcay");
  EXPECT_EQ(PigLatin("Pexil's players' clocks"), "Exilpay's ayersplay' ocksclay");
  EXPECT_EQ(PigLatin("two-player Pre-endgame"), "otway-ayerplay Epray-endgameyay");
}

TEST(PigLatin, PlaceholdersStayAsTheyAre) {
  EXPECT_EQ(PigLatin("%d tiles left in the bag."), "%d ilestay eftlay inyay ethay agbay.");
  EXPECT_EQ(PigLatin("%s expected value %+5.1f%s\n"), "%s expectedyay aluevay %+5.1f%s\n");
  EXPECT_EQ(PigLatin("%ld %.2f %5.1f %-10s %02X %% %c %u"), "%ld %.2f %5.1f %-10s %02X %% %c %u");
  EXPECT_EQ(PigLatin("rating %.1f%% (%d moves)"), "atingray %.1f%% (%d ovesmay)");
  // Letters glued to a conversion belong to it.
  EXPECT_EQ(PigLatin("P%d wins %s%dx %s's move"), "P%d insway %s%dx %s's ovemay");
}

TEST(PigLatin, AcceleratorsStayOnTheirLetter) {
  EXPECT_EQ(PigLatin("&File"), "Ile&fay");
  EXPECT_EQ(PigLatin("&Open game..."), "&Openyay amegay...");
  EXPECT_EQ(PigLatin("Save game &as..."), "Avesay amegay &asyay...");
  EXPECT_EQ(PigLatin("E&xit"), "E&xityay");
  EXPECT_EQ(PigLatin("Set sc&ores..."), "Etsay &oresscay...");
  EXPECT_EQ(PigLatin("Tom & Jerry"), "Omtay & Erryjay");
}

TEST(PigLatin, ShortcutTextAfterATabStays) {
  EXPECT_EQ(PigLatin("Bag contents\tShift+W"), "Agbay ontentscay\tShift+W");
  EXPECT_EQ(PigLatin("Analy&ze move...\tShift+A"), "Analy&zeyay ovemay...\tShift+A");
  EXPECT_EQ(PigLatin("Jump to end\tEnd"), "Umpjay otay endyay\tEnd");
  EXPECT_EQ(PigLatin("a\tb c d"), "ayay\tb c d");
}

TEST(PigLatin, NamesNumbersKeysAndFilesStay) {
  EXPECT_EQ(PigLatin("8D 30 seconds TWL06 XPF_NONE"), "8D 30 econdssay TWL06 XPF_NONE");
  EXPECT_EQ(PigLatin("the file \"game.definitions\" and (*.gcg), e.g. .png"),
            "ethay ilefay \"game.definitions\" andyay (*.gcg), e.g. .png");
  EXPECT_EQ(PigLatin("the format mm:ss."), "ethay ormatfay mm:ss.");
  EXPECT_EQ(PigLatin("Press Ctrl-C, Ctrl+Z or ESC."), "Esspray Ctrl-C, Ctrl+Z oryay ESC.");
  EXPECT_EQ(PigLatin("--top N lists, well [--concise]"), "--top N istslay, ellway [--concise]");
  EXPECT_EQ(PigLatin("#note, <td>Move</td>"), "#note, <td>Ovemay</td>");
  EXPECT_EQ(PigLatin("line one\nline two"), "inelay oneyay\ninelay otway");
  constexpr std::string_view keep[] = {"gametype", "pname"};
  EXPECT_EQ(PigLatin("pname before gametype", keep), "pname eforebay gametype");
}

}  // namespace
}  // namespace pexil
