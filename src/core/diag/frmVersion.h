#pragma once
// "Version Info.", opened from the "Help" menu: the program version and "OK".
#include <string>
#include <string_view>

#include "pages/Controls.h"

namespace q5::diag {

// The program version the version dialog shows.
inline constexpr std::string_view kProgramVersion = "0.01.59";

// "Version Info.": the title "Version", the program version and "OK".
struct frmVersion {
  frmVersion() {
    lblTitle.caption = "Version";
    cmdOK.caption = "OK";
  }
  std::string caption = "Version Info.";
  pages::Label lblTitle;
  pages::Label lblName;  // the second label of the array: "lblName(1)"
  pages::Button cmdOK;
  void Form_Load() { lblName.caption = std::string(kProgramVersion); }
  void visitControls(pages::ControlVisitor& v) {
    v.label("lblTitle", lblTitle);
    v.label("lblName(1)", lblName);
    v.button("cmdOK", cmdOK);
  }
};

}  // namespace q5::diag
