#pragma once
// The documents of the Help menu: a user manual that ships with the program, one section
// per menu item, opened with the system's viewer.
#include <QString>
#include <QUrl>

#include "session/SessionValues.h"

namespace q5::gui {

class HelpDocuments {
 public:
  enum Document {
    InstructionManualEnglish,
    InstructionManualJapanese,
    DataSheetsEnglish,
    DataSheetsJapanese,
    UsersManualEnglish,
    UsersManualJapanese,
  };

  // The address of a document; the instruction manual picks the section of the page shown.
  QUrl address(Document d, const session::SessionValues& values);
  // Opens the document; false when the system has no viewer for it.
  bool open(Document d, const session::SessionValues& values);

  // Where the manual's files are: next to the program, else unpacked from the program's
  // resources into a temporary folder.
  QString manualFolder();

 private:
  QString folder_;
};

}  // namespace q5::gui
