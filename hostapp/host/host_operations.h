// The suites and operations the host has, by the names its call gate uses:
// what --fail may name.
#pragma once

#include <string_view>

namespace host {

bool isHostSuite(std::string_view suite);
bool isHostOperation(std::string_view suite, std::string_view operation);

}  // namespace host
