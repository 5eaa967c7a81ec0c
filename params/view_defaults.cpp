#include "params/view_defaults.h"

#include "params/record/default_parameters.h"
#include "shell/suite_table.h"

void setDefaultParameters(SpiralParameters& record) {
  // The view calls are not tested: without a view the centre stays at (0, 0)
  // and the spiral starts 100 points left of the page origin.
  ViewHandle view = nullptr;
  HostPoint centre{0.0f, 0.0f};
  gDocumentViewSuite->GetNthDocumentView(0, &view);
  gDocumentViewSuite->GetDocumentViewCenter(view, &centre);

  const SpiralParameters kept = record;
  record = defaultParameters(centre.h, centre.v);
  record.fromGo = kept.fromGo;
  record.dialogBoundsLeft = kept.dialogBoundsLeft;
  record.dialogBoundsTop = kept.dialogBoundsTop;
  record.dialogBoundsRight = kept.dialogBoundsRight;
  record.dialogBoundsBottom = kept.dialogBoundsBottom;
}
