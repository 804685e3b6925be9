#pragma once
// Backups before Download: after every Upload the configuration text of the unit's page
// is kept, and before a Download writes anything it is saved as a *.uJx file in the
// backups folder, named by model, port and time, so a wrong Download is undone by
// opening the backup and downloading it. The oldest backups beyond a count are removed;
// only files this tool wrote are ever removed (see list()).
#include <cstddef>
#include <ctime>
#include <functional>
#include <string>
#include <vector>

#include "session/Session.h"

namespace q5::config {

class Backups : public session::DownloadGuard {
 public:
  static constexpr std::size_t kDefaultKeep = 50;

  // Installs itself as the session's download guard; folder: where backups go (made on
  // first use).
  Backups(session::Session& session, std::string folder, std::size_t keep = kDefaultKeep);
  ~Backups() override;

  // Off: nothing is kept or written (--no-backup).
  void setEnabled(bool on) { enabled_ = on; }
  bool enabled() const { return enabled_; }
  const std::string& folder() const { return folder_; }

  // The path of the backup written by the last Download ("" when none was written).
  const std::string& lastPath() const { return lastPath_; }
  // Called with the path of every backup written.
  std::function<void(const std::string& path)> onWritten;
  // The time a backup is named by (tests set it).
  std::function<std::time_t()> now = [] { return std::time(nullptr); };

  // The backups in the folder, oldest first (by the time in their names): regular files
  // directly in the folder whose whole name is one FileName gives (with "-N" for a second
  // backup in the same second). Links, folders, other files and everything in a backups
  // folder that is itself a link are not backups; pruning removes only what this lists.
  std::vector<std::string> list() const;

  // True when name (without folder) has the form FileName gives; stamp receives
  // "YYYYMMDD-HHMMSS" and sequence N (1 without a suffix).
  static bool IsBackupName(const std::string& name, std::string* stamp = nullptr,
                           long* sequence = nullptr);

  // --- DownloadGuard --------------------------------------------------------------
  void uploaded() override;
  // Writes the backup. When it cannot be written the user is asked whether to download
  // without one; no (and every command line) stops the Download.
  bool beforeDownload() override;
  std::string backupPath() const override { return lastPath_; }

  // "MODEL_PORT_YYYYMMDD-HHMMSS.uJx" with characters a file name should not hold
  // replaced by "-"; a Windows device path "\\.\COM10" is named by its port, "COM10".
  static std::string FileName(const std::string& model, const std::string& port, std::time_t when);

 private:
  void prune();

  session::Session& session_;
  std::string folder_;
  std::size_t keep_;
  bool enabled_ = true;
  std::string uploadedText_;  // the unit's configuration after the last Upload
  std::string uploadedModel_, uploadedPort_;
  std::string lastPath_;
};

}  // namespace q5::config
