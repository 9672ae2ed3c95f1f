#include "dialog_steps.hpp"

#include <wx/spinctrl.h>
#include <wx/uiaction.h>

#include <memory>

#include "dialog_support.hpp"

namespace pexil::test {

using ui::Latin1ToWx;
using ui::WxToLatin1;

Step setText(int id, const std::string& latin1) {
  return [=](wxDialog& dialog) {
    if (auto* edit = need<wxTextCtrl>(dialog, id)) edit->SetValue(Latin1ToWx(latin1));
    return true;
  };
}

Step setCheck(int id, bool value) {
  return [=](wxDialog& dialog) {
    if (auto* check = need<wxCheckBox>(dialog, id)) check->SetValue(value);
    return true;
  };
}

Step choose(int id, int index) {
  return [=](wxDialog& dialog) {
    auto* list = need<wxChoice>(dialog, id);
    if (list == nullptr) return true;
    list->SetSelection(index);
    wxCommandEvent event(wxEVT_CHOICE, id);
    event.SetInt(index);
    event.SetEventObject(list);
    list->ProcessWindowEvent(event);
    return true;
  };
}

Step spin(int id, int value) {
  return [=](wxDialog& dialog) {
    if (auto* control = need<wxSpinCtrl>(dialog, id)) control->SetValue(value);
    return true;
  };
}

Step press(int id) {
  return [=](wxDialog& dialog) {
    auto* button = need<wxButton>(dialog, id);
    if (button == nullptr) return true;
    wxCommandEvent event(wxEVT_BUTTON, id);
    event.SetEventObject(button);
    button->ProcessWindowEvent(event);
    return true;
  };
}

Step ok() { return press(wxID_OK); }
Step cancel() { return press(wxID_CANCEL); }

Step expect(std::function<void(wxDialog&)> check) {
  return [=](wxDialog& dialog) {
    check(dialog);
    return true;
  };
}

Step focusOn(int id) {
  return [=](wxDialog& dialog) {
    wxWindow* target = dialog.FindWindow(id);
    EXPECT_NE(target, nullptr) << "no control of id " << id;
    if (target == nullptr) return true;
    if (dialog.IsActive() && wxWindow::FindFocus() == target) return true;
    // The keyboard goes to the window under the pointer (there is no
    // window manager), and within it to the control with the focus.
    wxUIActionSimulator().MouseMove(dialog.GetScreenRect().GetPosition() + wxPoint(8, 8));
    dialog.Raise();
    target->SetFocus();
    return false;
  };
}

Step typeInto(int id, const std::string& text) {
  const Step focus = focusOn(id);
  auto typed = std::make_shared<bool>(false);
  return [=](wxDialog& dialog) {
    auto* edit = need<wxTextCtrl>(dialog, id);
    if (edit == nullptr) return true;
    if (!*typed) {
      if (!focus(dialog)) return false;
      edit->SelectAll();  // the typed text replaces what the edit held
      wxUIActionSimulator().Text(text.c_str());
      *typed = true;
      return false;
    }
    return WxToLatin1(edit->GetValue()) == text;
  };
}

Step key(int keyCode) {
  return [=](wxDialog&) {
    wxUIActionSimulator().Char(keyCode);
    return true;
  };
}

}  // namespace pexil::test
