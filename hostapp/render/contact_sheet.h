// A contact sheet: many drawings of one page size, each rendered small in a
// cell of a grid with its name under it, as one PNG or one PDF page.
#pragma once

#include <cstddef>
#include <memory>
#include <ostream>
#include <string_view>

namespace render {

enum class SheetFormat { Png, Pdf };

// The grid: `columns` cells a row; a cell holds a page `pageWidth` wide
// (pixels in a PNG, points in a PDF) and a line for the label under it.
struct SheetLayout {
  std::size_t cells = 0;
  std::size_t columns = 0;
  double pageWidth = 0, pageHeight = 0;
  double labelHeight = 0;
  double gap = 0;  // between cells and around the grid
  double width = 0, height = 0;  // the whole sheet
};

// The layout for `cells` pages of `pageWidth` x `pageHeight` points: about
// as many columns as rows, each page scaled to 160 units on its longer side.
SheetLayout sheetLayout(std::size_t cells, double pageWidth, double pageHeight);

// Fills cells in order; finish() writes the sheet to `out`. Throws
// RenderError (also when this build has no librsvg and cairo).
class ContactSheet {
 public:
  ContactSheet(SheetFormat format, const SheetLayout& layout, std::ostream& out);
  ~ContactSheet();
  ContactSheet(const ContactSheet&) = delete;
  ContactSheet& operator=(const ContactSheet&) = delete;

  // The next cell: the SVG drawn on a white page in it, the label centred
  // under it (shortened with an ellipsis when it is too wide).
  void add(std::string_view svg, std::string_view label);
  std::size_t filled() const;
  void finish();

 private:
  struct State;
  std::unique_ptr<State> state_;
};

}  // namespace render
