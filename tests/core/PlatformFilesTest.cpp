// The file-system calls under the configuration files and backups, on the system the
// tests run on (Linux, and Windows under Wine in the cross build): a save replaces a file
// whole or not at all, keeps a read-only file read-only, refuses folders and devices with
// the same words everywhere, takes names in any script, and a save that dies between its
// temporary file and the replacement leaves the old file as it was.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <memory>
#include <sstream>

#include "platform/Files.h"
#include "platform/LocalTime.h"

#ifdef _WIN32
#include <fcntl.h>
#include <io.h>
#include <share.h>
#include <sys/stat.h>
#include <windows.h>
#else
#include <unistd.h>
#endif

namespace {

namespace fs = std::filesystem;
using q5::platform::EntryKind;
using q5::platform::KindOf;
using q5::platform::Links;
using q5::platform::ReadWholeFile;
using q5::platform::ReplaceFileContents;

std::string Read(const fs::path& p) {
  std::ifstream in(p, std::ios::binary);
  std::stringstream ss;
  ss << in.rdbuf();
  return ss.str();
}

void Write(const fs::path& p, const std::string& text) { std::ofstream(p, std::ios::binary) << text; }

// UTF-8 text of a path (what the program hands to the seam).
std::string U8(const fs::path& p) {
  const auto s = p.u8string();
  return std::string(s.begin(), s.end());
}

fs::path FromU8(const std::string& s) { return fs::path(std::u8string(s.begin(), s.end())); }

struct TempDir {
  fs::path path;
  TempDir() {
    std::string t = (fs::temp_directory_path() / "q5cfg-platform-XXXXXX").string();
    path = ::mkdtemp(t.data());
  }
  ~TempDir() {
    std::error_code ec;
    for (const auto& e : fs::recursive_directory_iterator(path, ec))
      fs::permissions(e.path(), fs::perms::owner_all, fs::perm_options::add, ec);
    fs::remove_all(path, ec);
  }
  std::vector<std::string> names() const {
    std::vector<std::string> out;
    for (const auto& e : fs::directory_iterator(path)) out.push_back(U8(e.path().filename()));
    std::sort(out.begin(), out.end());
    return out;
  }
};

void SetEnv(const char* name, const std::string& value) {
#ifdef _WIN32
  ::_putenv_s(name, value.c_str());
#else
  ::setenv(name, value.c_str(), 1);
#endif
}

TEST(PlatformFiles, ReplacesWholeKeepsReadOnlyAndLeavesNothingBehind) {
  TempDir d;
  const fs::path file = d.path / "F.uJx";
  std::string error;
  ASSERT_TRUE(ReplaceFileContents(U8(file), "first", error)) << error;
  EXPECT_EQ(Read(file), "first");
  ASSERT_TRUE(ReplaceFileContents(U8(file), "second\r\nline", error)) << error;
  EXPECT_EQ(Read(file), "second\r\nline");
  EXPECT_EQ(d.names(), std::vector<std::string>{"F.uJx"});

  // A read-only file is replaced (its folder can be written) and stays read-only.
  fs::permissions(file, fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write,
                  fs::perm_options::remove);
  ASSERT_TRUE(ReplaceFileContents(U8(file), "third", error)) << error;
  EXPECT_EQ(Read(file), "third");
  EXPECT_EQ(fs::status(file).permissions() & fs::perms::owner_write, fs::perms::none);
  EXPECT_EQ(d.names(), std::vector<std::string>{"F.uJx"});

  std::string back;
  ASSERT_TRUE(ReadWholeFile(U8(file), back, error, 1000)) << error;
  EXPECT_EQ(back, "third");
  EXPECT_FALSE(ReadWholeFile(U8(file), back, error, 3));
  EXPECT_NE(error.find("far larger than a configuration file"), std::string::npos) << error;
  EXPECT_FALSE(ReadWholeFile(U8(d.path / "absent.uJx"), back, error, 1000));
  EXPECT_EQ(error.rfind("Cannot open \"" + U8(d.path / "absent.uJx") + "\": ", 0), 0u) << error;
}

TEST(PlatformFiles, FoldersAndDevicesAreRefusedWithTheSameWordsAndNothingWritten) {
  TempDir d;
  const fs::path folder = d.path / "Folder.uJx";
  fs::create_directory(folder);
  std::string error;
  EXPECT_FALSE(ReplaceFileContents(U8(folder), "x", error));
  EXPECT_EQ(error, "Cannot save \"" + U8(folder) +
                       "\": it is a folder, not a configuration file. Nothing was written.");
  EXPECT_TRUE(fs::is_directory(folder));
  std::string back;
  EXPECT_FALSE(ReadWholeFile(U8(folder), back, error, 1000));
  EXPECT_EQ(error, "Cannot open \"" + U8(folder) + "\": it is a folder, not a configuration file.");
  EXPECT_EQ(KindOf(U8(folder)), EntryKind::Folder);

#ifdef _WIN32
  // The names Windows takes as devices in any folder, with or without an extension.
  const std::vector<std::string> devices = {"NUL", U8(d.path / "NUL"), U8(d.path / "COM1"),
                                            "\\\\.\\COM10"};
#else
  const std::vector<std::string> devices = {"/dev/null"};
#endif
  for (const auto& dev : devices) {
    EXPECT_EQ(KindOf(dev), EntryKind::Device) << dev;
    EXPECT_FALSE(ReplaceFileContents(dev, "x", error)) << dev;
    EXPECT_EQ(error, "Cannot save \"" + dev +
                         "\": it is a device, not a configuration file. Nothing was written.");
    EXPECT_FALSE(ReadWholeFile(dev, back, error, 1000)) << dev;
    EXPECT_EQ(error, "Cannot open \"" + dev + "\": it is a device, not a configuration file.");
  }
  EXPECT_EQ(d.names(), std::vector<std::string>{"Folder.uJx"});
}

TEST(PlatformFiles, NamesInAnyScriptAndWithSpacesWork) {
  TempDir d;
  const std::string folder = U8(d.path) + "/設定 フォルダ Ünïcode";
  std::string error;
  ASSERT_TRUE(q5::platform::MakeFolder(folder, error)) << error;
  EXPECT_TRUE(q5::platform::MakeFolder(folder, error)) << "already there is fine";
  EXPECT_TRUE(q5::platform::IsWritableFolder(folder));
  const std::string file = folder + "/Größe 温度.uJx";
  ASSERT_TRUE(ReplaceFileContents(file, "contents", error)) << error;
  ASSERT_TRUE(ReplaceFileContents(file, "contents 2", error)) << error;
  EXPECT_EQ(Read(FromU8(file)), "contents 2");
  std::string back;
  ASSERT_TRUE(ReadWholeFile(file, back, error, 1000)) << error;
  EXPECT_EQ(back, "contents 2");

  std::vector<q5::platform::FolderEntry> entries;
  ASSERT_TRUE(q5::platform::ListFolder(folder, entries, error)) << error;
  ASSERT_EQ(entries.size(), 1u);
  EXPECT_EQ(entries[0].name, "Größe 温度.uJx");
  EXPECT_EQ(entries[0].kind, EntryKind::File);
  ASSERT_TRUE(q5::platform::ListFolder(U8(d.path), entries, error)) << error;
  ASSERT_EQ(entries.size(), 1u);
  EXPECT_EQ(entries[0].kind, EntryKind::Folder);

  EXPECT_TRUE(q5::platform::RemoveName(file));
  EXPECT_EQ(KindOf(file), EntryKind::Missing);
  EXPECT_FALSE(q5::platform::RemoveName(folder)) << "a folder is never removed";
  EXPECT_FALSE(q5::platform::ListFolder(folder + "/absent", entries, error));
  EXPECT_EQ(error.rfind("Cannot read the folder \"", 0), 0u) << error;
}

TEST(PlatformFiles, LinksAreSeenAsLinks) {
  TempDir d;
  Write(d.path / "target.uJx", "target");
  const fs::path link = d.path / "link.uJx";
#ifdef _WIN32
  // Windows: a reparse point at the name is refused, its target untouched.
  if (!::CreateSymbolicLinkW(link.wstring().c_str(), (d.path / "target.uJx").wstring().c_str(),
                             SYMBOLIC_LINK_FLAG_ALLOW_UNPRIVILEGED_CREATE))
    GTEST_SKIP() << "symbolic links cannot be made here";
  // Wine makes a link of its host system, which it does not show as a reparse point.
  if (const DWORD a = ::GetFileAttributesW(link.wstring().c_str());
      a == INVALID_FILE_ATTRIBUTES || !(a & FILE_ATTRIBUTE_REPARSE_POINT))
    GTEST_SKIP() << "this system's symbolic links are not reparse points";
  EXPECT_EQ(KindOf(U8(link)), EntryKind::Link);
  std::string error;
  EXPECT_FALSE(ReplaceFileContents(U8(link), "new", error));
  EXPECT_EQ(error, "Cannot save \"" + U8(link) +
                       "\": it is a link, not a configuration file. Nothing was written.");
  EXPECT_EQ(Read(d.path / "target.uJx"), "target");
#else
  fs::create_symlink("target.uJx", link);
  EXPECT_EQ(KindOf(link.string()), EntryKind::Link);
  EXPECT_EQ(KindOf(link.string(), Links::Follow), EntryKind::File);
  std::vector<q5::platform::FolderEntry> entries;
  std::string error;
  ASSERT_TRUE(q5::platform::ListFolder(d.path.string(), entries, error));
  for (const auto& e : entries)
    EXPECT_EQ(e.kind, e.name == "link.uJx" ? EntryKind::Link : EntryKind::File) << e.name;
  EXPECT_TRUE(q5::platform::RemoveName(link.string()));
  EXPECT_EQ(Read(d.path / "target.uJx"), "target") << "removing a link leaves its target";
#endif
}

// A save whose program dies after its temporary file is complete but before it takes the
// file's place. Where a death test starts the program again (Windows), the new program
// comes through here too and finds the folder of the first in the environment.
TEST(PlatformFilesDeathTest, ACrashBetweenTemporaryFileAndReplacementLeavesTheOldFile) {
  constexpr const char* kFolderVariable = "Q5CFG_TEST_CRASH_FOLDER";
  std::unique_ptr<TempDir> own;
  fs::path folder;
  if (const char* given = std::getenv(kFolderVariable); given && *given) {
    folder = FromU8(given);
  } else {
    own = std::make_unique<TempDir>();
    folder = own->path;
    SetEnv(kFolderVariable, U8(folder));
    Write(folder / "F.uJx", "old");
  }
  const std::string file = U8(folder / "F.uJx");
  EXPECT_EXIT(
      {
        std::string e;
        ReplaceFileContents(file, "complete new contents", e,
                            [](int fd, const char* data, std::size_t n) -> long {
                              // All of it goes to the temporary file; then the program dies.
#ifdef _WIN32
                              const long w = ::_write(fd, data, static_cast<unsigned>(n));
#else
                              const long w = static_cast<long>(::write(fd, data, n));
#endif
                              std::_Exit(7);
                              return w;
                            });
      },
      ::testing::ExitedWithCode(7), "");
  SetEnv(kFolderVariable, "");
  EXPECT_EQ(Read(folder / "F.uJx"), "old");
  ASSERT_EQ(own->names().size(), 2u) << "the old file and the dead save's temporary file";
  EXPECT_EQ(own->names()[0].rfind(".F.uJx.", 0), 0u) << own->names()[0];

  // The next save replaces the file and clears the leftover; a temporary file a running
  // save holds stays.
#ifdef _WIN32
  int busy = -1;
  ASSERT_EQ(::_wsopen_s(&busy, (folder / ".F.uJx.Busy01").wstring().c_str(),
                        _O_WRONLY | _O_CREAT | _O_BINARY, _SH_DENYRW, _S_IREAD | _S_IWRITE),
            0);
#endif
  std::string error;
  ASSERT_TRUE(ReplaceFileContents(file, "new", error)) << error;
  EXPECT_EQ(Read(folder / "F.uJx"), "new");
#ifdef _WIN32
  EXPECT_EQ(own->names(), (std::vector<std::string>{".F.uJx.Busy01", "F.uJx"}));
  ::_close(busy);
#else
  EXPECT_EQ(own->names(), std::vector<std::string>{"F.uJx"});
#endif
}

TEST(PlatformFiles, LocalTimeIsTheMomentInTheLocalZone) {
  for (const std::time_t t : {std::time_t{0} + 86400, std::time_t{1700000000}, std::time_t{1719792000}}) {
    std::tm tm = q5::platform::LocalTime(t);
    EXPECT_GE(tm.tm_year, 70);
    EXPECT_EQ(std::mktime(&tm), t);
  }
}

}  // namespace
