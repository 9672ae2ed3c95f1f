// The view's input: the board cursor and typing, tiles dragged between the
// rack and the board, clicks on pane lines, the pane's scroll arrows held
// down, and the keys Enter, Escape, Backspace, Space, Y and the arrows.
#include <algorithm>
#include <mutex>

#include "desktop.hpp"
#include "pane_click.hpp"
#include "pane_scroll.hpp"
#include "rules/letter_codes.hpp"
#include "text/text_pane.hpp"

namespace pexil::ui {

void View::BindInput() {
  Bind(wxEVT_KEY_DOWN, &View::OnKeyDown, this);
  Bind(wxEVT_CHAR, &View::OnChar, this);
  Bind(wxEVT_LEFT_DOWN, &View::OnLeftDown, this);
  Bind(wxEVT_LEFT_DCLICK, &View::OnLeftDown, this);
  Bind(wxEVT_LEFT_UP, &View::OnLeftUp, this);
  Bind(wxEVT_RIGHT_UP, &View::OnRightUp, this);
  Bind(wxEVT_MOTION, &View::OnDragMotion, this);
  Bind(wxEVT_MOUSE_CAPTURE_LOST, &View::OnCaptureLost, this);
  scrollTimer_.SetOwner(this);
  retryPaint_.SetOwner(this);
  Bind(wxEVT_TIMER, &View::OnScrollTimer, this, scrollTimer_.GetId());
  Bind(wxEVT_TIMER, &View::OnRetryPaint, this, retryPaint_.GetId());
}

bool View::MayChangeGame() const {
  return session_.game() != nullptr && (actions_ == nullptr || !actions_->busy());
}

draw::EntryView View::EntryPicture(const Game& game) {
  BoardEntry& entry = session_.entry();
  entry.sync(game);
  draw::EntryView view = EntryPictureOf(entry, game);
  if (drag_.active && drag_.moved) {
    // A tile being dragged off its square shows under the pointer only.
    if (!drag_.fromRack) {
      std::erase_if(view.laid, [&](const draw::EntryView::Tile& tile) {
        return tile.column == drag_.column && tile.row == drag_.row;
      });
    }
    if (drag_.fromRack && drag_.slot >= 0 && drag_.slot < static_cast<int>(view.rack.size())) {
      view.rack.erase(view.rack.begin() + drag_.slot);
    }
    view.dragging = true;
    view.dragged = {0, 0, drag_.letter, drag_.blank};
    view.dragX = drag_.x;
    view.dragY = drag_.y;
  }
  return view;
}

// ---- keys ----

void View::OnKeyDown(wxKeyEvent& event) {
  const int key = event.GetKeyCode();
  const int modifiers = event.GetModifiers();
  if (modifiers != wxMOD_NONE && modifiers != wxMOD_SHIFT) {
    event.Skip();
    return;
  }
  switch (key) {
    case WXK_RETURN:
    case WXK_NUMPAD_ENTER:
      if (actions_ != nullptr && !actions_->busy()) actions_->makeMove();
      return;
    case WXK_ESCAPE:
      if (actions_ != nullptr) {
        actions_->escape();
      } else {
        std::lock_guard<std::mutex> lock(session_.gameMutex());
        session_.entry().recall();
      }
      Refresh(false);
      return;
    default: break;
  }
  const bool navigation = key == WXK_SPACE || key == WXK_BACK || key == WXK_LEFT || key == WXK_RIGHT ||
                          key == WXK_UP || key == WXK_DOWN;
  if (!navigation || modifiers != wxMOD_NONE || !MayChangeGame()) {
    event.Skip();
    return;
  }
  {
    std::lock_guard<std::mutex> lock(session_.gameMutex());
    const Game* game = session_.game();
    BoardEntry& entry = session_.entry();
    if (game == nullptr) return;
    entry.sync(*game);
    switch (key) {
      case WXK_SPACE:
        if (!entry.cursor()) {
          event.Skip();
          return;
        }
        entry.toggleDirection();
        break;
      case WXK_BACK: entry.takeBackLast(); break;
      case WXK_LEFT: entry.moveCursor(*game, -1, 0); break;
      case WXK_RIGHT: entry.moveCursor(*game, 1, 0); break;
      case WXK_UP: entry.moveCursor(*game, 0, -1); break;
      case WXK_DOWN: entry.moveCursor(*game, 0, 1); break;
      default: break;
    }
  }
  Refresh(false);
}

void View::OnChar(wxKeyEvent& event) {
  const wxChar typed = event.GetUnicodeKey();
  if (typed == WXK_NONE || typed < 0x21 || typed > 0xFF || (event.GetModifiers() & (wxMOD_CONTROL | wxMOD_ALT)) != 0) {
    event.Skip();
    return;
  }
  const char letter = static_cast<char>(static_cast<unsigned char>(typed));
  bool hasCursor = false;
  {
    std::lock_guard<std::mutex> lock(session_.gameMutex());
    if (const Game* game = session_.game()) {
      session_.entry().sync(*game);
      hasCursor = session_.entry().cursor().has_value();
    }
  }
  // Y without a board cursor continues the listing that waits for it.
  if (!hasCursor && (letter == 'y' || letter == 'Y')) {
    if (actions_ != nullptr) actions_->continueListing();
    Refresh(false);
    return;
  }
  if (!hasCursor || !MayChangeGame()) {
    event.Skip();
    return;
  }
  {
    std::lock_guard<std::mutex> lock(session_.gameMutex());
    if (const Game* game = session_.game()) {
      if (!session_.entry().typeLetter(*game, letter)) wxBell();
    }
  }
  Refresh(false);
}

// ---- the pointer ----

void View::OnLeftDown(wxMouseEvent& event) {
  SetFocus();
  const int x = event.GetX(), y = event.GetY();
  if (const int arrow = hits_.scrollArrowAt(x, y)) {
    scrolling_ = arrow;
    paneView_.pressedArrow = arrow;
    ScrollPane(arrow);
    scrollDelay_ = kFirstScrollRepeat;
    scrollTimer_.StartOnce(scrollDelay_);
    if (!HasCapture()) CaptureMouse();
    Refresh(false);
    return;
  }
  if (!MayChangeGame()) {
    event.Skip();
    return;
  }
  {
    std::lock_guard<std::mutex> lock(session_.gameMutex());
    const Game* game = session_.game();
    if (game == nullptr) return;
    BoardEntry& entry = session_.entry();
    entry.sync(*game);
    drag_ = Drag();
    if (const draw::HitMap::RackTile* tile = hits_.rackTileAt(x, y); tile != nullptr && tile->player == game->toMove) {
      const std::vector<char> rack = entry.displayedRack(*game, game->toMove);
      if (tile->slot < static_cast<int>(rack.size())) {
        const char c = rack[static_cast<std::size_t>(tile->slot)];
        drag_ = Drag{true, true, tile->slot, 0, 0, c == '?' ? '\0' : c, c == '?', x, y, false};
      }
    } else if (const draw::HitMap::Square* square = hits_.squareAt(x, y)) {
      if (const LaidTile* laid = entry.laidAt(square->column, square->row)) {
        drag_ = Drag{true, false, 0, square->column, square->row, laid->letter, laid->blank, x, y, false};
      } else {
        // A click on a square sets the cursor there; on the cursor's own
        // square it turns the typing direction.
        const auto& cursor = entry.cursor();
        if (cursor && cursor->column == square->column && cursor->row == square->row) {
          entry.toggleDirection();
        } else {
          entry.setCursor(*game, square->column, square->row);
        }
      }
    }
  }
  if (drag_.active && !HasCapture()) CaptureMouse();
  Refresh(false);
  event.Skip();
}

void View::OnDragMotion(wxMouseEvent& event) {
  if (drag_.active && event.LeftIsDown()) {
    const int dx = event.GetX() - drag_.x, dy = event.GetY() - drag_.y;
    if (drag_.moved || dx * dx + dy * dy > 9) {
      drag_.moved = true;
      drag_.x = event.GetX();
      drag_.y = event.GetY();
      Refresh(false);
    }
  } else if (scrolling_ != 0 && hits_.scrollArrowAt(event.GetX(), event.GetY()) != scrolling_) {
    // Off the arrow the repeat pauses; back on it, it goes on.
    paneView_.pressedArrow = 0;
  } else if (scrolling_ != 0) {
    paneView_.pressedArrow = scrolling_;
  }
  event.Skip();
}

void View::OnLeftUp(wxMouseEvent& event) {
  const int x = event.GetX(), y = event.GetY();
  if (HasCapture()) ReleaseMouse();
  if (scrolling_ != 0) {
    StopScrolling();
    return;
  }
  if (drag_.active) {
    const Drag drag = drag_;
    drag_ = Drag();
    if (drag.moved) DropDragged(drag, x, y);
    Refresh(false);
    return;
  }
  const long line = paneView_.lineAt(x, y);
  if (line >= 0 && line == paneView_.selected) PaneLineClicked(line, true);
  event.Skip();
}

void View::OnRightUp(wxMouseEvent& event) {
  const long line = paneView_.lineAt(event.GetX(), event.GetY());
  if (line >= 0 && line == paneView_.selected) PaneLineClicked(line, false);
  event.Skip();
}

void View::OnCaptureLost(wxMouseCaptureLostEvent&) {
  StopScrolling();
  drag_ = Drag();
  Refresh(false);
}

// A tile let go: from the rack onto an empty square (a blank asks for its
// letter first); from a square onto another, or anywhere off the board
// back to the rack. A drop the entry refuses (a taken square) leaves the
// tile where it was.
void View::DropDragged(const Drag& drag, int x, int y) {
  if (!MayChangeGame()) return;
  const draw::HitMap::Square* square = hits_.squareAt(x, y);
  char blankLetter = 0;
  if (drag.fromRack) {
    if (square == nullptr) return;  // back to its place on the rack
    if (drag.blank) {
      // Asked with the game unlocked: the question runs an event loop.
      if (actions_ == nullptr) return;
      const auto typed = actions_->askBlankLetter();
      if (!typed) return;
      const std::string tile = convertMultiLetter(*typed);
      if (tile.size() != 1) {
        wxBell();
        return;
      }
      blankLetter = tile[0];
    }
  }
  std::lock_guard<std::mutex> lock(session_.gameMutex());
  const Game* game = session_.game();
  if (game == nullptr) return;
  BoardEntry& entry = session_.entry();
  entry.sync(*game);
  bool done = true;
  if (drag.fromRack) {
    done = entry.placeFromRack(*game, drag.slot, square->column, square->row, blankLetter);
  } else if (square == nullptr) {
    done = entry.returnToRack(drag.column, drag.row);
  } else if (square->column != drag.column || square->row != drag.row) {
    done = entry.moveLaid(*game, drag.column, drag.row, square->column, square->row);
  }
  if (!done) wxBell();
}

void View::PaneLineClicked(long line, bool left) {
  if (line < 0 || static_cast<std::size_t>(line) >= textPane().LineCount()) return;
  const std::string text = textPane().Line(static_cast<std::size_t>(line));
  PaneLineRead read;
  {
    // The game is read for move lines only while nothing runs.
    std::unique_lock<std::mutex> lock(session_.gameMutex(), std::defer_lock);
    const bool engineIdle = actions_ == nullptr || !actions_->busy();
    const Game* game = nullptr;
    if (engineIdle && lock.try_lock()) game = session_.game();
    read = ReadPaneLine(game, text);
  }
  if (actions_ == nullptr) return;
  switch (read.kind) {
    case PaneLineKind::move:
      if (left) {
        if (!actions_->busy()) actions_->playLine(text);
      } else {
        actions_->lookupWord(read.word);
      }
      break;
    case PaneLineKind::moreMoves:
    case PaneLineKind::moreWords:
      if (left) actions_->continueListing();
      break;
    case PaneLineKind::numberedWord:
      if (left) actions_->lookupWord(read.word);
      break;
    case PaneLineKind::other: break;
  }
  Refresh(false);
}

// ---- the pane's scroll arrows ----

void View::ScrollPane(long steps) {
  const std::size_t first = ScrolledFirst(paneView_.first, steps, paneView_.seenCount, paneView_.visibleLines);
  if (first != paneView_.first) {
    paneView_.first = first;
    Refresh(false);
  }
}

void View::StopScrolling() {
  scrolling_ = 0;
  paneView_.pressedArrow = 0;
  scrollTimer_.Stop();
  Refresh(false);
}

void View::OnScrollTimer(wxTimerEvent&) {
  if (scrolling_ == 0) return;
  if (paneView_.pressedArrow == scrolling_) ScrollPane(scrolling_);
  scrollDelay_ = NextScrollRepeat(scrollDelay_);
  scrollTimer_.StartOnce(scrollDelay_);
}

void View::OnRetryPaint(wxTimerEvent&) { Refresh(false); }

}  // namespace pexil::ui
