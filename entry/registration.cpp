#include "entry/registration.h"

#include "entry/errors.h"
#include "params/record/plugin_facts.h"
#include "shell/plugin_globals.h"
#include "shell/suite_table.h"

namespace {
// 64 characters and a terminator; the same bytes hold the length-prefixed
// form afterwards.
constexpr int32_t kFilterTextSize = 65;
}  // namespace

HostErr registerSpiralFilter(MessageHeader* message) {
  HostErr result = kHostNoErr;
  int32_t count = 0;
  // The list holds one category and title pair, entries 1 and 2.
  for (int32_t entry = 1; entry < 2; entry += 2, ++count) {
    char category[kFilterTextSize] = "";
    char title[kFilterTextSize] = "";
    gADMBasicSuite->GetIndexString(message->self, kFilterStringList, entry, category, kFilterTextSize);
    if (category[0] == '\0') break;
    gADMBasicSuite->GetIndexString(message->self, kFilterStringList, entry + 1, title, kFilterTextSize);
    toLengthPrefixed(category);
    toLengthPrefixed(title);

    FilterDescription description{reinterpret_cast<unsigned char*>(category),
                                  reinterpret_cast<unsigned char*>(title)};
    result = gFilterSuite->AddFilter(message->self, kSpiralFilterName, &description, 0, &gPluginGlobals->filter);
    if (result != kHostNoErr) return result;
    MenuItemHandle menuItem = nullptr;
    result = gFilterSuite->GetFilterMenuItem(gPluginGlobals->filter, &menuItem);
    if (result != kHostNoErr) return result;
    result = gMenuSuite->UpdateMenuItemAutomatically(menuItem, 1, 0, 0, 0, 0, 1, 0);
    if (result != kHostNoErr) return result;
  }
  gPluginGlobals->filterCount = count;
  return result;
}
