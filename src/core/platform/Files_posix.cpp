// The POSIX side of the file-system calls (Linux and other Unix-like systems).
#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <vector>

#include "platform/Files.h"

namespace q5::platform {

namespace {

std::string Reason(int err) { return std::strerror(err); }

EntryKind KindOfMode(mode_t mode) {
  if (S_ISREG(mode)) return EntryKind::File;
  if (S_ISDIR(mode)) return EntryKind::Folder;
  if (S_ISLNK(mode)) return EntryKind::Link;
  if (S_ISCHR(mode) || S_ISBLK(mode)) return EntryKind::Device;
  if (S_ISFIFO(mode)) return EntryKind::Pipe;
  if (S_ISSOCK(mode)) return EntryKind::Socket;
  return EntryKind::Other;
}

// The file a save to `path` writes: path itself, or, when path is a symbolic link (or a
// chain of them), the file the last link names, so the link stays a link and its target
// gets the new contents. `st` receives the target's status, `exists` whether it exists.
bool ResolveTarget(const std::string& path, std::string& target, struct stat& st, bool& exists,
                   std::string& error) {
  target = path;
  for (int hops = 0; hops < 40; ++hops) {
    if (::lstat(target.c_str(), &st) != 0) {
      if (errno != ENOENT) {
        error = "Cannot save \"" + path + "\": " + Reason(errno) + ".";
        return false;
      }
      exists = false;  // absent, or a link naming a file not yet there: it is created
      return true;
    }
    if (!S_ISLNK(st.st_mode)) {
      exists = true;
      return true;
    }
    std::vector<char> buf(static_cast<std::size_t>(st.st_size > 0 ? st.st_size : 255) + 2);
    const ssize_t n = ::readlink(target.c_str(), buf.data(), buf.size() - 1);
    if (n < 0) {
      error = "Cannot save \"" + path + "\": " + Reason(errno) + ".";
      return false;
    }
    std::string next(buf.data(), static_cast<std::size_t>(n));
    if (next.empty()) break;
    target = next[0] == '/' ? next : FolderOf(target) + "/" + next;
  }
  error = "Cannot save \"" + path + "\": " + Reason(ELOOP) + ".";
  return false;
}

}  // namespace

bool IsSeparator(char c) { return c == '/'; }

EntryKind KindOf(const std::string& path, Links links) {
  struct stat st {};
  const int r = links == Links::Follow ? ::stat(path.c_str(), &st) : ::lstat(path.c_str(), &st);
  if (r != 0) return errno == ENOENT || errno == ENOTDIR ? EntryKind::Missing : EntryKind::Other;
  return KindOfMode(st.st_mode);
}

bool ListFolder(const std::string& folder, std::vector<FolderEntry>& entries, std::string& error) {
  entries.clear();
  DIR* dir = ::opendir(folder.c_str());
  if (!dir) {
    error = "Cannot read the folder \"" + folder + "\": " + Reason(errno) + ".";
    return false;
  }
  while (const dirent* e = ::readdir(dir)) {
    const std::string name = e->d_name;
    if (name == "." || name == "..") continue;
    struct stat st {};
    const EntryKind kind = ::fstatat(::dirfd(dir), e->d_name, &st, AT_SYMLINK_NOFOLLOW) == 0
                               ? KindOfMode(st.st_mode)
                               : EntryKind::Missing;  // gone since it was listed
    entries.push_back({name, kind});
  }
  ::closedir(dir);
  return true;
}

bool MakeFolder(const std::string& path, std::string& error) {
  if (::mkdir(path.c_str(), 0777) == 0 || (errno == EEXIST && KindOf(path, Links::Follow) == EntryKind::Folder))
    return true;
  error = "Cannot create the folder \"" + path + "\": " + Reason(errno) + ".";
  return false;
}

bool RemoveName(const std::string& path) { return ::unlink(path.c_str()) == 0; }

bool IsWritableFolder(const std::string& path) {
  return KindOf(path, Links::Follow) == EntryKind::Folder && ::access(path.c_str(), W_OK | X_OK) == 0;
}

void RemoveStaleTemporaries(const std::string& target) {
  const std::string folder = FolderOf(target);
  const std::string base = BaseOf(target);
  DIR* dir = ::opendir(folder.c_str());
  if (!dir) return;
  while (const dirent* e = ::readdir(dir)) {
    const std::string name = e->d_name;
    if (!IsTemporaryOf(name, base)) continue;
    const std::string full = folder + "/" + name;
    struct stat st {};
    if (::lstat(full.c_str(), &st) != 0 || !S_ISREG(st.st_mode) || st.st_uid != ::geteuid())
      continue;
    // A save in progress holds a lock on its temporary file; one nobody holds was left
    // by a save that was killed.
    const int fd = ::open(full.c_str(), O_RDONLY | O_NOFOLLOW | O_CLOEXEC);
    if (fd < 0) continue;
    if (::flock(fd, LOCK_EX | LOCK_NB) == 0) ::unlink(full.c_str());
    ::close(fd);
  }
  ::closedir(dir);
}

// A file with more than one hard link, or owned by another user, is rewritten in place
// (after the temporary copy was complete on disk), so every name of it sees the new
// contents and its owner stays; only that case gives up the all-or-nothing replacement,
// and if it fails midway the new contents are kept beside it as name + ".unsaved".
bool ReplaceFileContents(const std::string& path, std::string_view contents, std::string& error,
                         const WriteFunction& writeFn) {
  std::string target;
  struct stat old {};
  bool exists = false;
  if (!ResolveTarget(path, target, old, exists, error)) return false;
  if (exists && !S_ISREG(old.st_mode)) {
    error = "Cannot save \"" + path + "\": " +
            (target == path ? std::string("it is ") : "it points to \"" + target + "\", which is ") +
            Describe(KindOfMode(old.st_mode)) + ", not a configuration file. Nothing was written.";
    return false;
  }
  // Replace by rename only what is ours alone: a file with other hard links, or owned by
  // someone else, is rewritten in place so that every name keeps the new contents and
  // the owner stays.
  const bool inPlace = exists && (old.st_nlink > 1 || old.st_uid != ::geteuid());

  RemoveStaleTemporaries(target);
  const std::string folder = FolderOf(target);
  std::string tmpl = folder + "/." + BaseOf(target) + ".XXXXXX";
  std::vector<char> name(tmpl.begin(), tmpl.end());
  name.push_back('\0');
  const int fd = ::mkostemp(name.data(), O_CLOEXEC);
  if (fd < 0) {
    error = "Cannot save \"" + path + "\": " + Reason(errno) + ".";
    return false;
  }
  ::flock(fd, LOCK_EX);  // marks the temporary file as in use (see RemoveStaleTemporaries)
  const std::string tmpPath(name.data());
  auto abandon = [&](int err) {
    ::close(fd);
    ::unlink(tmpPath.c_str());
    error = "Cannot save \"" + path + "\": " + Reason(err) + ". The file was left as it was.";
    return false;
  };

  std::size_t done = 0;
  while (done < contents.size()) {
    const long n = writeFn ? writeFn(fd, contents.data() + done, contents.size() - done)
                           : static_cast<long>(::write(fd, contents.data() + done,
                                                       contents.size() - done));
    if (n < 0) {
      if (errno == EINTR) continue;
      return abandon(errno);
    }
    if (n == 0) return abandon(ENOSPC);
    done += static_cast<std::size_t>(n);
  }
  // A new file gets the usual permissions (mkstemp makes it private to its owner); an
  // existing file keeps its own.
  if (exists) {
    ::fchmod(fd, old.st_mode & 07777);
  } else {
    const mode_t mask = ::umask(0);
    ::umask(mask);
    ::fchmod(fd, 0666 & ~mask);
  }
  if (::fsync(fd) != 0) return abandon(errno);

  if (inPlace) {
    // The complete new contents are on disk in the temporary file (a full disk has been
    // found by now); the file itself is rewritten from the start and cut to length.
    const int out = ::open(target.c_str(), O_WRONLY | O_NOFOLLOW | O_CLOEXEC);
    struct stat now {};
    int err = 0;
    if (out < 0) {
      err = errno;
    } else if (::fstat(out, &now) != 0) {
      err = errno;
    } else if (!S_ISREG(now.st_mode)) {
      err = EINVAL;
    } else {
      std::size_t off = 0;
      while (off < contents.size() && err == 0) {
        const ssize_t n = ::pwrite(out, contents.data() + off, contents.size() - off,
                                   static_cast<off_t>(off));
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) err = n < 0 ? errno : ENOSPC;
        else off += static_cast<std::size_t>(n);
      }
      if (err == 0 && ::ftruncate(out, static_cast<off_t>(contents.size())) != 0) err = errno;
      if (err == 0 && ::fsync(out) != 0) err = errno;
    }
    if (out >= 0 && ::close(out) != 0 && err == 0) err = errno;
    ::close(fd);
    if (err == 0) {
      ::unlink(tmpPath.c_str());
      return true;
    }
    // The file may now be partly rewritten: keep the new contents under a plain name.
    const std::string rescue = target + ".unsaved";
    if (::rename(tmpPath.c_str(), rescue.c_str()) == 0) {
      error = "Cannot save \"" + path + "\": " + Reason(err) + ". The new contents are in \"" +
              rescue + "\".";
    } else {
      ::unlink(tmpPath.c_str());
      error = "Cannot save \"" + path + "\": " + Reason(err) + ".";
    }
    return false;
  }

