// The main window: the menu bar built from the menu table and relabelled
// in the UI language, the view, and the window's side of the commands
// (repaints, the clipboard, the bell, images, the browser, the interface
// thread's queue). The commands themselves live in ui/core.
#pragma once

#include <wx/wx.h>

#include <map>
#include <memory>

#include "commands.hpp"
#include "desktop.hpp"
#include "menu_table.hpp"
#include "view_host.hpp"

namespace pexil::ui {

class WxPrompter;

class Frame : public wxFrame, public ViewHost {
 public:
  Frame(draw::DrawContext& context, Session& session, const LaunchOptions& options, long selectedLine);
  ~Frame() override;

  // The commands (the window tests drive them as the menus do).
  Commands& commands() { return *commands_; }
  View& view() { return *view_; }
  // The wx id of a menu command.
  static int MenuId(int number);

  // ViewHost.
  void repaint() override;
  void runOnUiThread(std::function<void()> task) override;
  void setClipboard(const std::string& text) override;
  void beep() override;
  void closeWindow() override;
  bool saveImage(bool boardOnly, const std::string& path, std::string& error) override;
  bool openUrl(const std::string& url) override;
  void commandsChanged() override;
  std::size_t firstVisibleLine() const override;
  int visibleLineCount() const override;

 private:
  void BuildMenus();
  wxMenu* BuildMenu(const std::vector<MenuNode>& nodes);
  void Relabel();
  void UpdateMenus();
  // The recent files as items of the File menu, above "E&xit".
  void UpdateRecentItems();
  void OnMenu(wxCommandEvent& event);
  void OnCharHook(wxKeyEvent& event);
  void OnClose(wxCloseEvent& event);

  Session& session_;
  draw::DrawContext& context_;
  View* view_ = nullptr;  // a child: wx frees it
  struct Entry {
    const MenuNode* node;
    wxMenuItem* item;
  };
  std::map<int, Entry> items_;  // by message number
  std::vector<wxMenuItem*> recentItems_;  // owned by the File menu
  std::vector<std::string> recentShown_;
  std::unique_ptr<WxPrompter> prompter_;
  std::unique_ptr<Commands> commands_;
};

}  // namespace pexil::ui
