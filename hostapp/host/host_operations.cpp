#include "hostapp/host/host_operations.h"

#include <algorithm>
#include <iterator>

namespace host {
namespace {

struct Operation {
  std::string_view suite;
  std::string_view operation;
};

// Generated at configure time from the interface headers in shell/host/.
constexpr Operation kOperations[] = {
#include "host_operations.inc"
};

}  // namespace

bool isHostSuite(std::string_view suite) {
  return std::any_of(std::begin(kOperations), std::end(kOperations),
                     [&](const Operation& o) { return o.suite == suite; });
}

bool isHostOperation(std::string_view suite, std::string_view operation) {
  return std::any_of(std::begin(kOperations), std::end(kOperations),
                     [&](const Operation& o) { return o.suite == suite && o.operation == operation; });
}

}  // namespace host
