// Dialog templates as the resource compiler wrote them (RT_DIALOG data, DLGTEMPLATE or
// DLGTEMPLATEEX): what a test checks where the running dialog no longer tells it, such as
// positions in dialog units or the WS_VSCROLL of a combo box (which the combo box hands on to
// its list). Portable; ui_driver_win.h reads the data out of an executable.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace testsupport {

struct DialogControl {
  int id = 0;
  // The window class. The predefined ones read "Button", "Edit", "Static", "ListBox",
  // "ScrollBar", "ComboBox" however the resource compiler wrote them; others as written
  // (windres upper-cases them: "SYSIPADDRESS32"; class names compare without case).
  std::wstring className;
  std::wstring text;  // empty for none; "#123" for a resource ordinal (an icon's)
  std::uint32_t style = 0;
  std::uint32_t exStyle = 0;
  int x = 0, y = 0, cx = 0, cy = 0;  // dialog units
};

struct DialogTemplate {
  bool extended = false;  // DLGTEMPLATEEX
  std::uint32_t style = 0;
  std::uint32_t exStyle = 0;
  int x = 0, y = 0, cx = 0, cy = 0;
  std::wstring caption;
  int pointSize = 0;  // with DS_SETFONT
  std::wstring font;
  std::vector<DialogControl> controls;  // in template (tab) order

  const DialogControl* Find(int id) const;
};

// False when `data` is not a whole dialog template.
bool ParseDialogTemplate(const std::string& data, DialogTemplate& out);

}  // namespace testsupport
