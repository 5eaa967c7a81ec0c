#include "hostapp/inkscape/inx_file.h"

#include <cmath>
#include <sstream>

#include "hostapp/inkscape/effect.h"
#include "hostapp/model/color.h"
#include "params/record/parameter_fields.h"

namespace inkscape {
namespace {

std::string escaped(const std::string& text) {
  std::string out;
  for (char c : text) {
    switch (c) {
      case '&': out += "&amp;"; break;
      case '<': out += "&lt;"; break;
      case '>': out += "&gt;"; break;
      case '"': out += "&quot;"; break;
      default: out += c;
    }
  }
  return out;
}

std::string number(double value, int decimals = 0) {
  std::ostringstream out;
  out.setf(std::ios::fixed);
  out.precision(decimals);
  out << value;
  return out.str();
}

// The default the editor shows: the dialog's, except for the centre, which
// is an offset from the page centre.
double shownDefault(const FieldItem& item) {
  const ParameterField* field = findParameterField(item.field);
  if (field && (field == &kParameterFields[static_cast<int>(FieldIndex::centerX)] ||
                field == &kParameterFields[static_cast<int>(FieldIndex::centerY)]))
    return field->initial;
  return item.initial;
}

void writeItem(std::ostream& out, const FieldItem& item) {
  // A list without a label of its own shows its entries alone.
  const std::string head = "      <param name=\"" + escaped(item.field) + "\"" +
                           (item.label.empty() ? "" : " gui-text=\"" + escaped(item.label) + "\"");
  switch (item.kind) {
    case FieldItem::Kind::Bool:
      out << head << " type=\"bool\">" << (item.initial != 0 ? "true" : "false") << "</param>\n";
      break;
    case FieldItem::Kind::Int:
      out << head << " type=\"int\" min=\"" << number(item.minimum) << "\" max=\"" << number(item.maximum)
          << "\" appearance=\"full\">" << number(shownDefault(item)) << "</param>\n";
      break;
    case FieldItem::Kind::Float:
      out << head << " type=\"float\" precision=\"" << item.decimals << "\" min=\"" << number(item.minimum, item.decimals)
          << "\" max=\"" << number(item.maximum, item.decimals) << "\">" << number(shownDefault(item), item.decimals)
          << "</param>\n";
      break;
    case FieldItem::Kind::Choice:
      out << head << " type=\"optiongroup\" appearance=\"combo\">\n";
      for (std::size_t k = 0; k < item.entries.size(); ++k)
        out << "        <option value=\"" << k << "\">" << escaped(item.entries[k]) << "</option>\n";
      out << "      </param>\n";
      // The default is the first option listed; a list opening elsewhere
      // would need its option first, which the dialog's lists never do.
      break;
  }
}

}  // namespace

std::string inxText(const DialogModel& model, const std::string& command) {
  std::ostringstream out;
  out << "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
         "<!-- Made by spiral-host install-inkscape from the plug-in's options dialog. -->\n"
         "<inkscape-extension xmlns=\"http://www.inkscape.org/namespace/inkscape/extension\">\n"
         "  <name>Spiral</name>\n"
         "  <id>"
      << kExtensionId
      << "</id>\n"
         "  <param name=\""
      << kNotebookParam << "\" type=\"notebook\">\n";
  for (std::size_t p = 0; p < model.pages.size(); ++p) {
    const DialogPage& page = model.pages[p];
    out << "    <page name=\"page" << p + 1 << "\" gui-text=\"" << escaped(page.caption) << "\">\n";
    for (const FieldItem& item : page.items) writeItem(out, item);
    out << "    </page>\n";
  }
  out << "    <page name=\"host\" gui-text=\"Host\">\n"
      << "      <param name=\"" << kPresetParam << "\" type=\"optiongroup\" appearance=\"combo\" gui-text=\"Preset\">\n"
      << "        <option value=\"" << kNoChoice << "\">(none: the values shown)</option>\n";
  for (std::size_t k = 0; k < model.presets.size(); ++k)
    out << "        <option value=\"" << k << "\">" << escaped(model.presets[k]) << "</option>\n";
  out << "      </param>\n"
      << "      <param name=\"" << kRecordButtonParam
      << "\" type=\"optiongroup\" appearance=\"combo\" gui-text=\"Then press\">\n"
      << "        <option value=\"" << kNoChoice << "\">(no button)</option>\n";
  for (const std::string& button : model.recordButtons)
    out << "        <option value=\"" << escaped(button) << "\">" << escaped(button) << "</option>\n";
  out << "      </param>\n"
      << "      <param name=\"" << kSeedParam
      << "\" type=\"int\" min=\"0\" max=\"2147483647\" gui-text=\"Seed of the random numbers\">1</param>\n"
      << "      <param name=\"" << kColorModelParam
      << "\" type=\"optiongroup\" appearance=\"combo\" gui-text=\"Colour model\">\n";
  // rgb first: the editor's default is the first option.
  out << "        <option value=\"rgb\">rgb</option>\n";
  for (const char* name : host::kColorModelNames)
    if (std::string(name) != "rgb") out << "        <option value=\"" << name << "\">" << name << "</option>\n";
  out << "      </param>\n"
      << "      <label>The centre is an offset from the page centre in points; with something selected, the spiral is "
         "centred on its bounds.</label>\n"
      << "    </page>\n"
      << "  </param>\n"
      << "  <effect>\n"
      << "    <object-type>all</object-type>\n"
      << "    <effects-menu>\n"
      << "      <submenu name=\"" << escaped(kMenuName) << "\"/>\n"
      << "    </effects-menu>\n"
      << "  </effect>\n"
      << "  <script>\n"
      << "    <command location=\"inx\">" << escaped(command) << "</command>\n"
      << "  </script>\n"
      << "</inkscape-extension>\n";
  return out.str();
}

}  // namespace inkscape
