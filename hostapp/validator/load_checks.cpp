// Load and scan: the property list, the entry point and the registration.
#include <cstring>

#include "hostapp/validator/checks.h"
#include "params/record/plugin_facts.h"

namespace validator {

std::vector<Check> loadChecks(const std::string& pluginPath) {
  std::vector<Check> checks;
  checks.push_back({"load and scan: PIPL 16000 (kind SPEA, interface 2), entry point", [pluginPath](ChildReport& report) {
                      host::PluginFile file;
                      try {
                        file = host::scanPluginFile(pluginPath);
                      } catch (const host::LoadError& e) {
                        report.note(e.what());
                        return false;
                      }
                      bool ok = true;
                      const host::Resource* pipl = file.resources.firstOfType(host::ResourceName::of("PIPL"));
                      const host::Pipl list = host::parsePipl(pipl->data);
                      if (!(pipl->name == host::ResourceName::of(16000)) || pipl->language != 1033 ||
                          list.version != 1 || list.properties.size() != 3) {
                        report.note("the PIPL is " + pipl->name.describe() + ", language " +
                                    std::to_string(pipl->language) + ", version " + std::to_string(list.version) +
                                    ", " + std::to_string(list.properties.size()) + " properties");
                        ok = false;
                      }
                      if (file.entryName != "PluginMain") {
                        report.note("the entry point is named " + file.entryName);
                        ok = false;
                      }
                      host::PluginLibrary library(file);
                      try {
                        library.open();
                      } catch (const host::LoadError& e) {
                        report.note(e.what());
                        return false;
                      }
                      report.note("entry point " + file.entryName + " resolved");
                      return ok && library.entry() != nullptr;
                    }});
  const std::string registration = std::string("registration: \"TQV <Create>\" / \"Spiral...\" as ") + kSpiralFilterName;
  checks.push_back({registration, [pluginPath](ChildReport& report) {
                      const host::PluginFile file = host::scanPluginFile(pluginPath);
                      ScenarioRunner runner(file, validatorHostOptions(1));
                      bool ok = true;
                      if (HostErr result = runner.run(Step{StepKind::Startup}); result != 0) {
                        report.note("Startup returned " + codeText(result));
                        return false;
                      }
                      const auto& filters = runner.host().filters();
                      if (filters.size() != 1) {
                        report.note(std::to_string(filters.size()) + " filters registered, expected 1");
                        return false;
                      }
                      const host::FilterRecord& f = filters.front();
                      if (f.name != kSpiralFilterName || f.category != "TQV <Create>" || f.title != "Spiral..." ||
                          f.options != 0) {
                        report.note("registered \"" + f.category + "\" / \"" + f.title + "\" as " + f.name +
                                    " with options " + std::to_string(f.options));
                        ok = false;
                      }
                      const host::MenuItemRecord* item = nullptr;
                      for (const host::MenuItemRecord& m : runner.host().menuItems())
                        if (m.id == f.menuItem) item = &m;
                      const int32_t expected[6] = {0, 0, 0, 0, 1, 0};
                      if (!item || !item->automaticUpdate || item->action != 1 ||
                          std::memcmp(item->conditions, expected, sizeof expected) != 0) {
                        report.note("the filter's menu item is not updated automatically with 1, 0, 0, 0, 0, 1, 0");
                        ok = false;
                      }
                      for (const std::string& problem : runner.finish()) {
                        report.note(problem);
                        ok = false;
                      }
                      return ok;
                    }});
  return checks;
}

}  // namespace validator
