#include "play/word_list_loading.hpp"

#include "tables/rack_tables.hpp"
#include "tables/win_prob.hpp"

namespace pexil {
namespace {

class ListTables final : public WordListCompanions {
 public:
  void wordsReady(const Lexicon& lexicon) override {
    // Racks are multisets of the standard bag of the list's alphabet.
    setRackDistribution(lexicon.alphabet());
    if (lexicon.loadLeaves) LoadRackTables(lexicon);
  }
  void statisticsReady(const Lexicon& lexicon) override {
    // The win-probability tables come with every list, named like the
    // square statistics after the list's identity.
    if (lexicon.loadWinProb) LoadWinProbTables(lexicon.identityName(), lexicon.listId());
  }
};

}  // namespace

bool loadWordListWithTables(Lexicon& lexicon, const std::string& fileName, const std::string& validatingName) {
  ListTables tables;
  return lexicon.loadWordList(fileName, validatingName, &tables);
}

void ActivateListTables(const Lexicon& lexicon) {
  setRackDistribution(lexicon.alphabet());
  LoadRackTables(lexicon);
  if (lexicon.loadWinProb) LoadWinProbTables(lexicon.identityName(), lexicon.listId());
}

}  // namespace pexil
