// pexil-cli strategies: the strategy catalogue, by number.
#include "commands.hpp"
#include "search/strategy.hpp"
#include "terminal_sink.hpp"
#include "text/messages.hpp"
#include "text/text_pane.hpp"

namespace pexil::cli {

int runStrategies(const Arguments& args) {
  if (!args.empty()) {
    PrintMessageF(msg::CliBadOption, args.front().c_str());
    return 2;
  }
  NoWrapPane noWrap;
  PrintMessage(msg::CliStrategiesHeading);
  bool anyMissing = false;
  for (int strategy = 0; strategy < kStrategyCount; ++strategy) {
    const bool available = strategyAvailable(strategy);
    anyMissing = anyMissing || !available;
    textPane().Print(FormatText("%3d  %s%s", strategy, strategyDescription(strategy), available ? "" : " *"));
  }
  if (anyMissing) PrintMessage(msg::CliStrategiesNote);
  return 0;
}

}  // namespace pexil::cli
