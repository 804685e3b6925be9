// The Windows side of the file-system calls. Paths arrive as UTF-8 and go to the wide
// (UTF-16) calls of the system, so any folder name works; both '/' and '\' separate
// folders.
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <fcntl.h>
#include <io.h>
#include <share.h>
#include <sys/stat.h>
#include <windows.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <random>
#include <vector>

#include "platform/Files.h"

namespace q5::platform {

namespace {

std::wstring Wide(const std::string& text) {
  if (text.empty()) return {};
  const int n = ::MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
  std::wstring w(static_cast<std::size_t>(n), L'\0');
  ::MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), w.data(), n);
  return w;
}

std::string Narrow(const std::wstring& text) {
  if (text.empty()) return {};
  const int n = ::WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr,
                                      0, nullptr, nullptr);
  std::string s(static_cast<std::size_t>(n), '\0');
  ::WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), s.data(), n, nullptr,
                        nullptr);
  return s;
}

// The system's description of an error, without its closing full stop and line break.
std::string Reason(DWORD err) {
  wchar_t* buf = nullptr;
  const DWORD n = ::FormatMessageW(
      FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
      nullptr, err, 0, reinterpret_cast<wchar_t*>(&buf), 0, nullptr);
  std::string s = n && buf ? Narrow(std::wstring(buf, n)) : "error " + std::to_string(err);
  if (buf) ::LocalFree(buf);
  while (!s.empty() && (s.back() == '\r' || s.back() == '\n' || s.back() == ' ' || s.back() == '.'))
    s.pop_back();
  return s;
}

std::string ErrnoReason(int err) { return std::strerror(err); }

// Names the system takes as devices wherever they stand ("NUL", "COM1", "CON", "LPT1",
// also with an extension, "nul.txt"), and paths written as device paths ("\\.\COM10"):
// the full path the system makes of them is a device path.
bool IsDeviceName(const std::wstring& path) {
  if (path.rfind(L"\\\\.\\", 0) == 0 || path.rfind(L"//./", 0) == 0) return true;
  wchar_t full[MAX_PATH * 2];
  const DWORD n = ::GetFullPathNameW(path.c_str(), MAX_PATH * 2, full, nullptr);
  return n > 0 && n < MAX_PATH * 2 && std::wstring(full, n).rfind(L"\\\\.\\", 0) == 0;
}

EntryKind KindOfAttributes(DWORD attrs, Links links) {
  if ((attrs & FILE_ATTRIBUTE_REPARSE_POINT) && links == Links::DoNotFollow) return EntryKind::Link;
  if (attrs & FILE_ATTRIBUTE_DIRECTORY) return EntryKind::Folder;
  if (attrs & FILE_ATTRIBUTE_DEVICE) return EntryKind::Device;
  return EntryKind::File;
}

// Opens the name for reading its attributes only (no access to the contents), so nothing
// on it is disturbed, and says what it is from the open handle.
EntryKind KindOfWide(const std::wstring& w, Links links) {
  if (IsDeviceName(w)) return EntryKind::Device;
  const DWORD flags =
      FILE_FLAG_BACKUP_SEMANTICS | (links == Links::DoNotFollow ? FILE_FLAG_OPEN_REPARSE_POINT : 0);
  HANDLE h = ::CreateFileW(w.c_str(), FILE_READ_ATTRIBUTES,
                           FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                           OPEN_EXISTING, flags, nullptr);
  if (h == INVALID_HANDLE_VALUE) {
    const DWORD err = ::GetLastError();
    if (err == ERROR_FILE_NOT_FOUND || err == ERROR_PATH_NOT_FOUND || err == ERROR_INVALID_NAME)
      return EntryKind::Missing;
    // Held open by someone without sharing: the attributes still tell what it is.
    const DWORD attrs = ::GetFileAttributesW(w.c_str());
    return attrs == INVALID_FILE_ATTRIBUTES ? EntryKind::Other : KindOfAttributes(attrs, links);
  }
  EntryKind kind = EntryKind::Other;
  switch (::GetFileType(h)) {
    case FILE_TYPE_CHAR: kind = EntryKind::Device; break;
    case FILE_TYPE_PIPE: kind = EntryKind::Pipe; break;
    case FILE_TYPE_DISK: {
      BY_HANDLE_FILE_INFORMATION info{};
      if (::GetFileInformationByHandle(h, &info)) kind = KindOfAttributes(info.dwFileAttributes, links);
      break;
    }
    default: break;
  }
  ::CloseHandle(h);
  return kind;
}

std::string RandomLetters(std::size_t count) {
  static const char kLetters[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789";
  thread_local std::mt19937 gen{std::random_device{}() ^ static_cast<unsigned>(::GetCurrentProcessId()) ^
                                static_cast<unsigned>(::GetTickCount())};
  std::uniform_int_distribution<int> pick(0, static_cast<int>(sizeof kLetters) - 2);
  std::string s;
  for (std::size_t i = 0; i < count; ++i) s += kLetters[pick(gen)];
  return s;
}

}  // namespace

