#include "hostapp/dialogs/dialog_manager.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <limits>

namespace host {
namespace {

constexpr struct {
  ItemKind kind;
  const char* typeName;
  const char* name;
} kKinds[] = {
    {ItemKind::SpinEdit, kSpinEditType, "spin edit"},
    {ItemKind::PopupList, kPopupListType, "popup list"},
    {ItemKind::TextStatic, kTextStaticType, "static text"},
    {ItemKind::TextPushButton, kTextPushButtonType, "text button"},
    {ItemKind::TextCheckBox, kTextCheckBoxType, "check box"},
    {ItemKind::PicturePushButton, kPicturePushButtonType, "picture button"},
    {ItemKind::TextEdit, "ADM Text Edit Type", "text edit"},
    {ItemKind::Frame, "ADM Frame Type", "frame"},
    {ItemKind::Picture, "ADM Picture Static Type", "picture"},
};

std::string withoutMnemonics(std::string_view text) {
  std::string out;
  for (char c : text) {
    if (c != '&') out += c;
  }
  return out;
}

// Window classes of dialog resources, by their predefined numbers.
constexpr uint16_t kButtonClass = 0x80;
constexpr uint16_t kEditClass = 0x81;
constexpr uint16_t kStaticClass = 0x82;
constexpr uint16_t kComboBoxClass = 0x85;

uint16_t classNumber(const ResourceName& windowClass) {
  if (windowClass.isNumber) return windowClass.number;
  std::string name;
  for (char c : windowClass.text) name += static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  if (name == "button") return kButtonClass;
  if (name == "edit") return kEditClass;
  if (name == "static") return kStaticClass;
  if (name == "combobox") return kComboBoxClass;
  return 0;
}

ItemKind kindOfControl(const DialogItemTemplate& control) {
  const uint32_t style = control.style & 0x1F;
  switch (classNumber(control.windowClass)) {
    case kButtonClass:
      if (style == 2 || style == 3 || style == 5 || style == 6) return ItemKind::TextCheckBox;
      if (style == 7) return ItemKind::Frame;  // group box
      return ItemKind::TextPushButton;
    case kEditClass:
      return ItemKind::TextEdit;
    case kComboBoxClass:
      return ItemKind::PopupList;
    case kStaticClass:
      if (style == 3) return ItemKind::Picture;              // icon
      if (style >= 4 && style <= 9) return ItemKind::Frame;  // rectangles and frames
      return ItemKind::TextStatic;
    default:
      return ItemKind::TextStatic;
  }
}

void requireReachable(const DialogItem& item) {
  if (!item.visible()) throw DialogError("item " + std::to_string(item.id()) + " is hidden");
  if (!item.enabled()) throw DialogError("item " + std::to_string(item.id()) + " is disabled");
}

}  // namespace

std::optional<ItemKind> itemKindFromTypeName(std::string_view typeName) {
  for (const auto& k : kKinds) {
    if (typeName == k.typeName) return k.kind;
  }
  return std::nullopt;
}

const char* itemKindName(ItemKind kind) {
  for (const auto& k : kKinds) {
    if (k.kind == kind) return k.name;
  }
  return "item";
}

DialogRect dialogUnitsToPixels(int32_t x, int32_t y, int32_t width, int32_t height) {
  auto across = [](int32_t units) { return static_cast<int32_t>(std::lround(units * 6 / 4.0)); };
  auto down = [](int32_t units) { return static_cast<int32_t>(std::lround(units * 13 / 8.0)); };
  return {across(x), down(y), across(x + width), down(y + height)};
}

// ---- Lists -----------------------------------------------------------------

DialogEntry& DialogList::insert(int32_t index) {
  auto at = (index < 0 || index > size()) ? entries_.end() : entries_.begin() + index;
  return **entries_.insert(at, std::make_unique<DialogEntry>(*this));
}

DialogEntry* DialogList::at(int32_t index) const {
  return index >= 0 && index < size() ? entries_[static_cast<std::size_t>(index)].get() : nullptr;
}

int32_t DialogList::activeIndex() const {
  for (int32_t k = 0; k < size(); ++k) {
    if (entries_[static_cast<std::size_t>(k)].get() == active_) return k;
  }
  return -1;
}

void DialogList::select(DialogEntry& entry, bool select) {
  if (select) {
    active_ = &entry;
  } else if (active_ == &entry) {
    active_ = nullptr;
  }
}

// ---- Items -----------------------------------------------------------------

DialogItem::DialogItem(Dialog& dialog, int32_t id, ItemKind kind, DialogRect bounds)
    : dialog_(&dialog),
      id_(id),
      kind_(kind),
      bounds_(bounds),
      minimum_(-std::numeric_limits<double>::infinity()),
      maximum_(std::numeric_limits<double>::infinity()) {
  if (kind == ItemKind::PopupList) list_ = std::make_unique<DialogList>(*this);
}

void DialogItem::setPrecision(int32_t places) { precision_ = std::clamp(places, 0, 10); }

double DialogItem::shownValue() const {
  if (kind_ != ItemKind::SpinEdit) return value_;
  double v = value_;
  if (minimum_ <= maximum_) v = std::clamp(v, minimum_, maximum_);
  const double scale = std::pow(10.0, precision_);
  return std::round(v * scale) / scale;
}

std::string DialogItem::text() const {
  if (kind_ == ItemKind::SpinEdit) {
    char buf[64];
    std::snprintf(buf, sizeof buf, "%.*f", precision_, shownValue());
    return buf;
  }
  if (kind_ == ItemKind::PopupList && list_->active()) return list_->active()->text();
  return text_;
}

void DialogItem::setText(std::string text) {
  if (kind_ == ItemKind::SpinEdit) {
    char* end = nullptr;
    const double v = std::strtod(text.c_str(), &end);
    if (end != text.c_str() && std::isfinite(v)) value_ = v;
    return;
  }
  text_ = std::move(text);
}

bool DialogItem::booleanValue() const { return shownValue() != 0; }

void DialogItem::setBooleanValue(bool value) { value_ = value ? 1 : 0; }

int32_t DialogItem::intValue() const {
  if (kind_ == ItemKind::PopupList) return list_->activeIndex();
  const double v = std::round(shownValue());
  return static_cast<int32_t>(std::clamp(v, -2147483648.0, 2147483647.0));
}

void DialogItem::setIntValue(int32_t value) {
  if (kind_ == ItemKind::PopupList) {
    if (DialogEntry* entry = list_->at(value)) list_->select(*entry, true);
    return;
  }
  value_ = kind_ == ItemKind::TextCheckBox ? (value != 0) : value;
}

float DialogItem::floatValue() const { return static_cast<float>(shownValue()); }

void DialogItem::setFloatValue(float value) {
  if (std::isfinite(value)) value_ = value;
}

// ---- Dialogs ---------------------------------------------------------------

void Dialog::setSize(int32_t width, int32_t height) {
  bounds_.right = bounds_.left + width;
  bounds_.bottom = bounds_.top + height;
}

DialogItem* Dialog::createItem(int32_t id, ItemKind kind, const DialogRect& bounds) {
  if (item(id)) return nullptr;
  items_.push_back(std::make_unique<DialogItem>(*this, id, kind, bounds));
  return items_.back().get();
}

DialogItem* Dialog::item(int32_t id) const {
  for (const auto& item : items_) {
    if (item->id() == id) return item.get();
  }
  return nullptr;
}

DialogItem* Dialog::itemByText(std::string_view text) const {
  for (const auto& item : items_) {
    if (withoutMnemonics(item->text()) == text) return item.get();
  }
  return nullptr;
}

void Dialog::end(int32_t result) {
  if (ended_) return;
  ended_ = true;
  result_ = result;
}

// ---- Drivers ---------------------------------------------------------------

void acceptDriver(DialogManager& manager, Dialog& dialog) {
  DialogItem* ok = dialog.itemByText("OK");
  if (ok && ok->isPushButton()) {
    manager.press(*ok);
  } else {
    manager.pressEnter(dialog);
  }
}

void cancelDriver(DialogManager& manager, Dialog& dialog) {
  for (const char* text : {"Cancel", "OK"}) {
    DialogItem* button = dialog.itemByText(text);
    if (button && button->isPushButton()) {
      manager.press(*button);
      return;
    }
  }
  manager.pressEscape(dialog);
}

// ---- The manager -----------------------------------------------------------

DialogManager::DialogManager() : driver_(acceptDriver) {}

DialogManager::~DialogManager() = default;

DialogItem* DialogManager::createItem(Dialog& dialog, int32_t id, ItemKind kind, const DialogRect& bounds) {
  DialogItem* item = dialog.createItem(id, kind, bounds);
  if (!item) return nullptr;
  items_.insert(item);
  if (item->list()) lists_.insert(item->list());
  return item;
}

DialogEntry& DialogManager::insertEntry(DialogList& list, int32_t index) {
  DialogEntry& entry = list.insert(index);
  entries_.insert(&entry);
  return entry;
}

void DialogManager::buildFromTemplate(Dialog& dialog, const DialogTemplate& resource) {
  dialog.setCaption(resource.caption);
  dialog.setBounds(dialogUnitsToPixels(resource.x, resource.y, resource.width, resource.height));
  for (const DialogItemTemplate& control : resource.items) {
    const DialogRect bounds = dialogUnitsToPixels(control.x, control.y, control.width, control.height);
    DialogItem* item = createItem(dialog, control.id, kindOfControl(control), bounds);
    if (!item) continue;  // a repeated id: the first item keeps it
    if (control.title.isNumber) {
      item->setIconId(control.title.number);
    } else {
      item->setText(control.title.text);
    }
  }
}

void DialogManager::forget(Dialog& dialog) {
  for (const auto& item : dialog.items()) {
    items_.erase(item.get());
    if (DialogList* list = item->list()) {
      lists_.erase(list);
      for (const auto& entry : list->entries()) entries_.erase(entry.get());
    }
  }
  dialogs_.erase(&dialog);
}

ShownDialog DialogManager::snapshot(const Dialog& dialog) const {
  ShownDialog shown;
  shown.name = dialog.name();
  shown.resourceId = dialog.resourceId();
  shown.caption = dialog.caption();
  for (const auto& item : dialog.items()) {
    std::string text = item->text();
    if (item->kind() == ItemKind::Picture && item->iconId() != 0) text = "icon " + std::to_string(item->iconId());
    shown.items.push_back({item->id(), itemKindName(item->kind()), std::move(text)});
  }
  return shown;
}

int32_t DialogManager::runModal(const DialogTemplate* resource, const std::string& name, int32_t resourceId,
                                DialogInitProc init, void* userData) {
  auto dialog = std::make_unique<Dialog>(name, resourceId, userData);
  dialogs_.insert(dialog.get());
  if (resource) buildFromTemplate(*dialog, *resource);
  open_.push_back(dialog.get());
  struct Close {
    DialogManager& manager;
    Dialog& dialog;
    ~Close() {
      manager.open_.pop_back();
      manager.forget(dialog);
    }
  } close{*this, *dialog};

  // A dialog whose init proc fails is never shown.
  if (init && init(handle(*dialog)) != kHostNoErr) return 0;

  const std::size_t record = shown_.size();
  shown_.push_back(snapshot(*dialog));
  if (!dialog->ended() && driver_) {
    try {
      driver_(*this, *dialog);
    } catch (const std::exception& error) {
      if (driverError_.empty()) driverError_ = error.what();
    }
  }
  if (!dialog->ended()) pressEscape(*dialog);
  dialog->end(kDialogCancel);
  shown_[record].result = dialog->result();
  return dialog->result();
}

void DialogManager::alert(const std::string& text) {
  ShownDialog shown;
  shown.alert = true;
  shown.name = "Alert";
  shown.items.push_back({0, "text", text});
  shown.result = kDialogAccept;
  shown_.push_back(std::move(shown));
}

Dialog* DialogManager::dialog(DialogHandle handle) const {
  return dialogs_.count(handle) ? reinterpret_cast<Dialog*>(handle) : nullptr;
}

DialogItem* DialogManager::item(ItemHandle handle) const {
  return items_.count(handle) ? reinterpret_cast<DialogItem*>(handle) : nullptr;
}

DialogList* DialogManager::list(ListHandle handle) const {
  return lists_.count(handle) ? reinterpret_cast<DialogList*>(handle) : nullptr;
}

DialogEntry* DialogManager::entry(EntryHandle handle) const {
  return entries_.count(handle) ? reinterpret_cast<DialogEntry*>(handle) : nullptr;
}

Notifier* DialogManager::notifier(NotifierHandle handle) const {
  for (Notifier* n : notifiers_) {
    if (reinterpret_cast<NotifierHandle>(n) == handle) return n;
  }
  return nullptr;
}

Tracker* DialogManager::tracker(TrackerHandle handle) const {
  if (!handle) return trackers_.empty() ? nullptr : trackers_.back();
  for (Tracker* t : trackers_) {
    if (reinterpret_cast<TrackerHandle>(t) == handle) return t;
  }
  return nullptr;
}

void DialogManager::sendNotify(DialogItem& item, std::string_view type) {
  Notifier notifier{std::string(type), &item};
  notifiers_.push_back(&notifier);
  struct Pop {
    std::vector<Notifier*>& stack;
    ~Pop() { stack.pop_back(); }
  } pop{notifiers_};
  if (ItemNotifyProc proc = item.notifyProc()) {
    proc(handle(item), reinterpret_cast<NotifierHandle>(&notifier));
  } else {
    defaultNotify(item, notifier);
  }
}

void DialogManager::defaultNotify(DialogItem& item, const Notifier& notifier) {
  if (notifier.type != kUserChangedNotifier || !item.isPushButton()) return;
  if (item.id() == kDialogAccept || item.id() == kDialogCancel) item.dialog().end(item.id());
}

bool DialogManager::track(DialogItem& item, int32_t modifiers, ViewPoint point) {
  Tracker tracker{&item, modifiers, point, false};
  trackers_.push_back(&tracker);
  struct Pop {
    std::vector<Tracker*>& stack;
    ~Pop() { stack.pop_back(); }
  } pop{trackers_};
  if (ItemTrackProc proc = item.trackProc()) {
    return proc(handle(item), reinterpret_cast<TrackerHandle>(&tracker)) != 0;
  }
  return defaultTrack(tracker);
}

bool DialogManager::defaultTrack(Tracker& tracker) {
  tracker.defaultTracked = true;
  return true;
}

void DialogManager::userSetInt(DialogItem& item, int32_t value) {
  requireReachable(item);
  item.setIntValue(value);
  sendNotify(item);
}

void DialogManager::userSetFloat(DialogItem& item, float value) {
  requireReachable(item);
  item.setFloatValue(value);
  sendNotify(item);
}

void DialogManager::userSetBoolean(DialogItem& item, bool value) {
  requireReachable(item);
  item.setBooleanValue(value);
  sendNotify(item);
}

void DialogManager::userSetText(DialogItem& item, std::string text) {
  requireReachable(item);
  item.setText(std::move(text));
  sendNotify(item);
}

void DialogManager::userSelectEntry(DialogItem& item, int32_t index) {
  requireReachable(item);
  DialogList* list = item.list();
  if (!list) throw DialogError("item " + std::to_string(item.id()) + " is not a popup list");
  DialogEntry* entry = list->at(index);
  if (!entry) {
    throw DialogError("item " + std::to_string(item.id()) + " has no entry " + std::to_string(index));
  }
  list->select(*entry, true);
  sendNotify(item);
}

void DialogManager::press(DialogItem& item) {
  requireReachable(item);
  sendNotify(item);
}

void DialogManager::pressEnter(Dialog& dialog) {
  DialogItem* item = dialog.item(kDialogAccept);
  if (item && item->isPushButton()) {
    sendNotify(*item);
  } else {
    dialog.end(kDialogAccept);
  }
}

void DialogManager::pressEscape(Dialog& dialog) {
  DialogItem* item = dialog.item(kDialogCancel);
  if (item && item->isPushButton()) {
    sendNotify(*item);
  } else {
    dialog.end(kDialogCancel);
  }
}

}  // namespace host
