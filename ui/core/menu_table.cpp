#include "menu_table.hpp"

namespace pexil::ui {
namespace {

MenuNode item(int n, const char* english, const char* shortcut = "") { return {n, english, shortcut, MenuKind::item, {}}; }
MenuNode check(int n, const char* english, const char* shortcut = "") { return {n, english, shortcut, MenuKind::check, {}}; }
MenuNode sep() { return {0, "", "", MenuKind::separator, {}}; }
MenuNode sub(int n, const char* english, std::vector<MenuNode> children) {
  return {n, english, "", MenuKind::submenu, std::move(children)};
}

std::vector<MenuNode> build() {
  return {
      sub(508, "&File",
          {item(509, "&Open game...", "Ctrl+O"), item(510, "&Save game...", "Ctrl+S"), item(511, "Save game &as..."),
           item(512, "Analyze game..."), sep(), item(513, "Open position..."), item(514, "Save position"),
           item(515, "Save position as..."), sep(), item(516, "Save game &recap..."),
           item(517, "Save rack draw ratings..."), sep(), item(518, "Save &image of board..."),
           item(519, "Save image of screen..."), sep(), item(520, "E&xit")}),
      sub(521, "&Game",
          {item(522, "&Start game..."), item(523, "&New game (same type)"),
           item(524, "New game (same type) against Pexil..."), item(525, "&Autoplay"), check(526, "&Beep on move"),
           item(527, "Set &clock..."), item(528, "Bag contents", "Shift+W"), check(529, "Concise bag contents"),
           check(530, "Auto-show bag contents"), item(531, "Set sc&ores..."), item(532, "Player &names..."),
           item(533, "Game &history", "Ctrl+H"), item(534, "Game statistics"), item(535, "Jump to start", "Home"),
           item(536, "Jump to end", "End"), item(537, "Annotate last move...", "Ctrl+A"),
           check(538, "Analysis enabled during game"), item(539, "Forfeit game")}),
      sub(540, "&Board",
          {check(541, "Show row/column labels", "Shift+L"), check(542, "Force wide text &pane", "Ctrl+T"),
           item(543, "&Print board to text pane", "Shift+B"), item(544, "View &simulation results", "Tab"),
           check(545, "Draw bonus square labels")}),
      sub(546, "&Move",
          {item(547, "&Move", "Enter"), item(548, "&Quick move find", "Shift+Q"),
           check(549, "Quick move uses endgame code"), item(550, "&Fast lookahead...", "Shift+F"),
           sub(551, "Simulation options",
               {check(562, "Lookahead performs pre-endgame search"), check(563, "Use static endgame in simulation"),
                sub(564, "Moods",
                    {check(571, "Extremely optimistic"), check(572, "Very optimistic"), check(573, "Optimistic"),
                     check(574, "Serene and level-headed"), check(575, "Pessimistic"), check(576, "Very pessimistic"),
                     check(577, "Extremely pessimistic")}),
                check(565, "Track heat maps"), check(566, "Lock heat maps on in preview"),
                check(567, "Sort opponent racks in pre-endgame"), check(568, "Use &greedier (but slower) endgame code"),
                item(569, "Word knowledge..."),
                sub(570, "Experimental play flags",
                    {check(-1, "XPF_NONE"), check(-2, "XPF_NO_DANGER_HOOKS"), check(-3, "XPF_CLOSE_BOARD"),
                     check(-4, "XPF_SETUP_TILE_GUESSES")})}),
           item(552, "Analy&ze move...", "Shift+A"), item(553, "Clock &move", "Shift+M"),
           item(554, "Re&call all tiles", "Esc"), item(555, "&Pass", "Shift+P"), item(556, "E&xchange...", "Shift+X"),
           item(557, "Challenge last"), item(558, "Challenge settings..."),
           item(559, "&Highest scoring move (any rack)..."), check(560, "Highlight tiles already on board"),
           item(561, "Abort", "Esc")}),
      sub(578, "&Rack",
          {item(579, "&Set rack...", "Ctrl+R"), check(580, "&Free-form mode"), item(581, "Fill from &well"),
           item(582, "&New rack from well"), item(583, "&Known tiles on opponent rack..."),
           item(584, "S&huffle rack", "Shift+H"), item(585, "&Rate current rack draw"),
           item(586, "Run tile leave &guess"), item(587, "Estimated value of rack leaves"),
           check(588, "Give median rack draws")}),
      sub(589, "&Edit",
          {item(590, "&Undo", "Ctrl+Z"), item(591, "&Redo", "Ctrl+Y"), sep(),
           item(592, "&Copy text pane to clipboard", "Ctrl+Insert"),
           item(593, "Copy &visible text to clipboard", "Ctrl+C"),
           item(594, "Copy simulation pane to clipboard", "Ctrl+P")}),
      sub(595, "Le&xicon",
          {item(596, "Lookup &definition...", "Ctrl+D"), item(597, "&Check word..."),
           item(598, "Select current le&xicon..."), item(599, "Possible &front hooks..."),
           item(600, "Possible &back hooks..."), item(601, "&Anagrams..."), item(602, "&Pattern match..."),
           check(603, "Highlight words by lexicon"), item(604, "Phonies...")}),
      sub(605, "&Tiles",
          {check(606, "White on dark wood"), check(607, "White on medium wood"), check(608, "Black on light wood"),
           check(609, "Black on marble"), check(610, "White on beige marble"), check(611, "Black on tan marble"),
           check(612, "White on blue"), check(613, "Use custom tiles"), sep(),
           sub(614, "Custom tiles", {item(617, "Custom text color..."), item(618, "Custom background color...")}),
           sub(615, "Blank tiles",
               {check(619, "Draw letter in blue"), check(620, "Draw letter in red"), check(621, "Draw letter in orange"),
                check(622, "Draw letter in green"), check(623, "Draw letter in black"),
                check(624, "Draw letter in white"), check(625, "Do not draw letter"),
                item(626, "Custom blank color...")}),
           check(616, "Show tile &value")}),
      sub(627, "Testing",
          {item(628, "Run benchmarks..."), item(629, "Last benchmark results"), item(630, "Run strength tests..."),
           item(631, "Help create opening book...")}),
      sub(632, "UI Language", {check(633, "English"), check(634, "Catal\xE0"), check(635, "Pig Latin")}),
      sub(636, "&Help", {item(637, "&About Pexil..."), item(638, "Pexil &website")}),
  };
}

}  // namespace

const std::vector<MenuNode>& MainMenu() {
  static const std::vector<MenuNode> menu = build();
  return menu;
}

bool NeedsGame(int number) {
  static constexpr int kWithGame[] = {510, 511, 512, 514, 515, 516, 517, 518, 523, 524, 525, 527, 528, 531, 532,
                                      533, 534, 535, 536, 537, 539, 543, 544, 547, 548, 550, 552, 553, 554, 555,
                                      556, 557, 559, 569, 579, 581, 582, 583, 584, 585, 586, 587, 590, 591, 596,
                                      597, 598, 599, 600, 601, 602};
  for (const int n : kWithGame) {
    if (n == number) return true;
  }
  return false;
}

int TileStyleOfItem(int number) {
  static constexpr int kStyles[] = {0, 1, 2, 3, 5, 6, 7, -1};
  return number >= 606 && number <= 613 ? kStyles[number - 606] : -2;
}

int BlankColourOfItem(int number) {
  static constexpr int kColours[] = {0x0000FF, 0xFF0000, 0xFF8000, 0x007F00, 0x000000, 0xFFFFFF, -1};
  return number >= 619 && number <= 625 ? kColours[number - 619] : -2;
}

}  // namespace pexil::ui
