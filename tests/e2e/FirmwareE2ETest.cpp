// Firmware over a pseudo-terminal: q5sim with line timing, q5cfg-cli firmware, and an
// image made by objcopy from random bytes.
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdio>
#include <fstream>
#include <random>
#include <string>
#include <utility>
#include <vector>

#include "PtyRig.h"

namespace {

using namespace q5e2e;

// q5sim with line timing and its transcript, while the object lives.
class Sim : public SimOnPty {
 public:
  explicit Sim(const std::vector<std::string>& options)
      : SimOnPty(WithTiming(options), SimSetup{90, true}) {}

 private:
  static std::vector<std::string> WithTiming(std::vector<std::string> options) {
    options.insert(options.begin(), "--timing");
    return options;
  }
};

// CRC16 with polynomial 1021 and initial FFFF, as the unit reports it.
std::string Crc16(const std::string& bytes) {
  unsigned crc = 0xFFFF;
  for (unsigned char b : bytes) {
    crc ^= static_cast<unsigned>(b) << 8;
    for (int k = 0; k < 8; ++k) crc = (crc & 0x8000) ? ((crc << 1) ^ 0x1021) & 0xFFFF : (crc << 1) & 0xFFFF;
  }
  char buf[8];
  std::snprintf(buf, sizeof buf, "%04X", crc);
  return buf;
}

// An S-record image of `size` random bytes made by objcopy; "" when objcopy is missing.
struct Image {
  std::string path, bytes;
};
Image MakeImage(std::size_t size, unsigned seed) {
  Image img;
  const std::string base = testing::TempDir() + "q5fw_img_" + std::to_string(getpid()) + "_" +
                           std::to_string(seed);
  std::mt19937 gen(seed);
  for (std::size_t i = 0; i < size; ++i) img.bytes += static_cast<char>(gen() & 0xFF);
  std::ofstream(base + ".bin", std::ios::binary) << img.bytes;
  const RunResult r = RunProgram({"objcopy", "-I", "binary", "-O", "srec", base + ".bin", base + ".srec"});
  if (r.exitCode == 0) img.path = base + ".srec";
  return img;
}

// Milliseconds and text of the --trace lines that went out ("> ...").
std::vector<std::pair<double, std::string>> Sent(const std::string& err) {
  std::vector<std::pair<double, std::string>> out;
  for (const WireLine& w : Wire(err))
    if (w.direction == '>') out.emplace_back(w.ms, w.text);
  return out;
}

int Count(const std::string& text, const std::string& what) {
  int n = 0;
  for (std::size_t p = 0; (p = text.find(what, p)) != std::string::npos; p += what.size()) ++n;
  return n;
}

}  // namespace

TEST(FirmwareOverPty, AnObjcopyImageIsLoadedAtTheFirmwareRateAndTheUnitShowsItsNewVersion) {
  const Image img = MakeImage(3000, 1);
  if (img.path.empty()) GTEST_SKIP() << "objcopy is not installed";
  Sim sim({"--version", "2.00", "--new-version", "2.01"});
  ASSERT_FALSE(sim.path().empty());
  const std::string crc = Crc16(img.bytes);
  const RunResult r = RunProgram({Q5CLI_PATH, "--port", sim.path(), "--trace", "firmware", img.path,
                            "--yes", "--crc", crc});
  ASSERT_EQ(r.exitCode, 0) << r.out << r.err;

  EXPECT_NE(r.out.find("Update Start!!\n"), std::string::npos) << r.out;
  EXPECT_NE(r.out.find("\n100.0%\n"), std::string::npos) << r.out;
  EXPECT_NE(r.out.find("CRC check\n.....\nCRC16 = " + crc + "\n"), std::string::npos) << r.out;
  EXPECT_NE(r.out.find("Q5T3NML3-6-AI4\n2.01\nUpdate Completed!!\n"), std::string::npos) << r.out;
  EXPECT_NE(r.err.find("CRC16 = " + crc + ". CRC16 is TRUE ? -> yes"), std::string::npos) << r.err;

  // 3000 bytes in 16-byte records: 188 data records, the header and the termination.
  const auto sent = Sent(r.err);
  int records = 0;
  double firstMs = -1, lastMs = 0;
  for (const auto& [ms, text] : sent) {
    if (text.rfind("S1", 0) != 0) continue;
    if (firstMs < 0) firstMs = ms;
    lastMs = ms;
    ++records;
  }
  EXPECT_EQ(records, 188);
  // A 42-character record with CR LF and its reply take 4.1 ms at 115200 baud (47 ms at
  // 9600), after the 10 ms pause: both ends ran at the firmware rate.
  const double perRecord = (lastMs - firstMs) / (records - 1);
  EXPECT_GT(perRecord, 14.0);
  EXPECT_LT(perRecord, 20.0);
  EXPECT_EQ(Count(sim.log(), "> SW\\r"), 1);
}

