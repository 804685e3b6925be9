#pragma once
// The commissioning report of a module page: which unit (model, firmware, channels,
// network, port), when, by whom, every setting of the page as the page shows it, and the
// settings that changed since a backup or a compared file. Built here, written as HTML
// here; the PDF is the same HTML laid out on pages by the Qt side.
#include <ctime>
#include <string>
#include <string_view>
#include <vector>

#include "pages/ModulePage.h"
#include "session/SessionValues.h"

namespace q5::report {

// One setting as the report lists it.
struct ReportSetting {
  std::string name;     // "cmbUserRange(0)": the control, for the reader of the HTML
  std::string caption;  // the text beside it on the page
  std::string channel;  // the channel's heading as the page shows it ("" module-wide)
  int channelNumber = -1;
  std::string group;    // the tab or frame it sits in, as captioned ("" none)
  std::string value;    // as shown: a list item's text, a box's text, "on"/"off"
  std::string unit;     // "mA", "%" ... ("" none)
};

// Every setting of the page that the person sets, with its declared caption, unit,
// channel and tab, in the page's order: what the configuration records of this model
// carry, shown or not, without the values the page only shows.
std::vector<ReportSetting> PageReportSettings(pages::ModulePage& page,
                                              const session::SessionValues& values);

struct ReportIdentity {
  std::string model;
  std::string firmwareVersion;  // "1.05"
  int channelCount = 0;
  std::string network;   // "Ethernet", "DeviceNet" ... or "none"
  std::string port;      // "/dev/ttyUSB0", "sim:..."; "" for a report of a file
  std::string source;    // "unit" or the configuration file's name
  std::string page;      // "frmAI4"
};

struct ReportSection {
  std::string title;  // the tab's caption, or "Settings" on a page without tabs
  std::vector<ReportSetting> rows;  // grouped by channel, module-wide ones first
};

struct ReportChange {
  std::string name, caption, channel, before, after, unit;
};

struct Report {
  ReportIdentity identity;
  std::string dateTime;  // "2026-12-09 14:02"
  std::string preparedBy;
  std::string note;
  std::vector<ReportSection> sections;
  // The changed settings, when there is something to compare with.
  bool hasChanges = false;
  std::string changesAgainst;  // "backup MODEL_PORT_....uJx", "file a.uJx"
  std::string changesRemark;   // why no list could be made ("another page")
  std::vector<ReportChange> changes;
};

struct ReportOptions {
  std::string port;
  std::string source = "unit";
  std::string preparedBy;
  std::string note;
  std::time_t when = 0;  // 0: now
};

// "Version : 1.05" -> "1.05".
std::string FirmwareVersionOf(std::string_view versionText);
// Local date and time as the report prints it: "2026-12-09 14:02".
std::string ReportDateTime(std::time_t when);

// The report of a page with its identification values.
Report BuildReport(pages::ModulePage& page, const session::SessionValues& values,
                   const ReportOptions& options);

// Adds the settings that differ between `before` (a backup or a compared file) and the
// page the report was built from. `against` says what was compared.
void AddChanges(Report& report, pages::ModulePage& before, const session::SessionValues& beforeValues,
                pages::ModulePage& after, const session::SessionValues& afterValues,
                std::string against);

// Text made safe for HTML: & < > " ' escaped, control characters shown as \xNN.
std::string HtmlEscape(std::string_view text);

enum class PaperSize { A4, Letter };

// The report as one self-contained HTML document (styles inline, no outside file). The
// same text is laid out on PDF pages, so it keeps to what a rich-text layout draws:
// tables with a heading row (repeated on every page a table runs over), headings,
// paragraphs.
std::string ReportHtml(const Report& report, PaperSize paper = PaperSize::A4);

}  // namespace q5::report
