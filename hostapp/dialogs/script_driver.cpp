#include "hostapp/dialogs/script_driver.h"

#include <cctype>
#include <charconv>
#include <cmath>
#include <cstdlib>
#include <limits>

#include "hostapp/io/suggestions.h"
#include "hostapp/model/document.h"

namespace host {
namespace {

struct Token {
  std::string text;
  bool quoted = false;
};

// Splits a script into actions (';' or new line) of blank-separated tokens;
// a double-quoted token may hold blanks and ';'.
std::vector<std::vector<Token>> tokenize(std::string_view script) {
  std::vector<std::vector<Token>> actions(1);
  std::size_t i = 0;
  while (i < script.size()) {
    const char c = script[i];
    if (c == ';' || c == '\n') {
      actions.emplace_back();
      ++i;
    } else if (c == ' ' || c == '\t' || c == '\r') {
      ++i;
    } else if (c == '"') {
      const std::size_t close = script.find('"', i + 1);
      if (close == std::string_view::npos) throw ScriptError("dialog script: a quote is not closed");
      actions.back().push_back({std::string(script.substr(i + 1, close - i - 1)), true});
      i = close + 1;
    } else {
      std::size_t end = i;
      while (end < script.size() && script[end] != ';' && script[end] != '\n' && script[end] != ' ' &&
             script[end] != '\t' && script[end] != '\r' && script[end] != '"') {
        ++end;
      }
      actions.back().push_back({std::string(script.substr(i, end - i)), false});
      i = end;
    }
  }
  std::vector<std::vector<Token>> nonEmpty;
  for (auto& action : actions) {
    if (!action.empty()) nonEmpty.push_back(std::move(action));
  }
  return nonEmpty;
}

std::optional<int32_t> wholeNumber(const Token& token) {
  if (token.quoted || token.text.empty()) return std::nullopt;
  int32_t value = 0;
  const char* end = token.text.data() + token.text.size();
  const auto [ptr, ec] = std::from_chars(token.text.data(), end, value);
  if (ec != std::errc() || ptr != end) return std::nullopt;
  return value;
}

std::optional<double> decimalNumber(const Token& token) {
  if (token.quoted || token.text.empty()) return std::nullopt;
  double value = 0;
  const char* end = token.text.data() + token.text.size();
  const auto [ptr, ec] = std::from_chars(token.text.data(), end, value, std::chars_format::fixed);
  if (ec != std::errc() || ptr != end || !std::isfinite(value)) return std::nullopt;
  return value;
}

std::string joined(const std::vector<Token>& tokens) {
  std::string out;
  for (const Token& t : tokens) {
    if (!out.empty()) out += ' ';
    out += t.quoted ? "\"" + t.text + "\"" : t.text;
  }
  return out;
}

ScriptAction parseAction(const std::vector<Token>& tokens, std::size_t number) {
  ScriptAction action;
  action.source = joined(tokens);
  const std::string where = "dialog script: action " + std::to_string(number) + " '" + action.source + "': ";
  const std::string& verb = tokens[0].text;
  auto needs = [&](std::size_t count, const char* form) {
    if (tokens.size() != count) throw ScriptError(where + "write it as '" + form + "'");
  };
  auto takeItem = [&](const Token& token) {
    if (auto id = wholeNumber(token)) {
      action.itemId = *id;
    } else {
      action.itemText = token.text;
    }
  };

  if (tokens[0].quoted) throw ScriptError(where + "an action begins with its verb");
  if (verb == "set") {
    needs(3, "set ITEM NUMBER");
    action.verb = ScriptAction::Verb::Set;
    takeItem(tokens[1]);
    if (!decimalNumber(tokens[2])) throw ScriptError(where + "'" + tokens[2].text + "' is not a number");
    action.number = tokens[2].text;
  } else if (verb == "toggle") {
    needs(2, "toggle ITEM");
    action.verb = ScriptAction::Verb::Toggle;
    takeItem(tokens[1]);
  } else if (verb == "check") {
    needs(3, "check ITEM on|off");
    action.verb = ScriptAction::Verb::Check;
    takeItem(tokens[1]);
    if (tokens[2].text != "on" && tokens[2].text != "off") throw ScriptError(where + "a check box is on or off");
    action.on = tokens[2].text == "on";
  } else if (verb == "choose") {
    needs(3, "choose ITEM N|\"TEXT\"");
    action.verb = ScriptAction::Verb::Choose;
    takeItem(tokens[1]);
    if (auto position = wholeNumber(tokens[2])) {
      action.position = *position;
    } else {
      action.entryText = tokens[2].text;
    }
  } else if (verb == "press") {
    needs(2, "press ITEM");
    action.verb = ScriptAction::Verb::Press;
    takeItem(tokens[1]);
  } else if (verb == "page") {
    needs(2, "page CAPTION");
    action.verb = ScriptAction::Verb::Page;
    action.itemText = tokens[1].text;
  } else if (verb == "pick") {
    needs(4, "pick ITEM X Y");
    action.verb = ScriptAction::Verb::Pick;
    takeItem(tokens[1]);
    const auto x = decimalNumber(tokens[2]);
    const auto y = decimalNumber(tokens[3]);
    if (!x || !y) throw ScriptError(where + "a document point is two numbers");
    action.x = static_cast<float>(*x);
    action.y = static_cast<float>(*y);
  } else if (verb == "enter") {
    needs(1, "enter");
    action.verb = ScriptAction::Verb::Enter;
  } else if (verb == "escape") {
    needs(1, "escape");
    action.verb = ScriptAction::Verb::Escape;
  } else {
    throw ScriptError(where + "unknown action '" + verb +
                      "' (set, toggle, check, choose, press, page, pick, enter, escape)");
  }
  return action;
}

std::string trimmed(std::string_view text) {
  const std::size_t first = text.find_first_not_of(' ');
  if (first == std::string_view::npos) return "";
  const std::size_t last = text.find_last_not_of(' ');
  return std::string(text.substr(first, last - first + 1));
}

std::string itemName(const DialogItem& item) {
  return std::string(itemKindName(item.kind())) + " " + std::to_string(item.id());
}

void requireReachable(const DialogItem& item) {
  if (!item.visible()) throw DialogError(itemName(item) + " is hidden");
  if (!item.enabled()) throw DialogError(itemName(item) + " is disabled");
}

// The item an action names, of one of the kinds it acts on.
DialogItem& findItem(const Dialog& dialog, const ScriptAction& action, std::initializer_list<ItemKind> kinds,
                     const char* wanted) {
  auto fits = [&](const DialogItem& item) {
    for (ItemKind kind : kinds) {
      if (item.kind() == kind) return true;
    }
    return false;
  };
  if (action.itemId) {
    DialogItem* item = dialog.item(*action.itemId);
    if (!item) throw DialogError("there is no item " + std::to_string(*action.itemId));
    if (!fits(*item)) throw DialogError(itemName(*item) + " is not a " + wanted);
    return *item;
  }
  for (const auto& item : dialog.items()) {
    if (fits(*item) && item->text() == action.itemText) return *item;
  }
  throw DialogError(std::string("there is no ") + wanted + " \"" + action.itemText + "\"");
}

// The page button above a page caption: the push button over the caption
// that shares most of its width.
DialogItem& pageButton(const Dialog& dialog, const std::string& caption) {
  const DialogItem* label = nullptr;
  for (const auto& item : dialog.items()) {
    if (item->kind() == ItemKind::TextStatic && item->text() == caption) label = item.get();
  }
  if (!label) throw DialogError("there is no page caption \"" + caption + "\"");
  DialogItem* best = nullptr;
  int32_t bestOverlap = 0;
  for (const auto& item : dialog.items()) {
    if (!item->isPushButton() || item->bounds().bottom > label->bounds().top) continue;
    const int32_t overlap = std::min(item->bounds().right, label->bounds().right) -
                            std::max(item->bounds().left, label->bounds().left);
    if (overlap > bestOverlap) {
      best = item.get();
      bestOverlap = overlap;
    }
  }
  if (!best) throw DialogError("no page button above the caption \"" + caption + "\"");
  return *best;
}

std::string lowered(std::string text) {
  for (char& c : text) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return text;
}

// The entry an action chooses: by position, or the first entry of its text
// as written, then without surrounding blanks, then also without regard to
// case. A text no entry has is refused with the nearest entries.
int32_t entryPosition(const DialogItem& item, const ScriptAction& action) {
  const DialogList& list = *item.list();
  if (action.position) {
    if (!action.entryNoun.empty() && (*action.position < 0 || *action.position >= list.size()))
      throw DialogError("there is no " + action.entryNoun + " " + std::to_string(*action.position) + ": they are 0 to " +
                        std::to_string(list.size() - 1));
    return *action.position;  // the manager refuses a missing one
  }
  const std::string wanted = trimmed(action.entryText);
  for (int32_t pass = 0; pass < 3; ++pass) {
    for (int32_t k = 0; k < list.size(); ++k) {
      const std::string& text = list.at(k)->text();
      if (pass == 0 ? text == action.entryText
          : pass == 1 ? trimmed(text) == wanted
                      : lowered(trimmed(text)) == lowered(wanted))
        return k;
    }
  }
  std::vector<std::string> entries;
  for (int32_t k = 0; k < list.size(); ++k) entries.push_back(trimmed(list.at(k)->text()));
  const std::string suggestion = hostio::didYouMean(hostio::nearestNames(wanted, entries));
  if (!action.entryNoun.empty())
    throw DialogError("there is no " + action.entryNoun + " \"" + action.entryText + "\"" + suggestion);
  throw DialogError(itemName(item) + " has no entry \"" + action.entryText + "\"" + suggestion);
}

void perform(DialogManager& manager, Dialog& dialog, const ScriptAction& action, const Document& document) {
  using Verb = ScriptAction::Verb;
  switch (action.verb) {
    case Verb::Set:
      manager.userSetText(findItem(dialog, action, {ItemKind::SpinEdit}, "spin edit"), action.number);
      break;
    case Verb::Toggle: {
      DialogItem& box = findItem(dialog, action, {ItemKind::TextCheckBox}, "check box");
      manager.userSetBoolean(box, !box.booleanValue());
      break;
    }
    case Verb::Check: {
      // A box already as wanted is left alone, as a user would.
      DialogItem& box = findItem(dialog, action, {ItemKind::TextCheckBox}, "check box");
      requireReachable(box);
      if (box.booleanValue() != action.on) manager.userSetBoolean(box, action.on);
      break;
    }
    case Verb::Choose: {
      DialogItem& popup = findItem(dialog, action, {ItemKind::PopupList}, "popup list");
      requireReachable(popup);
      manager.userSelectEntry(popup, entryPosition(popup, action));
      break;
    }
    case Verb::Press:
      manager.press(
          findItem(dialog, action, {ItemKind::TextPushButton, ItemKind::PicturePushButton}, "push button"));
      break;
    case Verb::Page:
      manager.press(pageButton(dialog, action.itemText));
      break;
    case Verb::Pick: {
      DialogItem& button =
          findItem(dialog, action, {ItemKind::PicturePushButton, ItemKind::TextPushButton}, "push button");
      requireReachable(button);
      if (document.views().empty()) throw DialogError("the document has no view to pick in");
      ViewPoint point{0, 0};
      document.views().front().toView(Point{action.x, action.y}, &point.h, &point.v);
      manager.track(button, kPickModifier, point);
      break;
    }
    case Verb::Enter:
      manager.pressEnter(dialog);
      break;
    case Verb::Escape:
      manager.pressEscape(dialog);
      break;
  }
}

// A script's actions in order; the first failure stops the script.
class ScriptSource : public ActionSource {
 public:
  explicit ScriptSource(std::vector<ScriptAction> actions) : actions_(std::move(actions)) {}
  std::optional<ScriptAction> next(Dialog&) override {
    if (next_ >= actions_.size()) return std::nullopt;
    return actions_[next_++];
  }
  bool done(const ScriptAction&, Dialog&, const std::string& error) override { return error.empty(); }

