#include "text/text_pane.hpp"

#include <cstring>

#include "text/messages.hpp"

namespace pexil {
namespace {

bool isWhiteSpace(char c) {
  return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\v' || c == '\f';
}

bool contains(std::string_view text, const char* needle) {
  return needle && *needle && text.find(needle) != std::string_view::npos;
}

// Progress lines of a running search, which rewrite the previous one.
bool isProgressLine(std::string_view text) {
  return contains(text, Message(msg::MarkForBestMove)) || contains(text, Message(msg::MarkSimulationPass));
}

std::string withoutLineEnds(std::string_view text) {
  std::string line(text);
  for (char& c : line) {
    if (c == '\r' || c == '\n') c = ' ';
  }
  return line;
}

}  // namespace

TextPane& textPane() {
  static TextPane pane;
  return pane;
}

bool TextPane::IsTableLine(std::string_view text) {
  return contains(text, Message(msg::MarkQuick)) || contains(text, Message(msg::MarkFastSim)) ||
         contains(text, Message(msg::MarkLook)) || contains(text, Message(msg::MarkEndgame));
}

bool TextPane::IsLoadingProgress(std::string_view text) {
  return text.starts_with("Reading game...") || text.starts_with("Reading word list ") ||
         text.starts_with("Reading rack statistics...\n") || text.find("words in word list.") != std::string_view::npos;
}

std::vector<std::string> TextPane::WrapPieces(std::string_view text, bool wrap) {
  std::vector<std::string> pieces;
  if (!wrap || text.size() <= kWrapColumn) {
    pieces.push_back(withoutLineEnds(text));
    return pieces;
  }
  std::string_view rest = text;
  while (rest.size() > kWrapColumn) {
    // The last white space at or before column 60 ends the piece.
    std::size_t cut = std::string_view::npos;
    for (std::size_t i = kWrapColumn + 1; i-- > 0;) {
      if (isWhiteSpace(rest[i])) {
        cut = i;
        break;
      }
    }
    if (cut == std::string_view::npos) break;  // an unbreakable stretch: the rest is one piece
    pieces.push_back(withoutLineEnds(rest.substr(0, cut + 1)));
    rest.remove_prefix(cut + 1);
  }
  pieces.push_back(withoutLineEnds(rest));
  return pieces;
}

void TextPane::Append(std::string_view text, int colour, bool paneOnly) {
  if (text.empty()) return;
  // The table markers are in the UI language; the catalogue needs no lock.
  const bool wrappable = text.size() > kWrapColumn && !IsTableLine(text);
  const bool loading = IsLoadingProgress(text);
  std::lock_guard<std::mutex> lock(paneLock_);
  if (quiet_) return;
  if (outputStream_ != nullptr && !loading && !paneOnly) {
    outputStream_->write(text.data(), static_cast<std::streamsize>(text.size()));
    return;
  }
  for (std::string& piece : WrapPieces(text, wrappable && !noWrap_)) {
    if (lineSink_) lineSink_(piece, colour, false);
    lines_.push_back(std::move(piece));
    colours_.push_back(colour);
  }
}

void TextPane::Print(std::string_view text) {
  int colour;
  {
    std::lock_guard<std::mutex> lock(paneLock_);
    colour = currentColour_;
  }
  Append(text, colour);
}

void TextPane::Print(std::string_view text, int colour) { Append(text, colour); }

void TextPane::PrintProgressToPane(std::string_view text) {
  {
    std::lock_guard<std::mutex> lock(paneLock_);
    if (quiet_) return;
    const std::string line = withoutLineEnds(text);
    if (!lines_.empty() && progressLine_ == lines_.size() - 1) {
      lines_.back() = line;
      colours_.back() = currentColour_;
      if (lineSink_) lineSink_(line, currentColour_, true);
    } else {
      lines_.push_back(line);
      colours_.push_back(currentColour_);
      if (lineSink_) lineSink_(line, currentColour_, false);
      progressLine_ = lines_.size() - 1;
    }
  }
  RunRepaintHook();
}

void TextPane::RunRepaintHook() {
  std::lock_guard<std::mutex> lock(paneLock_);
  if (repaintHook_) repaintHook_();
}

void TextPane::PrintAndRefresh(std::string_view text) {
  Print(text);
  RunRepaintHook();
}

void TextPane::ReplaceLastLine(std::string_view text) {
  const bool progress = isProgressLine(text);
  {
    std::lock_guard<std::mutex> lock(paneLock_);
    if (quiet_) return;
    if (progress && !lines_.empty() && isProgressLine(lines_.back())) {
      lines_.back() = withoutLineEnds(text);
      colours_.back() = currentColour_;
      if (lineSink_) lineSink_(lines_.back(), currentColour_, true);
      if (repaintHook_) repaintHook_();
      return;
    }
  }
  Print(text);
}

void TextPane::SetColour(int colour) {
  std::lock_guard<std::mutex> lock(paneLock_);
  currentColour_ = colour;
}

int TextPane::Colour() const {
  std::lock_guard<std::mutex> lock(paneLock_);
  return currentColour_;
}

void TextPane::SetSimulationLines(std::vector<std::string> lines) {
  std::lock_guard<std::mutex> lock(paneLock_);
  simulationLines_ = std::move(lines);
}

std::vector<std::string> TextPane::SimulationLines() const {
  std::lock_guard<std::mutex> lock(paneLock_);
  return simulationLines_;
}

void TextPane::Redirect(std::ostream* file) {
  std::lock_guard<std::mutex> lock(paneLock_);
  outputStream_ = file;
}

void TextPane::EndRedirect() {
  std::lock_guard<std::mutex> lock(paneLock_);
  if (outputStream_) outputStream_->flush();
  outputStream_ = nullptr;
}

bool TextPane::IsRedirected() const {
  std::lock_guard<std::mutex> lock(paneLock_);
  return outputStream_ != nullptr;
}

void TextPane::SetQuiet(bool on) {
  std::lock_guard<std::mutex> lock(paneLock_);
  quiet_ = on;
}

bool TextPane::Quiet() const {
  std::lock_guard<std::mutex> lock(paneLock_);
  return quiet_;
}

void TextPane::SetNoWrap(bool on) {
  std::lock_guard<std::mutex> lock(paneLock_);
  noWrap_ = on;
}

bool TextPane::NoWrap() const {
  std::lock_guard<std::mutex> lock(paneLock_);
  return noWrap_;
}

void TextPane::SetRepaintHook(std::function<void()> hook) {
  std::lock_guard<std::mutex> lock(paneLock_);
  repaintHook_ = std::move(hook);
}

void TextPane::SetLineSink(LineSink sink) {
  std::lock_guard<std::mutex> lock(paneLock_);
  lineSink_ = std::move(sink);
}

std::size_t TextPane::LineCount() const {
  std::lock_guard<std::mutex> lock(paneLock_);
  return lines_.size();
}

std::vector<std::string> TextPane::Lines() const {
  std::lock_guard<std::mutex> lock(paneLock_);
  return lines_;
}

std::string TextPane::Line(std::size_t index) const {
  std::lock_guard<std::mutex> lock(paneLock_);
  return index < lines_.size() ? lines_[index] : std::string();
}

int TextPane::LineColour(std::size_t index) const {
  std::lock_guard<std::mutex> lock(paneLock_);
  return index < colours_.size() ? colours_[index] : currentColour_;
}

std::string TextPane::LastLine() const {
  std::lock_guard<std::mutex> lock(paneLock_);
  return lines_.empty() ? std::string() : lines_.back();
}

// ---- stream-style writing ----

PaneStreamBuf::~PaneStreamBuf() {
  if (!pending_.empty()) FlushLine();
}

void PaneStreamBuf::FlushLine() {
  std::string line;
  line.swap(pending_);
  pane_.Print(line);
}

PaneStreamBuf::int_type PaneStreamBuf::overflow(int_type ch) {
  if (traits_type::eq_int_type(ch, traits_type::eof())) return traits_type::not_eof(ch);
  const char c = traits_type::to_char_type(ch);
  if (c == '\n') {
    // A redirected report keeps its line ends; the pane turns them into
    // line breaks by taking one line per end.
    if (pane_.IsRedirected()) pending_.push_back('\n');
    FlushLine();
  } else {
    pending_.push_back(c);
  }
  return ch;
}

std::streamsize PaneStreamBuf::xsputn(const char* s, std::streamsize n) {
  for (std::streamsize i = 0; i < n; ++i) overflow(traits_type::to_int_type(s[i]));
  return n;
}

int PaneStreamBuf::sync() { return 0; }

}  // namespace pexil