TEST(FirmwareOverPty, ADamagedFileIsRefusedBeforeAnythingIsSentAndCheckNeedsNoPort) {
  Image img = MakeImage(100, 2);
  if (img.path.empty()) GTEST_SKIP() << "objcopy is not installed";
  std::string text = ReadFile(img.path);
  text[text.find("S1") + 20] ^= 1;  // one data digit changed: the checksum no longer fits
  std::ofstream(img.path, std::ios::binary) << text;

  const RunResult check = RunProgram({Q5CLI_PATH, "firmware", "--check", img.path});
  EXPECT_EQ(check.exitCode, 1);
  EXPECT_NE(check.err.find(": Line 2: checksum is "), std::string::npos) << check.err;

  Sim sim({});
  const RunResult r = RunProgram({Q5CLI_PATH, "--port", sim.path(), "--trace", "firmware", img.path, "--yes"});
  EXPECT_EQ(r.exitCode, 1);
  EXPECT_NE(r.err.find("Line 2: checksum is "), std::string::npos) << r.err;
  for (const auto& [ms, line] : Sent(r.err)) EXPECT_TRUE(line != "I82\\r" && line != "DSS\\r") << line;
  EXPECT_NE(r.out.find("Nothing was sent to the unit."), std::string::npos) << r.out;
}

TEST(FirmwareOverPty, EndOfInputIsNoAndAWrongCrcLeavesTheUnitUnprogrammed) {
  const Image img = MakeImage(200, 3);
  if (img.path.empty()) GTEST_SKIP() << "objcopy is not installed";
  Sim sim({});
  const RunResult no = RunProgram({Q5CLI_PATH, "--port", sim.path(), "--trace", "firmware", img.path});
  EXPECT_EQ(no.exitCode, 1);
  EXPECT_NE(no.err.find("message: update firm ? [y/N] (end of input: no)"), std::string::npos) << no.err;
  for (const auto& [ms, line] : Sent(no.err)) EXPECT_NE(line, "DSS\\r");

  const RunResult wrong = RunProgram({Q5CLI_PATH, "--port", sim.path(), "firmware", img.path, "--crc", "0000"},
                               "y\n");
  EXPECT_EQ(wrong.exitCode, 1);
  EXPECT_NE(wrong.err.find("CRC16 is TRUE ? -> no (--crc 0000 differs)"), std::string::npos) << wrong.err;
  EXPECT_NE(wrong.out.find("The unit is still in update mode at 115200 baud: repeat the update or "
                           "power-cycle it"),
            std::string::npos)
      << wrong.out;
  EXPECT_EQ(Count(sim.log(), "> SW\\r"), 0);
}

TEST(FirmwareOverPty, ThePortVanishingMidTransferIsAFailure) {
  const Image img = MakeImage(400, 4);
  if (img.path.empty()) GTEST_SKIP() << "objcopy is not installed";
  // Wire line 25 is the image's fifth: connect and identify take 14 lines, the start 5,
  // item 82 one.
  Sim sim({"--fault", "vanish:#25"});
  const RunResult r = RunProgram({Q5CLI_PATH, "--port", sim.path(), "firmware", img.path, "--yes"});
  EXPECT_EQ(r.exitCode, 1);
  EXPECT_NE(r.err.find("The connection to the unit was lost during the transfer (Line 5 of "),
            std::string::npos)
      << r.err << r.out;
  EXPECT_EQ(r.out.find("Update Completed!!"), std::string::npos);
}
