// A dialog script: user actions written as text, run headless on a modal
// dialog by the dialog manager, each exactly as a user would do it (the value
// changes, then the item's notify proc runs).
//
// Actions, separated by ';' or new lines; ITEM is an item id, or the text of
// a check box or push button (quoted when it has blanks):
//
//   set ITEM NUMBER       type a number into a spin edit
//   toggle ITEM           click a check box
//   check ITEM on|off     click a check box unless it already is so
//   choose ITEM N         choose entry N (from 0) of a popup list
//   choose ITEM "TEXT"    choose the entry with that text (leading and
//                         trailing blanks of the entry need not be written)
//   press ITEM            press a push button
//   page CAPTION          press the page button above the caption text
//   pick ITEM X Y         track a pick button with the pick modifier held and
//                         the mouse over document point (X, Y) of view 0
//   enter                 Enter: the dialog's default action
//   escape                Escape: the dialog's cancel action
//
// A malformed script is refused before anything runs. An action on a
// missing, hidden or disabled item, or of the wrong kind, or after the dialog
// has closed, stops the script with a DialogError.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "hostapp/dialogs/dialog_manager.h"

namespace host {

class Document;

// A script that cannot be read; the message names the action.
class ScriptError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

struct ScriptAction {
  enum class Verb { Set, Toggle, Check, Choose, Press, Page, Pick, Enter, Escape };
  Verb verb = Verb::Enter;
  std::string source;  // the action as written
  std::optional<int32_t> itemId;  // the item by its id,
  std::string itemText;           // or by its text (page: the caption)
  std::string number;  // set: the number as typed
  bool on = false;     // check
  std::optional<int32_t> position;  // choose by position
  std::string entryText;            // choose by text
  std::string entryNoun;            // choose: what messages call an entry ("preset"); empty: an entry
  float x = 0, y = 0;               // pick
};

// Reads a script; throws ScriptError.
std::vector<ScriptAction> parseDialogScript(std::string_view script);

// The state of one item as the dialog closed.
struct ItemState {
  int32_t id = 0;
  std::string kind;
  std::string text;
  // Spin edits: the number shown; check boxes 0 or 1; popup lists the
  // selected position (-1 for none). Empty for other kinds.
  std::optional<double> value;
  std::optional<double> minimum, maximum;  // spin edits
  bool visible = true;
  bool enabled = true;
  int32_t font = 0;
  std::vector<std::string> entries;  // popup lists
};

ItemState captureItemState(const DialogItem& item);
std::vector<ItemState> captureItemStates(const Dialog& dialog);

// What a script run leaves for its caller.
struct ScriptOutcome {
  bool ran = false;  // the dialog was shown and the script started
  std::vector<ItemState> closedItems;  // the items as the dialog closed
};

// Carries out one action on an open dialog as the user would. Throws
// DialogError. Picks convert document points through view 0 of `document`
// as it is when the pick runs.
void performAction(DialogManager& manager, Dialog& dialog, const ScriptAction& action, const Document& document);

// Where a driver's actions come from: a script's list, or a user acting while
// the dialog is open. The driver asks for the next action until the dialog
// ends or the source has none left.
class ActionSource {
 public:
  virtual ~ActionSource() = default;
  // The next action on `dialog`, or nothing when the source is done.
  virtual std::optional<ScriptAction> next(Dialog& dialog) = 0;
  // How an action went: `error` is empty when it was carried out. Returns
  // whether the driver goes on; a source that stops makes the driver throw
  // the action's error.
  virtual bool done(const ScriptAction& action, Dialog& dialog, const std::string& error) = 0;
  // A dialog other than the driven one (an error dialog, the About box).
  virtual void otherDialog(DialogManager& manager, Dialog& dialog) { acceptDriver(manager, dialog); }
};

// A driver that takes the actions of `source` on the dialog named
// `dialogName`; when the source leaves it open, it is ended by Enter, or by
// its Cancel button when `cancelAtEnd`. Other dialogs go to the source.
DialogDriver actionDriver(std::shared_ptr<ActionSource> source, std::string dialogName, bool cancelAtEnd,
                          const Document& document, std::shared_ptr<ScriptOutcome> outcome);

// The driver of a script: `actions` in order; the first failing one stops
// it. Other dialogs (error dialogs, alerts) are acknowledged. Picks convert
// document points through view 0 of `document` as it is when the pick runs.
DialogDriver scriptDriver(std::vector<ScriptAction> actions, std::string dialogName, bool cancelAtEnd,
                          const Document& document, std::shared_ptr<ScriptOutcome> outcome);

}  // namespace host
