#include "qtlink/UserFolders.h"

#include <QStandardPaths>

namespace q5::qtlink {

std::string BackupFolder() {
  // The generic location, not the per-program one: the window and the command-line tool
  // have different program names but keep one set of backups.
  return QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation).toStdString() +
         "/q5cfg/backups";
}

}  // namespace q5::qtlink
