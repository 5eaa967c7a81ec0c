// The options dialog as an editor extension shows it: its pages, and on each
// the items that show a record field, with their label, limits, decimal
// places, popup entries and default, plus the preset list and the buttons
// that act on the record. It is read from the plug-in's own dialog, never
// restated: the dialog is opened headless and cancelled.
//
// Which field an item shows is found by opening the dialog over records
// whose fields hold a code: field k is set high or low by bit j of k + 1 in
// the j-th opening, and each item's value read back spells the field's
// number. An item whose code names no field of its kind and limits is left
// out.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "hostapp/session/drawing_session.h"

namespace inkscape {

struct FieldItem {
  enum class Kind { Int, Float, Bool, Choice };
  Kind kind = Kind::Int;
  std::string field;  // the record field's name
  std::string label;
  int32_t itemId = 0;
  double minimum = 0, maximum = 0;  // Int and Float
  int32_t decimals = 0;             // Float
  double initial = 0;               // the default as the dialog shows it
  std::vector<std::string> entries;  // Choice
};

struct DialogPage {
  std::string caption;
  std::vector<FieldItem> items;
};

struct DialogModel {
  std::vector<DialogPage> pages;
  std::vector<std::string> presets;        // the preset list's entries, trimmed
  std::vector<std::string> recordButtons;  // text buttons other than Cancel
};

// Reads the dialog of the plug-in loaded in `session` (started, with no
// dialog open). Throws std::runtime_error when the dialog cannot be read.
DialogModel readDialogModel(host::DrawingSession& session);

// Leading and trailing blanks removed.
std::string trimmed(const std::string& text);

}  // namespace inkscape
