#include "config/Backups.h"

#include <algorithm>
#include <cstdlib>

#include "config/ConfigFiles.h"
#include "config/FileAccess.h"
#include "platform/Files.h"
#include "platform/LocalTime.h"

namespace q5::config {

namespace {

bool Plain(char c) {
  return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '-' ||
         c == '.';
}

bool Digits(const std::string& s, std::size_t from, std::size_t count) {
  if (from + count > s.size()) return false;
  for (std::size_t i = from; i < from + count; ++i)
    if (s[i] < '0' || s[i] > '9') return false;
  return true;
}

std::string Safe(std::string text) {
  // A Windows device path names the port by its last part: "\\.\COM10" -> "COM10".
  if (text.rfind("\\\\.\\", 0) == 0 || text.rfind("\\\\?\\", 0) == 0) text.erase(0, 4);
  std::string s;
  for (char c : text) s += Plain(c) ? c : '-';
  // "/dev/ttyUSB0" -> "dev-ttyUSB0"
  while (!s.empty() && s.front() == '-') s.erase(s.begin());
  return s.empty() ? std::string("unknown") : s;
}

}  // namespace

bool Backups::IsBackupName(const std::string& name, std::string* stamp, long* sequence) {
  // MODEL "_" PORT "_" YYYYMMDD "-" HHMMSS ["-" N] ".uJx", MODEL and PORT made of
  // letters, digits, "-" and "." and not starting with "-", N from 2 up.
  const std::string suffix = ".uJx";
  if (name.size() <= suffix.size() || name.compare(name.size() - suffix.size(), suffix.size(), suffix) != 0)
    return false;
  const std::string stem = name.substr(0, name.size() - suffix.size());
  const std::size_t first = stem.find('_');
  if (first == std::string::npos || first == 0) return false;
  const std::size_t second = stem.find('_', first + 1);
  if (second == std::string::npos || second == first + 1) return false;
  for (std::size_t i = 0; i < second; ++i)
    if (i != first && !Plain(stem[i])) return false;
  if (stem[0] == '-' || stem[first + 1] == '-') return false;
  const std::size_t t = second + 1;
  if (!Digits(stem, t, 8) || t + 8 >= stem.size() || stem[t + 8] != '-' || !Digits(stem, t + 9, 6))
    return false;
  long n = 1;
  const std::size_t rest = t + 15;
  if (rest != stem.size()) {
    const std::size_t count = stem.size() - rest - 1;
    if (stem[rest] != '-' || count == 0 || count > 6 || !Digits(stem, rest + 1, count) ||
        stem[rest + 1] == '0')
      return false;
    n = std::strtol(stem.c_str() + rest + 1, nullptr, 10);
    if (n < 2) return false;
  }
  if (stamp) *stamp = stem.substr(t, 15);
  if (sequence) *sequence = n;
  return true;
}

Backups::Backups(session::Session& session, std::string folder, std::size_t keep)
    : session_(session), folder_(std::move(folder)), keep_(keep == 0 ? 1 : keep) {
  session_.setDownloadGuard(this);
}

Backups::~Backups() { session_.setDownloadGuard(nullptr); }

std::string Backups::FileName(const std::string& model, const std::string& port, std::time_t when) {
  const std::tm tm = platform::LocalTime(when);
  char stamp[32];
  std::strftime(stamp, sizeof stamp, "%Y%m%d-%H%M%S", &tm);
  return Safe(model) + "_" + Safe(port) + "_" + stamp + ".uJx";
}

void Backups::uploaded() {
  if (!enabled_) return;
  std::string text, error;
  ConfigFiles files(session_);
  // A page whose configuration cannot be written (no records in this version) keeps no
  // backup; its Download goes on as before.
  uploadedText_ = files.CurrentConfigText(text, error) ? text : std::string();
  uploadedModel_ = session_.values.model;
  uploadedPort_ = session_.portName();
}

bool Backups::beforeDownload() {
  lastPath_.clear();
  if (!enabled_ || uploadedText_.empty()) return true;
  std::string error;
  std::string path;
  if (EnsureFolderPath(folder_, error)) {
    const std::string name = FileName(uploadedModel_, uploadedPort_, now());
    // Two Downloads within one second each keep their own backup.
    path = platform::JoinPath(folder_, name);
    // Any name already there counts, a link (even one naming nothing) included: a backup
    // is never written through a link.
    for (int n = 2; platform::KindOf(path) != platform::EntryKind::Missing; ++n)
      path = platform::JoinPath(folder_, name.substr(0, name.size() - 4) + "-" + std::to_string(n) + ".uJx");
    if (WriteFileAtomically(path, uploadedText_, error)) {
      lastPath_ = path;
      prune();
      if (onWritten) onWritten(lastPath_);
      return true;
    }
  }
  return session_.dialogs().ask("The backup of the unit's settings could not be written:\r\n" +
                                    error + "\r\nDownload without a backup?",
                                "Backup");
}

std::vector<std::string> Backups::list() const {
  // Only what this tool writes counts as a backup: a regular file (not a link) directly in
  // the folder whose whole name has the backup form. A backups folder that is itself a
  // link is not looked into, so pruning never reaches through it into another folder.
  // Ordered by the time in the name ("..._YYYYMMDD-HHMMSS[-N].uJx"), then by N.
  struct Entry {
    std::string stamp;
    long sequence;
    std::string path;
  };
  std::vector<Entry> found;
  if (platform::KindOf(folder_) != platform::EntryKind::Folder) return {};
  std::vector<platform::FolderEntry> entries;
  std::string error;
  if (!platform::ListFolder(folder_, entries, error)) return {};
  for (const auto& e : entries) {
    std::string stamp;
    long sequence = 1;
    if (e.kind != platform::EntryKind::File || !IsBackupName(e.name, &stamp, &sequence)) continue;
    found.push_back({stamp, sequence, platform::JoinPath(folder_, e.name)});
  }
  std::sort(found.begin(), found.end(), [](const Entry& a, const Entry& b) {
    if (a.stamp != b.stamp) return a.stamp < b.stamp;
    if (a.sequence != b.sequence) return a.sequence < b.sequence;
    return a.path < b.path;
  });
  std::vector<std::string> paths;
  for (auto& f : found) paths.push_back(std::move(f.path));
  return paths;
}

void Backups::prune() {
  const auto paths = list();
  if (paths.size() <= keep_) return;
  for (std::size_t i = 0; i + keep_ < paths.size(); ++i) {
    // Looked at again just before it goes: a name that became a link or anything but a
    // plain file since the listing stays.
    if (platform::KindOf(paths[i]) == platform::EntryKind::File) platform::RemoveName(paths[i]);
  }
}

}  // namespace q5::config
