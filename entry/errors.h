// Showing a failure to the user, the About box, and the two in-place
// conversions between zero-terminated and length-prefixed strings.
#pragma once

#include "shell/host/host_interface.h"

inline constexpr int32_t kErrorStringList = 16050;
inline constexpr int32_t kAboutDialogId = 16050;
inline constexpr int32_t kErrorDialogId = 16051;

// What the error dialog shows: the message and the code's text.
struct ErrorText {
  char message[256];
  char code[16];
};

// Shows the error dialog for a failing code with the message that string
// list 16050 pairs with it. 0 and 'STOP' show nothing, and so does any code
// while the ADM Basic, ADM Dialog, ADM Item or AI User Suite is not bound.
void showHostError(MessageHeader* message, HostErr code);

// Handler of "SP Interface"/"About": shows the About box. Returns 0.
HostErr onAbout(MessageHeader* message);

// Makes the zero-terminated text in `text` length-prefixed, in place. A text
// of 256 characters or more stays as it is.
void toLengthPrefixed(char* text);
// Makes the length-prefixed text in `text` zero-terminated, in place; the
// buffer must hold length + 1 bytes.
void toZeroTerminated(unsigned char* text);
