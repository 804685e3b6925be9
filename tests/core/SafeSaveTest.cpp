// Saving respects what the chosen name is: a symbolic link keeps pointing at the file it
// names, which gets the contents; devices, pipes and folders are refused untouched; the
// permissions stay; hard links stay one file; temporary files of a killed save are
// cleaned up. Control characters never get into a configuration file, in either
// direction.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "TestDialogs.h"
#include "config/ConfigFiles.h"
#include "config/FileAccess.h"
#include "link/Clock.h"
#include "link/Exchange.h"
#include "link/TextRoutines.h"
#include "pages/frmAI4.h"
#include "session/Session.h"
#include "sim/SimPort.h"

namespace {

namespace fs = std::filesystem;
using q5::config::ReadWholeFile;
using q5::config::WriteFileAtomically;

std::string Read(const fs::path& p) {
  std::ifstream in(p, std::ios::binary);
  std::stringstream ss;
  ss << in.rdbuf();
  return ss.str();
}

void Write(const fs::path& p, const std::string& text) {
  std::ofstream out(p, std::ios::binary);
  out << text;
}

struct TempDir {
  fs::path path;
  TempDir() {
    std::string t = (fs::temp_directory_path() / "q5cfg-save-XXXXXX").string();
    path = ::mkdtemp(t.data());
  }
  ~TempDir() { fs::remove_all(path); }
  // Names in the folder other than the given ones (left-over temporary files).
  std::vector<std::string> others(std::initializer_list<std::string> known) const {
    std::vector<std::string> out;
    for (const auto& e : fs::directory_iterator(path)) {
      const std::string n = e.path().filename().string();
      if (std::find(known.begin(), known.end(), n) == known.end()) out.push_back(n);
    }
    return out;
  }
};

TEST(SafeSave, ASymbolicLinkStaysALinkAndItsTargetGetsTheContents) {
  TempDir d;
  fs::create_directory(d.path / "store");
  Write(d.path / "store" / "unit.uJx", "old");
  fs::create_symlink("store/unit.uJx", d.path / "link.uJx");   // relative
  fs::create_symlink(d.path / "link.uJx", d.path / "chain.uJx");  // a link to a link
  std::string error;
  ASSERT_TRUE(WriteFileAtomically((d.path / "chain.uJx").string(), "new", error)) << error;
  EXPECT_TRUE(fs::is_symlink(d.path / "link.uJx"));
  EXPECT_TRUE(fs::is_symlink(d.path / "chain.uJx"));
  EXPECT_EQ(Read(d.path / "store" / "unit.uJx"), "new");
  EXPECT_EQ(d.others({"store", "link.uJx", "chain.uJx"}), std::vector<std::string>{});
  // A link naming a file not yet there creates that file.
  fs::create_symlink("store/fresh.uJx", d.path / "dangling.uJx");
  ASSERT_TRUE(WriteFileAtomically((d.path / "dangling.uJx").string(), "x", error)) << error;
  EXPECT_TRUE(fs::is_symlink(d.path / "dangling.uJx"));
  EXPECT_EQ(Read(d.path / "store" / "fresh.uJx"), "x");
}

TEST(SafeSave, DevicesPipesAndFoldersAreRefusedUntouched) {
  TempDir d;
  ASSERT_EQ(::mkfifo((d.path / "pipe").c_str(), 0600), 0);
  fs::create_directory(d.path / "folder");
  fs::create_symlink("/dev/null", d.path / "null.uJx");
  std::string error;
  EXPECT_FALSE(WriteFileAtomically((d.path / "pipe").string(), "x", error));
  EXPECT_NE(error.find("it is a pipe"), std::string::npos) << error;
  EXPECT_NE(error.find("Nothing was written."), std::string::npos) << error;
  EXPECT_TRUE(fs::is_fifo(d.path / "pipe"));
  EXPECT_FALSE(WriteFileAtomically((d.path / "folder").string(), "x", error));
  EXPECT_NE(error.find("it is a folder"), std::string::npos) << error;
  EXPECT_TRUE(fs::is_directory(d.path / "folder"));
  EXPECT_FALSE(WriteFileAtomically((d.path / "null.uJx").string(), "x", error));
  EXPECT_NE(error.find("points to \"/dev/null\", which is a device"), std::string::npos) << error;
  EXPECT_TRUE(fs::is_character_file("/dev/null"));
  EXPECT_TRUE(fs::is_symlink(d.path / "null.uJx"));
  EXPECT_EQ(d.others({"pipe", "folder", "null.uJx"}), std::vector<std::string>{});

  // Opening: a pipe chosen by mistake is refused at once instead of waiting for a writer.
  std::string contents;
  EXPECT_FALSE(ReadWholeFile((d.path / "pipe").string(), contents, error));
  EXPECT_NE(error.find("it is a pipe"), std::string::npos) << error;
  EXPECT_FALSE(ReadWholeFile((d.path / "folder").string(), contents, error));
}

TEST(SafeSave, PermissionsAndHardLinksAreKept) {
  TempDir d;
  const fs::path file = d.path / "a.uJx";
  Write(file, "old");
  ::chmod(file.c_str(), 0640);
  std::string error;
  ASSERT_TRUE(WriteFileAtomically(file.string(), "new", error)) << error;
  struct stat st {};
  ASSERT_EQ(::stat(file.c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 07777, 0640u);

  // Two names of one file: both see the new contents, they stay one file, and the mode
  // stays too. A shorter text leaves nothing of the longer old one behind.
  const fs::path other = d.path / "b.uJx";
  fs::create_hard_link(file, other);
  Write(file, "a much longer old text");
  ASSERT_TRUE(WriteFileAtomically(file.string(), "short", error)) << error;
  EXPECT_EQ(Read(other), "short");
  EXPECT_EQ(fs::hard_link_count(file), 2u);
  EXPECT_TRUE(fs::equivalent(file, other));
  ASSERT_EQ(::stat(other.c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 07777, 0640u);
  EXPECT_EQ(d.others({"a.uJx", "b.uJx"}), std::vector<std::string>{});
}

TEST(SafeSave, ASaveKilledMidwayLeavesTheOldFileAndTheNextSaveClearsItsLeftovers) {
  TempDir d;
  const fs::path file = d.path / "F.uJx";
  Write(file, "old");
  // A save killed after writing its temporary file: the child never gets to the rename.
  const pid_t child = ::fork();
  ASSERT_GE(child, 0);
  if (child == 0) {
    std::string e;
    WriteFileAtomically(file.string(), "half", e, [](int fd, const char* data, std::size_t n) {
      const long w = static_cast<long>(::write(fd, data, 2));
      ::kill(::getpid(), SIGKILL);
      return w;
    });
    ::_exit(0);
  }
  int status = 0;
  ::waitpid(child, &status, 0);
  ASSERT_TRUE(WIFSIGNALED(status));
  EXPECT_EQ(Read(file), "old");
  auto left = d.others({"F.uJx"});
  ASSERT_EQ(left.size(), 1u);
  EXPECT_EQ(left[0].rfind(".F.uJx.", 0), 0u) << left[0];

  // A temporary file a save in progress holds is not touched; the killed one goes.
  const fs::path busy = d.path / ".F.uJx.Busy01";
  Write(busy, "in progress");
  const int fd = ::open(busy.c_str(), O_RDONLY);
  ASSERT_EQ(::flock(fd, LOCK_EX), 0);
  Write(d.path / ".F.uJx.notours", "x");  // another pattern: not ours
  std::string error;
  ASSERT_TRUE(WriteFileAtomically(file.string(), "new", error)) << error;
  EXPECT_EQ(Read(file), "new");
  auto after = d.others({"F.uJx", ".F.uJx.Busy01", ".F.uJx.notours"});
  EXPECT_EQ(after, std::vector<std::string>{});
  EXPECT_TRUE(fs::exists(busy));
  ::close(fd);
}

// A session with an uploaded AI4 page, for the configuration-file routines.
struct PageRig {
  q5::link::VirtualClock clock;
  std::unique_ptr<q5::sim::SimPort> port = q5::sim::MakeSimPort("Q5T3NML3-6-AI4", clock);
  q5::link::Exchange ex{*port, clock};
  TestDialogs dialogs;
  q5::session::Session session{ex, dialogs};
  q5::config::ConfigFiles files{session};
  TempDir dir;
  PageRig() {
    session.values.applicationFolder = dir.path.string();
    session.setPortName("unit");
    session.btnConnect_Click();
  }
  q5::pages::frmAI4& page() { return *dynamic_cast<q5::pages::frmAI4*>(session.page()); }
};

TEST(ControlCharacters, AreRefusedInFileTextsWithTheFieldNamed) {
  PageRig r;
  ASSERT_TRUE(r.session.values.Connected);
  const std::string good = r.dir.path.string() + "/good.uJx";
  ASSERT_TRUE(r.files.SaveTo(good));
  const std::string text = Read(good);
  const std::string zero = "\"0\",\"10000\"";
  ASSERT_NE(text.find(zero), std::string::npos);

  // A NUL, a line break inside the quotes, an escape: each refused, naming the field;
  // nothing of the file reaches the page.
  const std::pair<std::string, std::string> damaged[] = {
      {std::string("\"0\0\",\"10000\"", 11), "txtZScale(0)"},
      {"\"0\",\"100\r\n00\"", "txtFScale(0)"},
      {"\"0\",\"\x1b[2J\"", "txtFScale(0)"}};
  for (const auto& [bad, field] : damaged) {
    std::string t = text;
    t.replace(t.find(zero), zero.size(), bad);
    const std::string path = r.dir.path.string() + "/bad.uJx";
    Write(path, t);
    r.dialogs.clear();
    r.page().txtZScale[0].text = "5";
    EXPECT_FALSE(r.files.OpenFrom(path));
    ASSERT_EQ(r.dialogs.messages.size(), 1u);
    const std::string& m = r.dialogs.messages[0].text;
    EXPECT_NE(m.find(field + ": the text contains the control character"), std::string::npos) << m;
    for (char c : m) EXPECT_FALSE(static_cast<unsigned char>(c) < 0x20) << "shown raw: " << m;
    EXPECT_EQ(r.page().txtZScale[0].text, "5");
  }

  // A unit value with a control character is not saved back.
  r.dialogs.clear();
  r.page().txtBias[1].text = "1.5\x07";
  EXPECT_FALSE(r.files.SaveTo(r.dir.path.string() + "/bell.uJx"));
  ASSERT_EQ(r.dialogs.messages.size(), 1u);
  EXPECT_EQ(r.dialogs.messages[0].caption, "Save Error");
  EXPECT_NE(r.dialogs.messages[0].text.find("txtBias(1) (\"1.5\\x07\") contains the control "
                                            "character \\x07"),
            std::string::npos)
      << r.dialogs.messages[0].text;
  EXPECT_FALSE(fs::exists(r.dir.path / "bell.uJx"));
}

TEST(ControlCharacters, AreShownEscaped) {
  using q5::link::EscapeControls;
  EXPECT_EQ(EscapeControls("1.25"), "1.25");
  EXPECT_EQ(EscapeControls(std::string("a\0b\r\n\x7f", 6)), "a\\x00b\\x0D\\x0A\\x7F");
  // Well-formed UTF-8 stays, broken sequences and stray bytes are shown as bytes.
  EXPECT_EQ(EscapeControls("\xC2\xB0" "C"), "\xC2\xB0" "C");
  EXPECT_EQ(EscapeControls("\xFF\xC2" "A\xE2\x82"), "\\xFF\\xC2A\\xE2\\x82");
  EXPECT_EQ(EscapeControls("\xED\xA0\x80"), "\\xED\\xA0\\x80");  // a surrogate
}

}  // namespace
