#include "text/messages.hpp"

#include <atomic>
#include <cstdio>
#include <cstring>
#include <mutex>
#include <vector>

#include "text/message_catalogue.hpp"
#include "text/text_pane.hpp"

namespace pexil {
namespace {

std::atomic<int> currentLanguage{kEnglish};

std::mutex& hookMutex() {
  static std::mutex m;
  return m;
}
std::function<void(int)>& languageHook() {
  static std::function<void(int)> hook;
  return hook;
}

}  // namespace

int UILang() { return currentLanguage.load(std::memory_order_relaxed); }

void SetUILang(int language) { currentLanguage.store(language, std::memory_order_relaxed); }

void SetLanguage(int language) {
  SetUILang(language);
  std::function<void(int)> hook;
  {
    std::lock_guard<std::mutex> lock(hookMutex());
    hook = languageHook();
  }
  if (hook) hook(language);
}

void SetLanguageChangeHook(std::function<void(int)> hook) {
  std::lock_guard<std::mutex> lock(hookMutex());
  languageHook() = std::move(hook);
}

const char* CatalogueEntry(int language, int number) {
  if (!IsMessageNumber(number)) return nullptr;
  switch (language) {
    case kEnglish: return catalogue::english[number];
    case kPigLatin: return catalogue::pigLatin()[number];
    case kCatalan: return catalogue::catalan[number];
    default: return nullptr;
  }
}

const char* Message(int number) {
  if (!IsMessageNumber(number)) return nullptr;
  const int language = UILang();
  if (language == kPigLatin || language == kCatalan) {
    if (const char* text = CatalogueEntry(language, number)) return text;
  }
  return catalogue::english[number];
}

std::size_t MessageLength(int number) {
  const char* text = Message(number);
  return text ? std::strlen(text) : 0;
}

std::string FormatTextV(const char* format, va_list args) {
  if (!format) return {};
  va_list copy;
  va_copy(copy, args);
  char small[256];
  const int needed = std::vsnprintf(small, sizeof small, format, copy);
  va_end(copy);
  if (needed < 0) return {};
  if (static_cast<std::size_t>(needed) < sizeof small) return std::string(small, static_cast<std::size_t>(needed));
  std::vector<char> big(static_cast<std::size_t>(needed) + 1);
  std::vsnprintf(big.data(), big.size(), format, args);
  return std::string(big.data(), static_cast<std::size_t>(needed));
}

std::string FormatText(const char* format, ...) {
  va_list args;
  va_start(args, format);
  std::string result = FormatTextV(format, args);
  va_end(args);
  return result;
}

std::string FormatMessage(int number, ...) {
  va_list args;
  va_start(args, number);
  std::string result = FormatTextV(Message(number), args);
  va_end(args);
  return result;
}

void PrintMessage(int number) {
  if (const char* text = Message(number)) textPane().Print(text);
}

void PrintMessageF(int number, ...) {
  va_list args;
  va_start(args, number);
  const std::string text = FormatTextV(Message(number), args);
  va_end(args);
  textPane().Print(text);
}

}  // namespace pexil
