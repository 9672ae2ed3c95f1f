// Writing a language table of the message catalogue: the table is given as
// (number, text) pairs and laid out by number at compile time; a number
// given twice in one table, or one that names no message, stops the build.
#pragma once

#include <cstddef>

#include "text/message_catalogue.hpp"
#include "text/messages.hpp"

namespace pexil::catalogue {

struct Entry {
  int number;
  const char* text;
};

template <std::size_t N>
constexpr Table layOut(const Entry (&entries)[N]) {
  Table table{};
  for (const Entry& entry : entries) {
    if (!IsMessageNumber(entry.number)) throw "message number out of range";
    if (table[static_cast<std::size_t>(entry.number)] != nullptr) throw "message number given twice";
    table[static_cast<std::size_t>(entry.number)] = entry.text;
  }
  return table;
}

}  // namespace pexil::catalogue
