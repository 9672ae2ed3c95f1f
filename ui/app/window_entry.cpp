#include "window_entry.hpp"

#include <wx/init.h>
#include <wx/log.h>

#include <cstdio>
#include <cstdlib>

#include "desktop.hpp"

namespace pexil::ui {
namespace {

bool set(const char* name) {
  const char* value = std::getenv(name);
  return value != nullptr && *value != 0;
}

}  // namespace

std::string NoDisplayMessage(const std::string& program, const std::string& why) {
  const auto slash = program.rfind('/');
  const std::string terminal = (slash == std::string::npos ? std::string() : program.substr(0, slash + 1)) + "pexil-cli play";
  return "pexil: " + why + ", so the window cannot open; play in the terminal with: " + terminal;
}

int RunWindow(int argc, char** argv, const LaunchOptions& options) {
  const std::string program = argc > 0 ? argv[0] : "pexil";
  if (!set("DISPLAY") && !set("WAYLAND_DISPLAY")) {
    std::fprintf(stderr, "%s\n", NoDisplayMessage(program, "no display (DISPLAY is not set)").c_str());
    return 1;
  }
  // The application object is wx's to delete when the library ends.
  wxApp::SetInstance(new App(options));
  bool started = false;
  {
    // The toolkit's own complaint would try to show a message box on the
    // display it could not open.
    wxLogNull quiet;
    started = wxEntryStart(argc, argv);
  }
  if (!started) {
    const char* display = std::getenv("DISPLAY");
    const std::string which = display != nullptr && *display != 0 ? std::string(display) : "the Wayland display";
    std::fprintf(stderr, "%s\n", NoDisplayMessage(program, "cannot open the display " + which).c_str());
    return 1;
  }
  int status = 1;
  if (wxTheApp->CallOnInit()) {
    status = wxTheApp->OnRun();
    wxTheApp->OnExit();
  }
  wxEntryCleanup();
  return status;
}

}  // namespace pexil::ui
