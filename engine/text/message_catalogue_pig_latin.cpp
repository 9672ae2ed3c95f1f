// The Pig Latin texts of the message catalogue: the Pig Latin rule applied
// to the English text of every number of the shared catalogue except 741
// (the opening-book question, English in every language), with the texts
// below written by hand where the rule reads badly or would change what the
// user types or reads as it is. The front-end range has no Pig Latin.
#include <algorithm>
#include <array>
#include <iterator>
#include <string>
#include <string_view>

#include "text/catalogue_layout.hpp"
#include "text/message_ids.hpp"
#include "text/pig_latin.hpp"

namespace pexil::catalogue {
namespace {

constexpr Entry kPigLatinFixes[] = {
    {msg::Welcome, "Elcomeway otay Exilpay osswordcray uzzlepay amegay oftwaresay."},
    {msg::SelectGameType, "Easeplay electsay ayay amegay ypetay otay eginbay."},
    {msg::GameReady, "Ethay amegay isyay eadyray."},
    {msg::MoreMoves, "Ypetay 'y' otay eesay oremay ovesmay."},
    {msg::MoreWords, "Ypetay 'y' otay eesay oremay ordsway."},
    {msg::MoveLinePass, "(Asspay)"},
    {msg::MoveLineLostChallenge, "(Ostlay allengechay)"},
    {msg::MoveLineBadChallenge, "(Adbay allengechay)"},
    {msg::MarkQuick, "Uickqay:"},
    {msg::MarkFastSim, "Astfay-Imsay:"},
    {msg::MarkLook, "Ooklay:"},
    {msg::MarkEndgame, "Endgameyay:"},
    {msg::MarkForBestMove, "orfay estbay ovemay"},
    {msg::MarkSimulationPass, "imulationsay asspay"},
    {msg::LanguageNameEnglish, "Englishyay"},
    {msg::LanguageNameEnglish + 1, "Anishspay"},
    {msg::LanguageNameEnglish + 2, "Anishday"},
    {msg::LanguageNameEnglish + 3, "Enchfray"},
    {msg::LanguageNameEnglish + 4, "Ermangay"},
    {msg::LanguageNameEnglish + 5, "Italianyay"},
    {msg::LanguageNameEnglish + 6, "Atinlay"},
    {msg::LanguageNameEnglish + 7, "Atalancay"},
    {msg::LanguageNameEnglish + 8, "Edishsway"},
    {msg::MenuTestingOpeningBook, "Elphay eatecray openingyay ookbay..."},
    {msg::LanguageEnglish, "Englishyay"},
    {msg::LanguageCatalan, "Atal\xE0" "cay"},
    {msg::LanguagePigLatin, "Igpay Atinlay"},
    // What the user types (commands, their words and options) and names stay English.
    {msg::CliUnknownGameType, "Unknownyay amegay ypetay \"%s\". Ypetay \"pexil-cli types\" otay istlay emthay."},
    {msg::CliUnknownCommand, "Unknownyay ommandcay \"%s\". Ypetay \"pexil-cli help\" orfay ethay istlay ofyay ommandscay."},
    {msg::GcgHome1, "Esspray ethay HOME eykay otay umpjay otay ethay eginningbay ofyay ethay amegay, andyay"},
    {msg::GcgHome2, "UNDO (Ctrl+Z) andyay REDO (Ctrl+Y) otay epstay oughthray ovesmay."},
    {msg::UploadNoSockets, "Ailurefay initializingyay WinSock, GCG otnay uploadedyay.\n"},
    {msg::PlayPrompt, "Ouryay ackray: %s  (ypetay ayay ovemay ikelay 8D WORD, oryay help)"},
    {msg::BenchNoGameType,
     "Atalfay erroryay: ouldn'tcay indfay amegay escriptionday orfay American English Scrabble!\n"},
    {msg::PlayOverPrompt, "Ethay amegay isyay overyay: ypetay history, stats, well, board, undo oryay quit."},
    {msg::PlayUnknownCommand, "Unknownyay ommandcay \"%s\": ypetay help orfay ethay istlay ofyay ommandscay."},
    {msg::PlayBadSquare,
     "\"%s\" isyay otnay ayay aresquay ofyay isthay oardbay: ypetay ayay ovemay ikelay 8D WORD (owray enthay "
     "olumncay: acrossyay) oryay D8 WORD (olumncay enthay owray: ownday)."},
    {msg::CliNoRackToMove, "%s, ethay ayerplay otay ovemay, ashay onay ilestay: ivegay emthay ithway --rack TILES."},
};

// Texts that stay English in Pig Latin too.
constexpr int kEnglishAsIs[] = {
    msg::PlayComputerName,  // a player's name, written into game records
    msg::PlayHelpFiles,     // command syntax
    msg::PlayHelp1 + 1, msg::PlayHelp1 + 2, msg::PlayHelp1 + 3, msg::PlayHelp1 + 4, msg::PlayHelp1 + 5,
    msg::PlayHelp1 + 6,
};

// Words that messages quote from the program's files and commands; the rule
// leaves them as they are.
constexpr std::string_view kKeywords[] = {
    "markphonies", "copyboard", "copy", "GameEnd", "gametype", "nplayers", "pname", "gameturn", "playerturn",
    "senyors",
};

constexpr Table kFixesTable = layOut(kPigLatinFixes);

class PigLatinTable {
 public:
  PigLatinTable() {
    for (int number = 0; number < kMessageCount; ++number) {
      const auto n = static_cast<std::size_t>(number);
      if (number == msg::OpeningBookQuestion || english[n] == nullptr) continue;
      if (kFixesTable[n] != nullptr) {
        table_[n] = kFixesTable[n];
      } else if (std::find(std::begin(kEnglishAsIs), std::end(kEnglishAsIs), number) != std::end(kEnglishAsIs)) {
        table_[n] = english[n];
      } else {
        texts_[n] = PigLatin(english[n], kKeywords);
        table_[n] = texts_[n].c_str();
      }
    }
  }

  const Table& table() const { return table_; }

 private:
  // The texts made by the rule; the table points into them, so they are
  // filled in place and never move.
  std::array<std::string, kSize> texts_;
  Table table_{};
};

}  // namespace

const Table& pigLatin() {
  static const PigLatinTable table;
  return table.table();
}

}  // namespace pexil::catalogue
