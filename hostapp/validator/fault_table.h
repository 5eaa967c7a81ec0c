// Which host calls the plug-in tests, and where. Structural calls end the
// message (or the drawing run inside the options dialog's preview) with the
// host's code at their first failure; the others are left untested and the
// run goes on. Value operations return a value rather than a status; the
// host answers a failed one with 0 or null. The table is data, gathered from
// the plug-in's contract, and the fault injection checks the plug-in
// against it call by call.
#pragma once

#include <cstddef>
#include <span>
#include <string>
#include <vector>

#include "hostapp/host/call_gate.h"

namespace validator {

enum class Expectation {
  EndsRun,      // tested: the first failure ends the run with its code
  CarriesOn,    // untested: the run goes on
  Value,        // returns a value, not a status; the run goes on
  NotInjected,  // cannot fail in any host (string comparison)
};

const char* expectationName(Expectation e);

struct FaultSite {
  const char* suite;
  const char* operation;  // "*": every operation of the suite
  const char* site;       // where the plug-in makes the call
  Expectation expectation;
};

// Every row of the table.
std::span<const FaultSite> faultSites();

// Operations that end a run at some site; after a tested failure none of
// them may be called again in the same run.
bool isStructural(const host::CallRecord& call);

// Walks a call log and names the site of every call. Path segment reads
// and writes are told apart by the part of the drawing run they belong to:
// the arm loop, the retraction of the end handles, the offset passes (whose
// results are not tested) and the sketch copies.
class SiteClassifier {
 public:
  // The row of the next call of the log, or null for an operation the table
  // does not know.
  const FaultSite* next(const host::CallRecord& call);

 private:
  enum class PathPhase { None, ArmLoop, Retraction, Offset, Sketch };
  PathPhase phase_ = PathPhase::None;
  int retractionCalls_ = 0;
};

// The sites of a whole log, in order.
std::vector<const FaultSite*> classifyLog(const std::vector<host::CallRecord>& log);

std::string callName(const host::CallRecord& call);

}  // namespace validator
