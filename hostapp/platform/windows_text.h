// UTF-8 and the UTF-16 of the Windows API, and the text of a Windows error.
#pragma once

#include <cstdint>
#include <string>

namespace host::platform {

std::wstring widen(const std::string& utf8);
std::string narrow(const std::wstring& utf16);
// "the specified module could not be found (126)".
std::string windowsErrorText(std::uint32_t code);

}  // namespace host::platform
