// The Pig Latin rule: how the Pig Latin UI language is made from English.
#pragma once

#include <span>
#include <string>
#include <string_view>

namespace pexil {

// Turns an English text into Pig Latin, word by word.
//
// A word that starts with consonants moves that cluster to its end and adds
// "ay" ("game" -> "amegay"); "qu" belongs to the cluster ("quick" ->
// "ickquay"), and "y" counts as a consonant at the start of a word only. A
// word that starts with a vowel adds "yay" ("is" -> "isyay", "a" -> "ayay").
// Capitals move with the word: a capitalised word stays capitalised ("Type"
// -> "Ypetay"), a word in capitals stays in capitals ("GAME" -> "AMEGAY").
// An "&" accelerator mark stays on the letter it marks, wherever the letter
// moves ("&File" -> "Ile&fay", "Save game &as" -> "Avesay amegay &asyay"), so
// the keys of a menu stay as distinct as in English. An apostrophe inside a
// word stays with it ("don't" -> "on'tday"); a possessive "'s" stays at the
// end ("Pexil's" -> "Exilpay's").
//
// Left as they are: printf conversions ("%s", "%+5.1f", "%%") and letters
// glued to them ("P%d", "%dx", "%s's"); everything from a TAB on (the
// shortcut text of a menu caption); white space and punctuation; numbers and
// words with digits or underscores ("8D", "TWL06", "XPF_NONE"); a word of one
// consonant ("N", and the key 'y' in quotes); file names and other chunks
// with a dot before a letter ("game.definitions", "*.gcg", "e.g."), times
// such as "mm:ss" and addresses; command-line options ("--top"), tags
// ("#note") and markup ("<td>"); key names with what they join ("Ctrl+Z",
// "Ctrl-C", "ESC"); words in capitals of up to three letters or without a
// vowel (abbreviations such as "GCG", "CPU"); and the words of `keep`,
// matched exactly.
std::string PigLatin(std::string_view english, std::span<const std::string_view> keep = {});

}  // namespace pexil
