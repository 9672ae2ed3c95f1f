#include "desktop.hpp"

#include <cairo.h>
#include <wx/dcbuffer.h>
#include <wx/filedlg.h>
#include <wx/graphics.h>

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <optional>

#include "move_preview.hpp"
#include "play/listings.hpp"
#include "rules/board_text.hpp"
#include "state/game.hpp"
#include "text/messages.hpp"
#include "text/program_version.hpp"
#include "text/text_pane.hpp"
#include "start_game_dialog.hpp"
#include "startup.hpp"

namespace pexil::ui {

wxString FromLatin1(const std::string& text) { return wxString(text.c_str(), wxConvISO8859_1); }

namespace {

constexpr int kFirstMenuId = wxID_HIGHEST + 1000;
int MenuId(int number) { return kFirstMenuId + number + 100; }  // XPF items have numbers -1..-4

// The caption of a menu entry in the current language: the message's text
// before its TAB (the shortcut part stays the English one, which wx reads
// as the accelerator), or the built-in English caption.
wxString Caption(const MenuNode& node) {
  std::string text = node.english;
  if (node.number > 0) {
    const char* m = Message(node.number);
    if (m != nullptr && *m != 0) {
      text = m;
      const auto tab = text.find('\t');
      if (tab != std::string::npos) text.erase(tab);
    }
  }
  wxString caption = FromLatin1(text);
  // GTK takes no Tab accelerator: that one is handled as a key of the view.
  if (*node.shortcut != 0 && std::string(node.shortcut) != "Tab") caption += wxString("\t") + node.shortcut;
  return caption;
}

// The settings that menu items toggle (they take effect where the engine
// or the drawing reads them).
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

bool Implemented(int number) {
  if (ToggledSetting(number) != nullptr || (number >= cmd::firstMood && number < cmd::firstMood + 7)) return true;
  switch (number) {
    case cmd::saveBoardImage:
    case cmd::saveScreenImage:
    case cmd::bagContents:
    case cmd::gameHistory:
    case cmd::gameStatistics:
    case cmd::printBoard:
    case cmd::startGame:
    case cmd::exit:
    case cmd::rowColumnLabels:
    case cmd::wideText:
    case cmd::bonusLabels:
    case cmd::tileValue:
    case cmd::english:
    case cmd::catalan:
    case cmd::pigLatin:
    case cmd::about: return true;
    default: break;
  }
  return TileStyleOfItem(number) != -2 || BlankColourOfItem(number) != -2;
}

}  // namespace

// ---------------------------------------------------------------- View

View::View(wxWindow* parent, draw::DrawContext& context, Session& session, const LaunchOptions& options,
           long selectedLine)
    : wxWindow(parent, wxID_ANY, wxDefaultPosition, wxDefaultSize, wxWANTS_CHARS | wxFULL_REPAINT_ON_RESIZE),
      context_(context),
      session_(session),
      options_(options),
      startHeat_(options.heatmap) {
  paneView_.selected = selectedLine;
  SetBackgroundStyle(wxBG_STYLE_PAINT);
  Bind(wxEVT_PAINT, &View::OnPaint, this);
  Bind(wxEVT_SIZE, &View::OnSize, this);
  Bind(wxEVT_MOTION, &View::OnMotion, this);
  Bind(wxEVT_MOUSEWHEEL, &View::OnWheel, this);
  Bind(wxEVT_KEY_DOWN, &View::OnModifierKey, this);
  Bind(wxEVT_KEY_UP, &View::OnModifierKey, this);
  BindInput();
  textPane().SetRepaintHook([this] { RequestRepaint(); });
}

View::~View() { textPane().SetRepaintHook(nullptr); }

void View::RequestRepaint() {
  if (repaintPending_.exchange(true)) return;
  CallAfter([this] {
    repaintPending_ = false;
    Refresh(false);
  });
}

// The pane line under the pointer is the selected one.
void View::OnMotion(wxMouseEvent& event) {
  const long line = paneView_.lineAt(event.GetX(), event.GetY());
  if (line != paneView_.selected) {
    paneView_.selected = line;
    Refresh(false);
  }
  event.Skip();
}

// The wheel scrolls the pane three lines at a time.
void View::OnWheel(wxMouseEvent& event) {
  const long steps = event.GetWheelRotation() / std::max(1, event.GetWheelDelta());
  const long count = static_cast<long>(paneView_.seenCount);
  const long lastFirst = std::max(0L, count - paneView_.visibleLines);
  const long first = std::clamp(static_cast<long>(paneView_.first) - 3 * steps, 0L, lastFirst);
  if (first != static_cast<long>(paneView_.first)) {
    paneView_.first = static_cast<std::size_t>(first);
    Refresh(false);
  }
}

// Shift, Ctrl and Alt switch the heat map of a preview as they go down
// and up.
void View::OnModifierKey(wxKeyEvent& event) {
  const int key = event.GetKeyCode();
  if (key == WXK_SHIFT || key == WXK_CONTROL || key == WXK_RAW_CONTROL || key == WXK_ALT) {
    modifierSeen_ = true;
    Refresh(false);
  }
  event.Skip();
}

draw::HeatView View::ShownHeat() const {
  if (!modifierSeen_ && startHeat_ != draw::HeatView::none) return startHeat_;
  return HeatViewFor(wxGetKeyState(WXK_SHIFT), wxGetKeyState(WXK_CONTROL), wxGetKeyState(WXK_ALT),
                     session_.settings().lockHeatmap);
}

void View::OnSize(wxSizeEvent& event) {
  canvas_.reset();  // made again at the new size by the next paint
  Refresh(false);
  event.Skip();
}

void View::OnPaint(wxPaintEvent&) {
  wxPaintDC dc(this);
  const wxSize size = GetClientSize();
  if (size.x < 1 || size.y < 1) return;
  bool fresh = false;
  if (!canvas_ || canvas_->width() != size.x || canvas_->height() != size.y) {
    canvas_ = std::make_unique<draw::Canvas>(context_, size.x, size.y);
    fresh = true;
  }
  // The game is only tried: while the engine holds it the last picture
  // stays (a new one shows the pane alone) and another paint follows
  // shortly.
  std::unique_lock<std::mutex> lock(session_.gameMutex(), std::try_to_lock);
  if (!lock.owns_lock() && !retryPaint_.IsRunning()) retryPaint_.StartOnce(30);
  if (lock.owns_lock() || fresh) {
    const Game* game = lock.owns_lock() ? session_.game() : nullptr;
    // The selected pane line previews the move it names.
    std::optional<draw::BoardPreview> preview;
    if (game != nullptr && paneView_.selected >= 0 && static_cast<std::size_t>(paneView_.selected) < textPane().LineCount()) {
      preview = session_.preview(textPane().Line(static_cast<std::size_t>(paneView_.selected)), ShownHeat());
    }
    std::optional<draw::EntryView> entry;
    if (game != nullptr) entry = EntryPicture(*game);
    draw::RenderView(context_, *canvas_, game, session_.viewOptions(), textPane(), paneView_,
                     preview ? &*preview : nullptr, entry ? &*entry : nullptr, &hits_);
  }
  if (lock.owns_lock()) lock.unlock();
  // The bitmap's rows are Cairo's RGB24 as they are: paint them directly.
  wxGraphicsContext* gc = dc.GetGraphicsContext();
  auto* cr = gc != nullptr ? static_cast<cairo_t*>(gc->GetNativeContext()) : nullptr;
  if (cr != nullptr) {
    cairo_surface_t* surface = cairo_image_surface_create_for_data(const_cast<unsigned char*>(canvas_->data()),
                                                                   CAIRO_FORMAT_RGB24, canvas_->width(),
                                                                   canvas_->height(), canvas_->stride());
    cairo_save(cr);
    cairo_set_source_surface(cr, surface, 0, 0);
    cairo_set_operator(cr, CAIRO_OPERATOR_SOURCE);
    cairo_paint(cr);
    cairo_restore(cr);
    cairo_surface_destroy(surface);
  } else {
    // Without a Cairo context: through a wxImage.
    wxImage image(canvas_->width(), canvas_->height(), false);
    unsigned char* rgb = image.GetData();
    for (int y = 0; y < canvas_->height(); ++y) {
      for (int x = 0; x < canvas_->width(); ++x) {
        const std::uint32_t p = canvas_->pixel(x, y);
        *rgb++ = static_cast<unsigned char>(p >> 16);
        *rgb++ = static_cast<unsigned char>(p >> 8);
        *rgb++ = static_cast<unsigned char>(p);
      }
    }
    dc.DrawBitmap(wxBitmap(image), 0, 0);
  }
  if (options_.exportAfterShow && !exported_) {
    exported_ = true;
    CallAfter([this] { ExportFirstPaint(); });
  }
}

void View::ExportFirstPaint() {
  if (!canvas_) return;
  const std::string& path = *options_.exportAfterShow;
  const wxPoint here = ClientToScreen(wxPoint(0, 0));
  const wxPoint top = wxGetTopLevelParent(this)->GetScreenPosition();
  {
    std::ofstream geometry(path + ".geometry");
    geometry << here.x - top.x << ' ' << here.y - top.y << ' ' << canvas_->width() << ' ' << canvas_->height() << '\n';
  }
  // The PNG last: its presence tells a waiting test that both are written.
  const std::string temporary = path + ".part.png";
  if (canvas_->savePng(temporary)) std::rename(temporary.c_str(), path.c_str());
}

// ---------------------------------------------------------------- Frame

Frame::Frame(draw::DrawContext& context, Session& session, const LaunchOptions& options, long selectedLine)
    : wxFrame(nullptr, wxID_ANY, "Pexil"), session_(session), context_(context), players_(options.players) {
  BuildMenus();
  Relabel();
  UpdateTicks();
  view_ = new View(this, context, session, options, selectedLine);
  UpdateEnables();
  Bind(wxEVT_MENU, &Frame::OnMenu, this);
  Bind(wxEVT_CHAR_HOOK, &Frame::OnCharHook, this);
  SetClientSize(options.width, options.height);
  // The language menu relabels the menus, stores the setting and redraws.
  SetLanguageChangeHook([this](int language) {
    session_.settings().uiLang = language;
    session_.saveSettings();
    Relabel();
    UpdateTicks();
    view_->Refresh(false);
  });
}

Frame::~Frame() { SetLanguageChangeHook(nullptr); }

wxMenu* Frame::BuildMenu(const std::vector<MenuNode>& nodes) {
  auto* menu = new wxMenu;  // owned by its parent menu or the menu bar
  for (const MenuNode& node : nodes) {
    switch (node.kind) {
      case MenuKind::separator: menu->AppendSeparator(); break;
      case MenuKind::submenu: {
        wxMenuItem* item = menu->AppendSubMenu(BuildMenu(node.children), Caption(node));
        items_[node.number] = {&node, item};
        break;
      }
      case MenuKind::item:
      case MenuKind::check: {
        wxMenuItem* item = menu->Append(MenuId(node.number), Caption(node), wxEmptyString,
                                        node.kind == MenuKind::check ? wxITEM_CHECK : wxITEM_NORMAL);
        item->Enable(Implemented(node.number));
        items_[node.number] = {&node, item};
        break;
      }
    }
  }
  return menu;
}

void Frame::BuildMenus() {
  auto* bar = new wxMenuBar;  // owned by the frame
  for (const MenuNode& top : MainMenu()) bar->Append(BuildMenu(top.children), Caption(top));
  SetMenuBar(bar);
}

void Frame::Relabel() {
  wxMenuBar* bar = GetMenuBar();
  const auto& menus = MainMenu();
  for (std::size_t k = 0; k < menus.size(); ++k) bar->SetMenuLabel(k, Caption(menus[k]));
  for (auto& [number, entry] : items_) {
    if (number > 0) entry.item->SetItemLabel(Caption(*entry.node));
  }
}

void Frame::UpdateTicks() {
  const Settings& s = session_.settings();
  auto tick = [&](int number, bool on) {
    const auto it = items_.find(number);
    if (it != items_.end() && it->second.item->IsCheckable()) it->second.item->Check(on);
  };
  tick(cmd::english, s.uiLang == 0);
  tick(cmd::pigLatin, s.uiLang == 1);
  tick(cmd::catalan, s.uiLang == 2);
  for (const auto& [number, entry] : items_) {
    if (bool Settings::*member = ToggledSetting(number)) tick(number, s.*member);
  }
  for (int n = 606; n <= 613; ++n) tick(n, TileStyleOfItem(n) == s.tileTexture);
  for (int n = 619; n <= 625; ++n) tick(n, BlankColourOfItem(n) == s.blankColour);
  for (int k = 0; k < 7; ++k) tick(cmd::firstMood + k, s.mood == k);
}

void Frame::UpdateEnables() {
  const bool haveGame = session_.game() != nullptr && !busy_;
  for (auto& [number, entry] : items_) {
    if (entry.item->IsSubMenu()) continue;
    entry.item->Enable(Implemented(number) && (!NeedsGame(number) || haveGame) && !(busy_ && number == cmd::startGame));
  }
}

void Frame::SaveImage(bool boardOnly) {
  const draw::Canvas* canvas = view_->canvas();
  if (canvas == nullptr) return;
  wxFileDialog dialog(this, wxEmptyString, wxEmptyString, boardOnly ? "board" : "screen", "PNG (*.png)|*.png",
                      wxFD_SAVE | wxFD_OVERWRITE_PROMPT);
  if (dialog.ShowModal() != wxID_OK) return;
  std::string path = dialog.GetPath().ToStdString();
  if (path.size() < 4 || path.compare(path.size() - 4, 4, ".png") != 0) path += ".png";
  std::string error;
  bool saved = false;
  if (boardOnly) {
    const Session::Rect r = session_.boardRect(context_, canvas->width(), canvas->height());
    saved = canvas->savePng(path, r.x, r.y, r.width, r.height, &error);
  } else {
    saved = canvas->savePng(path, &error);
  }
  if (!saved) wxMessageBox(FromLatin1("Cannot write " + path + ": " + error), "Pexil", wxOK | wxICON_ERROR, this);
}

void Frame::Changed() {
  session_.applyEngineSettings();
  session_.saveSettings();
  UpdateTicks();
  view_->Refresh(false);
}

void Frame::SetTileStyle(int style) {
  session_.settings().tileTexture = style;
  PrintMessage(style < 0 ? 19 : 11 + style);
  Changed();
}

void Frame::OnMenu(wxCommandEvent& event) {
  const int number = event.GetId() - kFirstMenuId - 100;
  Settings& s = session_.settings();
  switch (number) {
    case cmd::exit: Close(); return;
    case cmd::startGame: StartGameDialog(); return;
    case cmd::saveBoardImage: SaveImage(true); return;
    case cmd::saveScreenImage: SaveImage(false); return;
    case cmd::bagContents:
    case cmd::gameHistory:
    case cmd::gameStatistics:
    case cmd::printBoard:
      if (const Game* game = session_.game()) {
        if (number == cmd::bagContents) ShowWell(*game, game->toMove, s.conciseWell);
        if (number == cmd::gameHistory) ShowHistory(*game, game->hideLeaves);
        if (number == cmd::gameStatistics) ShowStatistics(*game);
        if (number == cmd::printBoard) {
          TextPane& pane = textPane();
          const bool noWrap = pane.NoWrap();
          pane.SetNoWrap(true);
          for (const std::string& line : boardTextLines(game->board, &game->previousBoard)) pane.Print(line.empty() ? " " : line);
          pane.SetNoWrap(noWrap);
        }
        view_->Refresh(false);
      }
      return;
    case cmd::english: SetLanguage(kEnglish); return;
    case cmd::pigLatin: SetLanguage(kPigLatin); return;
    case cmd::catalan: SetLanguage(kCatalan); return;
    case cmd::about: {
      const char* m = Message(639);
      const std::string text = m != nullptr && *m != 0 ? std::string(m)
                                                       : std::string("Pexil, Version ") + kProgramVersion +
                                                             "\nHigh performance, high strength\ncrossword puzzle game software";
      wxMessageBox(FromLatin1(text), "Pexil", wxOK, this);
      return;
    }
    default:
      if (TileStyleOfItem(number) != -2) {
        SetTileStyle(TileStyleOfItem(number));
        return;
      }
      if (BlankColourOfItem(number) != -2) {
        s.blankColour = BlankColourOfItem(number);
        break;
      }
      if (bool Settings::*member = ToggledSetting(number)) {
        s.*member = !(s.*member);
        break;
      }
      if (number >= cmd::firstMood && number < cmd::firstMood + 7) {
        s.mood = number - cmd::firstMood;
        break;
      }
      return;
  }
  Changed();
}

// Single-key shortcuts do not reach the menu while the view has the focus.
void Frame::OnCharHook(wxKeyEvent& event) {
  if (event.GetModifiers() == wxMOD_SHIFT && event.GetKeyCode() >= 'A' && event.GetKeyCode() <= 'Z') {
    const std::string shortcut = std::string("Shift+") + static_cast<char>(event.GetKeyCode());
    for (const auto& [number, entry] : items_) {
      if (shortcut != entry.node->shortcut || !entry.item->IsEnabled()) continue;
      wxCommandEvent menu(wxEVT_MENU, MenuId(number));
      wxPostEvent(this, menu);
      return;
    }
  }
  event.Skip();
}

void Frame::StartGameDialog() {
  const std::vector<std::string> names = GameTypeNames();
  if (names.empty()) {
    PrintMessage(9);
    view_->Refresh(false);
    return;
  }
  ui::StartGameDialog dialog(this, names, session_.settings().defaultGameType, players_);
  if (dialog.ShowModal() != wxID_OK) return;
  const int index = dialog.gameType();
  const int players = dialog.players();
  if (busy_ || index < 0 || !session_.prepareGame(index)) return;
  players_ = players;
  // The word list is read on a worker thread while the window stays live;
  // the game is dealt back on this thread.
  busy_ = true;
  UpdateEnables();
  view_->Refresh(false);
  if (worker_.joinable()) worker_.join();
  worker_ = std::jthread([this, index, players] {
    auto lexicon = Session::LoadWordList(index);
    view_->RequestRepaint();
    CallAfter([this, index, players, lexicon] {
      worker_.join();
      session_.finishGame(index, players, lexicon);
      busy_ = false;
      UpdateEnables();
      UpdateTicks();
      view_->Refresh(false);
    });
  });
}

// ---------------------------------------------------------------- App

bool App::OnInit() {
  try {
    context_ = std::make_unique<draw::DrawContext>(".");
  } catch (const std::exception& e) {
    wxMessageBox(e.what(), "Pexil", wxOK | wxICON_ERROR);
    return false;
  }
  session_ = std::make_unique<Session>();
  session_->start();
  const Startup startup = ApplyLaunchOptions(*session_, options_);
  if (!startup.ok) {
    std::fprintf(stderr, "pexil: %s\n", startup.error.c_str());
    return false;
  }
  if (!startup.warning.empty()) std::fprintf(stderr, "pexil: %s\n", startup.warning.c_str());
  auto* frame = new Frame(*context_, *session_, options_, startup.selectedLine);  // wx deletes top-level windows
  frame->Show();
  if (!options_.sizeGiven) frame->Maximize();
  return true;
}

int App::OnExit() {
  SetLanguageChangeHook(nullptr);
  session_.reset();
  context_.reset();
  return wxApp::OnExit();
}

}  // namespace pexil::ui
