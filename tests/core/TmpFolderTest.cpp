// Where a new configuration from the Model Select menu is put: tmp/tmp.uJx under the
// program's folder, or under the user's cache folder when the program's folder cannot be
// written (an installed program).
#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>

#include "SessionTestRig.h"
#include "config/ConfigFiles.h"
#include "config/ModelSelect.h"

namespace {

namespace fs = std::filesystem;

struct Scratch {
  fs::path path;
  Scratch() {
    std::string t = (fs::temp_directory_path() / "q5cfg-tmp-XXXXXX").string();
    path = ::mkdtemp(t.data());
  }
  ~Scratch() { fs::remove_all(path); }
};

TEST(TmpFolder, ProgramFolderWhenWritableElseTheCacheFolderMadeOnFirstUse) {
  Scratch dir;
  SessionRig rig("Q5T3NML3-6-AI4");
  q5::config::ConfigFiles files(rig.session);
  const auto* item = q5::config::FindModelSelectItem("Q5T3NML3", "AI4");
  ASSERT_NE(item, nullptr);

  // A writable program folder keeps tmp/ beside the program, as before.
  rig.session.values.applicationFolder = dir.path.string();
  rig.session.values.cacheFolder = (dir.path / "cache").string();
  EXPECT_EQ(files.tmpFile(), (dir.path / "tmp" / "tmp.uJx").string());

  // A program folder that cannot be written (here: below a plain file, which no user, not
  // even root, can create folders in): the cache folder, whose levels are made as needed.
  std::ofstream(dir.path / "plain") << "x";
  rig.session.values.applicationFolder = (dir.path / "plain" / "bin").string();
  rig.session.values.cacheFolder = (dir.path / "home" / ".cache" / "Q5CFG").string();
  EXPECT_EQ(files.tmpFile(), (dir.path / "home" / ".cache" / "Q5CFG" / "tmp" / "tmp.uJx").string());
  files.ModelSelect_Click(*item);
  EXPECT_TRUE(rig.dialogs.messages.empty()) << rig.dialogs.messages[0];
  EXPECT_TRUE(fs::is_regular_file(dir.path / "home" / ".cache" / "Q5CFG" / "tmp" / "tmp.uJx"));
  EXPECT_EQ(rig.session.values.model, "Q5T3NML3-6-AI4");

  // Without a cache folder the old place stands, and its failure is reported.
  rig.session.values.cacheFolder.clear();
  rig.session.setPageEdited(false);  // no "Save changes?" for the page just created
  rig.dialogs.clear();
  files.ModelSelect_Click(*item);
  ASSERT_EQ(rig.dialogs.messages.size(), 1u);
}

}  // namespace
