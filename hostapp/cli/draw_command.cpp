#include "hostapp/cli/draw_command.h"

#include <cmath>
#include <fstream>
#include <sstream>

#include "hostapp/host/host_context.h"
#include "hostapp/loader/plugin_loader.h"
#include "hostapp/records/record_file.h"
#include "hostapp/writers/json_writer.h"
#include "hostapp/writers/svg_writer.h"

namespace cli {
namespace {

struct MessageLog {
  nlohmann::json entries = nlohmann::json::array();
  void add(const char* caller, const char* selector, HostErr result) {
    entries.push_back({{"caller", caller}, {"selector", selector}, {"result", result}});
  }
};

// The messages of a repeated filter: Startup, Go with the record, Shutdown.
HostErr runGo(host::HostContext& hostContext, host::PluginLibrary& library, SpiralParameters& record,
              MessageLog& log) {
  const PluginMainProc main = library.entry();
  MessageHeader header{};
  header.checkWord = kMessageCheckWord;
  header.self = reinterpret_cast<PluginRef>(&library);
  header.basic = hostContext.basicSuite();

  hostContext.beginMessage();
  HostErr result = main(kCallerInterface, kSelectorStartup, &header);
  log.add(kCallerInterface, kSelectorStartup, result);
  if (result != kHostNoErr) return result;

  MemHandle parameters = nullptr;
  HostErr goResult = hostContext.memory().newHandle(static_cast<int32_t>(kSpiralParametersSize), &parameters);
  if (goResult == kHostNoErr) {
    encodeParameters(record, static_cast<unsigned char*>(*parameters));
    FilterMessage message{};
    message.d = header;
    message.filter = hostContext.filters().empty()
                         ? nullptr
                         : reinterpret_cast<FilterHandle>(static_cast<uintptr_t>(hostContext.filters().front().id));
    message.parameters = parameters;
    hostContext.beginMessage();
    goResult = main(kCallerFilter, kSelectorFilterGo, &message);
    log.add(kCallerFilter, kSelectorFilterGo, goResult);
    decodeParameters(static_cast<const unsigned char*>(*message.parameters), record);
    header.globals = message.d.globals;
    hostContext.memory().disposeHandle(parameters);
  }

  hostContext.beginMessage();
  const HostErr shutdown = main(kCallerInterface, kSelectorShutdown, &header);
  log.add(kCallerInterface, kSelectorShutdown, shutdown);
  return goResult;
}

bool writeFile(const std::string& path, const std::string& text, std::ostream& err) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out << text;
  out.close();
  if (!out) {
    err << "spiral-host: cannot write '" << path << "'\n";
    return false;
  }
  return true;
}

}  // namespace

std::optional<host::Point> parsePageSize(const std::string& text) {
  std::istringstream in(text);
  in.imbue(std::locale::classic());
  double w = 0, h = 0;
  char comma = 0;
  in >> w >> comma >> h;
  if (in.fail() || comma != ',' || !(in >> std::ws).eof()) return std::nullopt;
  if (!std::isfinite(w) || !std::isfinite(h) || w <= 0 || h <= 0 || w > 1e7 || h > 1e7) return std::nullopt;
  return host::Point{static_cast<float>(w), static_cast<float>(h)};
}

int runDrawCommand(const DrawOptions& options, std::ostream& err) {
  host::HostOptions hostOptions;
  hostOptions.pageSize = options.pageSize;
  hostOptions.colorModel = options.colorModel;
  hostOptions.seed = options.seed;
  host::HostContext hostContext(hostOptions);
  auto active = hostContext.activate();

  // The record: defaults of a new filter (centred on view 0), a record file,
  // then the assignments. Any problem stops here, before anything is drawn.
  SpiralParameters record{};
  try {
    const host::View& view = hostContext.document().views().front();
    record = records::defaultRecord(view.centre.x, view.centre.y);
    if (options.paramsFile) record = records::loadRecordFile(*options.paramsFile, record);
    for (const std::string& assignment : options.assignments) records::applyAssignment(record, assignment);
  } catch (const records::RecordError& e) {
    err << "spiral-host: " << e.what() << "\n";
    return 2;
  }

  const std::string pluginPath = options.pluginPath.empty() ? host::defaultPluginPath() : options.pluginPath;
  MessageLog log;
  HostErr result = kHostNoErr;
  try {
    host::PluginLibrary library(host::scanPluginFile(pluginPath));
    library.open();
    hostContext.pluginFilePath = pluginPath;
    result = runGo(hostContext, library, record, log);
  } catch (const host::LoadError& e) {
    err << "spiral-host: " << e.what() << "\n";
    return 2;
  }

  if (options.svgFile && !writeFile(*options.svgFile, writers::svgString(hostContext.document()), err)) return 2;
  if (options.jsonFile) {
    nlohmann::json dump = writers::documentToJson(hostContext.document());
    dump["record"] = records::recordToJson(record);
    dump["result"] = result;
    dump["messages"] = log.entries;
    if (!writeFile(*options.jsonFile, dump.dump(1) + "\n", err)) return 2;
  }
  if (options.saveParams) {
    try {
      records::saveRecordFile(*options.saveParams, record);
    } catch (const records::RecordError& e) {
      err << "spiral-host: " << e.what() << "\n";
      return 2;
    }
  }
  if (result != kHostNoErr) {
    err << "spiral-host: the filter failed with code " << result << "\n";
    return 1;
  }
  return 0;
}

}  // namespace cli
