#pragma once
// How a page's controls are arranged on screen: a few kinds of blocks (a grid of point
// boxes, labelled fields, a table of per-channel settings, a frame of options) and tabs.
// The page view builds widgets from a layout and binds them by control name; controls a
// layout does not place are laid out by the view itself, so nothing is ever left out.
#include <functional>
#include <map>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

class QWidget;

namespace q5::pages {
class ModulePage;
}

namespace q5::gui {
class PageWidget;
}

namespace q5::gui::layout {

// A grid of point boxes in a frame: every row shares the same columns.
struct Points {
  struct Row {
    std::string heading;  // a label control shown at the start of the row ("" none)
    std::string tokens;   // a label control whose caption gives one token per column
    std::string array;    // an indicator or check-box array, e.g. "txtCData"
    int first = 0;        // its first element in this row
    // A label control whose tokens go in front of the tokens' ones, e.g. the leading "1"
    // of the point numbers 10 to 1F.
    std::string prefix = {};
  };
  std::string frame;  // the Frame control of the box
  int columns = 16;
  std::vector<Row> rows;
};

// Labelled fields, one per row.
struct Fields {
  struct Row {
    std::string caption;       // a fixed caption ...
    std::string captionLabel;  // ... or a label control (several, blank-separated)
    std::string control;       // the control, e.g. "CmbConvSpeed"
  };
  std::vector<Row> rows;
};

// Settings per channel: one column per channel, one row per control array.
struct Channels {
  struct Row {
    std::string array;         // e.g. "txtZScale"
    std::string note;          // a label array shown under each cell, e.g. "lblZScale"
    std::string unit;          // a label array shown beside each cell, e.g. "lblZBase_Unit"
    std::string captionLabel;  // a label control used as the row caption ("" = the
                               // caption the page gives the control)
  };
  int first = 0;  // first channel index
  int count = 4;
  std::string headerLabels;  // label controls "lblChannel0".. as column headers; "" = "CH n"
  std::vector<Row> rows;
  // A frame control holding the table ("" none): the table is shown while the frame is,
  // so a page can show one group of channels at a time.
  std::string frame = {};
};

// A frame of option buttons.
struct Options {
  std::string frame;
  std::vector<std::string> options;
  // A fixed text in front of the row ("CH 0"). Rows without a frame have no margins of
  // their own, so that such rows stack like the lines of a table.
  std::string caption = {};
};

// A widget of its own kind (the linearization table grid), made for the page by `make`.
// It shows the controls it covers, so the view lays none of them out again, and it is
// refreshed with the page.
struct Custom {
  std::function<PageWidget*(pages::ModulePage& page, QWidget* parent)> make;
  std::vector<std::string> covers;
};

using Block = std::variant<Points, Fields, Channels, Options, Custom>;

// A tab: its frame control ("frmSet1") and what it holds.
struct Tab {
  std::string frame;
  std::vector<Block> blocks;
};

struct PageLayout {
  std::vector<Block> top;   // above the tabs
  std::vector<Tab> tabs;    // tab buttons are the page's cmdSet1, cmdSet2, ...
  std::vector<Block> bottom;
  // Controls this layout leaves off the screen on purpose (empty spacer labels).
  std::vector<std::string> omitted = {};
  // Width of the text boxes in digits (counts up to 4294967295 and limits such as
  // -2100000000 need more than scales do).
  int fieldDigits = 10;
};

// The layout of a page by its name ("frmBI32"); nullptr for pages laid out generically.
const PageLayout* LayoutFor(std::string_view pageName);

// The layouts of a family of pages, added to the table (one function per family file).
void AddTemperatureOutputLayouts(std::map<std::string, PageLayout, std::less<>>& m);

}  // namespace q5::gui::layout
