// `spiral-host draw`: set up a document and a record, run the filter, write
// the document.
#pragma once

#include <cstdint>
#include <chrono>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

#include "hostapp/host/call_gate.h"
#include "hostapp/model/color.h"
#include "hostapp/model/geometry.h"

namespace cli {

struct DrawOptions {
  std::string pluginPath;                // empty: the plug-in beside the executable
  std::optional<std::string> paramsFile;
  std::vector<std::string> assignments;  // FIELD=VALUE
  std::optional<std::string> saveParams;
  std::optional<std::string> svgFile;
  std::optional<std::string> jsonFile;
  // Pictures of the SVG: PNG at `dpi` dots per inch, and PDF.
  std::optional<std::string> pngFile;
  std::optional<std::string> pdfFile;
  double dpi = 72;
  // The PNG's size in pixels instead of dpi (0: not given), and the
  // background of the pictures and, given, the SVG (see host::ExportOptions).
  int pngWidth = 0;
  int pngHeight = 0;
  std::string background;
  // Unset: from a drawing given to --params, else the clock (the seed), the
  // host's default page (host::kDefaultPageSize) and colour model (rgb).
  std::optional<std::uint64_t> seed;
  std::optional<std::size_t> memoryBudget;  // bytes; unset: the host's default (2 GiB)
  std::optional<host::Point> pageSize;
  std::optional<host::ColorModel> colorModel;
  // Progress on `err` ("spirals drawn of spiralCount", then rendering and
  // writing) for a run longer than progressDelay; set when stderr is a
  // terminal.
  bool progress = false;
  std::chrono::milliseconds progressDelay{1000};
  // A GIMP palette (.gpl) for the swatches after "[None]" and
  // "[Registration]", and a JSON list of graphic styles.
  std::optional<std::string> swatchesFile;
  std::optional<std::string> stylesFile;
  bool noDialog = false;  // the repeat flow: Go alone with the record
  bool cancel = false;    // the options dialog is cancelled instead of accepted
  // User actions in the options dialog (a dialog script), after choosing
  // `preset` (a position or a name) in its preset list.
  std::optional<std::string> dialogScript;
  std::optional<std::string> preset;
  // Host operations made to fail: "SUITE/OPERATION=CODE", the code decimal or
  // four characters ("AI MdMemory Suite/NewHandle=-108").
  std::vector<std::string> failures;
  // What standard input held, when --params - was read before the run (a
  // batch reads it once for every drawing).
  std::optional<std::string> standardInput;
  // The dialogs shown and what the host tells on a run that succeeds;
  // without it a run that succeeds is silent on `err`.
  bool verbose = false;
};

class ProgressLine;

// Standard input, whole, up to the bound of a record file. Throws
// hostio::InputError beyond it.
std::string readStandardInput();

// Makes the failures of `specs` happen in `gate`; a spec that cannot be read
// is named in the returned text (empty on success).
std::string injectFailures(const std::vector<std::string>& specs, host::CallGate& gate);

// Runs the command; messages for the user go to `err`. Returns the process
// exit status. An output named "-" goes to standard output (`out`), at most
// one; without any output the drawing goes to the first free spirals.svg,
// spirals-2.svg, ... in the current folder, and one line on `err` says so.
// `paramsFile` "-" reads the record from standard input. A preset with
// assignments: the preset is chosen first, then each assignment changes
// its record. `progress` (may be null) shows where the run is.
int runDrawCommand(const DrawOptions& options, std::ostream& out, std::ostream& err, ProgressLine* progress);
// The same on standard output, with a progress line of its own when
// options.progress is set.
int runDrawCommand(const DrawOptions& options, std::ostream& err);

// `spiral-host about`: loads the plug-in, sends Startup, About and Shutdown,
// and prints the About box's texts to `out`.
int runAboutCommand(const std::string& pluginPath, std::ostream& out, std::ostream& err);

}  // namespace cli
