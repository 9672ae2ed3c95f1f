// pexil: the desktop program. Reads its options, moves to its data folder
// (its own folder, or for an installed program its share/pexil, unless
// --data names another) and either draws one picture without a display
// (--screenshot) or opens its window.
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "draw_context.hpp"
#include "renderer.hpp"
#include "session.hpp"
#include "io/data_files.hpp"
#include "startup.hpp"
#include "window_entry.hpp"
#include "rules/random.hpp"
#include "text/messages.hpp"
#include "text/text_pane.hpp"

namespace {

std::filesystem::path programFolder() {
  std::error_code error;
  const auto self = std::filesystem::read_symlink("/proc/self/exe", error);
  return error ? std::filesystem::path() : self.parent_path();
}

int screenshot(const pexil::ui::LaunchOptions& options) {
  pexil::draw::DrawContext context(".");
  pexil::ui::Session session;
  session.start();
  const pexil::ui::Startup startup = pexil::ui::ApplyLaunchOptions(session, options);
  if (!startup.ok) {
    std::fprintf(stderr, "pexil: %s\n", startup.error.c_str());
    return 2;
  }
  if (!startup.warning.empty()) std::fprintf(stderr, "pexil: %s\n", startup.warning.c_str());
  pexil::draw::Canvas canvas(context, options.width, options.height);
  pexil::draw::PaneView paneView;
  paneView.selected = startup.selectedLine;
  // The previewed move is the selected pane line, as in the window.
  std::optional<pexil::draw::BoardPreview> preview;
  if (startup.selectedLine >= 0) {
    preview = session.preview(pexil::textPane().Line(static_cast<std::size_t>(startup.selectedLine)), options.heatmap);
  }
  pexil::draw::RenderView(context, canvas, session.game(), session.viewOptions(), pexil::textPane(), paneView,
                          preview ? &*preview : nullptr);
  std::string error;
  if (!canvas.savePng(*options.screenshot, &error)) {
    std::fprintf(stderr, "pexil: cannot write %s: %s\n", options.screenshot->c_str(), error.c_str());
    return 1;
  }
  return 0;
}

}  // namespace


int main(int argc, char** argv) {
  std::vector<std::string> args(argv + 1, argv + argc);
  std::string error;
  auto options = pexil::ui::ParseLaunchOptions(args, error);
  if (!options) {
    std::fprintf(stderr, "pexil: %s\n%s", error.c_str(), pexil::ui::UsageText());
    return 2;
  }
  if (options->help) {
    std::fputs(pexil::ui::UsageText(), stdout);
    return 0;
  }
  if (options->seed) pexil::setProgramSeed(*options->seed);
  // Paths the user gives are read from where the program started.
  if (options->screenshot) options->screenshot = std::filesystem::absolute(*options->screenshot).string();
  if (options->exportAfterShow) options->exportAfterShow = std::filesystem::absolute(*options->exportAfterShow).string();
  std::error_code cd;
  if (options->dataDir) {
    std::filesystem::current_path(*options->dataDir, cd);
    if (cd) {
      std::fprintf(stderr, "pexil: no data folder %s\n", options->dataDir->c_str());
      return 2;
    }
  } else if (const auto folder = programFolder(); !folder.empty()) {
    std::filesystem::current_path(pexil::programDataFolder(folder), cd);
  }
  if (options->screenshot) {
    try {
      return screenshot(*options);
    } catch (const std::exception& e) {
      std::fprintf(stderr, "pexil: %s\n", e.what());
      return 1;
    }
  }
  return pexil::ui::RunWindow(argc, argv, *options);
}
