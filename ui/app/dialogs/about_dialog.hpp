// "About Pexil": the program's icon, its name and version, and the
// ownership notice.
#pragma once

#include <string>
#include <vector>

#include "dialog_support.hpp"

namespace pexil::ui {

class CAboutDlg : public PexilDialog {
 public:
  explicit CAboutDlg(wxWindow* parent);
  // Whether the dialog found an icon to show.
  bool hasIcon() const { return hasIcon_; }

 private:
  bool hasIcon_ = false;
};

// The ownership notice under the version.
extern const char* const kOwnershipNotice;

// Where the program's icon may be, best first: the data folder it runs in,
// the installed icon theme beside the program, the build tree's icons.
std::vector<std::string> AboutIconCandidates(const std::string& programFolder);

}  // namespace pexil::ui
