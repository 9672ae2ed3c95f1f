// The "Start game..." dialog is the game-select dialog: the game types and
// the number of players the chosen type allows.
#pragma once

#include "dialogs/game_dialogs.hpp"

namespace pexil::ui {

using StartGameDialog = CGameSelectDlg;

}  // namespace pexil::ui
