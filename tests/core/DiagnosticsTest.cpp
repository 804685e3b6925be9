// The debug information text and the version dialog.
#include <gtest/gtest.h>

#include "SessionTestRig.h"
#include "diag/frmDebugInfo.h"
#include "diag/frmVersion.h"

TEST(DebugInfo, TextBeforeAndAfterOneRefusedRead) {
  SessionRig rig("Q5T3NML3-6-BI16");
  rig.connect();
  q5::diag::frmDebugInfo before;
  before.Form_Load(rig.session.link(), true);
  EXPECT_EQ(before.caption, "DEBUG INFO");
  EXPECT_EQ(before.lblDebugLog.caption,
            "- GI COMMAND\r\n"
            "      READ ERROR COUNTER:0\r\n"
            "     WRITE ERROR COUNTER:0\r\n"
            "           ERROR LOG:\r\n");

  rig.port->fault("cng:01/00");
  EXPECT_EQ(rig.session.link().GroupItemReadRetry(3, "01", "00"), "CNG");
  q5::diag::frmDebugInfo after;
  after.Form_Load(rig.session.link(), true);
  EXPECT_EQ(after.lblDebugLog.caption,
            "- GI COMMAND\r\n"
            "      READ ERROR COUNTER:1\r\n"
            "     WRITE ERROR COUNTER:0\r\n"
            "           ERROR LOG:G01 I00\r\n");
  // A snapshot: the first window does not change.
  EXPECT_NE(before.lblDebugLog.caption, after.lblDebugLog.caption);

  // Without "-debug" the text is not built.
  q5::diag::frmDebugInfo quiet;
  quiet.Form_Load(rig.session.link(), false);
  EXPECT_EQ(quiet.lblDebugLog.caption, "");

  EXPECT_EQ(q5::diag::DebugText(32767, 12, "I02 D5"),
            "- GI COMMAND\r\n      READ ERROR COUNTER:32767\r\n     WRITE ERROR COUNTER:12\r\n"
            "           ERROR LOG:I02 D5\r\n");
}

TEST(VersionDialog, ShowsTheProgramVersion) {
  q5::diag::frmVersion v;
  v.Form_Load();
  EXPECT_EQ(v.caption, "Version Info.");
  EXPECT_EQ(v.lblTitle.caption, "Version");
  EXPECT_EQ(v.lblName.caption, "0.01.59");
  EXPECT_EQ(v.cmdOK.caption, "OK");
}
