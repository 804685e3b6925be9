#include "config/FileAccess.h"

#include "platform/Files.h"

namespace q5::config {

void RemoveStaleTemporaries(const std::string& target) { platform::RemoveStaleTemporaries(target); }

bool WriteFileAtomically(const std::string& path, std::string_view contents, std::string& error,
                         const WriteFunction& writeFn) {
  return platform::ReplaceFileContents(path, contents, error, writeFn);
}

bool ReadWholeFile(const std::string& path, std::string& contents, std::string& error,
                   std::size_t maxBytes) {
  return platform::ReadWholeFile(path, contents, error, maxBytes);
}

bool EnsureFolder(const std::string& path, std::string& error) {
  const platform::EntryKind kind = platform::KindOf(path, platform::Links::Follow);
  if (kind == platform::EntryKind::Folder) return true;
  if (kind != platform::EntryKind::Missing) {
    error = "Cannot create the folder \"" + path + "\": a file of that name is in the way.";
    return false;
  }
  return platform::MakeFolder(path, error);
}

bool EnsureFolderPath(const std::string& path, std::string& error) {
  // Every level from the top down; the levels that name no folder to be made (the root,
  // a drive "C:", the server and share of "\\server\share") are passed over.
  std::size_t from = 1;
  if (path.size() > 2 && platform::IsSeparator(path[0]) && platform::IsSeparator(path[1])) {
    from = path.size();
    int seps = 0;
    for (std::size_t i = 2; i < path.size(); ++i) {
      if (platform::IsSeparator(path[i]) && ++seps == 2) {
        from = i + 1;
        break;
      }
    }
  } else if (path.size() > 1 && path[1] == ':') {
    from = 3;
  }
  for (std::size_t at = from; at < path.size(); ++at) {
    if (!platform::IsSeparator(path[at])) continue;
    const std::string level = path.substr(0, at);
    if (level.empty() || platform::IsSeparator(level.back())) continue;
    if (platform::KindOf(level, platform::Links::Follow) == platform::EntryKind::Folder) continue;
    if (!EnsureFolder(level, error)) return false;
  }
  return EnsureFolder(path, error);
}

}  // namespace q5::config
