#include "about_dialog.hpp"

#include <wx/artprov.h>
#include <wx/filename.h>
#include <wx/stdpaths.h>
#include <wx/statbmp.h>

#include "text/messages.hpp"

namespace pexil::ui {
namespace {

constexpr int kIconSize = 64;

// The first readable icon of the candidates, else the icon theme's
// "pexil", else none.
wxBitmap FindIcon() {
  const wxString program = wxStandardPaths::Get().GetExecutablePath();
  const std::string folder = WxToLatin1(wxFileName(program).GetPath());
  wxLogNull quiet;  // a missing or broken file just means the next candidate
  for (const std::string& path : AboutIconCandidates(folder)) {
    if (!wxFileName::FileExists(Latin1ToWx(path))) continue;
    wxBitmap bitmap(Latin1ToWx(path), wxBITMAP_TYPE_PNG);
    if (bitmap.IsOk()) return bitmap;
  }
  return wxArtProvider::GetBitmap("pexil", wxART_OTHER, wxSize(kIconSize, kIconSize));
}

}  // namespace

const char* const kOwnershipNotice =
    "Copyright (c) the Pexil developers. All rights reserved.\n"
    "Pexil and its data are the property of their authors.";

std::vector<std::string> AboutIconCandidates(const std::string& programFolder) {
  const std::string theme = "icons/hicolor/" + std::to_string(kIconSize) + "x" + std::to_string(kIconSize) +
                            "/apps/pexil.png";
  std::vector<std::string> candidates = {"pexil.png"};
  if (!programFolder.empty()) {
    candidates.push_back(programFolder + "/pexil.png");
    candidates.push_back(programFolder + "/../share/" + theme);
    candidates.push_back(programFolder + "/../ui/" + theme);
  }
  return candidates;
}

CAboutDlg::CAboutDlg(wxWindow* parent) : PexilDialog(parent, msg::DlgTitleAbout) {
  if (!wxImage::FindHandler(wxBITMAP_TYPE_PNG)) wxImage::AddHandler(new wxPNGHandler);  // wx owns handlers
  auto* row = new wxBoxSizer(wxHORIZONTAL);
  const wxBitmap icon = FindIcon();
  hasIcon_ = icon.IsOk();
  if (hasIcon_) row->Add(new wxStaticBitmap(this, dlgid::icon, icon), 0, wxALIGN_TOP | wxRIGHT, 16);
  auto* texts = new wxBoxSizer(wxVERTICAL);
  texts->Add(new wxStaticText(this, dlgid::note, MessageText(msg::AboutText)), 0, wxBOTTOM, 12);
  texts->Add(new wxStaticText(this, wxID_ANY, Latin1ToWx(kOwnershipNotice)), 0);
  row->Add(texts, 1);
  column()->Add(row, 0, wxEXPAND | wxLEFT | wxRIGHT | wxTOP, 16);
  Finish(false);
}

}  // namespace pexil::ui
