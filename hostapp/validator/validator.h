// `spiral-host validate [PLUGIN]`: loads, cycles and stresses the plug-in in
// child processes, one per check, and prints one line per check and a
// summary.
#pragma once

#include <ostream>

#include "hostapp/validator/checks.h"

namespace validator {

// Returns the exit status: 0 when every check passed, 1 when one failed, 2
// when the plug-in could not be loaded at all.
int runValidator(const ValidateOptions& options, std::ostream& out);

}  // namespace validator
