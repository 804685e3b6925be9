#include "platform/Files.h"

namespace q5::platform {

const char* Describe(EntryKind kind) {
  switch (kind) {
    case EntryKind::Folder: return "a folder";
    case EntryKind::Device: return "a device";
    case EntryKind::Pipe: return "a pipe";
    case EntryKind::Socket: return "a socket";
    case EntryKind::Link: return "a link";
    case EntryKind::Missing: return "missing";
    case EntryKind::File: return "a file";
    case EntryKind::Other: break;
  }
  return "something other than a file";
}

bool IsTemporaryOf(const std::string& name, const std::string& base) {
  const std::string head = "." + base + ".";
  if (name.size() != head.size() + 6 || name.compare(0, head.size(), head) != 0) return false;
  for (std::size_t i = head.size(); i < name.size(); ++i) {
    const char c = name[i];
    if (!((c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9'))) return false;
  }
  return true;
}

namespace {
std::size_t LastSeparator(const std::string& path) {
  for (std::size_t i = path.size(); i-- > 0;)
    if (IsSeparator(path[i])) return i;
  return std::string::npos;
}
}  // namespace

std::string JoinPath(const std::string& folder, const std::string& name) {
#ifdef _WIN32
  return folder + "\\" + name;
#else
  return folder + "/" + name;
#endif
}

std::string FolderOf(const std::string& path) {
  const std::size_t slash = LastSeparator(path);
  if (slash == std::string::npos) return ".";
  if (slash == 0) return path.substr(0, 1);
#ifdef _WIN32
  if (slash == 2 && path[1] == ':') return path.substr(0, 3);  // "C:\"
#endif
  return path.substr(0, slash);
}

std::string BaseOf(const std::string& path) {
  const std::size_t slash = LastSeparator(path);
  return slash == std::string::npos ? path : path.substr(slash + 1);
}

}  // namespace q5::platform