 private:
  std::vector<ScriptAction> actions_;
  std::size_t next_ = 0;
};

}  // namespace

void performAction(DialogManager& manager, Dialog& dialog, const ScriptAction& action, const Document& document) {
  perform(manager, dialog, action, document);
}

std::vector<ScriptAction> parseDialogScript(std::string_view script) {
  std::vector<ScriptAction> actions;
  const auto tokenized = tokenize(script);
  for (std::size_t k = 0; k < tokenized.size(); ++k) actions.push_back(parseAction(tokenized[k], k + 1));
  return actions;
}

ItemState captureItemState(const DialogItem& item) {
  ItemState state;
  state.id = item.id();
  state.kind = itemKindName(item.kind());
  state.text = item.text();
  state.visible = item.visible();
  state.enabled = item.enabled();
  state.font = item.font();
  switch (item.kind()) {
    case ItemKind::SpinEdit:
      // The number as shown, read from its text so that 0.01 stays 0.01.
      state.value = std::strtod(state.text.c_str(), nullptr);
      if (std::isfinite(item.minimum())) state.minimum = item.minimum();
      if (std::isfinite(item.maximum())) state.maximum = item.maximum();
      break;
    case ItemKind::TextCheckBox:
      state.value = item.booleanValue() ? 1 : 0;
      break;
    case ItemKind::PopupList:
      state.value = item.list()->activeIndex();
      for (const auto& entry : item.list()->entries()) state.entries.push_back(entry->text());
      break;
    default:
      break;
  }
  return state;
}

std::vector<ItemState> captureItemStates(const Dialog& dialog) {
  std::vector<ItemState> states;
  for (const auto& item : dialog.items()) states.push_back(captureItemState(*item));
  return states;
}

DialogDriver actionDriver(std::shared_ptr<ActionSource> source, std::string dialogName, bool cancelAtEnd,
                          const Document& document, std::shared_ptr<ScriptOutcome> outcome) {
  return [source = std::move(source), dialogName = std::move(dialogName), cancelAtEnd, &document, outcome](
             DialogManager& manager, Dialog& dialog) {
    if (dialog.name() != dialogName) {
      source->otherDialog(manager, dialog);
      return;
    }
    outcome->ran = true;
    while (std::optional<ScriptAction> action = source->next(dialog)) {
      const std::string where = "'" + action->source + "': ";
      std::string error;
      if (dialog.ended()) {
        error = where + "the dialog has already closed";
      } else {
        try {
          perform(manager, dialog, *action, document);
        } catch (const DialogError& e) {
          error = where + e.what();
        }
      }
      if (!source->done(*action, dialog, error)) throw DialogError(error);
    }
    if (!dialog.ended()) {
      if (cancelAtEnd) {
        cancelDriver(manager, dialog);
      } else {
        manager.pressEnter(dialog);
      }
    }
    outcome->closedItems = captureItemStates(dialog);
  };
}

DialogDriver scriptDriver(std::vector<ScriptAction> actions, std::string dialogName, bool cancelAtEnd,
                          const Document& document, std::shared_ptr<ScriptOutcome> outcome) {
  return actionDriver(std::make_shared<ScriptSource>(std::move(actions)), std::move(dialogName), cancelAtEnd, document,
                      std::move(outcome));
}

}  // namespace host
