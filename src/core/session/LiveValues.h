#pragma once
// The live values of a module page as columns: every shown control the page declares a
// live value (a discrete point's lamp, 1 when lit; a live-value box), in the page's order. The trend view plots
// them, "Record…" and "q5cfg-cli monitor --csv" write them, one row per monitoring pass.
#include <chrono>
#include <ostream>
#include <string>
#include <vector>

#include "pages/ModulePage.h"

namespace q5::session {

struct LiveColumn {
  std::string name;     // "txtParData(0)", "txtChData(12)"
  std::string caption;  // the text beside it ("" when none)
  bool discrete = false;  // a point: 0 or 1, plotted as steps
  std::string channel;    // the channel heading ("CH 0"; "" for a module-wide value)
  std::string unit;       // the unit the page gives it ("" when none)
};

// The live columns the page shows now.
std::vector<LiveColumn> LiveColumns(pages::ModulePage& page);
// One pass: the text of each column of `columns` as the page shows it now ("1"/"0" for a
// point; a box's text as it stands). A column the page no longer shows gives "".
std::vector<std::string> LiveRow(pages::ModulePage& page, const std::vector<LiveColumn>& columns);

// Writes a monitoring record as CSV: a comment line with the unit, a header (time, then
// one column per live control), one row per pass. The time is the local wall-clock time
// with milliseconds, "2026-12-08 17:45:01.250".
class LiveCsvWriter {
 public:
  LiveCsvWriter(std::ostream& out, std::vector<LiveColumn> columns) : out_(out), columns_(std::move(columns)) {}
  // "# MODEL  VERSION  PORT" and the header row.
  void header(const std::string& model, const std::string& versionText, const std::string& port);
  void row(std::chrono::system_clock::time_point when, const std::vector<std::string>& values);
  const std::vector<LiveColumn>& columns() const { return columns_; }
  int rows() const { return rows_; }

  // A field as CSV wants it: quoted when it holds a comma, quote or line break.
  static std::string Field(const std::string& text);
  static std::string TimeStamp(std::chrono::system_clock::time_point when);

 private:
  std::ostream& out_;
  std::vector<LiveColumn> columns_;
  int rows_ = 0;
};

}  // namespace q5::session
