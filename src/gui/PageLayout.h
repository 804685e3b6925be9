#pragma once
// How the controls of a module page or a network settings window are arranged on screen:
// a few kinds of blocks (a grid of point boxes, labelled fields, a table of per-channel
// settings, a table of named cells, a frame of options) and tabs. The page view builds
// widgets from a layout and binds them by control name; controls a layout does not place
// are laid out by the view itself, so nothing is ever left out.
#include <functional>
#include <map>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

class QWidget;

#include "pages/ControlByName.h"

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
    // The control, e.g. "CmbConvSpeed", or several blank-separated controls that show
    // one value together, in the order a person reads them: the four boxes of a dotted
    // address "txtIP(3) txtIP(2) txtIP(1) txtIP(0)", the two halves of a MAC address.
    std::string control;
    std::string separator = {};  // shown between several controls ("." or "-")
    std::string after = {};      // a fixed text after the control: its unit or range
    int digits = 0;              // width of its text boxes in digits (0: the layout's)
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

// A table of named cells, in a frame: a label control over each column, then rows of a
// caption and one control per column (an Ethernet unit's sockets: port number and linger
// timer of each socket, and the unit under each timer).
struct Table {
  struct Row {
    std::string caption;       // a fixed caption ...
    std::string captionLabel;  // ... or a label control
    std::vector<std::string> cells;
  };
  std::string frame;                 // the Frame control of the box ("" none)
  std::vector<std::string> headers;  // label controls over the columns ("" none)
  std::vector<Row> rows;
  int digits = 0;  // width of its text boxes in digits (0: the layout's)
};

// A frame of option buttons.
struct Options {
  std::string frame;
  std::vector<std::string> options;
  // A fixed text in front of the row ("CH 0"). Rows without a frame have no margins of
  // their own, so that such rows stack like the lines of a table.
  std::string caption = {};
  // The row stands at the right edge, as the buttons of a dialog do.
  bool trailing = false;
};

// A widget of its own kind (the linearization table grid), made for the page by `make`
// from the walk over the page's controls, which it reaches by name. It shows the
// controls it covers, so the view lays none of them out again, and it is refreshed with
// the page.
struct Custom {
  std::function<PageWidget*(const pages::ControlWalk& walk, QWidget* parent)> make;
  std::vector<std::string> covers;
};

using Block = std::variant<Points, Fields, Channels, Table, Options, Custom>;

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
  // A module page scrolls inside its window of fixed size; a settings window takes the
  // size its contents need.
  bool scrolls = true;
};

// The layout of a page or a network window by its name ("frmBI32", "frmEthernet");
// nullptr for pages laid out generically.
const PageLayout* LayoutFor(std::string_view pageName);

// The layouts of a family of pages, added to the table (one function per family file).
void AddTemperatureOutputLayouts(std::map<std::string, PageLayout, std::less<>>& m);
void AddNetworkLayouts(std::map<std::string, PageLayout, std::less<>>& m);

}  // namespace q5::gui::layout
