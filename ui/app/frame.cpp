#include "frame.hpp"

#include <wx/clipbrd.h>
#include <wx/utils.h>

#include "recent_files.hpp"
#include "text/messages.hpp"
#include "text/text_pane.hpp"
#include "wx_prompter.hpp"

namespace pexil::ui {
namespace {

constexpr int kFirstMenuId = wxID_HIGHEST + 1000;
constexpr int kFirstRecentId = wxID_HIGHEST + 900;

// Keys the view handles itself (typing on the board needs them), which
// must not be menu accelerators: GTK takes no Tab accelerator, and Enter
// and Escape act on the laid tiles first.
bool ViewKey(const std::string& shortcut) { return shortcut == "Tab" || shortcut == "Enter" || shortcut == "Esc"; }

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
  if (*node.shortcut != 0 && !ViewKey(node.shortcut)) caption += wxString("\t") + node.shortcut;
  return caption;
}

}  // namespace

int Frame::MenuId(int number) { return kFirstMenuId + number + 100; }  // XPF items have numbers -1..-4

Frame::Frame(draw::DrawContext& context, Session& session, const LaunchOptions& options, long selectedLine)
    : wxFrame(nullptr, wxID_ANY, "Pexil"), session_(session), context_(context) {
  BuildMenus();
  Relabel();
  view_ = new View(this, context, session, options, selectedLine);
  prompter_ = std::make_unique<WxPrompter>(this);
  commands_ = std::make_unique<Commands>(session_, *prompter_, *this);
  commands_->setPlayers(options.players);
  view_->SetActions(commands_.get());
  UpdateMenus();
  Bind(wxEVT_MENU, &Frame::OnMenu, this);
  Bind(wxEVT_CHAR_HOOK, &Frame::OnCharHook, this);
  Bind(wxEVT_CLOSE_WINDOW, &Frame::OnClose, this);
  Bind(wxEVT_MENU_OPEN, [this](wxMenuEvent& event) {
    UpdateMenus();
    event.Skip();
  });
  SetClientSize(options.width, options.height);
  // The language menu relabels the menus, stores the setting and redraws.
  SetLanguageChangeHook([this](int language) {
    session_.settings().uiLang = language;
    session_.saveSettings();
    Relabel();
    UpdateMenus();
    view_->Refresh(false);
  });
}

Frame::~Frame() {
  SetLanguageChangeHook(nullptr);
  view_->SetActions(nullptr);
  commands_.reset();  // stops and joins the running action
}

// A game with unsaved moves is offered for saving first (a cancelled or
// failed save keeps the window). No thread is left running at exit: the
// running action is stopped and awaited before the window goes.
void Frame::OnClose(wxCloseEvent& event) {
  if (event.CanVeto() && commands_ && !commands_->confirmClose()) {
    event.Veto();
    return;
  }
  view_->SetActions(nullptr);
  commands_.reset();
  event.Skip();
}

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

void Frame::UpdateRecentItems() {
  if (!commands_ || commands_->recentFiles() == recentShown_) return;
  wxMenu* file = GetMenuBar()->GetMenu(0);
  for (wxMenuItem* item : recentItems_) file->Destroy(item);
  recentItems_.clear();
  recentShown_ = commands_->recentFiles();
  if (recentShown_.empty()) return;
  // Above "E&xit": the files, then a separator.
  std::size_t at = file->GetMenuItemCount() - 1;
  for (std::size_t k = 0; k < recentShown_.size(); ++k) {
    recentItems_.push_back(file->Insert(at++, kFirstRecentId + static_cast<int>(k),
                                        FromLatin1(RecentFileCaption(k, recentShown_[k]))));
  }
  recentItems_.push_back(file->InsertSeparator(at));
}

void Frame::UpdateMenus() {
  if (!commands_) return;
  UpdateRecentItems();
  for (auto& [number, entry] : items_) {
    if (entry.item->IsSubMenu()) continue;
    entry.item->Enable(commands_->enabled(number));
    if (entry.item->IsCheckable()) entry.item->Check(commands_->checked(number));
  }
  for (wxMenuItem* item : recentItems_) {
    if (!item->IsSeparator()) item->Enable(!commands_->busy());
  }
}

void Frame::OnMenu(wxCommandEvent& event) {
  if (!commands_) return;
  const int id = event.GetId();
  if (id >= kFirstRecentId && id < kFirstRecentId + static_cast<int>(RecentFiles::kMost)) {
    commands_->openRecent(static_cast<std::size_t>(id - kFirstRecentId));
    return;
  }
  commands_->run(id - kFirstMenuId - 100);
}

// Keys that are no menu accelerators: single-key shortcuts (which do not
// reach the menu while the view has the focus, and which type on the board
// while a board cursor is set), Tab, and the second key of Undo.
void Frame::OnCharHook(wxKeyEvent& event) {
  if (!commands_) {
    event.Skip();
    return;
  }
  const int key = event.GetKeyCode();
  const int modifiers = event.GetModifiers();
  const bool typing = session_.entry().cursor().has_value();
  if (modifiers == wxMOD_SHIFT && key >= 'A' && key <= 'Z' && !typing) {
    const std::string shortcut = std::string("Shift+") + static_cast<char>(key);
    for (const auto& [number, entry] : items_) {
      if (shortcut != entry.node->shortcut) continue;
      commands_->run(number);
      return;
    }
  }
  if (modifiers == wxMOD_NONE && key == WXK_TAB) {
    commands_->run(544);
    return;
  }
  if (modifiers == wxMOD_ALT && key == WXK_BACK) {
    commands_->run(590);
    return;
  }
  event.Skip();
}

// ---------------------------------------------------------------- ViewHost

void Frame::repaint() { view_->RequestRepaint(); }

void Frame::runOnUiThread(std::function<void()> task) { CallAfter(std::move(task)); }

void Frame::setClipboard(const std::string& text) {
  if (!wxTheClipboard->Open()) return;
  wxTheClipboard->SetData(new wxTextDataObject(FromLatin1(text)));  // the clipboard owns it
  wxTheClipboard->Close();
}

void Frame::beep() { wxBell(); }

void Frame::closeWindow() { Close(); }

bool Frame::saveImage(bool boardOnly, const std::string& path, std::string& error) {
  const draw::Canvas* canvas = view_->canvas();
  if (canvas == nullptr) {
    error = "nothing drawn yet";
    return false;
  }
  std::string target = path;
  if (target.size() < 4 || target.compare(target.size() - 4, 4, ".png") != 0) target += ".png";
  if (!boardOnly) return canvas->savePng(target, &error);
  const Session::Rect r = session_.boardRect(context_, canvas->width(), canvas->height());
  return canvas->savePng(target, r.x, r.y, r.width, r.height, &error);
}

bool Frame::openUrl(const std::string& url) { return wxLaunchDefaultBrowser(FromLatin1(url)); }

void Frame::commandsChanged() { UpdateMenus(); }

std::size_t Frame::firstVisibleLine() const { return view_->FirstVisibleLine(); }

int Frame::visibleLineCount() const { return view_->VisibleLineCount(); }

}  // namespace pexil::ui
