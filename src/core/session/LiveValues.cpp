#include "session/LiveValues.h"

#include <cstdio>
#include <ctime>
#include <map>

namespace q5::session {

namespace {

class LiveCollector : public pages::ControlVisitor {
 public:
  std::vector<LiveColumn> columns;
  std::map<std::string, std::string> values;

  // What the page declares a live value, and nothing else.
  void text(const pages::ControlInfo& info, pages::TextBox& c) override {
    if (!c.visible || info.role != pages::Role::Live) return;
    columns.push_back({info.name, info.caption, false, info.channelHeading, info.unit});
    values[info.name] = c.text;
  }
  void indicator(const pages::ControlInfo& info, pages::Indicator& c) override {
    if (!c.visible || info.role != pages::Role::Live) return;
    columns.push_back({info.name, c.caption, true, info.channelHeading, info.unit});
    values[info.name] = std::string(1, c.colour == c.litColour ? '1' : '0');
  }
};

}  // namespace

std::vector<LiveColumn> LiveColumns(pages::ModulePage& page) {
  LiveCollector c;
  page.visitControls(c);
  return std::move(c.columns);
}

std::vector<std::string> LiveRow(pages::ModulePage& page, const std::vector<LiveColumn>& columns) {
  LiveCollector c;
  page.visitControls(c);
  std::vector<std::string> row;
  row.reserve(columns.size());
  for (const LiveColumn& col : columns) {
    auto it = c.values.find(col.name);
    row.push_back(it == c.values.end() ? std::string() : it->second);
  }
  return row;
}

std::string LiveCsvWriter::Field(const std::string& text) {
  if (text.find_first_of(",\"\r\n") == std::string::npos) return text;
  std::string s = "\"";
  for (char ch : text) {
    if (ch == '"') s += '"';
    s += ch;
  }
  return s + "\"";
}

std::string LiveCsvWriter::TimeStamp(std::chrono::system_clock::time_point when) {
  const auto ms = std::chrono::duration_cast<std::chrono::milliseconds>(when.time_since_epoch()).count();
  const std::time_t seconds = static_cast<std::time_t>(ms / 1000);
  std::tm tm{};
  localtime_r(&seconds, &tm);
  char text[40];
  const std::size_t n = std::strftime(text, sizeof text, "%Y-%m-%d %H:%M:%S", &tm);
  std::snprintf(text + n, sizeof text - n, ".%03d", static_cast<int>(ms % 1000));
  return text;
}

void LiveCsvWriter::header(const std::string& model, const std::string& versionText,
                           const std::string& port) {
  out_ << "# " << model << "  " << versionText << "  " << port << "\n";
  out_ << "time";
  for (const LiveColumn& c : columns_) out_ << "," << Field(c.name);
  out_ << "\n";
  out_.flush();
}

void LiveCsvWriter::row(std::chrono::system_clock::time_point when, const std::vector<std::string>& values) {
  out_ << TimeStamp(when);
  for (std::size_t i = 0; i < columns_.size(); ++i) out_ << "," << Field(i < values.size() ? values[i] : "");
  out_ << "\n";
  out_.flush();
  ++rows_;
}

}  // namespace q5::session
