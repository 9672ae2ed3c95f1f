// Every dialog of the desktop program opened through the window prompter,
// in each UI language: its title and labels are the catalogue's, OK gives
// back what the controls hold, Cancel gives nothing, and a value the
// dialog cannot take keeps it open with the catalogue's message.
#include <gtest/gtest.h>
#include <wx/colordlg.h>
#include <wx/filedlg.h>
#include <wx/spinctrl.h>
#include <wx/uiaction.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "dialog_driver.hpp"
#include "dialog_support.hpp"
#include "game_dialogs.hpp"
#include "player_dialogs.hpp"
#include "settings_dialogs.hpp"
#include "rules/game_definitions.hpp"
#include "rules/game_rules.hpp"
#include "rules/game_type.hpp"
#include "session.hpp"
#include "text/messages.hpp"
#include "wx_prompter.hpp"

namespace pexil::test {
namespace {

using ui::dlgid::check1;
using ui::dlgid::check2;
using ui::dlgid::list1;
using ui::dlgid::list2;
using ui::dlgid::spin1;
using ui::dlgid::spin2;
using ui::dlgid::text1;
using ui::dlgid::text2;
using ui::dlgid::text3;

std::vector<std::string> messages(int first, int count) {
  std::vector<std::string> texts;
  for (int k = 0; k < count; ++k) texts.push_back(Message(first + k));
  return texts;
}

std::string label(wxDialog& dialog, int id) { return ui::WxToLatin1(dialog.FindWindow(id)->GetLabel()); }

class Dialogs : public testing::TestWithParam<int> {
 protected:
  void SetUp() override {
    SetUILang(GetParam());
    activateGameType(kKindStandard);
    resetCaptured();
    frame_ = new wxFrame(nullptr, wxID_ANY, "dialogs");  // wx frees it once destroyed
    frame_->Show();
    prompter_.emplace(frame_);
  }
  void TearDown() override {
    prompter_.reset();
    frame_->Destroy();
    wxTheApp->ProcessPendingEvents();
    SetUILang(kEnglish);
  }

  ui::WxPrompter& prompter() { return *prompter_; }

