// The extension's description file (.inx) made from the options dialog as
// read by readDialogModel: a notebook page per dialog page with spin boxes,
// check boxes and option lists, then a page of what the editor needs and
// the dialog cannot give: the preset list, a record button to press, the
// seed and the colour model. The centre fields are offsets from the page
// centre, as the record's defaults are.
#pragma once

#include <string>

#include "hostapp/inkscape/dialog_model.h"

namespace inkscape {

// The extension's id; its effect is the editor's action "<id>.noprefs".
inline constexpr const char* kExtensionId = "org.spiral-host.spiral";
inline constexpr const char* kInxFileName = "spiral.inx";
inline constexpr const char* kLauncherFileName = "spiral-inkscape";
// The menu the effect appears in, under Extensions.
inline constexpr const char* kMenuName = "TQV <Create>";

// `command` is the program the editor runs, a file beside the .inx.
std::string inxText(const DialogModel& model, const std::string& command);

}  // namespace inkscape
