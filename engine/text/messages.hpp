// The message catalogue: every user-visible text by number, in the current
// UI language, with English as the fallback.
#pragma once

#include <cstdarg>
#include <cstddef>
#include <functional>
#include <string>

#include "text/message_ids.hpp"

namespace pexil {

inline constexpr int kMessageCount = 742;

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
// outside 0..741.
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
