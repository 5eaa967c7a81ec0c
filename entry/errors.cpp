#include "entry/errors.h"

#include <algorithm>
#include <cmath>
#include <cstring>

#include "params/record/plugin_facts.h"
#include "shell/guarded.h"
#include "shell/plugin_globals.h"
#include "shell/suite_table.h"

namespace {

constexpr int32_t kCloseItem = 1;
constexpr int32_t kMessageItem = 2;
constexpr int32_t kCodeItem = 3;

// The list's code texts: a number when it starts with '-' or a digit,
// otherwise the four-character code of its first four characters.
HostErr codeOfText(char* text) {
  if (text[0] == '-' || (text[0] >= '0' && text[0] <= '9')) {
    toLengthPrefixed(text);
    HostReal value = 0;
    gUserSuite->TextToNumber(reinterpret_cast<unsigned char*>(text), &value);
    double whole = value > 0 ? std::floor(value) : std::ceil(value);
    // Kept within int32 before the 16-bit narrowing, so that no text makes
    // the conversion undefined.
    whole = std::fmax(-2147483648.0, std::fmin(2147483647.0, whole));
    return static_cast<int16_t>(static_cast<int32_t>(whole));
  }
  uint32_t code = 0;
  for (int k = 0; k < 4; ++k) code = (code << 8) | static_cast<unsigned char>(text[k]);
  return static_cast<HostErr>(code);
}

// Decimal for codes from -65536 to 65535, else the four characters.
void writeCodeText(HostErr code, char (&out)[16]) {
  uint32_t high = static_cast<uint32_t>(code) >> 16;
  if (high == 0 || high == 0xFFFF) {
    // The host writes into a full-size length-prefixed buffer; only the
    // digits are copied into the code field.
    unsigned char number[256] = {0};
    gUserSuite->NumberToText(static_cast<HostReal>(code), 0, number);
    toZeroTerminated(number);
    const char* digits = reinterpret_cast<const char*>(number);
    const std::size_t length = std::min(std::strlen(digits), sizeof out - 1);
    std::memcpy(out, digits, length);
    out[length] = '\0';
    return;
  }
  for (int k = 0; k < 4; ++k) out[k] = static_cast<char>(static_cast<uint32_t>(code) >> (24 - 8 * k));
  out[4] = '\0';
}

// The procs of the two dialogs, behind the same barrier as the options
// dialog's (shell/guarded.h).
void passOnNotification(ItemHandle item, NotifierHandle notifier) noexcept {
  guardedNotify([&] { gADMItemSuite->DefaultNotify(item, notifier); });
}

HostErr initErrorDialog(DialogHandle dialog) noexcept {
  return guarded([&] {
    gADMItemSuite->SetNotifyProc(gADMDialogSuite->GetItem(dialog, kCloseItem), passOnNotification);
    const auto* text = static_cast<const ErrorText*>(gADMDialogSuite->GetUserData(dialog));
    // A host that cannot hand back the user data leaves the template's texts.
    if (!text) return kHostNoErr;
    gADMItemSuite->SetText(gADMDialogSuite->GetItem(dialog, kMessageItem), text->message);
    gADMItemSuite->SetText(gADMDialogSuite->GetItem(dialog, kCodeItem), text->code);
    return kHostNoErr;
  });
}

HostErr initAboutDialog(DialogHandle dialog) noexcept {
  return guarded([&] {
    gADMItemSuite->SetNotifyProc(gADMDialogSuite->GetItem(dialog, kCloseItem), passOnNotification);
    return kHostNoErr;
  });
}

}  // namespace

void showHostError(MessageHeader* message, HostErr code) {
  if (code == kHostNoErr || code == kUserCancelErr) return;
  if (!gADMBasicSuite || !gADMDialogSuite) return;
  // The dialog also needs the item suite for its texts and the user suite for
  // the code's numbers. A binding that failed at the ADM Item Suite, or one
  // that found the ADM suites still bound after a failed release but the
  // user suite released, leaves them null; its alert has been shown.
  if (!gADMItemSuite || !gUserSuite) return;

  ErrorText text{};
  int32_t entry = 1;
  bool found = false;
  // Entry numbers are 16-bit in string lists; the list normally ends far
  // earlier, at its first empty entry.
  for (; entry < 0x7FFF; entry += 2) {
    char codeText[256] = "";
    gADMBasicSuite->GetIndexString(message->self, kErrorStringList, entry, codeText, 255);
    if (codeText[0] == '\0') break;
    if (codeOfText(codeText) == code) {
      found = true;
      break;
    }
  }
  // Without a match the message of the last pair, the catch-all, is shown.
  int32_t messageEntry = found ? entry + 1 : entry - 1;
  gADMBasicSuite->GetIndexString(message->self, kErrorStringList, messageEntry, text.message,
                                 sizeof text.message);
  writeCodeText(code, text.code);
  gADMDialogSuite->Modal(message->self, "Error Dialog", kErrorDialogId, 0, initErrorDialog, &text);
}

HostErr onAbout(MessageHeader* message) {
  gADMDialogSuite->Modal(message->self, "About Dialog", kAboutDialogId, 0, initAboutDialog, nullptr);
  return kHostNoErr;
}

void toLengthPrefixed(char* text) {
  std::size_t length = std::strlen(text);
  if (length > 255) return;
  std::memmove(text + 1, text, length);
  text[0] = static_cast<char>(static_cast<unsigned char>(length));
}

void toZeroTerminated(unsigned char* text) {
  std::size_t length = text[0];
  std::memmove(text, text + 1, length);
  text[length] = '\0';
}
