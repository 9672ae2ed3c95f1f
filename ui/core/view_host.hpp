// What the commands of the view need from the window around them. The
// desktop program implements it with wx; the tests with a recorder.
#pragma once

#include <cstddef>
#include <functional>
#include <string>

namespace pexil::ui {

class ViewHost {
 public:
  virtual ~ViewHost() = default;
  // Asks for a repaint; callable from any thread.
  virtual void repaint() = 0;
  // Runs `task` on the user-interface thread soon; callable from any thread.
  virtual void runOnUiThread(std::function<void()> task) = 0;
  // Puts Latin-1 text on the clipboard as plain 8-bit text.
  virtual void setClipboard(const std::string& text) = 0;
  virtual void beep() = 0;
  virtual void closeWindow() = 0;
  // Saves the last paint (or its board) as PNG; false with the reason.
  virtual bool saveImage(bool boardOnly, const std::string& path, std::string& error) = 0;
  // Opens a web address in the platform's browser; false when none opened.
  virtual bool openUrl(const std::string& url) = 0;
  // The menus' ticks, labels and enables may have changed.
  virtual void commandsChanged() = 0;
  // The pane's first visible line and the number of visible lines.
  virtual std::size_t firstVisibleLine() const = 0;
  virtual int visibleLineCount() const = 0;
};

}  // namespace pexil::ui
