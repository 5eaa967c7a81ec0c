#include "hostapp/suites/adapter_util.h"
#include "hostapp/suites/entry_barrier.h"
#include "hostapp/suites/suites.h"

namespace host {
namespace {

HostErr TransformArt(ArtHandle art, const HostMatrix* matrix, HostReal lineScale, int32_t flags) {
  HostCall call = enterHostCall(kTransformArtSuite, "TransformArt");
  if (call.status) return call.status;
  if (!matrix) return kHostBadParameterErr;
  const Matrix m{matrix->a, matrix->b, matrix->c, matrix->d, matrix->tx, matrix->ty};
  const ArtId id = artId(*call.host, art);
  const Status s = call.host->document().transform(id, m, lineScale, (flags & kTransformObjects) != 0,
                                                   (flags & kScaleLines) != 0);
  return refusal(*call.host, s, id, -1, s == Status::BadValue ? "the matrix or line scale" : "");
}

constexpr TransformArtSuiteV1 kTable{barrier<TransformArt>};

}  // namespace

const TransformArtSuiteV1& transformArtSuite() { return kTable; }

}  // namespace host
