#include "config/Backups.h"

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <system_error>

#include "config/ConfigFiles.h"
#include "config/FileAccess.h"

namespace q5::config {

namespace fs = std::filesystem;

namespace {

std::string Safe(const std::string& text) {
  std::string s;
  for (char c : text) {
    const bool plain = (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') ||
                       c == '-' || c == '.';
    s += plain ? c : '-';
  }
  // "/dev/ttyUSB0" -> "dev-ttyUSB0"
  while (!s.empty() && s.front() == '-') s.erase(s.begin());
  return s.empty() ? std::string("unknown") : s;
}

}  // namespace

Backups::Backups(session::Session& session, std::string folder, std::size_t keep)
    : session_(session), folder_(std::move(folder)), keep_(keep == 0 ? 1 : keep) {
  session_.setDownloadGuard(this);
}

Backups::~Backups() { session_.setDownloadGuard(nullptr); }

std::string Backups::FileName(const std::string& model, const std::string& port, std::time_t when) {
  std::tm tm{};
  localtime_r(&when, &tm);
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
    path = folder_ + "/" + name;
    for (int n = 2; fs::exists(path); ++n)
      path = folder_ + "/" + name.substr(0, name.size() - 4) + "-" + std::to_string(n) + ".uJx";
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
  // Ordered by the time in the name ("..._YYYYMMDD-HHMMSS[-N].uJx"), then by N.
  struct Entry {
    std::string stamp;
    long sequence;
    std::string path;
  };
  std::vector<Entry> found;
  std::error_code ec;
  for (const auto& e : fs::directory_iterator(folder_, ec)) {
    if (!e.is_regular_file(ec) || e.path().extension() != ".uJx") continue;
    const std::string stem = e.path().stem().string();
    const std::string tail = stem.substr(stem.rfind('_') + 1);
    long sequence = 1;
    if (tail.size() > 16 && tail[15] == '-') sequence = std::strtol(tail.c_str() + 16, nullptr, 10);
    found.push_back({tail.substr(0, 15), sequence, e.path().string()});
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
  std::error_code ec;
  for (std::size_t i = 0; i + keep_ < paths.size(); ++i) fs::remove(paths[i], ec);
}

}  // namespace q5::config
