#pragma once
// The user's folders the window and the command line share.
#include <string>

namespace q5::qtlink {

// Where the backups taken before every Download go: <user data folder>/q5cfg/backups
// (~/.local/share/q5cfg/backups unless XDG_DATA_HOME says otherwise).
std::string BackupFolder();

}  // namespace q5::qtlink
