// End to end for "q5cfg-cli report": from a unit on a pseudo-terminal (q5sim) and from the
// configuration file saved from it, as HTML and PDF; the exit codes of its failures.
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <regex>
#include <string>
#include <vector>

#include "PtyRig.h"

namespace {

namespace fs = std::filesystem;
using namespace q5e2e;

// The report without what differs between a unit and its file: the port and the time.
std::string WithoutPortAndTime(const std::string& html) {
  static const std::regex row(R"re(<tr><th[^>]*>(Port|Date and time)</th><td>[^<]*</td></tr>)re");
  return std::regex_replace(html, row, "");
}

TEST(ReportOverPty, UnitAndItsFileGiveTheSameReportAsHtmlAndPdf) {
  ScratchFolder dir("q5report");
  SimOnPty unit({});
  const std::string html = dir / "unit.html", pdf = dir / "unit.pdf", file = dir / "unit.uJx";
  RunResult r = RunCli({"--port", unit.path(), "report", "-o", html, "--by", "M. Engineer",
                        "--note", "Loop 7 & 8"});
  ASSERT_EQ(r.exitCode, 0) << r.err;
  EXPECT_NE(r.out.find("written to " + html), std::string::npos) << r.out;
  const std::string fromUnit = ReadFile(html);
  EXPECT_NE(fromUnit.find("<tr><th width=\"30%\">Port</th><td>" + unit.path() + "</td></tr>"), std::string::npos);
  EXPECT_NE(fromUnit.find("<tr><th width=\"30%\">Prepared by</th><td>M. Engineer</td></tr>"), std::string::npos);
  EXPECT_NE(fromUnit.find("Loop 7 &amp; 8"), std::string::npos);

  ASSERT_EQ(RunCli({"--port", unit.path(), "upload", "-o", file}).exitCode, 0);
  r = RunCli({"report", file, "-o", dir / "file.html", "--by", "M. Engineer", "--note", "Loop 7 & 8"});
  ASSERT_EQ(r.exitCode, 0) << r.err;
  const std::string fromFile = ReadFile(dir / "file.html");
  EXPECT_NE(fromFile.find("<tr><th width=\"30%\">Port</th><td>none (settings from file unit.uJx)</td></tr>"),
            std::string::npos);
  EXPECT_EQ(WithoutPortAndTime(fromFile), WithoutPortAndTime(fromUnit));

  // PDF on Letter paper, its text extractable.
  r = RunCli({"--port", unit.path(), "report", "-o", pdf, "--paper", "Letter"});
  ASSERT_EQ(r.exitCode, 0) << r.err;
  EXPECT_EQ(ReadFile(pdf).substr(0, 5), "%PDF-");
  EXPECT_NE(r.out.find("1 page)"), std::string::npos) << r.out;
  const RunResult text = RunProgram({"pdftotext", pdf, "-"});
  ASSERT_EQ(text.exitCode, 0);
  EXPECT_NE(text.out.find("Commissioning report"), std::string::npos);
  EXPECT_NE(text.out.find(unit.path()), std::string::npos);

  // The settings changed against a file given with --before.
  std::string edited = ReadFile(file);
  const auto at = edited.find("\"10000\"");
  ASSERT_NE(at, std::string::npos);
  edited.replace(at, 7, "\"9999\"");
  std::ofstream(dir / "before.uJx", std::ios::binary) << edited;
  r = RunCli({"report", file, "-o", dir / "changes.html", "--before", dir / "before.uJx"});
  ASSERT_EQ(r.exitCode, 0) << r.err;
  EXPECT_NE(r.out.find("1 changed"), std::string::npos) << r.out;
  EXPECT_NE(ReadFile(dir / "changes.html").find("<td>9999</td><td class=\"value\">10000</td>"),
            std::string::npos);
}

TEST(ReportOverPty, ExitCodes) {
  ScratchFolder dir("q5report");
  ASSERT_EQ(RunCli({"new", "Q5T3NML3", "AI4", "-o", dir / "a.uJx"}).exitCode, 0);
  EXPECT_EQ(RunCli({"report", dir / "a.uJx"}).exitCode, 2);                    // no -o
  EXPECT_EQ(RunCli({"report", dir / "a.uJx", "-o", dir / "a.txt"}).exitCode, 2);  // not pdf/html
  EXPECT_EQ(RunCli({"report", "-o", dir / "a.html"}).exitCode, 2);  // neither file nor port
  EXPECT_EQ(RunCli({"report", dir / "a.uJx", "-o", dir / "a.pdf", "--paper", "A3"}).exitCode, 2);
  EXPECT_EQ(RunCli({"report", dir / "none.uJx", "-o", dir / "a.html"}).exitCode, 1);
  EXPECT_FALSE(fs::exists(dir / "a.html"));
  EXPECT_EQ(RunCli({"--port", "/dev/q5-no-such-port", "report", "-o", dir / "a.html"}).exitCode, 1);
  EXPECT_FALSE(fs::exists(dir / "a.html"));
  EXPECT_EQ(RunCli({"report", dir / "a.uJx", "-o", dir / "no-folder/a.html"}).exitCode, 1);
  EXPECT_EQ(RunCli({"report", dir / "a.uJx", "-o", dir / "a.pdf"}).exitCode, 0);
}

}  // namespace
