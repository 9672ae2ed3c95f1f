// The main menu as data: every top-level menu, submenu, item and separator
// in its position, with the message number of its caption and the English
// caption used while the catalogue has none. No wx here.
#pragma once

#include <vector>

namespace pexil::ui {

enum class MenuKind { item, check, submenu, separator };

struct MenuNode {
  int number = 0;               // message number of the caption (0: separator)
  const char* english = "";     // caption with "&" marks
  const char* shortcut = "";    // e.g. "Shift+W"; not translated
  MenuKind kind = MenuKind::item;
  std::vector<MenuNode> children;  // of a top-level menu or submenu
};

// The eleven top-level menus, in order.
const std::vector<MenuNode>& MainMenu();

// Message numbers of commands that act on the view and its settings.
namespace cmd {
inline constexpr int startGame = 522;
inline constexpr int exit = 520;
inline constexpr int rowColumnLabels = 541;
inline constexpr int wideText = 542;
inline constexpr int bonusLabels = 545;
inline constexpr int firstTileStyle = 606;  // 606..612 styles, 613 custom tiles
inline constexpr int customTiles = 613;
inline constexpr int firstBlankColour = 619;  // 619..624 colours, 625 not drawn
inline constexpr int blankNotDrawn = 625;
inline constexpr int tileValue = 616;
inline constexpr int english = 633;
inline constexpr int catalan = 634;
inline constexpr int pigLatin = 635;
inline constexpr int about = 637;
inline constexpr int saveBoardImage = 518;
inline constexpr int saveScreenImage = 519;
inline constexpr int bagContents = 528;
inline constexpr int gameHistory = 533;
inline constexpr int gameStatistics = 534;
inline constexpr int printBoard = 543;
inline constexpr int firstMood = 571;  // 571..577
}  // namespace cmd

// Whether an item's command needs a game to act on.
bool NeedsGame(int number);

// The tile style each style item sets (606..613).
int TileStyleOfItem(int number);
// The blank colour each blank item sets (619..625), -1 for "not drawn".
int BlankColourOfItem(int number);

}  // namespace pexil::ui
