// `spiral-host validate [PLUGIN]`: loads, cycles and stresses the plug-in in
// child processes, one per check, and prints one line per check and a
// summary.
#pragma once

#include <cstdint>
#include <ostream>

#include "hostapp/validator/checks.h"

namespace validator {

// Returns the exit status: 0 when every check passed, 1 when one failed, 2
// when the plug-in could not be loaded at all or --only matches no check.
int runValidator(const ValidateOptions& options, std::ostream& out);

// The hidden option of a re-run child: the index of its check.
inline constexpr const char* kChildCheckOption = "--child-check";

// A re-run child (see runInChild): runs check `index` of the run that
// `options` describe, reporting into `channel`; returns the exit status.
int runValidatorChild(const ValidateOptions& options, std::size_t index, std::intptr_t channel);

}  // namespace validator
