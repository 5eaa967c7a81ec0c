// Message sequences as a host sends them, and the plug-in's library closed
// and opened again many times.
#include <cstring>
#include <fstream>

#include "hostapp/dialogs/script_driver.h"
#include "hostapp/platform/library.h"
#include "hostapp/records/record_file.h"
#include "hostapp/validator/checks.h"
#include "params/record/plugin_facts.h"

namespace validator {
namespace {

constexpr HostErr kBadSelection = static_cast<HostErr>(host::fourCharCode("!sel"));

// Collects what went wrong; each expectation that fails adds a note.
class Verdict {
 public:
  explicit Verdict(ChildReport& report) : report_(report) {}
  bool expect(bool condition, const std::string& what) {
    if (!condition) {
      ok_ = false;
      report_.note(what);
    }
    return condition;
  }
  void result(ScenarioRunner& runner, const Step& step, HostErr expected) {
    const HostErr got = runner.run(step);
    expect(got == expected, std::string(stepName(step.kind)) + " returned " + codeText(got) + ", expected " +
                                codeText(expected));
    const StepOutcome& outcome = runner.outcomes().back();
    expect(outcome.driverError.empty(), "dialog script: " + outcome.driverError);
    // Every message releases what it bound.
    expect(runner.host().suites().totalRefCount() == 0,
           std::string("after ") + stepName(step.kind) + " " + std::to_string(runner.host().suites().totalRefCount()) +
               " suite reference(s) are still held");
  }
  bool finish(ScenarioRunner& runner) {
    for (const std::string& problem : runner.finish()) expect(false, problem);
    return ok_;
  }
  bool ok() const { return ok_; }

