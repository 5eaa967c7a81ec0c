// The host's dialog manager, headless: modal dialogs built from the
// plug-in's dialog resources, their items (values, limits, texts, visibility,
// procs), popup lists and entries, notifiers and trackers. A driver stands in
// for the user: it finds items, changes values the way a user would (the
// change, then the item's notify proc), presses buttons, tracks the mouse
// and ends the dialog. Every dialog and alert shown is recorded.
//
// Item values: a spin edit keeps its value within its limits and at its
// decimal places, whatever order the limits, places and value were set in:
// what it shows is what it returns. The raw value is kept and every read
// goes through the limits and places in force.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <unordered_set>
#include <utility>
#include <vector>

#include "hostapp/resources/resource_file.h"
#include "shell/host/adm_suites.h"

namespace host {

// A user action the dialog does not allow, such as typing into a hidden or
// disabled item; its message is one line for the user.
class DialogError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

enum class ItemKind {
  SpinEdit,
  PopupList,
  TextStatic,
  TextPushButton,
  TextCheckBox,
  PicturePushButton,
  // Kinds that only dialog resources make.
  TextEdit,
  Frame,
  Picture,
};

// The kind of a host item type name ("ADM Spin Edit Type", ...).
std::optional<ItemKind> itemKindFromTypeName(std::string_view typeName);
const char* itemKindName(ItemKind kind);

// Dialog units of the dialogs' font ("MS Sans Serif", 8 points) to pixels:
// 6 pixels per 4 units across and 13 pixels per 8 units down.
DialogRect dialogUnitsToPixels(int32_t x, int32_t y, int32_t width, int32_t height);

class Dialog;
class DialogItem;
class DialogList;

class DialogEntry {
 public:
  explicit DialogEntry(DialogList& list) : list_(&list) {}
  DialogList& list() const { return *list_; }
  const std::string& text() const { return text_; }
  void setText(std::string text) { text_ = std::move(text); }
  int32_t id() const { return id_; }
  void setId(int32_t id) { id_ = id; }

 private:
  DialogList* list_;
  std::string text_;
  int32_t id_ = 0;
};

class DialogList {
 public:
  explicit DialogList(DialogItem& item) : item_(&item) {}
  DialogItem& item() const { return *item_; }
  // A new entry at `index`; an index outside 0..size appends.
  DialogEntry& insert(int32_t index);
  DialogEntry* at(int32_t index) const;
  int32_t size() const { return static_cast<int32_t>(entries_.size()); }
  DialogEntry* active() const { return active_; }
  // Position of the selected entry, or -1.
  int32_t activeIndex() const;
  // Selecting makes the entry the selected one; deselecting the selected
  // entry leaves none selected.
  void select(DialogEntry& entry, bool select);
  const std::vector<std::unique_ptr<DialogEntry>>& entries() const { return entries_; }

 private:
  DialogItem* item_;
  std::vector<std::unique_ptr<DialogEntry>> entries_;
  DialogEntry* active_ = nullptr;
};

class DialogItem {
 public:
  DialogItem(Dialog& dialog, int32_t id, ItemKind kind, DialogRect bounds);

  Dialog& dialog() const { return *dialog_; }
  int32_t id() const { return id_; }
  ItemKind kind() const { return kind_; }
  const DialogRect& bounds() const { return bounds_; }
  bool isPushButton() const { return kind_ == ItemKind::TextPushButton || kind_ == ItemKind::PicturePushButton; }

  // The item's own text; a spin edit's text is its value as shown.
  std::string text() const;
  // A spin edit takes a number from the text (ignored when there is none).
  void setText(std::string text);

  bool visible() const { return visible_; }
  void setVisible(bool visible) { visible_ = visible; }
  bool enabled() const { return enabled_; }
  void setEnabled(bool enabled) { enabled_ = enabled; }
  int32_t font() const { return font_; }
  void setFont(int32_t font) { font_ = font; }
  int32_t units() const { return units_; }
  void setUnits(int32_t units) { units_ = units; }
  int32_t precision() const { return precision_; }
  void setPrecision(int32_t places);

