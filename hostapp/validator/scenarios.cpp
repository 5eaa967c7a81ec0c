#include <cstdio>

#include "hostapp/records/record_file.h"
#include "hostapp/validator/checks.h"
#include "params/record/default_parameters.h"
#include "params/record/plugin_facts.h"

namespace validator {
namespace {

constexpr HostErr kBadSelection = static_cast<HostErr>(host::fourCharCode("!sel"));

Step message(StepKind kind, HostErr expect = 0) {
  Step step;
  step.kind = kind;
  step.expect = expect;
  return step;
}

Step keptRecord(const SpiralParameters& record) {
  Step step;
  step.kind = StepKind::SetRecord;
  step.record = record;
  return step;
}

Step dialog(std::string script, bool cancel = false) {
  Step step;
  step.kind = StepKind::GetParameters;
  step.script = std::move(script);
  step.cancel = cancel;
  step.expect = cancel ? kUserCancelErr : 0;
  return step;
}

// Startup, the kept record, one Go, Shutdown.
Scenario goWith(std::string name, const SpiralParameters& record, host::ColorModel model, std::uint64_t seed) {
  Scenario s;
  s.name = std::move(name);
  s.options = validatorHostOptions(seed);
  s.options.colorModel = model;
  s.steps = {message(StepKind::Startup), keptRecord(record), message(StepKind::Go), message(StepKind::Shutdown)};
  return s;
}

}  // namespace

host::HostOptions validatorHostOptions(std::uint64_t seed) {
  host::HostOptions options;
  options.seed = seed;
  return options;
}

SpiralParameters smallRecord(int spirals, int arms) {
  SpiralParameters r = defaultParameters(306.0f, 396.0f);
  r.spiralCount = spirals;
  r.armCount = arms;
  r.armGap = 20.0f;
  return r;
}

std::string codeText(HostErr code) { return host::resultCodeText(code); }

std::vector<Scenario> faultScenarios() {
  std::vector<Scenario> scenarios;

  // The messages around the filter: About, the menu messages (the menu Go
  // fails with '!sel' and shows the error dialog), unload and reload.
  {
    Scenario s;
    s.name = "life";
    s.options = validatorHostOptions(1);
    s.steps = {message(StepKind::Startup),     message(StepKind::About),  message(StepKind::MenuUpdate),
               message(StepKind::MenuGo, kBadSelection), message(StepKind::Unload), message(StepKind::Reload),
               message(StepKind::Shutdown)};
    scenarios.push_back(s);
  }
  // The filter chosen for the first time: a new record with its defaults,
  // the dialog with the preview on, values typed, a pick and the zoom;
  // accepted, then Go keeps the preview and a repeat draws again.
  {
    Scenario s;
    s.name = "dialog accepted";
    s.options = validatorHostOptions(2);
    s.steps = {message(StepKind::Startup), dialog("set 4 2; set 5 40; pick 172 100 400; page Create; set 19 2; set 28 150"),
               message(StepKind::Go), message(StepKind::Go), message(StepKind::Shutdown)};
    scenarios.push_back(s);
  }
  // A kept record; the dialog's previews are cancelled and undone; repeat.
  {
    Scenario s;
    s.name = "dialog cancelled";
    s.options = validatorHostOptions(3);
    s.steps = {message(StepKind::Startup), keptRecord(smallRecord(1, 2)), dialog("set 4 3; page Create; set 19 2", true),
               message(StepKind::Go), message(StepKind::Shutdown)};
    scenarios.push_back(s);
  }
  // The dialog with the preview off: nothing is drawn until Go.
  {
    SpiralParameters r = smallRecord(1, 2);
    r.preview = 0;
    Scenario s;
    s.name = "preview off";
    s.options = validatorHostOptions(4);
    s.steps = {message(StepKind::Startup), keptRecord(r), dialog("page Create; set 19 2"), message(StepKind::Go),
               message(StepKind::Shutdown)};
    scenarios.push_back(s);
  }
  // The path options: layer, offset passes, closing, random arms, abstract
  // points, three points, random curve and interpolation, placements.
  {
    SpiralParameters r = smallRecord(2, 4);
    r.newLayer = 1;
    r.closeSpiral = 1;
    r.spiralOffsetX = 6;
    r.spiralOffsetY = 3;
    r.offsetCount = 2;
    r.offsetMode = 3;
    r.pointFactor = 900;
    r.randomArms = 1;
    r.randomAbstract = 1;
    r.threePoints = 1;
    r.randomCurve = 1;
    r.randomInterpolate = 1;
    r.interpolationAmount = 20;
    r.interpolationMode = 2;
    r.placementMode = 2;
    r.pointShiftMode = 1;
    r.pointShiftX = 2;
    r.starAdditionX = 5;
    r.spiralStructure = 7;
    scenarios.push_back(goWith("path options", r, host::ColorModel::Rgb, 5));
  }
  {
    SpiralParameters r = smallRecord(2, 6);
    r.randomCreateArms = 1;
    r.placementMode = 7;
    r.interpolationMode = 4;
    r.interpolationAmount = -30;
    scenarios.push_back(goWith("skipped arms", r, host::ColorModel::Rgb, 6));
  }
  // Transforms and styling.
  {
    SpiralParameters r = smallRecord(2, 2);
    r.spiralAngle = 30;
    r.scaleH = 80;
    r.scaleV = 120;
    r.randomAngle = 1;
    r.jitterCenter = 1;
    r.randomScaling = 1;
    r.jitterScaling = 1;
    r.randomFill = 1;
    r.randomStroke = 1;
    r.randomWidth = 1;
    r.randomOpacity = 1;
    r.jitterFill = 1;
    r.jitterStroke = 1;
    r.jitterWidth = 1;
    r.randomFillSwatch = 1;
    r.randomStrokeSwatch = 1;
    r.randomStyle = 1;
    scenarios.push_back(goWith("transforms and styles", r, host::ColorModel::Rgb, 7));
  }
  // Symbols, warps, shadows, mirrored and sketch copies.
  {
    SpiralParameters r = smallRecord(2, 2);
    r.symbolize = 1;
    r.randomWarp = 1;
    r.dropShadow = 1;
    r.halfShadow = 1;
    r.randomShadowAngle = 1;
    r.randomShadowOpacity = 1;
    r.randomShadowScale = 1;
    r.basicPattern = 1;
    r.sketchRepeats = 2;
    r.sketchColorMode = 3;
    r.sketchWeight = 10;
    scenarios.push_back(goWith("symbols, warps, shadows, copies", r, host::ColorModel::Cmyk, 8));
  }
  {
    SpiralParameters r = smallRecord(1, 2);
    r.dropShadow = 1;
    r.sketchRepeats = 3;
    r.sketchColorMode = 10;
    r.randomSketchShift = 0;
    scenarios.push_back(goWith("sketch opacity", r, host::ColorModel::Gray, 9));
  }
  return scenarios;
}

}  // namespace validator
