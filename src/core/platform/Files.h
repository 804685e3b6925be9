#pragma once
// What the configuration files and backups need of the operating system's file system,
// in one small set of calls with one implementation for POSIX systems (Files_posix.cpp)
// and one for Windows (Files_win32.cpp). Paths are UTF-8 text; on Windows they reach the
// system as UTF-16, so a folder named in any script, or with spaces, works, and both '/'
// and '\' separate folders.
//
// Replacing a file is all or nothing: the new contents go to a temporary file
// ("." + name + "." + six letters or digits) in the same folder, are flushed to disk, and
// the temporary file then takes the old one's place in one step, so a full disk or a
// crash mid-save leaves the old file as it was. What a name points to is respected:
// devices, pipes, sockets and folders are refused before anything is written, with the
// same words on every system, and the file keeps its permissions (Windows: attributes).
#include <cstddef>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace q5::platform {

// What a name is. A symbolic link (on Windows any reparse point: a symbolic link, a
// junction, a mount point) is a Link when links are not followed.
enum class EntryKind { Missing, File, Folder, Link, Device, Pipe, Socket, Other };

enum class Links { Follow, DoNotFollow };

EntryKind KindOf(const std::string& path, Links links = Links::DoNotFollow);

// "a folder", "a device", "a pipe", ... for messages about a name that is not a file.
const char* Describe(EntryKind kind);

struct FolderEntry {
  std::string name;  // the entry's own name, without the folder
  EntryKind kind;    // as KindOf gives it, links not followed
};

// The entries of a folder, without "." and "..". False with error when the folder cannot
// be read.
bool ListFolder(const std::string& folder, std::vector<FolderEntry>& entries, std::string& error);

// Creates one folder (the one above must exist). True when it exists afterwards.
bool MakeFolder(const std::string& path, std::string& error);

// Removes the name: a link is removed itself, never what it points to. A folder is not
// removed.
bool RemoveName(const std::string& path);

// True when a file can be created in the folder (the program's own folder of an installed
// program often cannot).
bool IsWritableFolder(const std::string& path);

// True for a character that separates folders in a path on this system.
bool IsSeparator(char c);

// folder + the system's separator ('/', Windows '\\') + name: the paths shown to a person
// read the way the system writes them.
std::string JoinPath(const std::string& folder, const std::string& name);

// The low-level write the saver uses (the system's write() by default; tests put a
// failing one in). fd is the temporary file's descriptor.
using WriteFunction = std::function<long(int fd, const char* data, std::size_t size)>;

// Writes contents to path all or nothing. A symbolic link at path keeps pointing at its
// file, which gets the contents (POSIX); on Windows a reparse point is refused. On failure
// returns false, error holds a sentence naming the file and the system's reason, and any
// old file at path is untouched.
bool ReplaceFileContents(const std::string& path, std::string_view contents, std::string& error,
                         const WriteFunction& writeFn = {});

// Removes the temporary files of earlier saves of target that were killed mid-save (ones
// no running save holds).
void RemoveStaleTemporaries(const std::string& target);

// Reads the whole file; anything but a regular file is refused, and so is a file larger
// than maxBytes. On failure returns false with error naming the file and the reason.
bool ReadWholeFile(const std::string& path, std::string& contents, std::string& error,
                   std::size_t maxBytes);

// --- shared by both implementations ------------------------------------------------------

// True for the names the saver gives its temporary files of base: "." + base + "." + six
// letters or digits.
bool IsTemporaryOf(const std::string& name, const std::string& base);
// The folder part of a path ("." when it has none) and the name part.
std::string FolderOf(const std::string& path);
std::string BaseOf(const std::string& path);

}  // namespace q5::platform
