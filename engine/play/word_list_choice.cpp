#include "play/word_list_choice.hpp"

#include <mutex>

#include "io/data_files.hpp"
#include "lexicon/lexicon.hpp"
#include "play/word_list_loading.hpp"
#include "rules/game_definitions.hpp"
#include "rules/game_rules.hpp"
#include "rules/letter_codes.hpp"
#include "text/messages.hpp"

namespace pexil {
namespace {

// The one pending name of the process (files are opened one at a time).
struct Pending {
  std::mutex mutex;
  std::string name;
};

Pending& pending() {
  static Pending state;
  return state;
}

bool holds(const std::shared_ptr<Lexicon>& lexicon, const std::string& name) {
  return lexicon && !lexicon->fileName().empty() && latin1Lower(lexicon->fileName()) == latin1Lower(name);
}

std::shared_ptr<Lexicon> loaded(const std::string& name) {
  const GameType* type = activeGameType();
  auto lexicon = std::make_shared<Lexicon>();
  loadWordListWithTables(*lexicon, name, type && type->markPhonies && type->phonyCheckList ? *type->phonyCheckList : std::string());
  return lexicon;
}

}  // namespace

PendingWordList::PendingWordList(const std::string& name) {
  std::lock_guard<std::mutex> lock(pending().mutex);
  pending().name = name;
}

PendingWordList::~PendingWordList() {
  std::lock_guard<std::mutex> lock(pending().mutex);
  pending().name.clear();
}

std::string pendingWordList() {
  std::lock_guard<std::mutex> lock(pending().mutex);
  return pending().name;
}

std::string defaultWordListName() {
  const GameType* type = activeGameType();
  return type ? type->defaultWordList : std::string("ENGLISH.LST");
}

std::string wordListForNewGame() {
  std::string name = pendingWordList();
  return name.empty() ? defaultWordListName() : name;
}

std::shared_ptr<Lexicon> lexiconFor(const std::shared_ptr<Lexicon>& current, const std::string& name) {
  if (holds(current, name)) return current;
  if (!name.empty() && findDataFile(name)) return loaded(name);
  const std::string fallback = defaultWordListName();
  if (!name.empty()) PrintMessageF(msg::WordListFallback, name.c_str(), fallback.c_str());
  if (holds(current, fallback)) return current;
  return loaded(fallback);
}

}  // namespace pexil
