// The live values of a monitored page as columns and CSV rows: what "Record…" and
// "q5cfg-cli monitor --csv" write.
#include <gtest/gtest.h>

#include <sstream>

#include "SessionTestRig.h"
#include "session/LiveValues.h"

namespace {

using q5::session::LiveColumns;
using q5::session::LiveCsvWriter;
using q5::session::LiveRow;

std::vector<std::string> Split(const std::string& line) {
  std::vector<std::string> out;
  std::stringstream ss(line);
  for (std::string f; std::getline(ss, f, ',');) out.push_back(f);
  return out;
}

TEST(LiveValues, AnalogPageColumnsAndCsvRowsOfEachPass) {
  SessionRig rig("Q5T3NML3-6-AI4");
  rig.connect();
  auto* page = rig.session.page();
  ASSERT_NE(page, nullptr);
  const auto columns = LiveColumns(*page);
  ASSERT_EQ(columns.size(), 4u);
  for (int i = 0; i < 4; ++i) {
    EXPECT_EQ(columns[i].name, "txtParData(" + std::to_string(i) + ")");
    EXPECT_FALSE(columns[i].discrete);
  }

  std::ostringstream csv;
  LiveCsvWriter writer(csv, columns);
  writer.header(rig.session.values.model, rig.session.values.versionText, rig.session.portName());
  const auto t0 = std::chrono::system_clock::time_point(std::chrono::milliseconds(1700000000250));
  for (int pass = 0; pass < 3; ++pass) {
    page->ReadingData();
    writer.row(t0 + std::chrono::seconds(pass), LiveRow(*page, columns));
  }
  std::istringstream in(csv.str());
  std::vector<std::string> lines;
  for (std::string l; std::getline(in, l);) lines.push_back(l);
  ASSERT_EQ(lines.size(), 5u);
  EXPECT_EQ(lines[0].rfind("# Q5T3NML3-6-AI4  Version : ", 0), 0u) << lines[0];
  EXPECT_NE(lines[0].find("sim:Q5T3NML3-6-AI4"), std::string::npos);
  EXPECT_EQ(lines[1], "time,txtParData(0),txtParData(1),txtParData(2),txtParData(3)");
  for (int r = 2; r < 5; ++r) {
    const auto fields = Split(lines[r]);
    ASSERT_EQ(fields.size(), 5u) << lines[r];
    // "YYYY-MM-DD HH:MM:SS.mmm", a second apart.
    EXPECT_EQ(fields[0].size(), 23u) << fields[0];
    EXPECT_EQ(fields[0].substr(19), ".250");
    for (int c = 1; c < 5; ++c) EXPECT_FALSE(fields[c].empty()) << lines[r];
  }
  // The last row is what the page shows now.
  const auto last = Split(lines[4]);
  EXPECT_EQ(std::vector<std::string>(last.begin() + 1, last.end()), LiveRow(*page, columns));
  EXPECT_EQ(writer.rows(), 3);
}

TEST(LiveValues, DiscretePointsAreColumnsOfZeroAndOneAndFieldsAreQuotedWhenNeeded) {
  SessionRig rig("Q5W3NEIP-BI16");
  rig.connect();
  auto* page = rig.session.page();
  ASSERT_NE(page, nullptr);
  const auto columns = LiveColumns(*page);
  ASSERT_EQ(columns.size(), 16u);
  for (const auto& c : columns) EXPECT_TRUE(c.discrete) << c.name;
  for (const auto& v : LiveRow(*page, columns)) EXPECT_TRUE(v == "0" || v == "1") << v;
  // A column the page no longer shows gives an empty field.
  auto gone = columns;
  gone.push_back({"txtNoSuchBox(0)", "", false, "", ""});
  EXPECT_EQ(LiveRow(*page, gone).back(), "");

  EXPECT_EQ(LiveCsvWriter::Field("12.5"), "12.5");
  EXPECT_EQ(LiveCsvWriter::Field("1,5"), "\"1,5\"");
  EXPECT_EQ(LiveCsvWriter::Field("say \"hi\""), "\"say \"\"hi\"\"\"");
}

}  // namespace
