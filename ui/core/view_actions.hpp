// What the view's input asks of the commands around it: a pane line
// clicked, a word to look up, the next page of a listing, the move laid on
// the board, Escape; whether a long action runs; and the letter a blank
// dropped on the board stands for. The window implements it with its
// commands; the view only calls it. No wx here.
#pragma once

#include <optional>
#include <string>

namespace pexil::ui {

class ViewActions {
 public:
  virtual ~ViewActions() = default;
  // A move line released on with the left button: plays that move.
  virtual void playLine(const std::string& line) = 0;
  // A word to look up (a numbered word line, a move line's right click).
  virtual void lookupWord(const std::string& word) = 0;
  // A continuation line clicked, or Y: the next page of the pending
  // listing; false when none is pending.
  virtual bool continueListing() = 0;
  // Enter: the move laid on the board, else the computer player's move.
  virtual void makeMove() = 0;
  // Escape: recalls the laid tiles when nothing runs, else aborts.
  virtual void escape() = 0;
  virtual bool busy() const = 0;
  // Asks the user which letter a blank stands for (as typed: "e", "ll");
  // none when the question was cancelled.
  virtual std::optional<std::string> askBlankLetter() = 0;
};

}  // namespace pexil::ui