  // Values. A check box holds a boolean, a spin edit a number within its
  // limits at its decimal places, a popup list the position of its selected
  // entry.
  bool booleanValue() const;
  void setBooleanValue(bool value);
  int32_t intValue() const;
  void setIntValue(int32_t value);
  float floatValue() const;
  void setFloatValue(float value);
  void setMinimum(double value) { minimum_ = value; }
  void setMaximum(double value) { maximum_ = value; }
  double minimum() const { return minimum_; }
  double maximum() const { return maximum_; }

  DialogList* list() const { return list_.get(); }

  ItemNotifyProc notifyProc() const { return notify_; }
  void setNotifyProc(ItemNotifyProc proc) { notify_ = proc; }
  ItemTrackProc trackProc() const { return track_; }
  void setTrackProc(ItemTrackProc proc) { track_ = proc; }

  // Resource number of a picture item's icon, 0 when none.
  int32_t iconId() const { return iconId_; }
  void setIconId(int32_t id) { iconId_ = id; }

 private:
  double shownValue() const;

  Dialog* dialog_;
  int32_t id_;
  ItemKind kind_;
  DialogRect bounds_;
  std::string text_;
  bool visible_ = true;
  bool enabled_ = true;
  int32_t font_ = kDialogFont;
  int32_t units_ = kNoUnits;
  int32_t precision_ = 0;
  double value_ = 0;
  double minimum_;
  double maximum_;
  std::unique_ptr<DialogList> list_;
  ItemNotifyProc notify_ = nullptr;
  ItemTrackProc track_ = nullptr;
  int32_t iconId_ = 0;
};

class Dialog {
 public:
  Dialog(std::string name, int32_t resourceId, void* userData)
      : name_(std::move(name)), resourceId_(resourceId), userData_(userData) {}

  const std::string& name() const { return name_; }
  int32_t resourceId() const { return resourceId_; }
  const std::string& caption() const { return caption_; }
  void setCaption(std::string caption) { caption_ = std::move(caption); }
  void* userData() const { return userData_; }
  const DialogRect& bounds() const { return bounds_; }
  void setBounds(const DialogRect& bounds) { bounds_ = bounds; }
  // Keeps the top left corner.
  void setSize(int32_t width, int32_t height);

  // Null when the id is taken.
  DialogItem* createItem(int32_t id, ItemKind kind, const DialogRect& bounds);
  DialogItem* item(int32_t id) const;
  // The first item whose text, without '&' marks, is `text`.
  DialogItem* itemByText(std::string_view text) const;
  const std::vector<std::unique_ptr<DialogItem>>& items() const { return items_; }

  bool ended() const { return ended_; }
  int32_t result() const { return result_; }
  void end(int32_t result);

 private:
  std::string name_;
  int32_t resourceId_;
  std::string caption_;
  void* userData_;
  DialogRect bounds_{0, 0, 0, 0};
  std::vector<std::unique_ptr<DialogItem>> items_;
  bool ended_ = false;
  int32_t result_ = 0;
};

// A notification on its way to an item.
struct Notifier {
  std::string type;
  DialogItem* item = nullptr;
};

// A mouse track of an item: the modifier flags and the mouse point in view
// coordinates (pixels of document view 0).
struct Tracker {
  DialogItem* item = nullptr;
  int32_t modifiers = 0;
  ViewPoint point{0, 0};
  bool defaultTracked = false;
};

// What the user saw: a dialog with the texts of its items after its init
// proc ran, or an alert.
struct ShownDialog {
  struct ItemText {
    int32_t id;
    std::string kind;
    std::string text;
  };
  bool alert = false;
  std::string name;
  int32_t resourceId = 0;
  std::string caption;
  std::vector<ItemText> items;
  int32_t result = 0;  // the item that ended the dialog
};

class DialogManager;
// Acts as the user on an open modal dialog; returns when done. A dialog the
// driver leaves open is ended as by the Escape key.
using DialogDriver = std::function<void(DialogManager&, Dialog&)>;

// Presses "OK" where there is one (error and About dialogs), else Enter.
void acceptDriver(DialogManager& manager, Dialog& dialog);
// Presses "Cancel" where there is one, else "OK" (a dialog that can only be
// acknowledged), else Escape.
void cancelDriver(DialogManager& manager, Dialog& dialog);

class DialogManager {
 public:
  DialogManager();
  ~DialogManager();
  DialogManager(const DialogManager&) = delete;
  DialogManager& operator=(const DialogManager&) = delete;