 private:
  wxFrame* frame_ = nullptr;
  std::optional<ui::WxPrompter> prompter_;
};

TEST_P(Dialogs, About) {
  // The icon of the folder the program runs in.
  const auto folder = std::filesystem::temp_directory_path() / "pexil-about-test";
  std::filesystem::create_directories(folder);
  const auto before = std::filesystem::current_path();
  std::filesystem::current_path(folder);
  wxImage(16, 16).SaveFile("pexil.png", wxBITMAP_TYPE_PNG);
  drive({expect([](wxDialog& d) {
                  expectTexts(d, msg::DlgTitleAbout, {msg::AboutText, msg::DlgOk});
                  EXPECT_NE(d.FindWindow(ui::dlgid::icon), nullptr);
                  EXPECT_EQ(d.FindWindow(wxID_CANCEL), nullptr);
                }),
         ok()},
        [&] { prompter().about(); });
  std::filesystem::current_path(before);
  std::filesystem::remove_all(folder);
}

TEST_P(Dialogs, EditRack) {
  const auto rack = driven({expect([](wxDialog& d) {
                              expectTexts(d, msg::DlgTitleSetRack, {msg::DlgRackTypeTiles, msg::DlgOk, msg::DlgCancel});
                              EXPECT_EQ(ui::WxToLatin1(control<wxTextCtrl>(d, text1)->GetValue()), "ABC");
                            }),
                            setText(text1, "ABCDEFGH"), ok(), refused(FormatMessage(msg::DlgRackTooLong, 7)),
                            setText(text1, "AB5"), ok(), refused(FormatMessage(msg::DlgNotATile, "5")),
                            setText(text1, ""), ok(), refused(Message(msg::DlgTypeRack)), setText(text1, " qi? "),
                            ok()},
                           [&] { return prompter().editRack("ABC"); });
  EXPECT_EQ(rack, "qi?");
  EXPECT_FALSE(driven({setText(text1, "QI"), cancel()}, [&] { return prompter().editRack("ABC"); }));
}

TEST_P(Dialogs, GeneralRack) {
  const auto value = driven({expect([](wxDialog& d) {
                               expectTexts(d, msg::DlgTitleSetRack, {msg::DlgPlayer, msg::DlgRackTypeTilesPlain});
                               EXPECT_EQ(entries(d, list1), (std::vector<std::string>{"Ann", "Bob", "Cy"}));
                               EXPECT_EQ(control<wxChoice>(d, list1)->GetSelection(), 1);
                             }),
                             ok(), refused(Message(msg::DlgTypeRack)), choose(list1, 2), setText(text1, "ZAX"), ok()},
                            [&] { return prompter().generalRack({"Ann", "Bob", "Cy"}, 1); });
  ASSERT_TRUE(value);
  EXPECT_EQ(value->player, 2);
  EXPECT_EQ(value->value, "ZAX");
  EXPECT_FALSE(driven({cancel()}, [&] { return prompter().generalRack({"Ann", "Bob"}, 0); }));
}

TEST_P(Dialogs, BlankLetterTypedWithTheKeyboard) {
  const auto letter = driven({expect([](wxDialog& d) { expectTexts(d, msg::DlgTitleBlank, {msg::DlgBlankWhichTile}); }),
                              setText(text1, "ab"), ok(), refused(Message(msg::DlgTypeOneLetter)), setText(text1, ""),
                              typeInto(text1, "e"), key(WXK_RETURN)},
                             [&] { return prompter().blankLetter(); });
  EXPECT_EQ(letter, "e");
  EXPECT_FALSE(driven({focusOn(text1), key(WXK_ESCAPE)}, [&] { return prompter().blankLetter(); }));
}

TEST_P(Dialogs, Clock) {
  const auto value = driven({expect([](wxDialog& d) {
                               expectTexts(d, msg::DlgTitleClock,
                                           {msg::DlgClockTime, msg::DlgClockAllPlayers, msg::DlgTimeFormatNote});
                               EXPECT_EQ(ui::WxToLatin1(control<wxTextCtrl>(d, text1)->GetValue()), "25");
                               EXPECT_FALSE(control<wxCheckBox>(d, check1)->GetValue());
                             }),
                             setText(text1, "5:7"), ok(), refused(Message(msg::DlgBadTime)), setText(text1, "0"), ok(),
                             refused(Message(msg::DlgBadTime)), setText(text1, "5:07"), setCheck(check1, true), ok()},
                            [&] { return prompter().clock({"25", false}); });
  ASSERT_TRUE(value);
  EXPECT_EQ(value->time, "5:07");
  EXPECT_TRUE(value->allPlayers);
  EXPECT_EQ(captured().messages.size(), 2u);
  EXPECT_FALSE(driven({setText(text1, "3"), cancel()}, [&] { return prompter().clock({"25", true}); }));
}

TEST_P(Dialogs, LexiconText) {
  const auto text = driven({expect([](wxDialog& d) {
                              EXPECT_EQ(ui::WxToLatin1(d.GetTitle()), Message(msg::DlgTitleLexicon));
                              EXPECT_EQ(labels(d).count("Enter pattern string:"), 1u);
                            }),
                            setText(text1, "qu?z*"), ok()},
                           [&] { return prompter().lexiconText("Enter pattern string:"); });
  EXPECT_EQ(text, "qu?z*");
  EXPECT_FALSE(driven({cancel()}, [&] { return prompter().lexiconText("x"); }));
}

TEST_P(Dialogs, SelectLexicon) {
  const auto chosen = driven({expect([](wxDialog& d) {
                                expectTexts(d, msg::DlgTitleSelectLexicon, {msg::DlgLexiconWhich});
                                EXPECT_EQ(entries(d, list1), (std::vector<std::string>{"ONE.LST", "TWO.LST"}));
                                EXPECT_EQ(control<wxChoice>(d, list1)->GetSelection(), 1);
                              }),
                              choose(list1, 0), ok()},
                             [&] { return prompter().selectLexicon({"ONE.LST", "TWO.LST"}, 1); });
  EXPECT_EQ(chosen, 0);
  EXPECT_FALSE(driven({cancel()}, [&] { return prompter().selectLexicon({"ONE.LST"}, 0); }));
}

TEST_P(Dialogs, Lookahead) {
  ui::LookaheadChoice initial;
  initial.ply = 5;
  initial.threads = 1;
  initial.simType = 0;
  initial.timeCombo = 3;
  initial.guessTiles = false;
  const auto value = driven(
      {expect([](wxDialog& d) {
         expectTexts(d, msg::DlgTitleLookahead,
                     {msg::DlgLookaheadPly, msg::DlgLookaheadThreads, msg::DlgLookaheadMaximize,
                      msg::DlgLookaheadRunTime, msg::DlgGuessOpponentRack});
         EXPECT_EQ(entries(d, list1), messages(msg::DlgMaximizeSpread, 2));
         EXPECT_EQ(entries(d, list2), messages(msg::DlgRunTimeFirst, 10));
         auto* ply = control<wxSpinCtrl>(d, spin1);
         EXPECT_EQ(ply->GetMin(), 1);
         EXPECT_EQ(ply->GetMax(), 99);
         EXPECT_EQ(ply->GetValue(), 5);
         auto* threads = control<wxSpinCtrl>(d, spin2);
         EXPECT_EQ(threads->GetMin(), 1);
         EXPECT_EQ(threads->GetMax(), ui::MaxThreads());
         EXPECT_EQ(control<wxChoice>(d, list1)->GetSelection(), 0);
         EXPECT_EQ(control<wxChoice>(d, list2)->GetSelection(), 3);
       }),
       spin(spin1, 7), choose(list1, 1), choose(list2, 9), setCheck(check1, true), ok()},
      [&] { return prompter().lookahead(initial); });
  ASSERT_TRUE(value);
  EXPECT_EQ(value->ply, 7);
  EXPECT_EQ(value->threads, 1);
  EXPECT_EQ(value->simType, 1);
  EXPECT_EQ(value->timeCombo, 9);
  EXPECT_TRUE(value->guessTiles);
  EXPECT_FALSE(driven({cancel()}, [&] { return prompter().lookahead(initial); }));
}

TEST_P(Dialogs, ExchangeAndKnownTiles) {
  const auto keep = driven({expect([](wxDialog& d) { expectTexts(d, msg::DlgTitleExchange, {msg::DlgExchangeKeep}); }),
                            setText(text1, "A5"), ok(), refused(FormatMessage(msg::DlgNotATile, "5")),
                            setText(text1, "AE"), ok()},
                           [&] { return prompter().exchange("AEIRST?"); });
  EXPECT_EQ(keep, "AE");
  // Keeping nothing exchanges the whole rack.
  EXPECT_EQ(driven({ok()}, [&] { return prompter().exchange("AEIRST?"); }), "");
  const auto known = driven(
      {expect([](wxDialog& d) { expectTexts(d, msg::DlgTitleKnownTiles, {msg::DlgKnownTilesLabel}); }), ok()},
      [&] { return prompter().knownTiles("QU"); });
  EXPECT_EQ(known, "QU");
  EXPECT_FALSE(driven({cancel()}, [&] { return prompter().knownTiles(""); }));
}

TEST_P(Dialogs, TwoScoresAndNames) {
  const std::string range = FormatMessage(msg::DlgNumberRange, ui::kLeastScore, ui::kMostScore);
  const auto scores = driven({expect([](wxDialog& d) {
                                expectTexts(d, msg::DlgTitleScores, {msg::DlgPlayer1, msg::DlgPlayer2});
                                EXPECT_EQ(ui::WxToLatin1(control<wxTextCtrl>(d, text2)->GetValue()), "-5");
                              }),
                              setText(text2, "abc"), ok(), refused(range), setText(text2, "42"), ok()},
                             [&] { return prompter().twoScores({"Ann", "Bob"}, {100, -5}); });
  EXPECT_EQ(scores, (std::vector<std::string>{"100", "42"}));
  const auto names = driven({expect([](wxDialog& d) {
                               expectTexts(d, msg::DlgTitleNames, {msg::DlgPlayer1, msg::DlgPlayer2});
                             }),
                             setText(text1, " "), ok(), refused(Message(msg::DlgTypeName)), setText(text1, "Zo\xEB"),
                             ok()},
                            [&] { return prompter().twoNames({"Ann", "Bob"}); });
  EXPECT_EQ(names, (std::vector<std::string>{"Zo\xEB", "Bob"}));
  EXPECT_FALSE(driven({cancel()}, [&] { return prompter().twoNames({"Ann", "Bob"}); }));
}

TEST_P(Dialogs, OnePlayersScoreAndName) {
  const auto score = driven(
      {expect([](wxDialog& d) {
         expectTexts(d, msg::DlgTitleScore, {msg::DlgScorePlayerName, msg::DlgScorePlayerScore});
         EXPECT_EQ(ui::WxToLatin1(control<wxTextCtrl>(d, text1)->GetValue()), "1");
       }),
       choose(list1, 2),
       expect([](wxDialog& d) { EXPECT_EQ(ui::WxToLatin1(control<wxTextCtrl>(d, text1)->GetValue()), "3"); }),
       setText(text1, "1000000"), ok(), refused(FormatMessage(msg::DlgNumberRange, ui::kLeastScore, ui::kMostScore)),
       setText(text1, "77"), ok()},
      [&] { return prompter().playerScore({"Ann", "Bob", "Cy"}, {1, 2, 3}); });
  ASSERT_TRUE(score);
  EXPECT_EQ(score->player, 2);
  EXPECT_EQ(score->value, "77");
  const auto name = driven(
      {expect([](wxDialog& d) { expectTexts(d, msg::DlgTitlePlayerNames, {msg::DlgPlayer, msg::DlgNewName}); }),
       choose(list1, 1),
       expect([](wxDialog& d) { EXPECT_EQ(ui::WxToLatin1(control<wxTextCtrl>(d, text1)->GetValue()), "Bob"); }),
       setText(text1, "Bo"), ok()},
      [&] { return prompter().playerName({"Ann", "Bob", "Cy"}); });
  ASSERT_TRUE(name);
  EXPECT_EQ(name->player, 1);
  EXPECT_EQ(name->value, "Bo");
  EXPECT_FALSE(driven({cancel()}, [&] { return prompter().playerName({"Ann", "Bob", "Cy"}); }));
}

// Game types of the shipped definitions and one more that takes two or
// three players only.
class DefinitionsWithTrio {
 public:
  DefinitionsWithTrio() {
    readGameDefinitions(PEXIL_SOURCE_DIR "/data/game.definitions");
    std::ifstream in(PEXIL_SOURCE_DIR "/data/game.definitions", std::ios::binary);
    std::stringstream text;
    text << in.rdbuf() << "\nGame \"Trio\"\ncopy \"" << gameType(0).name.value_or("") << "\"\nnumplayers 2 3\nGameEnd\n";
    readGameDefinitions(text);
  }
  ~DefinitionsWithTrio() { readGameDefinitions(PEXIL_SOURCE_DIR "/data/game.definitions"); }
  DefinitionsWithTrio(const DefinitionsWithTrio&) = delete;
  DefinitionsWithTrio& operator=(const DefinitionsWithTrio&) = delete;
};

TEST_P(Dialogs, SelectGameWithTheKeyboard) {
  DefinitionsWithTrio definitions;
  const std::vector<std::string> names = ui::GameTypeNames();
  const int trio = static_cast<int>(names.size()) - 1;
  ASSERT_EQ(names[trio], "Trio");
  ASSERT_EQ(ui::PlayerRange(0), (std::pair<int, int>{1, 4}));
  const auto value = driven(
      {expect([&](wxDialog& d) {
         expectTexts(d, msg::DlgTitleSelectGame, {msg::DlgSelectGameGame, msg::DlgSelectGamePlayers});
         EXPECT_EQ(entries(d, list1), names);
         auto* players = control<wxSpinCtrl>(d, spin1);
         EXPECT_EQ(players->GetValue(), 4);
         EXPECT_EQ(players->GetMax(), 4);
       }),
       choose(list1, trio),
       expect([](wxDialog& d) {
         auto* players = control<wxSpinCtrl>(d, spin1);
         EXPECT_EQ(players->GetMin(), 2);
         EXPECT_EQ(players->GetMax(), 3);
         EXPECT_EQ(players->GetValue(), 3);
       }),
       spin(spin1, 2), focusOn(spin1), key(WXK_RETURN)},
      [&] { return prompter().selectGame(names, {0, 4}); });
  ASSERT_TRUE(value);
  EXPECT_EQ(value->gameType, trio);
  EXPECT_EQ(value->players, 2);
  EXPECT_FALSE(driven({cancel()}, [&] { return prompter().selectGame(names, {0, 2}); }));
}

TEST_P(Dialogs, AnalyzeMove) {
  const std::vector<std::string> moves = {"8D QI 22", "H8 ZAX 50"};
  ui::AnalyzeMoveChoice initial;
  initial.ply = 4;
  const auto value = driven(
      {expect([&](wxDialog& d) {
         expectTexts(d, msg::DlgTitleAnalyzeMove,
                     {msg::DlgAnalyzeMoveMove, msg::DlgAnalyzeMovePly, msg::DlgAnalyzeMoveThreads,
                      msg::DlgGuessOpponentRack});
         EXPECT_EQ(entries(d, list1), (std::vector<std::string>{moves[0], moves[1], Message(msg::DlgCustomExchange)}));
         EXPECT_FALSE(d.FindWindow(text1)->IsEnabled());
         EXPECT_EQ(control<wxSpinCtrl>(d, spin1)->GetMax(), 99);
         EXPECT_EQ(control<wxSpinCtrl>(d, spin2)->GetMax(), ui::MaxThreads());
       }),
       choose(list1, 2), expect([](wxDialog& d) { EXPECT_TRUE(d.FindWindow(text1)->IsEnabled()); }),
       setText(text1, "A5"), ok(), refused(FormatMessage(msg::DlgNotATile, "5")), setText(text1, "AE"),
       spin(spin1, 9), setCheck(check1, false), ok()},
      [&] { return prompter().analyzeMove(moves, initial); });
  ASSERT_TRUE(value);
  EXPECT_EQ(value->candidate, 2);
  EXPECT_EQ(value->keep, "AE");
  EXPECT_EQ(value->ply, 9);
  EXPECT_FALSE(value->guessTiles);
  const auto line = driven({choose(list1, 1), ok()}, [&] { return prompter().analyzeMove(moves, initial); });
  ASSERT_TRUE(line);
  EXPECT_EQ(line->candidate, 1);
  EXPECT_EQ(line->keep, "");
  EXPECT_FALSE(driven({cancel()}, [&] { return prompter().analyzeMove(moves, initial); }));
}

TEST_P(Dialogs, Annotate) {
  const auto note = driven(
      {expect([](wxDialog& d) {
         EXPECT_EQ(ui::WxToLatin1(d.GetTitle()), Message(msg::DlgTitleAnnotations));
         EXPECT_EQ(ui::WxToLatin1(control<wxTextCtrl>(d, text1)->GetValue()), "first");
       }),
       setText(text1, "first\nsecond line"), ok()},
      [&] { return prompter().annotate("first"); });
  EXPECT_EQ(note, "first\nsecond line");
  EXPECT_FALSE(driven({cancel()}, [&] { return prompter().annotate(""); }));
}

TEST_P(Dialogs, PlayPexil) {
  ui::PlayPexilChoice initial;
  initial.name = "Me";
  initial.amount = "25";
  const auto value = driven(
      {expect([](wxDialog& d) {
         expectTexts(d, msg::DlgTitlePlayPexil,
                     {msg::DlgPlayFirstPlayer, msg::DlgPlayYourName, msg::DlgPlayHowPexilPlays,
                      msg::DlgPlayPexilClock, msg::DlgPlaySameTime, msg::DlgTimeFormatNote});
         EXPECT_EQ(entries(d, list1), messages(msg::DlgFirstMe, 4));
         EXPECT_EQ(entries(d, list2), messages(msg::DlgPlayByTime, 2));
       }),
       setText(text2, "0"), ok(), refused(Message(msg::DlgBadTime)), setText(text1, ""), ok(),
       refused(Message(msg::DlgTypeName)), setText(text1, "Kim"), choose(list2, 1),
       expect([](wxDialog& d) { EXPECT_EQ(label(d, ui::dlgid::amountLabel), Message(msg::DlgPlayPlyDepth)); }),
       setText(text2, "41"), ok(), refused(Message(msg::PlayBadPly)), setText(text2, "3"), choose(list1, 3), ok()},
      [&] { return prompter().playPexil(initial); });
  ASSERT_TRUE(value);
  EXPECT_EQ(value->firstTurn, 3);
  EXPECT_EQ(value->name, "Kim");
  EXPECT_EQ(value->playType, 1);
  EXPECT_EQ(value->amount, "3");
  const auto byTime = driven(
      {choose(list2, 1), choose(list2, 0),
       expect([](wxDialog& d) { EXPECT_EQ(label(d, ui::dlgid::amountLabel), Message(msg::DlgPlayPexilClock)); }),
       setText(text2, "1:30"), setCheck(check1, true), ok()},
      [&] { return prompter().playPexil(initial); });
  ASSERT_TRUE(byTime);
  EXPECT_EQ(byTime->playType, 0);
  EXPECT_EQ(byTime->amount, "1:30");
  EXPECT_TRUE(byTime->sameTime);
  EXPECT_FALSE(driven({cancel()}, [&] { return prompter().playPexil(initial); }));
}

TEST_P(Dialogs, AnalyzeGame) {
  ui::AnalyzeGameChoice initial;
  initial.path = "game.analysis.txt";
  const auto value = driven(
      {expect([](wxDialog& d) {
         expectTexts(d, msg::DlgTitleAnalyzeGame,
                     {msg::DlgAnalyzeGameTopMoves, msg::DlgAnalyzeGameMinSimulations, msg::DlgAnalyzeGameOutputPath,
                      msg::DlgAnalyzeGamePly, msg::DlgAnalyzeGameTileGuesses, msg::DlgAnalyzeGameHeatmaps});
         EXPECT_EQ(ui::WxToLatin1(control<wxTextCtrl>(d, text1)->GetValue()), "20");
         EXPECT_EQ(ui::WxToLatin1(control<wxTextCtrl>(d, text3)->GetValue()), "game.analysis.txt");
       }),
       setText(text1, "0"), ok(), refused(FormatMessage(msg::DlgNumberRange, 1, ui::kMostTopMoves)),
       setText(text1, "5"), setText(text2, "-1"), ok(), refused(FormatMessage(msg::DlgNumberRange, 0, ui::kMostMinSim)),
       setText(text2, "100"), setText(text3, "/tmp/out.txt"), spin(spin1, 2), setCheck(check1, false),
       setCheck(check2, true), ok()},
      [&] { return prompter().analyzeGame(initial); });
  ASSERT_TRUE(value);
  EXPECT_EQ(value->topMoves, 5);
  EXPECT_EQ(value->minSim, 100);
  EXPECT_EQ(value->path, "/tmp/out.txt");
  EXPECT_EQ(value->ply, 2);
  EXPECT_FALSE(value->tileGuesses);
  EXPECT_TRUE(value->heatmaps);
  EXPECT_FALSE(driven({cancel()}, [&] { return prompter().analyzeGame(initial); }));
}

TEST_P(Dialogs, Phonies) {
  const auto length = driven({expect([](wxDialog& d) {
                                expectTexts(d, msg::DlgTitlePhonies, {msg::DlgPhonyMinLength});
                                EXPECT_EQ(control<wxSpinCtrl>(d, spin1)->GetValue(), 5);
                              }),
                              spin(spin1, 7), ok()},
                             [&] { return prompter().phonies(5); });
  EXPECT_EQ(length, 7);
  EXPECT_FALSE(driven({cancel()}, [&] { return prompter().phonies(5); }));
}

TEST_P(Dialogs, ChallengeShowsTheChosenRule) {
  const auto note = [](wxDialog& d) { return flat(label(d, ui::dlgid::note)); };
  const auto value = driven(
      {expect([&](wxDialog& d) {
         expectTexts(d, msg::DlgTitleChallenge, {msg::DlgChallengeTypeLabel, msg::DlgChallengePointPenalty});
         EXPECT_EQ(entries(d, list1), messages(msg::DlgChallengeSingle, 5));
         EXPECT_EQ(note(d), flat(Message(msg::DlgChallengePenaltyNote)));
       }),
       choose(list1, 4), expect([&](wxDialog& d) { EXPECT_EQ(note(d), flat(Message(msg::DlgChallengeNoneNote))); }),
       choose(list1, 0), expect([&](wxDialog& d) { EXPECT_EQ(note(d), flat(Message(msg::DlgChallengeSingleNote))); }),
       setText(text1, "x"), ok(), refused(FormatMessage(msg::DlgNumberRange, 0, ui::kMostPenalty)),
       setText(text1, "15"), choose(list1, 3), ok()},
      [&] { return prompter().challenge({2, 10}); });
  ASSERT_TRUE(value);
  EXPECT_EQ(value->type, 3);
  EXPECT_EQ(value->penalty, 15);
  EXPECT_FALSE(driven({cancel()}, [&] { return prompter().challenge({2, 10}); }));
}

TEST_P(Dialogs, WordKnowledge) {
  const auto folder = std::filesystem::temp_directory_path() / "pexil-word-knowledge-test";
  std::filesystem::create_directories(folder);
  {
    std::ofstream out(folder / "words.txt", std::ios::binary);
    out << "JO\nqi\n\nxu\n";
  }
  const auto listed = [](wxDialog& d) {
    std::vector<std::string> words;
    auto* list = control<wxListBox>(d, ui::dlgid::words);
    for (unsigned k = 0; k < list->GetCount(); ++k) words.push_back(ui::WxToLatin1(list->GetString(k)));
    return words;
  };
  captured().answers = {false, true};
  const auto words = driven(
      {expect([&](wxDialog& d) {
         expectTexts(d, msg::DlgTitleWordKnowledge,
                     {msg::DlgWordKnowledgeWord, msg::DlgWordKnowledgeAdd, msg::DlgWordKnowledgeFromFile,
                      msg::DlgWordKnowledgeDelete, msg::DlgWordKnowledgeDeleteAll});
         EXPECT_EQ(listed(d), (std::vector<std::string>{"QI"}));
       }),
       setText(text1, "zax"), press(ui::dlgid::add), setText(text1, "qi"), press(ui::dlgid::add),
       refused(Message(msg::DlgWordListed)),
       [&](wxDialog&) {
         captured().wordFile = (folder / "missing.txt").string();
         return true;
       },
       press(ui::dlgid::fromFile), refused(FormatMessage(msg::DlgFileUnreadable, (folder / "missing.txt").c_str())),
       [&](wxDialog&) {
         captured().wordFile = (folder / "words.txt").string();
         return true;
       },
       press(ui::dlgid::fromFile), refused(FormatMessage(msg::DlgWordsAdded, 2)),
       expect([&](wxDialog& d) { EXPECT_EQ(listed(d), (std::vector<std::string>{"QI", "zax", "JO", "xu"})); }),
       [](wxDialog& d) {
         control<wxListBox>(d, ui::dlgid::words)->SetSelection(1);
         return true;
       },
       press(ui::dlgid::remove),
       expect([&](wxDialog& d) { EXPECT_EQ(listed(d), (std::vector<std::string>{"QI", "JO", "xu"})); }),
       press(ui::dlgid::removeAll), expect([&](wxDialog& d) { EXPECT_EQ(listed(d).size(), 3u); }),
       press(ui::dlgid::removeAll), expect([&](wxDialog& d) { EXPECT_TRUE(listed(d).empty()); }),
       setText(text1, "cwm"), press(ui::dlgid::add), ok()},
      [&] { return prompter().wordKnowledge({"QI"}); });
  EXPECT_EQ(words, (std::vector<std::string>{"cwm"}));
  EXPECT_EQ(captured().questions,
            (std::vector<std::string>{Message(msg::DlgDeleteAllQuestion), Message(msg::DlgDeleteAllQuestion)}));
  EXPECT_FALSE(driven({cancel()}, [&] { return prompter().wordKnowledge({"QI"}); }));
  std::filesystem::remove_all(folder);
}

TEST_P(Dialogs, FileColourAndQuestionChoosers) {
  // The file dialogs have the kind's title, filter and default name;
  // Cancel gives nothing, and a saved name gets the kind's extension.
  std::string title;
  std::string filter;
  std::string name;
  const auto look = [&](wxDialog& d) {
    auto* files = dynamic_cast<wxFileDialog*>(&d);
    EXPECT_NE(files, nullptr);
    title = files != nullptr ? ui::WxToLatin1(files->GetMessage()) : "";
    filter = files != nullptr ? ui::WxToLatin1(files->GetWildcard()) : "";
    name = files != nullptr ? ui::WxToLatin1(files->GetFilename()) : "";
  };
  answerNextAtOnce([&](wxDialog& d) {
    look(d);
    return wxID_CANCEL;
  });
  EXPECT_FALSE(prompter().openFile(ui::FileKind::game));
  EXPECT_EQ(title, Message(msg::FileDlgOpenGame));
  EXPECT_EQ(filter, std::string(Message(msg::FileFilterGames)) + "|*.gcg|" + Message(msg::FileFilterAll) + "|*");
  const auto folder = std::filesystem::temp_directory_path();
  // Enter in the chooser's name field takes the name set.
  const auto saved = driven({[&](wxDialog& d) {
                               look(d);
                               dynamic_cast<wxFileDialog&>(d).SetPath(ui::Latin1ToWx((folder / "picture").string()));
                               return true;
                             },
                             [ticks = 0](wxDialog& d) mutable {
                               // The pointer over the chooser gives it the keyboard.
                               if (ticks++ == 0) {
                                 wxUIActionSimulator().MouseMove(d.GetScreenRect().GetPosition() + wxPoint(20, 20));
                               }
                               return ticks > 8;
                             },
                             key(WXK_RETURN)},
                            [&] { return prompter().saveFile(ui::FileKind::image, "board"); });
  EXPECT_EQ(saved, (folder / "picture.png").string());
  EXPECT_EQ(title, Message(msg::FileDlgSaveImage));
  EXPECT_EQ(name, "board.png");
  EXPECT_EQ(filter, std::string(Message(msg::FileFilterImages)) + "|*.png|" + Message(msg::FileFilterAll) + "|*");

  // The colour chooser has the caller's title and starts from the colour
  // given, which OK gives back unchanged.
  answerNextAtOnce([&](wxDialog& d) {
    title = ui::WxToLatin1(d.GetTitle());
    auto* colours = dynamic_cast<wxColourDialog*>(&d);
    EXPECT_NE(colours, nullptr);
    if (colours != nullptr) {
      EXPECT_EQ(colours->GetColourData().GetColour(), wxColour(0x12, 0x34, 0x56));
    }
    return wxID_OK;
  });
  EXPECT_EQ(prompter().colour(msg::ColourDlgBlankLetter, 0x123456), 0x123456);
  EXPECT_EQ(title, Message(msg::ColourDlgBlankLetter));
  answerNextAtOnce([](wxDialog&) { return wxID_CANCEL; });
  EXPECT_FALSE(prompter().colour(msg::ColourDlgTileText, 0xFFFFFF));

  captured().answers = {true, false};
  EXPECT_TRUE(prompter().confirm("Sure?"));
  EXPECT_FALSE(prompter().confirm("Sure?"));
  EXPECT_EQ(captured().questions, (std::vector<std::string>{"Sure?", "Sure?"}));
}

INSTANTIATE_TEST_SUITE_P(Languages, Dialogs, testing::Values(kEnglish, kPigLatin, kCatalan),
                         [](const testing::TestParamInfo<int>& info) {
                           return std::string(info.param == kEnglish    ? "English"
                                              : info.param == kPigLatin ? "PigLatin"
                                                                        : "Catalan");
                         });

// The default extensions the save dialogs add.
TEST(FileKinds, DefaultExtensions) {
  using ui::FileKind;
  EXPECT_EQ(ui::WithDefaultExtension("/home/me/game", FileKind::game), "/home/me/game.gcg");
  EXPECT_EQ(ui::WithDefaultExtension("/home/me/game", FileKind::position), "/home/me/game.pexil");
  EXPECT_EQ(ui::WithDefaultExtension("recap", FileKind::recap), "recap.htm");
  EXPECT_EQ(ui::WithDefaultExtension("/a.b/board", FileKind::image), "/a.b/board.png");
  EXPECT_EQ(ui::WithDefaultExtension("ratings", FileKind::ratings), "ratings.txt");
  EXPECT_EQ(ui::WithDefaultExtension("/home/me/game.GCG", FileKind::game), "/home/me/game.GCG");
  EXPECT_EQ(ui::WithDefaultExtension("/home/me/notes.txt", FileKind::image), "/home/me/notes.txt");
  EXPECT_EQ(ui::FileKindTexts(FileKind::position).openTitle, msg::FileDlgOpenPosition);
  EXPECT_EQ(ui::FileKindTexts(FileKind::image).saveTitle, msg::FileDlgSaveImage);
}

}  // namespace
}  // namespace pexil::test
