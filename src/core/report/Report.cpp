#include "report/Report.h"

#include <algorithm>
#include <cstdio>
#include <map>

#include "catalogue/Catalogue.h"
#include "platform/LocalTime.h"

namespace q5::report {

namespace {

constexpr std::string_view kTabPrefix = "frmSet";

// The caption of the tab or frame a setting sits in ("Setting 1" for "frmSet1").
std::string GroupTitle(const pages::ModulePage& page, const std::string& group) {
  if (group.rfind(kTabPrefix, 0) == 0) {
    const std::string digits = group.substr(kTabPrefix.size());
    const int n = digits.empty() || digits.size() > 2 ? 0 : std::atoi(digits.c_str());
    if (n >= 1 && n <= static_cast<int>(page.cmdSet.size()) && !page.cmdSet[n - 1].caption.empty())
      return page.cmdSet[n - 1].caption;
    if (n >= 1 && n <= static_cast<int>(page.frmSet.size()) && !page.frmSet[n - 1].caption.empty())
      return page.frmSet[n - 1].caption;
  }
  return group;
}

}  // namespace

std::string FirmwareVersionOf(std::string_view versionText) {
  const auto colon = versionText.find(':');
  std::string_view v = colon == std::string_view::npos ? versionText : versionText.substr(colon + 1);
  while (!v.empty() && v.front() == ' ') v.remove_prefix(1);
  while (!v.empty() && v.back() == ' ') v.remove_suffix(1);
  return std::string(v);
}

std::string ReportDateTime(std::time_t when) {
  const std::tm tm = platform::LocalTime(when);
  char text[32];
  std::strftime(text, sizeof text, "%Y-%m-%d %H:%M", &tm);
  return text;
}

Report BuildReport(pages::ModulePage& page, const session::SessionValues& values,
                   const ReportOptions& options) {
  Report r;
  r.identity.model = values.model;
  r.identity.firmwareVersion = FirmwareVersionOf(values.versionText);
  r.identity.channelCount = values.channelCount;
  r.identity.network = std::string(catalogue::NetworkName(values.networkType));
  r.identity.port = options.port;
  r.identity.source = options.source;
  r.identity.page = std::string(page.name());
  r.dateTime = ReportDateTime(options.when ? options.when : std::time(nullptr));
  r.preparedBy = options.preparedBy;
  r.note = options.note;

  // Sections in the order their first setting comes; inside one, channel by channel
  // (module-wide settings first), each channel's settings in the page's order.
  std::vector<ReportSetting> settings = PageReportSettings(page, values);
  std::vector<std::string> order;
  std::map<std::string, std::vector<ReportSetting>> byGroup;
  for (ReportSetting& s : settings) {
    s.group = s.group.empty() ? std::string() : GroupTitle(page, s.group);
    if (!byGroup.count(s.group)) order.push_back(s.group);
    byGroup[s.group].push_back(std::move(s));
  }
  for (const std::string& g : order) {
    ReportSection section;
    section.title = g.empty() ? (order.size() == 1 ? "Settings" : "General") : g;
    section.rows = std::move(byGroup[g]);
    std::stable_sort(section.rows.begin(), section.rows.end(),
                     [](const ReportSetting& a, const ReportSetting& b) {
                       return a.channelNumber < b.channelNumber;
                     });
    r.sections.push_back(std::move(section));
  }
  return r;
}

void AddChanges(Report& report, pages::ModulePage& before, const session::SessionValues& beforeValues,
                pages::ModulePage& after, const session::SessionValues& afterValues,
                std::string against) {
  report.hasChanges = true;
  report.changesAgainst = std::move(against);
  report.changes.clear();
  report.changesRemark.clear();
  if (before.pageKind() != after.pageKind()) {
    report.changesRemark = "The settings are of another module (" + beforeValues.model +
                           "); they cannot be set side by side.";
    return;
  }
  if (beforeValues.model != afterValues.model)
    report.changes.push_back({"model", "Model", "", beforeValues.model, afterValues.model, ""});
  if (beforeValues.channelCount != afterValues.channelCount) {
    report.changes.push_back({"channel count", "Channels", "",
                              std::to_string(beforeValues.channelCount),
                              std::to_string(afterValues.channelCount), ""});
  }
  const auto was = PageReportSettings(before, beforeValues);
  const auto now = PageReportSettings(after, afterValues);
  std::map<std::string, const ReportSetting*> wasByName;
  for (const ReportSetting& s : was) wasByName[s.name] = &s;
  for (const ReportSetting& s : now) {
    const auto it = wasByName.find(s.name);
    const std::string old = it == wasByName.end() ? std::string() : it->second->value;
    if (it != wasByName.end()) wasByName.erase(it);
    if (old != s.value) report.changes.push_back({s.name, s.caption, s.channel, old, s.value, s.unit});
  }
  // Settings shown before and not any more.
  for (const ReportSetting& s : was)
    if (wasByName.count(s.name)) report.changes.push_back({s.name, s.caption, s.channel, s.value, "", s.unit});
}

std::string HtmlEscape(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  for (char c : text) {
    switch (c) {
      case '&': out += "&amp;"; break;
      case '<': out += "&lt;"; break;
      case '>': out += "&gt;"; break;
      case '"': out += "&quot;"; break;
      case '\'': out += "&#39;"; break;
      default:
        if (static_cast<unsigned char>(c) < 0x20 || c == 0x7F) {
          char hex[8];
          std::snprintf(hex, sizeof hex, "\\x%02X", static_cast<unsigned char>(c));
          out += hex;
        } else {
          out += c;
        }
    }
  }
  return out;
}

namespace {

void Cell(std::string& html, const char* tag, std::string_view text, const char* cls = nullptr) {
  html += '<';
  html += tag;
  if (cls) {
    html += " class=\"";
    html += cls;
    html += '"';
  }
  html += '>';
  html += HtmlEscape(text);
  html += "</";
  html += tag;
  html += '>';
}

void IdentityRow(std::string& html, const char* caption, std::string_view value) {
  html += "<tr><th width=\"30%\">";
  html += HtmlEscape(caption);
  html += "</th>";
  Cell(html, "td", value);
  html += "</tr>\n";
}

constexpr const char* kTable =
    "<table class=\"list\" width=\"100%\" border=\"1\" cellspacing=\"0\" cellpadding=\"3\">\n";

}  // namespace

std::string ReportHtml(const Report& r, PaperSize paper) {
  std::string html;
  html.reserve(4096 + 160 * r.sections.size() * 64);
  const std::string title = "Commissioning report " + r.identity.model;
  html += "<!DOCTYPE html>\n<html lang=\"en\">\n<head>\n<meta charset=\"utf-8\">\n<title>";
  html += HtmlEscape(title);
  html += "</title>\n<style>\n";
  html += paper == PaperSize::Letter ? "@page { size: letter; margin: 15mm; }\n"
                                     : "@page { size: A4; margin: 15mm; }\n";
  html +=
      "body { font-family: 'DejaVu Sans', Arial, sans-serif; font-size: 9pt; color: #000; }\n"
      "h1 { font-size: 15pt; margin: 0 0 6pt 0; }\n"
      "h2 { font-size: 12pt; margin: 12pt 0 4pt 0; }\n"
      "h3 { font-size: 10pt; margin: 8pt 0 3pt 0; }\n"
      "table { border-collapse: collapse; border-color: #888; }\n"
      "th { background-color: #e4e4e4; text-align: left; font-weight: bold; }\n"
      "td, th { padding: 2pt 4pt; vertical-align: top; }\n"
      "td.value { font-weight: bold; }\n"
      "p.note { white-space: pre-wrap; }\n"
      "p.small { color: #555; font-size: 8pt; }\n"
      "</style>\n</head>\n<body>\n";
  html += "<h1>Commissioning report</h1>\n";
  html += "<table class=\"identity\" width=\"100%\" border=\"1\" cellspacing=\"0\" cellpadding=\"3\">\n";
  IdentityRow(html, "Model", r.identity.model);
  IdentityRow(html, "Firmware version", r.identity.firmwareVersion);
  IdentityRow(html, "Channels", std::to_string(r.identity.channelCount));
  IdentityRow(html, "Network", r.identity.network);
  // A report of a file names the file where the port would be.
  IdentityRow(html, "Port",
              r.identity.port.empty() ? "none (settings from " + r.identity.source + ")"
                                      : r.identity.port);
  IdentityRow(html, "Module page", r.identity.page);
  IdentityRow(html, "Date and time", r.dateTime);
  if (!r.preparedBy.empty()) IdentityRow(html, "Prepared by", r.preparedBy);
  html += "</table>\n";
  if (!r.note.empty()) {
    html += "<h2>Note</h2>\n<p class=\"note\">";
    // Line ends of the note become line breaks; everything else is escaped.
    for (std::size_t i = 0; i < r.note.size(); ++i) {
      const char c = r.note[i];
      if (c == '\r' && i + 1 < r.note.size() && r.note[i + 1] == '\n') continue;
      if (c == '\r' || c == '\n')
        html += "<br>";
      else
        html += HtmlEscape(std::string_view(&r.note[i], 1));
    }
    html += "</p>\n";
  }

  html += "<h2>Settings</h2>\n";
  if (r.sections.empty()) html += "<p>This page has no settings.</p>\n";
  for (const ReportSection& s : r.sections) {
    if (r.sections.size() > 1) {
      html += "<h3>";
      html += HtmlEscape(s.title);
      html += "</h3>\n";
    }
    html += kTable;
    html += "<thead><tr><th width=\"12%\">Channel</th><th width=\"43%\">Setting</th>"
            "<th width=\"33%\">Value</th><th width=\"12%\">Unit</th></tr></thead>\n<tbody>\n";
    for (const ReportSetting& row : s.rows) {
      html += "<tr data-name=\"";
      html += HtmlEscape(row.name);
      html += "\">";
      Cell(html, "td", row.channel);
      Cell(html, "td", row.caption.empty() ? row.name : row.caption);
      Cell(html, "td", row.value, "value");
      Cell(html, "td", row.unit);
      html += "</tr>\n";
    }
    html += "</tbody>\n</table>\n";
  }

  if (r.hasChanges) {
    html += "<h2>Changed settings</h2>\n<p>Compared with ";
    html += HtmlEscape(r.changesAgainst);
    html += ".</p>\n";
    if (!r.changesRemark.empty()) {
      html += "<p>";
      html += HtmlEscape(r.changesRemark);
      html += "</p>\n";
    } else if (r.changes.empty()) {
      html += "<p>No setting changed.</p>\n";
    } else {
      html += "<table class=\"changes\" width=\"100%\" border=\"1\" cellspacing=\"0\" cellpadding=\"3\">\n";
      html += "<thead><tr><th width=\"12%\">Channel</th><th width=\"34%\">Setting</th>"
              "<th width=\"22%\">Before</th><th width=\"22%\">After</th><th width=\"10%\">Unit</th>"
              "</tr></thead>\n<tbody>\n";
      for (const ReportChange& c : r.changes) {
        html += "<tr data-name=\"";
        html += HtmlEscape(c.name);
        html += "\">";
        Cell(html, "td", c.channel);
        Cell(html, "td", c.caption.empty() ? c.name : c.caption);
        Cell(html, "td", c.before);
        Cell(html, "td", c.after, "value");
        Cell(html, "td", c.unit);
        html += "</tr>\n";
      }
      html += "</tbody>\n</table>\n";
    }
  }
  html += "<p class=\"small\">Written by Q5CFG.</p>\n</body>\n</html>\n";
  return html;
}

}  // namespace q5::report