bool IsSeparator(char c) { return c == '/' || c == '\\'; }

EntryKind KindOf(const std::string& path, Links links) { return KindOfWide(Wide(path), links); }

bool ListFolder(const std::string& folder, std::vector<FolderEntry>& entries, std::string& error) {
  entries.clear();
  WIN32_FIND_DATAW data{};
  HANDLE h = ::FindFirstFileW((Wide(folder) + L"\\*").c_str(), &data);
  if (h == INVALID_HANDLE_VALUE) {
    const DWORD err = ::GetLastError();
    if (err == ERROR_FILE_NOT_FOUND) return true;  // an empty drive root
    error = "Cannot read the folder \"" + folder + "\": " + Reason(err) + ".";
    return false;
  }
  do {
    const std::wstring name = data.cFileName;
    if (name == L"." || name == L"..") continue;
    entries.push_back({Narrow(name), KindOfAttributes(data.dwFileAttributes, Links::DoNotFollow)});
  } while (::FindNextFileW(h, &data));
  ::FindClose(h);
  return true;
}

bool MakeFolder(const std::string& path, std::string& error) {
  if (::CreateDirectoryW(Wide(path).c_str(), nullptr)) return true;
  const DWORD err = ::GetLastError();
  if (err == ERROR_ALREADY_EXISTS && KindOf(path, Links::Follow) == EntryKind::Folder) return true;
  error = "Cannot create the folder \"" + path + "\": " + Reason(err) + ".";
  return false;
}

bool RemoveName(const std::string& path) {
  const std::wstring w = Wide(path);
  const DWORD attrs = ::GetFileAttributesW(w.c_str());
  if (attrs == INVALID_FILE_ATTRIBUTES) return false;
  // A reparse point is removed itself (DeleteFileW does not follow it); a read-only file
  // is left, as on a system where it could not be removed.
  if (attrs & FILE_ATTRIBUTE_DIRECTORY) return false;
  return ::DeleteFileW(w.c_str()) != 0;
}

bool IsWritableFolder(const std::string& path) {
  // The folder's access rights decide, not its read-only attribute (which Windows sets on
  // folders for other reasons): a file is tried there and removed at once.
  if (KindOf(path, Links::Follow) != EntryKind::Folder) return false;
  const std::wstring probe = Wide(path + "\\." + "q5cfg-probe." + RandomLetters(6));
  HANDLE h = ::CreateFileW(probe.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                           FILE_ATTRIBUTE_TEMPORARY | FILE_FLAG_DELETE_ON_CLOSE, nullptr);
  if (h == INVALID_HANDLE_VALUE) return false;
  ::CloseHandle(h);
  return true;
}

void RemoveStaleTemporaries(const std::string& target) {
  const std::string folder = FolderOf(target);
  const std::string base = BaseOf(target);
  std::vector<FolderEntry> entries;
  std::string error;
  if (!ListFolder(folder, entries, error)) return;
  for (const auto& e : entries) {
    if (e.kind != EntryKind::File || !IsTemporaryOf(e.name, base)) continue;
    // A save in progress holds its temporary file open without sharing, so it cannot be
    // removed; one nobody holds was left by a save that was killed.
    ::DeleteFileW(Wide(folder + "\\" + e.name).c_str());
  }
}

