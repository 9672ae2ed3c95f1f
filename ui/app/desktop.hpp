// The wx side of the desktop program: the application, the frame with the
// main menu, and the view that shows the off-screen picture.
#pragma once

#include <wx/wx.h>

#include <atomic>
#include <map>
#include <thread>
#include <memory>

#include "draw_context.hpp"
#include "launch_options.hpp"
#include "menu_table.hpp"
#include "renderer.hpp"
#include "session.hpp"
#include "view_actions.hpp"

namespace pexil::ui {

class View : public wxWindow {
 public:
  // `selectedLine`: the pane line selected at first (a previewed move), or -1.
  View(wxWindow* parent, draw::DrawContext& context, Session& session, const LaunchOptions& options,
       long selectedLine);
  ~View() override;
  // Asks for a repaint from any thread; requests made before the last one
  // was served are merged into it.
  void RequestRepaint();
  // The picture of the last paint (none before the first one).
  const draw::Canvas* canvas() const { return canvas_.get(); }
  // The commands the view's input calls (none: Escape recalls the laid
  // tiles, the rest does nothing). Not owned.
  void SetActions(ViewActions* actions) { actions_ = actions; }
  // The pane's first visible line and the number of visible lines.
  std::size_t FirstVisibleLine() const { return paneView_.first; }
  int VisibleLineCount() const { return paneView_.visibleLines; }
  // Where the last paint put the squares, the rack tiles, the scroll
  // arrows and the pane's lines (the window tests point at them).
  const draw::HitMap& Hits() const { return hits_; }
  const draw::PaneView& PaneLayout() const { return paneView_; }

 private:
  // ---- input: the board cursor, typing, dragging tiles, pane clicks and
  // scrolling (view_input.cpp) ----
  void BindInput();
  void OnKeyDown(wxKeyEvent& event);
  void OnChar(wxKeyEvent& event);
  void OnLeftDown(wxMouseEvent& event);
  void OnLeftUp(wxMouseEvent& event);
  void OnRightUp(wxMouseEvent& event);
  void OnDragMotion(wxMouseEvent& event);
  void OnCaptureLost(wxMouseCaptureLostEvent& event);
  void OnScrollTimer(wxTimerEvent& event);
  void OnRetryPaint(wxTimerEvent& event);
  // Scrolls the pane by `steps` lines (negative: up).
  void ScrollPane(long steps);
  void StopScrolling();
  // A pane line released on: what it asks for.
  void PaneLineClicked(long line, bool left);
  // Whether the game may be changed by hand now (a game, nothing running).
  bool MayChangeGame() const;
  // The picture of the entry for the next paint (the game locked).
  draw::EntryView EntryPicture(const Game& game);

  ViewActions* actions_ = nullptr;
  draw::HitMap hits_;
  // A tile taken by the pointer: from the rack (its slot) or from a square.
  struct Drag {
    bool active = false;
    bool fromRack = false;
    int slot = 0;
    int column = 0;
    int row = 0;
    char letter = 0;
    bool blank = false;
    int x = 0;
    int y = 0;
    bool moved = false;
  };
  Drag drag_;
  void DropDragged(const Drag& drag, int x, int y);
  int scrolling_ = 0;  // the held scroll arrow: -1 up, 1 down
  int scrollDelay_ = 0;
  wxTimer scrollTimer_;
  wxTimer retryPaint_;

  void OnPaint(wxPaintEvent& event);
  void OnSize(wxSizeEvent& event);
  void ExportFirstPaint();
  void OnMotion(wxMouseEvent& event);
  void OnWheel(wxMouseEvent& event);
  void OnModifierKey(wxKeyEvent& event);
  // The heat map a preview shows: the one the command line asked for until
  // a modifier key is first pressed or released, then the keys held.
  draw::HeatView ShownHeat() const;

  draw::DrawContext& context_;
  Session& session_;
  const LaunchOptions& options_;
  std::unique_ptr<draw::Canvas> canvas_;
  draw::PaneView paneView_;
  std::atomic<bool> repaintPending_{false};
  bool exported_ = false;
  draw::HeatView startHeat_ = draw::HeatView::none;
  bool modifierSeen_ = false;
};

class App : public wxApp {
 public:
  explicit App(LaunchOptions options) : options_(std::move(options)) {}
  bool OnInit() override;
  int OnExit() override;

 private:
  LaunchOptions options_;
  std::unique_ptr<draw::DrawContext> context_;  // outlives every window
  std::unique_ptr<Session> session_;
};

// Converts program text (Latin-1) for wx.
wxString FromLatin1(const std::string& text);

}  // namespace pexil::ui
