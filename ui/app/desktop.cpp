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
#include "frame.hpp"
#include "startup.hpp"

namespace pexil::ui {

wxString FromLatin1(const std::string& text) { return wxString(text.c_str(), wxConvISO8859_1); }


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
