#include "params/record/default_parameters.h"

SpiralParameters defaultParameters(float viewCentreX, float viewCentreY) {
  SpiralParameters r{};
#define SPIRAL_FIELD_DEFAULT(name, kind, initial, minimum, maximum, meaning) \
  r.name = static_cast<FieldType<FieldKind::kind>::type>(initial);
  SPIRAL_PARAMETER_FIELDS(SPIRAL_FIELD_DEFAULT)
#undef SPIRAL_FIELD_DEFAULT
  r.centerX = static_cast<float>(static_cast<double>(viewCentreX) + r.centerX);
  // centerY's offset is 0: the centre is taken as it is (a sum would turn a
  // centre of -0 into +0).
  r.centerY = viewCentreY;
  return r;
}
