// pexil-cli settings [KEY [VALUE]]: the user's stored options, shared with
// the desktop program. Without arguments every key with its value (a
// missing key shows its default); with KEY one value; with KEY VALUE the
// value is set and every key is written back, as the window does on each
// change.
#include <string>

#include "commands.hpp"
#include "settings.hpp"
#include "terminal_sink.hpp"
#include "text/messages.hpp"
#include "text/text_pane.hpp"
#include "typed_text.hpp"

namespace pexil::cli {

int runSettings(const Arguments& args) {
  if (args.size() > 2) {
    PrintMessageF(msg::CliBadOption, args[2].c_str());
    return 2;
  }
  SettingsStore store;
  if (!store.error().empty()) PrintMessageF(msg::SettingsCannotRead, store.error().c_str());
  Settings settings;
  LoadSettings(settings, store);
  NoWrapPane noWrap;
  if (args.empty()) {
    PrintMessageF(msg::SettingsHeading, store.path().c_str());
    for (const SettingKey& key : SettingKeys()) {
      textPane().Print(FormatText("%-18s %s", key.key, SettingText(settings, key).c_str()));
    }
    return 0;
  }
  const SettingKey* key = FindSettingKey(args[0]);
  if (key == nullptr) {
    PrintMessageF(msg::SettingsUnknownKey, args[0].c_str());
    return 2;
  }
  if (args.size() == 1) {
    textPane().Print(SettingText(settings, *key));
    return 0;
  }
  // Text values (the player's name) are typed in UTF-8 like every other text.
  std::string value = args[1];
  if (std::holds_alternative<std::string Settings::*>(key->member)) {
    const auto decoded = decodeTypedText(value);
    if (!decoded) return 2;
    value = *decoded;
  }
  if (!SetSettingFromText(settings, *key, value)) {
    PrintMessageF(msg::SettingsBadValue, key->key, args[1].c_str());
    return 2;
  }
  if (!SaveSettings(settings, store)) {
    PrintMessageF(msg::SettingsCannotWrite, store.error().c_str());
    return 1;
  }
  PrintMessageF(msg::SettingsChanged, key->key, SettingText(settings, *key).c_str());
  return 0;
}

}  // namespace pexil::cli
