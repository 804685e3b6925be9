#include "config/FileAccess.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <vector>

namespace q5::config {

namespace {

std::string Reason(int err) { return std::strerror(err); }

std::string FolderOf(const std::string& path) {
  const std::size_t slash = path.find_last_of('/');
  if (slash == std::string::npos) return ".";
  if (slash == 0) return "/";
  return path.substr(0, slash);
}

std::string BaseOf(const std::string& path) {
  const std::size_t slash = path.find_last_of('/');
  return slash == std::string::npos ? path : path.substr(slash + 1);
}

}  // namespace

bool WriteFileAtomically(const std::string& path, std::string_view contents, std::string& error,
                         const WriteFunction& writeFn) {
  const std::string folder = FolderOf(path);
  std::string tmpl = folder + "/." + BaseOf(path) + ".XXXXXX";
  std::vector<char> name(tmpl.begin(), tmpl.end());
  name.push_back('\0');
  const int fd = ::mkstemp(name.data());
  if (fd < 0) {
    error = "Cannot save \"" + path + "\": " + Reason(errno) + ".";
    return false;
  }
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
  struct stat old {};
  if (::stat(path.c_str(), &old) == 0) {
    ::fchmod(fd, old.st_mode & 07777);
  } else {
    const mode_t mask = ::umask(0);
    ::umask(mask);
    ::fchmod(fd, 0666 & ~mask);
  }
  if (::fsync(fd) != 0) return abandon(errno);
  if (::close(fd) != 0) {
    const int err = errno;
    ::unlink(tmpPath.c_str());
    error = "Cannot save \"" + path + "\": " + Reason(err) + ". The file was left as it was.";
    return false;
  }
  if (::rename(tmpPath.c_str(), path.c_str()) != 0) {
    const int err = errno;
    ::unlink(tmpPath.c_str());
    error = "Cannot save \"" + path + "\": " + Reason(err) + ". The file was left as it was.";
    return false;
  }
  // The rename itself is made durable by flushing the folder.
  const int dfd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY);
  if (dfd >= 0) {
    ::fsync(dfd);
    ::close(dfd);
  }
  return true;
}

bool ReadWholeFile(const std::string& path, std::string& contents, std::string& error,
                   std::size_t maxBytes) {
  std::FILE* f = std::fopen(path.c_str(), "rb");
  if (!f) {
    error = "Cannot open \"" + path + "\": " + Reason(errno) + ".";
    return false;
  }
  contents.clear();
  char buf[8192];
  std::size_t n = 0;
  while ((n = std::fread(buf, 1, sizeof buf, f)) > 0) {
    contents.append(buf, n);
    if (contents.size() > maxBytes) {
      std::fclose(f);
      error = "Cannot open \"" + path + "\": it is far larger than a configuration file.";
      return false;
    }
  }
  const bool bad = std::ferror(f);
  const int err = errno;
  std::fclose(f);
  if (bad) {
    error = "Cannot read \"" + path + "\": " + Reason(err) + ".";
    return false;
  }
  return true;
}

bool EnsureFolder(const std::string& path, std::string& error) {
  struct stat st {};
  if (::stat(path.c_str(), &st) == 0) {
    if (S_ISDIR(st.st_mode)) return true;
    error = "Cannot create the folder \"" + path + "\": a file of that name is in the way.";
    return false;
  }
  if (::mkdir(path.c_str(), 0777) != 0 && errno != EEXIST) {
    error = "Cannot create the folder \"" + path + "\": " + Reason(errno) + ".";
    return false;
  }
  return true;
}

bool EnsureFolderPath(const std::string& path, std::string& error) {
  for (std::size_t at = path.find('/', 1); at != std::string::npos; at = path.find('/', at + 1)) {
    const std::string level = path.substr(0, at);
    struct stat st {};
    if (::stat(level.c_str(), &st) == 0) continue;
    if (!EnsureFolder(level, error)) return false;
  }
  return EnsureFolder(path, error);
}

}  // namespace q5::config