  if (::close(fd) != 0) {
    const int err = errno;
    ::unlink(tmpPath.c_str());
    error = "Cannot save \"" + path + "\": " + Reason(err) + ". The file was left as it was.";
    return false;
  }
  if (::rename(tmpPath.c_str(), target.c_str()) != 0) {
    const int err = errno;
    ::unlink(tmpPath.c_str());
    error = "Cannot save \"" + path + "\": " + Reason(err) + ". The file was left as it was.";
    return false;
  }
  // The rename itself is made durable by flushing the folder.
  const int dfd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (dfd >= 0) {
    ::fsync(dfd);
    ::close(dfd);
  }
  return true;
}

bool ReadWholeFile(const std::string& path, std::string& contents, std::string& error,
                   std::size_t maxBytes) {
  // Opened without waiting, so a pipe chosen by mistake is refused instead of blocking.
  const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
  if (fd < 0) {
    error = "Cannot open \"" + path + "\": " + Reason(errno) + ".";
    return false;
  }
  struct stat st {};
  if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
    const mode_t mode = st.st_mode;
    ::close(fd);
    error = "Cannot open \"" + path + "\": it is " + Describe(KindOfMode(mode)) +
            ", not a configuration file.";
    return false;
  }
  ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) & ~O_NONBLOCK);
  contents.clear();
  char buf[8192];
  for (;;) {
    const ssize_t n = ::read(fd, buf, sizeof buf);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) {
      const int err = errno;
      ::close(fd);
      error = "Cannot read \"" + path + "\": " + Reason(err) + ".";
      return false;
    }
    if (n == 0) break;
    contents.append(buf, static_cast<std::size_t>(n));
    if (contents.size() > maxBytes) {
      ::close(fd);
      error = "Cannot open \"" + path + "\": it is far larger than a configuration file.";
      return false;
    }
  }
  ::close(fd);
  return true;
}

}  // namespace q5::platform
