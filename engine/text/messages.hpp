// The message catalogue: every user-visible text by number, in the current
// UI language, with English as the fallback.
#pragma once

#include <cstdarg>
#include <cstddef>
#include <functional>
#include <string>

#include "text/message_ids.hpp"

namespace pexil {

// The catalogue that the desktop program's menus and dialogs share:
// numbers 0..741.
inline constexpr int kMessageCount = 742;

// Texts this program adds beyond the shared catalogue (the command-line
// front end, its reports, further listing and record lines) are numbered
// from kFrontEndFirst, apart from it, so that neither range can take a
// number the other one needs.
inline constexpr int kFrontEndFirst = 1000;
inline constexpr int kFrontEndEnd = 1300;

// Whether a number names a message of either range.
constexpr bool IsMessageNumber(int number) {
  return (number >= 0 && number < kMessageCount) || (number >= kFrontEndFirst && number < kFrontEndEnd);
}

// UI languages.
enum UiLanguage : int { kEnglish = 0, kPigLatin = 1, kCatalan = 2 };

// The `UILang` setting: any value is stored; values other than 0, 1 and 2
// select English for every message.
int UILang();
void SetUILang(int language);

// Sets the language and runs the language-change hook (the desktop program
// relabels its menus, saves the settings and redraws there).
void SetLanguage(int language);
void SetLanguageChangeHook(std::function<void(int)> hook);

// The text of a message in the current language, or null for a number
// that names no message (outside 0..741 and the front-end range).
const char* Message(int number);
std::size_t MessageLength(int number);
// The entry of one language table, without the English fallback (null when
// the table has no entry).
const char* CatalogueEntry(int language, int number);

// printf-style formatting into a string.
std::string FormatText(const char* format, ...) __attribute__((format(printf, 1, 2)));
std::string FormatTextV(const char* format, va_list args);
// A message filled with printf arguments; empty for an unknown number.
std::string FormatMessage(int number, ...);

// Print a message (as it stands, or formatted) to the process-wide pane.
void PrintMessage(int number);
void PrintMessageF(int number, ...);

}  // namespace pexil
