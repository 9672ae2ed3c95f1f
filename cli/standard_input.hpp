// Answers typed on standard input: whether someone is there to type them,
// and reading one answer line.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace pexil::cli {

// Whether standard input is a terminal (a person typing) rather than a
// pipe or a file.
bool standardInputIsTerminal();

// The next line of standard input without its line end (LF or CR LF), or
// none at the end of the input.
std::optional<std::string> readAnswerLine();

// Whether an answer is yes: "y" or "yes" in either case, spaces around it
// allowed.
bool answerIsYes(std::string_view answer);

}  // namespace pexil::cli
