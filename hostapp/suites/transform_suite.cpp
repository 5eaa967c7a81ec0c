#include "hostapp/suites/adapter_util.h"
#include "hostapp/suites/suites.h"

namespace host {
namespace {

HostErr TransformArt(ArtHandle art, const HostMatrix* matrix, HostReal lineScale, int32_t flags) {
  HostCall call = enterHostCall(kTransformArtSuite, "TransformArt");
  if (call.status) return call.status;
  if (!matrix) return kHostBadParameterErr;
  const Matrix m{matrix->a, matrix->b, matrix->c, matrix->d, matrix->tx, matrix->ty};
  return toHostErr(call.host->document().transform(artId(*call.host, art), m, lineScale,
                                                   (flags & kTransformObjects) != 0,
                                                   (flags & kScaleLines) != 0));
}

constexpr TransformArtSuiteV1 kTable{TransformArt};

}  // namespace

const TransformArtSuiteV1& transformArtSuite() { return kTable; }

}  // namespace host
