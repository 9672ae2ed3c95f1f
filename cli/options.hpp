// Command options: "--name VALUE" options, "--flag" flags and positional
// words, checked against what a command accepts.
#pragma once

#include <initializer_list>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <vector>

namespace pexil::cli {

using Arguments = std::vector<std::string>;

struct ParsedOptions {
  std::map<std::string, std::string> values;
  std::set<std::string> flags;
  std::vector<std::string> positional;

  bool has(const std::string& name) const { return values.count(name) > 0 || flags.count(name) > 0; }
  std::optional<std::string> value(const std::string& name) const {
    const auto it = values.find(name);
    return it == values.end() ? std::nullopt : std::optional<std::string>(it->second);
  }
};

// Valued options are written "--name VALUE" or "--name=VALUE". Reports an
// unknown option or a missing value and gives none.
std::optional<ParsedOptions> parseOptions(const Arguments& args, std::initializer_list<const char*> valued,
                                          std::initializer_list<const char*> flags = {});

// A whole decimal number within [low, high], or none.
std::optional<long long> parseNumber(const std::string& text, long long low, long long high);

}  // namespace pexil::cli
