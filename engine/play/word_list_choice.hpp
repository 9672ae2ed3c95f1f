// Which word list a game loads: the game type's own, or the one a file
// being opened names (a position's "dict" record, a record's "#lexicon"
// line). A named list that cannot be opened gives way to the game type's
// own list, with a line saying so, so that a game is never played against
// an empty lexicon in which every word would be a phony.
#pragma once

#include <memory>
#include <string>

namespace pexil {

class Lexicon;

// While one of these lives, game set-up loads `name` instead of the game
// type's default word list. Cleared when it goes out of scope, on every path.
class PendingWordList {
 public:
  explicit PendingWordList(const std::string& name);
  ~PendingWordList();
  PendingWordList(const PendingWordList&) = delete;
  PendingWordList& operator=(const PendingWordList&) = delete;
};

// The pending name, or empty.
std::string pendingWordList();

// The word list game set-up loads now: the pending name when there is one,
// otherwise the active game type's default list.
std::string wordListForNewGame();

// The active game type's default word list.
std::string defaultWordListName();

// A lexicon holding the list `name`: `current` itself when it already holds
// that list (names compared case-insensitively), otherwise a new lexicon.
// When `name` cannot be opened, the game type's default list stands in for
// it (again `current` when that is what it holds) and a line says so.
std::shared_ptr<Lexicon> lexiconFor(const std::shared_ptr<Lexicon>& current, const std::string& name);

}  // namespace pexil