  void setDriver(DialogDriver driver) { driver_ = std::move(driver); }

  // Builds the dialog from its template (null: an empty dialog), runs the
  // init proc, hands the dialog to the driver and returns the id of the item
  // that ended it.
  int32_t runModal(const DialogTemplate* resource, const std::string& name, int32_t resourceId,
                   DialogInitProc init, void* userData);
  // Records an alert; the user dismisses it at once.
  void alert(const std::string& text);

  // The innermost open modal dialog, or null.
  Dialog* activeDialog() const { return open_.empty() ? nullptr : open_.back(); }
  const std::vector<ShownDialog>& shown() const { return shown_; }
  void clearShown() { shown_.clear(); }
  // The first failure of a driver since the last call (empty when none). A
  // failing driver's dialog is ended as by Escape.
  std::string takeDriverError() { return std::exchange(driverError_, {}); }

  // Live objects behind the host's handles; null for a handle that is not
  // (or no longer) one of this manager's.
  Dialog* dialog(DialogHandle handle) const;
  DialogItem* item(ItemHandle handle) const;
  DialogList* list(ListHandle handle) const;
  DialogEntry* entry(EntryHandle handle) const;
  Notifier* notifier(NotifierHandle handle) const;
  // A null handle means the tracker of the track now running.
  Tracker* tracker(TrackerHandle handle) const;

  static DialogHandle handle(Dialog& dialog) { return reinterpret_cast<DialogHandle>(&dialog); }
  static ItemHandle handle(DialogItem& item) { return reinterpret_cast<ItemHandle>(&item); }
  static ListHandle handle(DialogList& list) { return reinterpret_cast<ListHandle>(&list); }
  static EntryHandle handle(DialogEntry& entry) { return reinterpret_cast<EntryHandle>(&entry); }

  // Items, lists and entries made through the manager are known to it.
  DialogItem* createItem(Dialog& dialog, int32_t id, ItemKind kind, const DialogRect& bounds);
  DialogEntry& insertEntry(DialogList& list, int32_t index);

  // Sends a named notifier: the item's notify proc runs, or the default
  // handling when it has none.
  void sendNotify(DialogItem& item, std::string_view type = kUserChangedNotifier);
  // The manager's own handling: it never changes a value; a push button
  // with id 1 or 2 ends the modal dialog with its id.
  void defaultNotify(DialogItem& item, const Notifier& notifier);
  // Tracks the mouse over an item: its track proc runs, or the default
  // tracking. Returns whether the track was handled.
  bool track(DialogItem& item, int32_t modifiers, ViewPoint point);
  bool defaultTrack(Tracker& tracker);

  // The user's actions: each changes the value as typed or clicked, then
  // notifies the item. A hidden or disabled item throws DialogError: the user
  // cannot reach it.
  void userSetInt(DialogItem& item, int32_t value);
  void userSetFloat(DialogItem& item, float value);
  void userSetBoolean(DialogItem& item, bool value);
  void userSetText(DialogItem& item, std::string text);
  void userSelectEntry(DialogItem& item, int32_t index);
  void press(DialogItem& item);
  // Enter: the default item's action; item 1 is pressed when it exists,
  // otherwise the dialog ends with 1.
  void pressEnter(Dialog& dialog);
  // Escape: item 2 is pressed when it is a push button, otherwise the
  // dialog ends with 2.
  void pressEscape(Dialog& dialog);

 private:
  void buildFromTemplate(Dialog& dialog, const DialogTemplate& resource);
  void forget(Dialog& dialog);
  ShownDialog snapshot(const Dialog& dialog) const;

  DialogDriver driver_;
  std::string driverError_;
  std::vector<Dialog*> open_;
  std::vector<ShownDialog> shown_;
  std::unordered_set<const void*> dialogs_, items_, lists_, entries_;
  std::vector<Notifier*> notifiers_;
  std::vector<Tracker*> trackers_;
};

}  // namespace host
