// The text pane: the one ordered list of coloured lines to which all engine
// output goes, from any thread. Front ends decide where the lines end up: the
// desktop view draws them, the command line prints them as they arrive.
#pragma once

#include <cstddef>
#include <functional>
#include <mutex>
#include <ostream>
#include <streambuf>
#include <string>
#include <string_view>
#include <vector>

namespace pexil {

// Colours are 0xRRGGBB.
namespace colour {
inline constexpr int green = 0x00FF00;  // the default for new lines
inline constexpr int white = 0xFFFFFF;
inline constexpr int yellow = 0xFFFF00;
inline constexpr int orange = 0xFFA000;
inline constexpr int cyan = 0x00FFFF;
inline constexpr int lightGreen = 0x80FF80;
inline constexpr int pink = 0xFF8080;
inline constexpr int gold = 0xF9D14D;
inline constexpr int black = 0x000000;
}  // namespace colour

class TextPane {
 public:
  static constexpr std::size_t kWrapColumn = 60;

  // Receives every line the pane gains, in order, while the pane lock is
  // held; `replacesLast` is set when the line overwrote the previous last
  // line (progress counters). Must not print to the pane itself.
  using LineSink = std::function<void(const std::string& line, int colour, bool replacesLast)>;

  // Appends text, wrapped at 60 columns unless wrapping is off or the text
  // is a table line; CR and LF become spaces.
  void Print(std::string_view text);
  // Same, in the given colour, without touching the current colour (safe
  // when several threads print in different colours).
  void Print(std::string_view text, int colour);
  void PrintAndRefresh(std::string_view text);
  // Rewrites the last line in place when both it and the text are progress
  // lines of a running search; prints normally otherwise.
  void ReplaceLastLine(std::string_view text);

  void SetColour(int colour);
  int Colour() const;

  void SetSimulationLines(std::vector<std::string> lines);
  std::vector<std::string> SimulationLines() const;

  // While redirected, printed text goes to the stream (as written, line ends
  // included) except loading-progress messages, which stay in the pane.
  void Redirect(std::ostream* file);
  // Prints a progress line into the pane itself even while redirected
  // (the progress of a report being written); it replaces the last line
  // when that is the previous progress line.
  void PrintProgressToPane(std::string_view text);
  void EndRedirect();
  bool IsRedirected() const;

  void SetQuiet(bool on);
  bool Quiet() const;
  void SetNoWrap(bool on);
  bool NoWrap() const;

  void SetRepaintHook(std::function<void()> hook);
  void SetLineSink(LineSink sink);

  // Copies for the view and for tests.
  std::size_t LineCount() const;
  std::vector<std::string> Lines() const;
  std::string Line(std::size_t index) const;
  int LineColour(std::size_t index) const;
  std::string LastLine() const;

  // Runs f(lines, colours) under the pane lock (the view draws this way).
  template <class F>
  void WithLines(F&& f) const {
    std::lock_guard<std::mutex> lock(paneLock_);
    f(static_cast<const std::vector<std::string>&>(lines_),
      static_cast<const std::vector<int>&>(colours_));
  }

  // Splits text into the pieces Print appends (exposed for tests).
  static std::vector<std::string> WrapPieces(std::string_view text, bool wrap);
  // True when the text must never be wrapped (tables of the searches).
  static bool IsTableLine(std::string_view text);
  static bool IsLoadingProgress(std::string_view text);

 private:
  void Append(std::string_view text, int colour, bool paneOnly = false);
  void RunRepaintHook();

  mutable std::mutex paneLock_;
  std::vector<std::string> lines_;
  std::vector<int> colours_;
  std::vector<std::string> simulationLines_;
  int currentColour_ = colour::green;
  std::size_t progressLine_ = static_cast<std::size_t>(-1);  // the last PrintProgressToPane line
  std::ostream* outputStream_ = nullptr;  // null: the pane itself
  bool quiet_ = false;
  bool noWrap_ = false;
  std::function<void()> repaintHook_;
  LineSink lineSink_;
};

// The process-wide pane, created empty on first use.
TextPane& textPane();

// Stream-style writing: everything inserted lands in the pane (or the
// redirected file) through Print, one line per line end. Each thread uses
// its own stream object.
class PaneStreamBuf : public std::streambuf {
 public:
  explicit PaneStreamBuf(TextPane& pane) : pane_(pane) {}
  ~PaneStreamBuf() override;

 protected:
  int_type overflow(int_type ch) override;
  std::streamsize xsputn(const char* s, std::streamsize n) override;
  int sync() override;

 private:
  void FlushLine();
  TextPane& pane_;
  std::string pending_;
};

class PaneStream : public std::ostream {
 public:
  explicit PaneStream(TextPane& pane = textPane()) : std::ostream(nullptr), buf_(pane) { rdbuf(&buf_); }

 private:
  PaneStreamBuf buf_;
};

}  // namespace pexil