 private:
  ChildReport& report_;
  bool ok_ = true;
};

Step stepOf(StepKind kind) { return Step{kind}; }

Step dialogStep(std::string script, bool cancel = false) {
  Step step{StepKind::GetParameters};
  step.script = std::move(script);
  step.cancel = cancel;
  return step;
}

Step recordStep(const SpiralParameters& record) {
  Step step{StepKind::SetRecord};
  step.record = record;
  return step;
}

std::size_t artCount(ScenarioRunner& runner) { return runner.host().document().liveArtCount(); }

int shownNamed(ScenarioRunner& runner, const std::string& name) {
  int n = 0;
  for (const host::ShownDialog& shown : runner.session().dialogs().shown()) n += shown.name == name ? 1 : 0;
  return n;
}

bool acceptedFlow(const CheckContext& context, ChildReport& report) {
  Verdict v(report);
  ScenarioRunner runner(context.plugin, validatorHostOptions(context.seed), ScenarioRunner::Mode::Observed, context.entry);
  v.result(runner, stepOf(StepKind::Startup), 0);
  v.result(runner, stepOf(StepKind::About), 0);
  v.expect(shownNamed(runner, "About Dialog") == 1, "the About box was not shown once");
  // The filter chosen the first time: a new record, previews while typing.
  v.result(runner, dialogStep("set 4 3; set 5 60; page Create; set 19 2"), 0);
  const std::size_t previewArt = artCount(runner);
  v.expect(previewArt == 2, "the accepted preview left " + std::to_string(previewArt) + " art objects, expected 2");
  std::optional<SpiralParameters> record = runner.keptRecord();
  v.expect(record && record->armCount == 3 && record->spiralCount == 2 && record->previewDrawn == 1,
           "the record does not hold the dialog's values with the preview drawn");
  v.result(runner, stepOf(StepKind::Go), 0);
  v.expect(artCount(runner) == previewArt, "Go after an accepted preview drew again");
  record = runner.keptRecord();
  v.expect(record && record->previewDrawn == 0, "Go did not clear previewDrawn");
  v.result(runner, stepOf(StepKind::Go), 0);
  v.expect(artCount(runner) == 2 * previewArt, "the repeat did not draw the spirals once more");
  // The second choice of the filter shows the last values, not the defaults.
  v.result(runner, dialogStep("page Spiral; set 4 4"), 0);
  record = runner.keptRecord();
  v.expect(record && record->spiralCount == 2 && record->armCount == 4, "the dialog did not reopen with the kept values");
  v.result(runner, stepOf(StepKind::Shutdown), 0);
  v.expect(shownNamed(runner, "Error Dialog") == 0, "an error dialog was shown");
  return v.finish(runner);
}

bool cancelledFlow(const CheckContext& context, ChildReport& report) {
  Verdict v(report);
  ScenarioRunner runner(context.plugin, validatorHostOptions(context.seed), ScenarioRunner::Mode::Observed, context.entry);
  SpiralParameters kept = smallRecord(1, 3);
  v.result(runner, stepOf(StepKind::Startup), 0);
  v.result(runner, recordStep(kept), 0);
  v.result(runner, dialogStep("set 4 5; page Create; set 19 3; page Tweak", true), kUserCancelErr);
  v.expect(artCount(runner) == 0, "the cancelled previews left " + std::to_string(artCount(runner)) + " art objects");
  v.expect(runner.session().recordBytes() == records::recordBytes(kept), "the record was not restored byte for byte");
  v.expect(shownNamed(runner, "Error Dialog") == 0, "the cancel was reported");
  v.result(runner, stepOf(StepKind::Go), 0);
  v.expect(artCount(runner) == 1, "the repeat after the cancel drew " + std::to_string(artCount(runner)) + " art objects");
  v.result(runner, stepOf(StepKind::Shutdown), 0);
  return v.finish(runner);
}

bool previewOffFlow(const CheckContext& context, ChildReport& report) {
  Verdict v(report);
  ScenarioRunner runner(context.plugin, validatorHostOptions(context.seed), ScenarioRunner::Mode::Observed, context.entry);
  SpiralParameters kept = smallRecord(1, 3);
  kept.preview = 0;
  v.result(runner, stepOf(StepKind::Startup), 0);
  v.result(runner, recordStep(kept), 0);
  v.result(runner, dialogStep("page Create; set 19 2"), 0);
  v.expect(artCount(runner) == 0, "the dialog drew with the preview off");
  v.result(runner, stepOf(StepKind::Go), 0);
  v.expect(artCount(runner) == 2, "Go drew " + std::to_string(artCount(runner)) + " art objects, expected 2");
  v.result(runner, stepOf(StepKind::Shutdown), 0);
  return v.finish(runner);
}

bool otherMessages(const CheckContext& context, ChildReport& report) {
  Verdict v(report);
  ScenarioRunner runner(context.plugin, validatorHostOptions(context.seed), ScenarioRunner::Mode::Observed, context.entry);
  v.result(runner, stepOf(StepKind::Startup), 0);
  host::PluginSession& session = runner.session();
  const std::size_t shown = session.dialogs().shown().size();
  v.expect(session.send("SP Nobody", "Anything") == 0, "an unknown caller was not answered with 0");
  v.expect(session.send(kCallerInterface, "Anything") == 0, "an unknown selector was not answered with 0");
  v.expect(session.send(kCallerAccess, "Anything") == 0, "an unknown SP Access selector was not answered with 0");
  v.expect(session.sendFilter(kSelectorGetParameters, reinterpret_cast<FilterHandle>(0x10)) == 0,
           "Get Parameters for another filter was not answered with 0");
  v.expect(session.dialogs().shown().size() == shown, "a dialog was shown for a message the plug-in does not handle");
  v.result(runner, stepOf(StepKind::MenuUpdate), 0);
  v.result(runner, stepOf(StepKind::MenuGo), kBadSelection);
  const StepOutcome& menuGo = runner.outcomes().back();
  v.expect(menuGo.errorCodes.size() == 1 && menuGo.errorCodes[0] == "!sel" && menuGo.errorMessages.size() == 1 &&
               menuGo.errorMessages[0] == "The selection is not valid for this filter.",
           "the menu Go was not reported once as '!sel' with its message");
  v.expect(runner.host().suites().totalRefCount() == 0, "suites are still held");
  v.result(runner, stepOf(StepKind::Shutdown), 0);
  return v.finish(runner);
}

// While the options dialog is open the host sends About and a menu update:
// the inner calls find the suites bound and bind nothing themselves.
bool nestedCalls(const CheckContext& context, ChildReport& report) {
  Verdict v(report);
  ScenarioRunner runner(context.plugin, validatorHostOptions(context.seed), ScenarioRunner::Mode::Observed, context.entry);
  v.result(runner, stepOf(StepKind::Startup), 0);
  v.result(runner, recordStep(smallRecord(1, 2)), 0);
  host::PluginSession& session = runner.session();
  host::HostContext& host = runner.host();
  int depth = 0;
  bool inner = false;
  session.dialogs().setDriver([&](host::DialogManager& manager, host::Dialog& dialog) {
    if (dialog.name() != kOptionsDialogName) {
      host::acceptDriver(manager, dialog);
      return;
    }
    const int held = host.suites().refCount("AI Art Suite", 9);
    v.expect(held == 1, "inside Get Parameters the Art Suite is held " + std::to_string(held) + " times");
    const std::uint64_t before = host.gate().callCount();
    std::size_t acquiresBefore = 0;
    for (const host::CallRecord& call : host.gate().log()) acquiresBefore += std::strcmp(call.operation, "AcquireSuite") == 0;
    ++depth;
    v.expect(session.about() == 0, "the nested About failed");
    v.expect(session.send(kCallerMenu, kSelectorMenuUpdate) == 0, "the nested menu update failed");
    --depth;
    std::size_t acquires = 0;
    for (const host::CallRecord& call : host.gate().log()) acquires += std::strcmp(call.operation, "AcquireSuite") == 0;
    v.expect(acquires == acquiresBefore, "the nested calls acquired suites again");
    v.expect(host.suites().refCount("AI Art Suite", 9) == 1, "the nested calls released the outer call's suites");
    v.expect(host.gate().callCount() > before, "the nested calls made no host calls");
    inner = true;
    manager.pressEnter(dialog);
  });
  const HostErr result = session.getParameters();
  session.dialogs().setDriver(host::acceptDriver);
  v.expect(result == 0, "Get Parameters around the nested calls returned " + codeText(result));
  v.expect(inner, "the options dialog did not open");
  v.expect(shownNamed(runner, "About Dialog") == 1, "the nested About box was not shown");
  v.expect(host.suites().totalRefCount() == 0, "suites are still held after the nested calls");
  v.result(runner, stepOf(StepKind::Shutdown), 0);
  return v.finish(runner);
}

bool unloadCycles(const CheckContext& context, ChildReport& report) {
  Verdict v(report);
  const std::string& file = context.plugin.path;
  ScenarioRunner runner(context.plugin, validatorHostOptions(context.seed), ScenarioRunner::Mode::Observed, context.entry);
  v.result(runner, stepOf(StepKind::Startup), 0);
  v.result(runner, recordStep(smallRecord(1, 2)), 0);
  host::PluginSession& session = runner.session();
  std::size_t art = 0;
  void* globals = nullptr;
  int cycles = 0;
  for (int cycle = 1; cycle <= context.options.cycles && v.ok(); ++cycle) {
    report.at("cycle " + std::to_string(cycle));
    v.result(runner, stepOf(StepKind::Unload), 0);
    if (cycle == 1) globals = session.globals();
    v.expect(globals != nullptr && session.globals() == globals, "Unload did not hand over the globals block");
    v.expect(!host::platform::libraryIsLoaded(file), "the library is still loaded after it was closed (cycle " + std::to_string(cycle) + ")");
    v.result(runner, stepOf(StepKind::Reload), 0);
    v.expect(host::platform::libraryIsLoaded(file), "the library is not loaded after it was opened again");
    v.expect(runner.host().memory().liveBlocks() == 1, "the globals block did not survive the unload");
    // The plug-in works after every reload; every tenth cycle the dialog too.
    if (cycle % 10 == 0) v.result(runner, dialogStep("set 4 2"), 0);
    v.result(runner, stepOf(StepKind::Go), 0);
    v.expect(artCount(runner) > art, "Go after reload " + std::to_string(cycle) + " drew nothing");
    art = artCount(runner);
    cycles = cycle;
  }
  v.result(runner, stepOf(StepKind::Shutdown), 0);
  report.figure("load/unload cycles", cycles);
  report.note(std::to_string(cycles) + " cycles of Unload (library closed), Reload (opened again) and Go");
  return v.finish(runner);
}

}  // namespace

std::vector<Check> messageChecks(const CheckContext& context) {
  std::vector<Check> checks;
  auto add = [&](std::string name, bool (*f)(const CheckContext&, ChildReport&)) {
    checks.push_back({std::move(name), [context, f](ChildReport& report) { return f(context, report); }});
  };
  add("messages: Startup, About, Get Parameters accepted (preview), Go keeps it, repeat, Shutdown", acceptedFlow);
  add("messages: Get Parameters cancelled: previews undone, record restored, 'STOP' unreported", cancelledFlow);
  add("messages: Get Parameters with the preview off, Go draws once", previewOffFlow);
  add("messages: unknown callers and selectors, menu Go and Update, another filter", otherMessages);
  add("nested PluginMain calls inside the options dialog", nestedCalls);
  add("unload and reload: " + std::to_string(context.options.cycles) + " cycles, the library really closed", unloadCycles);
  return checks;
}

}  // namespace validator
