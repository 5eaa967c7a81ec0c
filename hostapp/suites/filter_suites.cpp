// Filter registration, the filter's menu item, and number/text conversion.
#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "hostapp/suites/adapter_util.h"
#include "hostapp/suites/entry_barrier.h"
#include "hostapp/suites/suites.h"

namespace host {
namespace {

std::string fromPascal(const unsigned char* text) { return std::string(reinterpret_cast<const char*>(text + 1), text[0]); }

// ---- AI Filter ------------------------------------------------------------------

HostErr AddFilter(PluginRef self, const char* name, const FilterDescription* description, int32_t options,
                  FilterHandle* filter) {
  HostCall call = enterHostCall(kFilterSuite, "AddFilter");
  if (call.status) return call.status;
  if (!name || !description || !description->category || !description->title || !filter)
    return kHostBadParameterErr;
  HostContext& host = *call.host;
  FilterRecord f;
  f.id = host.nextRecordId();
  f.plugin = self;
  f.name = name;
  f.category = fromPascal(description->category);
  f.title = fromPascal(description->title);
  f.options = options;
  MenuItemRecord item;
  item.id = host.nextRecordId();
  item.filter = f.id;
  f.menuItem = item.id;
  host.filters().push_back(f);
  host.menuItems().push_back(item);
  *filter = makeHandle<FilterHandle>(host, HandleKind::Filter, f.id);
  return kHostNoErr;
}

HostErr GetFilterMenuItem(FilterHandle filter, MenuItemHandle* menuItem) {
  HostCall call = enterHostCall(kFilterSuite, "GetFilterMenuItem");
  if (call.status) return call.status;
  const std::uint32_t id = handleId(*call.host, filter, HandleKind::Filter);
  if (!menuItem || id == 0) return kHostBadParameterErr;
  for (const FilterRecord& f : call.host->filters()) {
    if (f.id != id) continue;
    *menuItem = makeHandle<MenuItemHandle>(*call.host, HandleKind::MenuItem, f.menuItem);
    return kHostNoErr;
  }
  return kHostBadParameterErr;
}

constexpr FilterSuiteV2 kFilter{barrier<AddFilter>, barrier<GetFilterMenuItem>};

// ---- AI Menu ----------------------------------------------------------------------

HostErr UpdateMenuItemAutomatically(MenuItemHandle menuItem, int32_t action, int32_t ifObjectIsInArtwork,
                                    int32_t ifObjectIsNotInArtwork, int32_t ifObjectIsSelected,
                                    int32_t ifObjectIsNotSelected, int32_t ifIsTrue, int32_t ifIsNotTrue) {
  HostCall call = enterHostCall(kMenuSuite, "UpdateMenuItemAutomatically");
  if (call.status) return call.status;
  const std::uint32_t id = handleId(*call.host, menuItem, HandleKind::MenuItem);
  for (MenuItemRecord& item : call.host->menuItems()) {
    if (id == 0 || item.id != id) continue;
    item.automaticUpdate = true;
    item.action = action;
    const int32_t values[6] = {ifObjectIsInArtwork, ifObjectIsNotInArtwork, ifObjectIsSelected,
                               ifObjectIsNotSelected, ifIsTrue, ifIsNotTrue};
    std::memcpy(item.conditions, values, sizeof values);
    return kHostNoErr;
  }
  return kHostBadParameterErr;
}

constexpr MenuSuiteV7 kMenu{barrier<UpdateMenuItemAutomatically>};

// ---- AI User ------------------------------------------------------------------------

HostErr NumberToText(HostReal value, int16_t precision, unsigned char* text) {
  HostCall call = enterHostCall(kUserSuite, "NumberToText");
  if (call.status) return call.status;
  if (!text || precision < 0 || precision > 20 || !std::isfinite(value)) return kHostBadParameterErr;
  char buffer[512];
  const int n = std::snprintf(buffer, sizeof buffer, "%.*f", int(precision), double(value));
  if (n < 0 || n > 255) return kHostBadParameterErr;
  text[0] = static_cast<unsigned char>(n);
  std::memcpy(text + 1, buffer, static_cast<std::size_t>(n));
  return kHostNoErr;
}

// The whole text, blanks around it aside, must be one decimal number.
HostErr TextToNumber(const unsigned char* text, HostReal* value) {
  HostCall call = enterHostCall(kUserSuite, "TextToNumber");
  if (call.status) return call.status;
  if (!text || !value) return kHostBadParameterErr;
  const std::string s = fromPascal(text);
  const char* begin = s.c_str();
  char* end = nullptr;
  errno = 0;
  const double d = std::strtod(begin, &end);
  if (end == begin || errno == ERANGE) return kHostBadParameterErr;
  while (*end == ' ' || *end == '\t') ++end;
  if (*end != '\0') return kHostBadParameterErr;
  const float f = static_cast<float>(d);
  if (!std::isfinite(f)) return kHostBadParameterErr;
  *value = f;
  return kHostNoErr;
}

constexpr UserSuiteV5 kUser{barrier<NumberToText>, barrier<TextToNumber>};

}  // namespace

const FilterSuiteV2& filterSuite() { return kFilter; }
const MenuSuiteV7& menuSuite() { return kMenu; }
const UserSuiteV5& userSuite() { return kUser; }

}  // namespace host
