// The extension's effect: the editor hands a document and the dialog's
// values; the spirals are drawn by a drawing session with no dialog (the
// record from the values) on the document's page, and the document comes
// back with one new layer, or group, holding them and the drawing's
// metadata. A failure writes nothing to `out`.
#pragma once

#include <ostream>
#include <string>
#include <utility>
#include <vector>

namespace inkscape {

// Extra parameters beside the record's fields.
inline constexpr const char* kSeedParam = "seed";
inline constexpr const char* kColorModelParam = "colorModel";
inline constexpr const char* kPresetParam = "preset";
inline constexpr const char* kRecordButtonParam = "recordButton";
inline constexpr const char* kNotebookParam = "tab";
// The choice of preset or record button that does nothing.
inline constexpr const char* kNoChoice = "none";

struct EffectOptions {
  std::string pluginPath;  // empty: the plug-in beside the program
  std::vector<std::pair<std::string, std::string>> params;  // name, value as the editor passes them
  std::vector<std::string> selection;                       // ids
  std::string inputFile;
};

// Reads "--name=value" arguments, "--id=ID" and the document's path (the
// last argument that is not an option). Returns a message for what cannot
// be read, else empty.
std::string parseEffectArguments(const std::vector<std::string>& args, EffectOptions& options);

// Runs the effect: the document with the new layer to `out`, messages to
// `err`. Returns the exit status (0, 1 the drawing failed, 2 bad input).
int runEffect(const EffectOptions& options, std::ostream& out, std::ostream& err);

// The new layer spliced into `svg`, from the host's SVG of the drawing
// (`hostSvg`, as its writer writes it, metadata first). `label` names it;
// `layer` false makes it a plain group.
std::string insertDrawing(const std::string& svg, const std::string& hostSvg, const std::string& label, bool layer);

}  // namespace inkscape
