// Scripted steps on an open modal dialog, shared by the window tests: set
// or type into a control, choose, press a button, run checks. A step gives
// true once it is done; otherwise it is tried again on the next tick, so a
// step may wait for the display.
#pragma once

#include <gtest/gtest.h>
#include <wx/wx.h>

#include <functional>
#include <string>

namespace pexil::test {

using Step = std::function<bool(wxDialog&)>;

template <class Control>
Control* control(wxDialog& dialog, int id) {
  return dynamic_cast<Control*>(dialog.FindWindow(id));
}

// The control, or a test failure naming it.
template <class Control>
Control* need(wxDialog& dialog, int id) {
  auto* found = control<Control>(dialog, id);
  EXPECT_NE(found, nullptr) << "no control of id " << id << " in \"" << dialog.GetTitle() << "\"";
  return found;
}

Step setText(int id, const std::string& latin1);
Step setCheck(int id, bool value);
Step choose(int id, int index);  // also sends the change event
Step spin(int id, int value);
Step press(int id);               // a click on the button of that id
Step ok();
Step cancel();
Step expect(std::function<void(wxDialog&)> check);  // runs gtest checks
// Gives control `id` the keyboard: the pointer over the dialog, the focus
// on the control; done once the dialog is active and the control focused.
Step focusOn(int id);
// Types text with the system's input simulation once the dialog has the
// keyboard, then waits until edit `id` shows it.
Step typeInto(int id, const std::string& text);
Step key(int keyCode);
// Expects the message last shown to be `text`, and the dialog still open.

}  // namespace pexil::test
