// The options dialog's items as data: one row per item, in the order the
// dialog creates them, and the five pages with their buttons, captions and
// opening items.
#pragma once

#include <cstdint>
#include <span>

#include "params/record/plugin_facts.h"
#include "params/view_defaults.h"
#include "shell/host/adm_suites.h"

enum class ItemKind : uint8_t {
  IntSpinEdit,
  FloatSpinEdit,
  StaticText,
  PopupList,
  TextButton,
  CheckBox,
  PictureButton,
};

// The proc an item gets: a notify proc, or for Pick the track proc.
enum class ItemProc : uint8_t {
  None,
  ReadBack,
  ViewZoom,
  Preset,
  Tumble,
  Nudge,
  SwitchPage,
  Pick,
};

inline constexpr int32_t kEveryPage = 0;

struct ItemSpec {
  int32_t id;
  ItemKind kind;
  const char* text;  // null: the item gets no text
  DialogRect bounds;
  int32_t page;  // 1 to 5, or kEveryPage
  // The field the item shows: intField for check boxes, integer spin edits
  // and lists, floatField for float spin edits.
  int32_t SpiralParameters::*intField;
  float SpiralParameters::*floatField;
  double minimum;  // spin edits only
  double maximum;
  ItemProc proc;
};

inline constexpr int kOptionItemCount = 115;
extern const ItemSpec kOptionItems[kOptionItemCount];

struct PageSpec {
  int32_t number;  // the value of activePage
  int32_t buttonId;
  int32_t captionId;
  int32_t openingItemId;  // notified first when the page is opened
};

inline constexpr int kPageCount = 5;
extern const PageSpec kPages[kPageCount];

// The page of that number; page 1 for any number outside 1 to 5.
const PageSpec& pageOrFirst(int32_t number);
// The row of an item id, or null.
const ItemSpec* findItemSpec(int32_t id);

inline constexpr int32_t kZoomItemId = 28;
inline constexpr int32_t kTweakButtonId = 92;
inline constexpr int32_t kJitterButtonId = 93;
inline constexpr int32_t kBoostButtonId = 94;

// True for the items the read-back reads: every item showing a field except
// the zoom item and the preset list.
bool isReadBackItem(const ItemSpec& spec);