bool ReplaceFileContents(const std::string& path, std::string_view contents, std::string& error,
                         const WriteFunction& writeFn) {
  const std::wstring wpath = Wide(path);
  const EntryKind kind = KindOfWide(wpath, Links::DoNotFollow);
  if (kind != EntryKind::Missing && kind != EntryKind::File) {
    error = "Cannot save \"" + path + "\": it is " + Describe(kind) +
            ", not a configuration file. Nothing was written.";
    return false;
  }
  const bool exists = kind == EntryKind::File;
  const DWORD oldAttrs = exists ? ::GetFileAttributesW(wpath.c_str()) : INVALID_FILE_ATTRIBUTES;

  RemoveStaleTemporaries(path);
  const std::string folder = FolderOf(path);
  std::string tmpPath;
  std::wstring wtmp;
  int fd = -1;
  int openErr = 0;
  for (int attempt = 0; attempt < 100 && fd < 0; ++attempt) {
    tmpPath = folder + "\\." + BaseOf(path) + "." + RandomLetters(6);
    wtmp = Wide(tmpPath);
    // Held without sharing until it takes the file's place: a second save cannot remove
    // it as a leftover while this one runs.
    openErr = ::_wsopen_s(&fd, wtmp.c_str(), _O_WRONLY | _O_CREAT | _O_EXCL | _O_BINARY | _O_NOINHERIT,
                          _SH_DENYRW, _S_IREAD | _S_IWRITE);
    if (openErr != EEXIST) break;
  }
  if (fd < 0) {
    error = "Cannot save \"" + path + "\": " + ErrnoReason(openErr) + ".";
    return false;
  }
  auto abandon = [&](const std::string& reason) {
    ::_close(fd);
    ::DeleteFileW(wtmp.c_str());
    error = "Cannot save \"" + path + "\": " + reason + ". The file was left as it was.";
    return false;
  };

  std::size_t done = 0;
  while (done < contents.size()) {
    const std::size_t chunk = std::min<std::size_t>(contents.size() - done, 1u << 20);
    errno = 0;
    const long n = writeFn ? writeFn(fd, contents.data() + done, chunk)
                           : static_cast<long>(::_write(fd, contents.data() + done,
                                                        static_cast<unsigned>(chunk)));
    if (n < 0) {
      if (errno == EINTR) continue;
      return abandon(ErrnoReason(errno ? errno : EIO));
    }
    if (n == 0) return abandon(ErrnoReason(ENOSPC));
    done += static_cast<std::size_t>(n);
  }
  if (!::FlushFileBuffers(reinterpret_cast<HANDLE>(::_get_osfhandle(fd))))
    return abandon(Reason(::GetLastError()));
  if (::_close(fd) != 0) {
    const int err = errno;
    ::DeleteFileW(wtmp.c_str());
    error = "Cannot save \"" + path + "\": " + ErrnoReason(err) + ". The file was left as it was.";
    return false;
  }

  // The new file takes the old one's place in one step. A read-only file is replaced like
  // any other (as a save over it does on Linux) and stays read-only; the file keeps its
  // other attributes too.
  bool replaced = false;
  DWORD err = 0;
  if (exists) {
    if (oldAttrs != INVALID_FILE_ATTRIBUTES && (oldAttrs & FILE_ATTRIBUTE_READONLY))
      ::SetFileAttributesW(wpath.c_str(), oldAttrs & ~FILE_ATTRIBUTE_READONLY);
    replaced = ::ReplaceFileW(wpath.c_str(), wtmp.c_str(), nullptr, REPLACEFILE_IGNORE_MERGE_ERRORS,
                              nullptr, nullptr) != 0;
    if (!replaced) err = ::GetLastError();
  }
  if (!replaced) {
    // A new file, or a volume that cannot replace: the temporary file is renamed over it.
    replaced = ::MoveFileExW(wtmp.c_str(), wpath.c_str(),
                             MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != 0;
    if (!replaced && (!exists || err == 0)) err = ::GetLastError();
  }
  if (oldAttrs != INVALID_FILE_ATTRIBUTES) ::SetFileAttributesW(wpath.c_str(), oldAttrs);
  if (!replaced) {
    ::DeleteFileW(wtmp.c_str());
    error = "Cannot save \"" + path + "\": " + Reason(err) + ". The file was left as it was.";
    return false;
  }
  return true;
}

bool ReadWholeFile(const std::string& path, std::string& contents, std::string& error,
                   std::size_t maxBytes) {
  const std::wstring w = Wide(path);
  // A device is refused by its name before it is opened: opening "COM1" would take the
  // port, "CON" would wait for the keyboard.
  if (IsDeviceName(w)) {
    error = "Cannot open \"" + path + "\": it is a device, not a configuration file.";
    return false;
  }
  HANDLE h = ::CreateFileW(w.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                           OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS | FILE_FLAG_SEQUENTIAL_SCAN, nullptr);
  if (h == INVALID_HANDLE_VALUE) {
    error = "Cannot open \"" + path + "\": " + Reason(::GetLastError()) + ".";
    return false;
  }
  EntryKind kind = EntryKind::Other;
  const DWORD type = ::GetFileType(h);
  BY_HANDLE_FILE_INFORMATION info{};
  if (type == FILE_TYPE_CHAR) kind = EntryKind::Device;
  else if (type == FILE_TYPE_PIPE) kind = EntryKind::Pipe;
  else if (type == FILE_TYPE_DISK && ::GetFileInformationByHandle(h, &info))
    kind = KindOfAttributes(info.dwFileAttributes, Links::Follow);
  if (kind != EntryKind::File) {
    ::CloseHandle(h);
    error = "Cannot open \"" + path + "\": it is " + Describe(kind) + ", not a configuration file.";
    return false;
  }
  contents.clear();
  char buf[8192];
  for (;;) {
    DWORD n = 0;
    if (!::ReadFile(h, buf, sizeof buf, &n, nullptr)) {
      const DWORD err = ::GetLastError();
      ::CloseHandle(h);
      error = "Cannot read \"" + path + "\": " + Reason(err) + ".";
      return false;
    }
    if (n == 0) break;
    contents.append(buf, n);
    if (contents.size() > maxBytes) {
      ::CloseHandle(h);
      error = "Cannot open \"" + path + "\": it is far larger than a configuration file.";
      return false;
    }
  }
  ::CloseHandle(h);
  return true;
}

}  // namespace q5::platform
