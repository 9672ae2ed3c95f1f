#include "commands_state.hpp"

#include "menu_table.hpp"
#include "movegen/adjustments.hpp"
#include "text/messages.hpp"

namespace pexil::ui {

bool Settings::*ToggledSetting(int number) {
  switch (number) {
    case 526: return &Settings::beep;
    case 529: return &Settings::conciseWell;
    case 530: return &Settings::autoShowWell;
    case 538: return &Settings::analysisEnabled;
    case 541: return &Settings::rowColumnLabels;
    case 542: return &Settings::wideText;
    case 545: return &Settings::bonusLabels;
    case 549: return &Settings::quickMoveEndgame;
    case 560: return &Settings::highlightTiles;
    case 562: return &Settings::preendgame;
    case cmd::staticEndgameInSimulation: return &Settings::staticEndgameInSimulation;
    case 565: return &Settings::heatmaps;
    case 566: return &Settings::lockHeatmap;
    case 567: return &Settings::sortRacksPreEndgame;
    case 568: return &Settings::greedierEndgame;
    case 580: return &Settings::freeform;
    case 588: return &Settings::medianRackDraws;
    case 603: return &Settings::highlightLexicon;
    case 616: return &Settings::tileValue;
    default: return nullptr;
  }
}

bool MovesInGame(int number) {
  switch (number) {
    case cmd::makeMove:
    case cmd::quickMove:
    case cmd::fastLookahead:
    case cmd::analyzeMove:
    case cmd::clockMove:
    case cmd::pass:
    case cmd::exchange:
    case cmd::highestScore:
    case cmd::autoplay: return true;
    default: return false;
  }
}

bool ChangesGame(int number) {
  switch (number) {
    case cmd::exit:
    case cmd::abort:
    case cmd::bagContents:
    case cmd::gameHistory:
    case cmd::gameStatistics:
    case cmd::printBoard:
    case cmd::simulationResults:
    case cmd::copyPane:
    case cmd::copyVisible:
    case cmd::copySimulation:
    case cmd::saveBoardImage:
    case cmd::saveScreenImage:
    case cmd::saveGame:
    case cmd::saveGameAs:
    case cmd::savePosition:
    case cmd::savePositionAs:
    case cmd::definition:
    case cmd::checkWord:
    case cmd::frontHooks:
    case cmd::backHooks:
    case cmd::anagrams:
    case cmd::pattern:
    case cmd::english:
    case cmd::catalan:
    case cmd::pigLatin:
    case cmd::about:
    case cmd::lastBenchmark:
    case cmd::website: return false;
    default: break;
  }
  // The display options and the tile colours change no game.
  if (TileStyleOfItem(number) != -2 || BlankColourOfItem(number) != -2) return false;
  if (number == cmd::customText || number == cmd::customBackground || number == cmd::customBlank) return false;
  if (number == 541 || number == 542 || number == 545 || number == 560 || number == 603 || number == 616 ||
      number == 526 || number == 529 || number == 530) {
    return false;
  }
  return true;
}

bool Commands::checked(int number) const {
  const Settings& s = session_.settings();
  if (bool Settings::*member = ToggledSetting(number)) return s.*member;
  if (number == cmd::english) return s.uiLang == kEnglish;
  if (number == cmd::pigLatin) return s.uiLang == kPigLatin;
  if (number == cmd::catalan) return s.uiLang == kCatalan;
  if (number >= cmd::firstMood && number < cmd::firstMood + 7) return s.mood == 3 - (number - cmd::firstMood);
  if (number <= -1 && number >= -4) return experimentalPlayFlag() == -number - 2;
  if (TileStyleOfItem(number) != -2) return TileStyleOfItem(number) == s.tileTexture;
  if (BlankColourOfItem(number) != -2) return BlankColourOfItem(number) == s.blankColour;
  return false;
}

}  // namespace pexil::ui
