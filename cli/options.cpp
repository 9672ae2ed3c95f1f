#include "options.hpp"

#include <cerrno>
#include <cstdlib>

#include "text/messages.hpp"

namespace pexil::cli {

std::optional<ParsedOptions> parseOptions(const Arguments& args, std::initializer_list<const char*> valued,
                                          std::initializer_list<const char*> flags) {
  const std::set<std::string> valuedNames(valued.begin(), valued.end());
  const std::set<std::string> flagNames(flags.begin(), flags.end());
  ParsedOptions parsed;
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string& a = args[i];
    // "--name=VALUE" is "--name VALUE".
    const std::size_t equals = a.starts_with("--") ? a.find('=') : std::string::npos;
    if (equals != std::string::npos && valuedNames.count(a.substr(0, equals))) {
      parsed.values[a.substr(0, equals)] = a.substr(equals + 1);
    } else if (valuedNames.count(a)) {
      if (i + 1 >= args.size()) {
        PrintMessageF(msg::CliBadOption, a.c_str());
        return std::nullopt;
      }
      parsed.values[a] = args[++i];
    } else if (flagNames.count(a)) {
      parsed.flags.insert(a);
    } else if (a.size() > 2 && a.starts_with("--")) {
      PrintMessageF(msg::CliBadOption, a.c_str());
      return std::nullopt;
    } else {
      parsed.positional.push_back(a);
    }
  }
  return parsed;
}

std::optional<long long> parseNumber(const std::string& text, long long low, long long high) {
  if (text.empty()) return std::nullopt;
  char* end = nullptr;
  errno = 0;
  const long long value = std::strtoll(text.c_str(), &end, 10);
  if (errno != 0 || end == text.c_str() || *end != '\0' || value < low || value > high) return std::nullopt;
  return value;
}

}  // namespace pexil::cli
