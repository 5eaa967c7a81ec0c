#include "hostapp/host/host_operations.h"

#include <algorithm>
#include <iterator>

#include "shell/host/suite_list.h"

namespace host {
namespace {

struct Operation {
  std::string_view suite;
  std::string_view operation;
};

// Every operation of every suite of the interface, the SP Basic Suite's too.
#define SPIRAL_OPERATION(suite, operation) {suite, #operation},
#define SPIRAL_SUITE_OPERATIONS(id, type, name, version) HOST_SUITE_OPERATIONS(id, SPIRAL_OPERATION, name)
constexpr Operation kOperations[] = {HOST_SUITES(SPIRAL_SUITE_OPERATIONS)};
#undef SPIRAL_SUITE_OPERATIONS
#undef SPIRAL_OPERATION

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
