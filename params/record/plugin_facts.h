// The few facts of the plug-in that a host driving it needs to know.
#pragma once

#include <cstdint>

// The name the filter registers under, which is also the options dialog's
// name.
inline constexpr const char* kSpiralFilterName = "Vrix_Spiral";
inline constexpr const char* kOptionsDialogName = kSpiralFilterName;
// The item id of the options dialog's preset list.
inline constexpr int32_t kPresetListId = 164;
// The plug-in's answer to a cancelled options dialog ('STOP'); never shown.
inline constexpr int32_t kUserCancelErr = 0x53544F50;
