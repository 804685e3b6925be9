// The main window's logic against a simulated unit: button states after every action
// and failure path, menus, lamp, labels, messages and the wire lines.
#include <gtest/gtest.h>

#include "SessionTestRig.h"
#include "pages/frmAC32.h"
#include "pages/frmAI4.h"
#include "pages/frmBI16.h"
#include "pages/frmBI32.h"
#include "pages/frmLNRIO1.h"
#include "pages/frmPI2.h"
#include "pages/frmSG2.h"

using q5::session::kLampConnected;
using q5::session::kLampDisconnected;
using q5::session::kLampMonitoring;
using Lines = std::vector<std::string>;
using Msg = TestDialogs::Message;
using q5::ui::Icon;

namespace {

// A page that records what the main window calls on it.
class FakePage : public q5::pages::ModulePage {
 public:
  FakePage(q5::pages::PageContext& ctx, int kind, Lines& log) : ModulePage(ctx), kind_(kind), log_(log) {}
  std::string_view name() const override { return "fake"; }
  int pageKind() const override { return kind_; }
  bool Init() override {
    note("Init");
    if (!failInit) return true;
    ProgressOpen(3, "Initializing");
    ProgressStep();
    UploadFailure();
    return false;
  }
  void Download() override { note("Download"); }
  void records(q5::pages::RecordStream&) override {}
  void ReadingData() override { note("ReadingData"); }
  bool hasCheckData() const override { return hasCheck; }
  bool CheckData() override { return note("CheckData"), checkResult; }
  void txt_able(bool on) override { note(on ? "txt_able(1)" : "txt_able(0)"); }

  bool hasCheck = true;
  bool checkResult = true;
  bool failInit = false;

 private:
  void note(const char* what) { log_.push_back(what); }
  int kind_;
  Lines& log_;
};

// A real page whose routines only record that the main window called them, so what its
// hooks (AllowEditing, MonitoringChanged, TakeEdits) make of Start, Stop and Download
// shows in the log.
template <typename Page>
class Logged : public Page {
 public:
  Logged(q5::pages::PageContext& ctx, Lines& log) : Page(ctx), log_(log) {}
  // Nothing is read, but the lists are filled and their first item chosen, as after an
  // Upload, so a Download finds a selection in every list it writes.
  bool Init() override {
    note("Init");
    Page::PrepareControls();
    struct FirstItems : q5::pages::ControlVisitor {
      void combo(const q5::pages::ControlInfo&, q5::pages::ComboBox& c) override {
        if (c.index < 0 && !c.items.empty()) c.index = 0;
      }
    } first;
    Page::visitControls(first);
    return true;
  }
  void Download() override { note("Download"); }
  void ReadingData() override { note("ReadingData"); }
  bool CheckData() override { return note("CheckData"), true; }
  void txt_able(bool on) override { note(on ? "txt_able(1)" : "txt_able(0)"); }

 protected:
  void note(const char* what) { log_.push_back(what); }
  Lines& log_;
};

class LoggedAC32 : public Logged<q5::pages::frmAC32> {
 public:
  using Logged::Logged;
  void txt_able2(bool on) override { note(on ? "txt_able2(1)" : "txt_able2(0)"); }
};
class LoggedSG2 : public Logged<q5::pages::frmSG2> {
 public:
  using Logged::Logged;
  void txt_able2(bool on) override { note(on ? "txt_able2(1)" : "txt_able2(0)"); }
};
class LoggedPI2 : public Logged<q5::pages::frmPI2> {
 public:
  using Logged::Logged;
  void comdis() override { note("comdis"); }
  void comena() override { note("comena"); }
};
class LoggedLNRIO1 : public Logged<q5::pages::frmLNRIO1> {
 public:
  using Logged::Logged;
  void dgd_download() override { note("dgd_download"); }
};

struct LoggedRig : SessionRig {
  explicit LoggedRig(const std::string& model) : SessionRig(model) {
    session.setPageFactory([this](int kind, q5::pages::PageContext& ctx) -> std::unique_ptr<q5::pages::ModulePage> {
      switch (kind) {
        case 16: return std::make_unique<LoggedAC32>(ctx, log);
        case 13: return std::make_unique<LoggedSG2>(ctx, log);
        case 11: return std::make_unique<LoggedPI2>(ctx, log);
        case 14: return std::make_unique<LoggedLNRIO1>(ctx, log);
        case 0: return std::make_unique<Logged<q5::pages::frmAI4>>(ctx, log);
        case 8: return std::make_unique<Logged<q5::pages::frmBI32>>(ctx, log);
        default: return nullptr;
      }
    });
  }
  Lines log;
};

struct FakeRig : SessionRig {
  explicit FakeRig(const std::string& model) : SessionRig(model) {
    session.setPageFactory([this](int kind, q5::pages::PageContext& ctx) {
      auto p = std::make_unique<FakePage>(ctx, kind, log);
      fake = p.get();
      return p;
    });
  }
  Lines log;
  FakePage* fake = nullptr;
};

}  // namespace

TEST(Session, StartUpAndCommandLine) {
  SessionRig rig("Q5W3NEIP-BI16");
  auto& s = rig.session;
  EXPECT_EQ(Enabled(s.buttons()), "Setting");
  EXPECT_EQ(s.lamp(), kLampDisconnected);
  EXPECT_EQ(s.labels().lblConStatus, "Disconnected");
  EXPECT_EQ(s.labels().lblMastertype, "Welcome");
  EXPECT_TRUE(s.menus().fileEnabled);
  EXPECT_TRUE(s.menus().modelSelectEnabled);
  EXPECT_FALSE(s.menus().firmUpdateVisible);
  EXPECT_FALSE(s.menus().debugInfoVisible);

  s.ParseCommandLine({"-firmupdate"});
  EXPECT_TRUE(s.values.FirmUpdateMode);
  EXPECT_TRUE(s.menus().firmUpdateVisible);
  EXPECT_FALSE(s.menus().firmUpdateEnabled);

  SessionRig debug("Q5W3NEIP-BI16");
  debug.session.ParseCommandLine({"-debug"});
  EXPECT_TRUE(debug.session.values.DebugMode);
  EXPECT_TRUE(debug.session.menus().debugInfoVisible);
  EXPECT_TRUE(debug.session.menus().debugInfoEnabled);

  // Two words, another word, case differences or nothing change nothing.
  for (const std::vector<std::string>& args :
       {std::vector<std::string>{"-debug", "-firmupdate"}, {"-debug -firmupdate"}, {"-Debug"},
        {"debug"}, {}}) {
    SessionRig none("Q5W3NEIP-BI16");
    none.session.ParseCommandLine(args);
    EXPECT_FALSE(none.session.values.DebugMode);
    EXPECT_FALSE(none.session.values.FirmUpdateMode);
    EXPECT_EQ(none.session.menus(), q5::session::Menus{});
  }
}

TEST(Session, SettingConnectsUploadsAndReadsOnce) {
  SessionRig rig("Q5W3NEIP-BI16");
  auto& s = rig.session;
  rig.connect();
  EXPECT_EQ(rig.takeWire(), (Lines{"G00", "I01",                            // identification
                                   "G00", "I01", "DF", "I02", "I06", "I03",  // Upload
                                   "G01", "I11",                             // frmBI16_Init
                                   "G00", "I21"}));                          // ReadingData
  EXPECT_TRUE(rig.dialogs.messages.empty());
  EXPECT_TRUE(s.values.Connected);
  EXPECT_EQ(Enabled(s.buttons()), "Start Disconnect ComNet Upload Download");
  EXPECT_EQ(s.lamp(), kLampConnected);
  EXPECT_EQ(s.labels().lblConStatus, "Connected");
  EXPECT_EQ(s.labels().lblComPortNo, "sim:Q5W3NEIP-BI16");
  EXPECT_EQ(s.labels().lblMastertype, "Q5W3NEIP-BI16");
  EXPECT_EQ(s.labels().lblVersionNo, "Version : 1.05");
  EXPECT_EQ(s.values.versionText, "Version : 1.05");
  EXPECT_EQ(s.values.pageKind, 5);
  EXPECT_EQ(s.values.networkType, 4);
  EXPECT_TRUE(s.values.networkButton.visible);
  EXPECT_EQ(s.values.networkButton.caption, "Ethernet");
  EXPECT_TRUE(s.values.flags["Q5W3NEIP-BI16"]);
  EXPECT_EQ(s.values.channelCount, 16);
  EXPECT_TRUE(s.values.PageShown);
  ASSERT_EQ(rig.view.shownPages.size(), 1u);
  auto* page = dynamic_cast<q5::pages::frmBI16*>(rig.view.shownPages[0]);
  ASSERT_NE(page, nullptr);
  EXPECT_EQ(page->CmbConvSpeed.text(), "20ms");
  EXPECT_TRUE(page->CmbConvSpeed.enabled);

  const q5::session::Menus m = s.menus();
  EXPECT_TRUE(m.fileEnabled);
  EXPECT_FALSE(m.modelSelectEnabled);
  EXPECT_TRUE(m.informationEnabled);
  EXPECT_TRUE(m.firmUpdateEnabled);

  // An Upload reuses the page object.
  s.btnUpload_Click();
  EXPECT_EQ(rig.view.shownPages.size(), 2u);
  EXPECT_EQ(rig.view.shownPages[1], page);
  EXPECT_EQ(Enabled(s.buttons()), "Start Disconnect ComNet Upload Download");
}

TEST(Session, IdentificationTextsAndChannelCounts) {
  struct Case {
    const char* reply;
    int expected;
  };
  for (const Case& c : {Case{"CCH\\x3A1CHs", 1}, Case{"CCH\\x3A32CHs", 32}, Case{"CCH\\x3A12", 12},
                        Case{"C7", 7}, Case{"CCH\\x3Athree", 16}, Case{"CCH\\x3A3CHs", 16}}) {
    SessionRig rig("Q5W3NEIP-BI16");
    rig.session.values.channelCount = 16;
    rig.port->fault(std::string("reply:00/03:") + c.reply);
    rig.unit().setVersion("2.10b7");
    rig.connect();
    EXPECT_EQ(rig.session.values.channelCount, c.expected) << c.reply;
    EXPECT_EQ(rig.session.labels().lblVersionNo, "Version : 2.10") << c.reply;
  }
}

TEST(Session, ConnectionErrorLeavesSettingEnabled) {
  SessionRig rig("Q5W3NEIP-BI16");
  rig.port->fault("reply:00/01:CMNTSX\\x3AQ5");
  rig.connect();
  EXPECT_EQ(rig.takeWire(), (Lines{"G00", "I01"}));
  EXPECT_EQ(rig.dialogs.messages, (std::vector<Msg>{{"Connection Error", "Connection", Icon::Error}}));
  auto& s = rig.session;
  EXPECT_FALSE(s.values.Connected);
  EXPECT_FALSE(rig.exchange.isOpen());
  EXPECT_EQ(Enabled(s.buttons()), "Start Connect Setting");
  EXPECT_EQ(s.lamp(), kLampDisconnected);
  EXPECT_EQ(s.labels().lblConStatus, "Disconnected");
  EXPECT_TRUE(rig.view.shownPages.empty());

  // No reply: retry count 1 gives two attempts.
  SessionRig silent("Q5W3NEIP-BI16");
  silent.port->fault("noreply:00/01");
  silent.connect();
  EXPECT_EQ(silent.takeWire(), (Lines{"G00", "I01", "G00", "I01"}));
  EXPECT_EQ(silent.dialogs.captions(), (Lines{"Connection"}));

  // "MNTSW" alone (no colon) connects.
  SessionRig bare("Q5W3NEIP-BI16");
  bare.port->fault("reply:00/01:CMNTSW*1");
  bare.connect();
  EXPECT_TRUE(bare.session.values.Connected);
  EXPECT_TRUE(bare.dialogs.messages.empty());
}

TEST(Session, UploadErrorDisconnectsAndKeepsThePageKind) {
  {
    // First identification fails: no page kind yet, Connect's button routine decides.
    SessionRig rig("Q5W3NEIP-BI16");
    rig.port->fault("noreply:00/02");
    rig.connect();
    // Three unanswered attempts: the unit is given up without a fourth.
    EXPECT_EQ(rig.takeWire(),
              (Lines{"G00", "I01", "G00", "I01", "DF", "I02", "I02", "I02"}));
    EXPECT_EQ(rig.dialogs.messages, (std::vector<Msg>{{"Upload Error", "Upload", Icon::Error}}));
    EXPECT_FALSE(rig.session.values.Connected);
    EXPECT_EQ(Enabled(rig.session.buttons()), "Start Connect Setting");
    EXPECT_TRUE(rig.view.shownPages.empty());
  }
  {
    // Unsupported series.
    SessionRig rig("Q5A3NEIP-BI16");
    rig.connect();
    EXPECT_EQ(rig.dialogs.messages, (std::vector<Msg>{{"Upload Error", "Upload", Icon::Error}}));
    EXPECT_EQ(rig.session.labels().lblMastertype, "Q5A3NEIP-BI16");
  }
  {
    // A later Upload fails at the version: the previous page kind stays, so the page's
    // ReadingData still runs (on a closed port: nothing is sent) and io_btn_control
    // gives the disconnected states.
    SessionRig rig("Q5W3NEIP-BI16");
    rig.connect();
    rig.takeWire();
    rig.port->fault("noreply:00/06");
    rig.session.btnUpload_Click();
    EXPECT_EQ(rig.takeWire(), (Lines{"G00", "I01", "DF", "I02", "I06", "I06", "I06"}));
    EXPECT_EQ(rig.dialogs.messages, (std::vector<Msg>{{"Upload Error", "Upload", Icon::Error}}));
    EXPECT_EQ(rig.session.values.pageKind, 5);
    EXPECT_EQ(Enabled(rig.session.buttons()), "Start Connect Setting");
    EXPECT_EQ(rig.session.labels().lblConStatus, "Disconnected");
  }
}

TEST(Session, NeedInitializeEndsTheProgram) {
  q5::sim::SimOptions options;
  options.unit.initialised = false;
  SessionRig rig("Q5W3NEIP-BI16", options);
  rig.connect();
  EXPECT_EQ(rig.takeWire(), (Lines{"G00", "I01", "G00", "I01", "DF", "I02", "I06", "I03"}));
  EXPECT_EQ(rig.dialogs.messages,
            (std::vector<Msg>{{"Need Initialize", "Initialize Error\r\n", Icon::Error}}));
  EXPECT_EQ(rig.view.endPrograms, 1);
  EXPECT_TRUE(rig.session.programEnded());
  EXPECT_FALSE(rig.exchange.isOpen());
  EXPECT_TRUE(rig.view.shownPages.empty());
  // Nothing runs any more.
  rig.session.btnConnect_Click();
  rig.session.btnStart_Click();
  EXPECT_TRUE(rig.takeWire().empty());
  EXPECT_EQ(rig.view.endPrograms, 1);
}

TEST(Session, DownloadWritesAndReadsBack) {
  // A unit that answers its conversion rate in milliseconds.
  SessionRig rig("Q5T3PML3-6-BI16");
  rig.connect();
  auto* page = dynamic_cast<q5::pages::frmBI16*>(rig.session.page());
  ASSERT_NE(page, nullptr);
  EXPECT_EQ(page->CmbConvSpeed.text(), "20ms");
  page->CmbConvSpeed.index = 5;  // "70ms"
  rig.takeWire();
  rig.session.btnDownload_Click();
  EXPECT_EQ(rig.takeWire(), (Lines{"G00", "I02",                              // model check
                                   "G00", "I01", "DF", "G01", "I11", "D5",   // UnitDownload
                                   "G00", "I01", "DF", "I02", "I06", "I03",  // re-Upload
                                   "G01", "I11", "G00", "I21"}));
  EXPECT_EQ(rig.unit().value("01", "11"), "5");
  EXPECT_EQ(page->CmbConvSpeed.text(), "70ms");
  EXPECT_TRUE(rig.dialogs.messages.empty());
  EXPECT_EQ(Enabled(rig.session.buttons()), "Start Disconnect ComNet Upload Download");
}

TEST(Session, DownloadModelCheck) {
  {
    // A discrete module is not compared: a differing model still downloads.
    SessionRig rig("Q5W3NEIP-BI16");
    rig.connect();
    rig.port->fault("reply:00/02:CTAG\\x3AQ5W3NEIP-BI16A");
    rig.takeWire();
    rig.session.btnDownload_Click();
    const Lines wire = rig.takeWire();
    ASSERT_GE(wire.size(), 8u);
    EXPECT_EQ(Lines(wire.begin(), wire.begin() + 8),
              (Lines{"G00", "I02", "G00", "I01", "DF", "G01", "I11", "D3"}));
    EXPECT_TRUE(rig.dialogs.messages.empty());
  }
  {
    // Another module must report the model of the last Upload.
    FakeRig rig("Q5T3NML3-6-AI4");
    rig.connect();
    ASSERT_NE(rig.fake, nullptr);
    rig.port->fault("reply:00/02:CTAG\\x3AQ5T3NML3-6-AIF4");
    rig.takeWire();
    rig.log.clear();
    rig.session.btnDownload_Click();
    EXPECT_EQ(rig.takeWire(), (Lines{"G00", "I02"}));
    EXPECT_EQ(rig.dialogs.messages, (std::vector<Msg>{{"Download Error", "Download", Icon::Error}}));
    EXPECT_TRUE(rig.log.empty());
    EXPECT_FALSE(rig.session.values.Connected);
    EXPECT_EQ(Enabled(rig.session.buttons()), "Start Connect Setting");
  }
  {
    // A unit that now reports a discrete module does not get an analog page's settings:
    // the discrete skip needs a discrete page on this side too.
    FakeRig rig("Q5T3NML3-6-AI4");
    rig.connect();
    rig.port->fault("reply:00/02:CTAG\\x3AQ5W3ND-BIO32");
    rig.takeWire();
    rig.log.clear();
    rig.session.btnDownload_Click();
    EXPECT_EQ(rig.takeWire(), (Lines{"G00", "I02"}));
    EXPECT_TRUE(rig.log.empty());
    EXPECT_EQ(rig.dialogs.messages, (std::vector<Msg>{{"Download Error", "Download", Icon::Error}}));
  }
  {
    // The BI16 unit that reports its sibling's name, and a discrete unit whose string
    // differs from the uploaded one, both download.
    for (const char* reply : {"reply:00/02:CTAG\\x3AQ5T3PML3-B-BI16", "reply:00/02:CTAG\\x3AQ5W3ND-BO32A-I"}) {
      SessionRig rig("Q5T3PML3-6-BI16");
      rig.connect();
      rig.port->fault(reply);
      rig.takeWire();
      rig.session.btnDownload_Click();
      const Lines wire = rig.takeWire();
      ASSERT_GE(wire.size(), 8u) << reply;
      EXPECT_EQ(Lines(wire.begin(), wire.begin() + 8),
                (Lines{"G00", "I02", "G00", "I01", "DF", "G01", "I11", "D3"}))
          << reply;
      EXPECT_TRUE(rig.dialogs.messages.empty()) << reply;
    }
  }
  {
    // No reply to the model read.
    FakeRig rig("Q5T3NML3-6-AI4");
    rig.connect();
    rig.port->fault("noreply:00/02");
    rig.takeWire();
    rig.session.btnDownload_Click();
    EXPECT_EQ(rig.takeWire(), (Lines{"G00", "I02", "G00", "I02", "G00", "I02", "G00", "I02"}));
    EXPECT_EQ(rig.dialogs.messages, (std::vector<Msg>{{"Download Error", "Download", Icon::Error}}));
  }
}

TEST(Session, DownloadRangeCheckShowsTwoMessagesAndWritesNothing) {
  FakeRig rig("Q5T3NML3-6-AI4");
  rig.connect();
  rig.fake->checkResult = false;
  rig.takeWire();
  rig.log.clear();
  rig.session.btnDownload_Click();
  EXPECT_EQ(rig.takeWire(), (Lines{"G00", "I02"}));
  EXPECT_EQ(rig.log, (Lines{"CheckData"}));
  EXPECT_EQ(rig.dialogs.messages,
            (std::vector<Msg>{{"Data Error \r\nCheck data range.", "Data Range Error", Icon::Error},
                              {"Download Error", "Download", Icon::Error}}));
  EXPECT_FALSE(rig.session.values.Connected);
  EXPECT_EQ(Enabled(rig.session.buttons()), "Start Connect Setting");
}

TEST(Session, PageCallsVaryByPageKind) {
  struct Case {
    const char* model;
    int kind;
    Lines startStop;  // what Start (stopped on its first pass) calls on the page
    Lines download;
  };
  const Case cases[] = {
      {"Q5V3UM-AC32", 16, {"txt_able2(0)", "txt_able2(1)"}, {"CheckData", "Download"}},
      {"Q5T3NML3-6-SG2", 13,
       {"txt_able(0)", "txt_able2(0)", "txt_able(1)", "txt_able2(1)"},
       {"CheckData", "Download"}},
      {"Q5T3NML3-6-PI1", 11, {"txt_able(0)", "comdis", "comena", "txt_able(1)"}, {"CheckData", "Download"}},
      {"Q5T3NML3-6-LNRIO1", 14, {"txt_able(0)", "txt_able(1)"}, {"dgd_download", "CheckData", "Download"}},
      {"Q5T3NML3-6-AI4", 0, {"txt_able(0)", "txt_able(1)"}, {"CheckData", "Download"}},
  };
  for (const Case& c : cases) {
    LoggedRig rig(c.model);
    rig.connect();
    ASSERT_EQ(rig.session.values.pageKind, c.kind) << c.model;
    EXPECT_EQ(rig.log, (Lines{"Init", "ReadingData"})) << c.model;
    rig.log.clear();
    rig.view.onProcessEvents = [&rig] { rig.session.btnStop_Click(); };
    rig.session.btnStart_Click();
    EXPECT_EQ(rig.log, c.startStop) << c.model;
    rig.log.clear();
    rig.session.btnDownload_Click();
    Lines expected = c.download;
    expected.push_back("Init");
    expected.push_back("ReadingData");
    EXPECT_EQ(rig.log, expected) << c.model;
    EXPECT_TRUE(rig.dialogs.messages.empty()) << c.model;
  }
  {
    // Pages without a range check are not asked; the 32-point page's setting is locked
    // while monitoring like every page's (Start, Stop, then Disconnect).
    LoggedRig rig("Q5W3ND-BI32");
    rig.connect();
    rig.log.clear();
    rig.view.onProcessEvents = [&rig] { rig.session.btnStop_Click(); };
    rig.session.btnStart_Click();
    rig.session.btnDisconnect_Click();
    EXPECT_EQ(rig.log, (Lines{"txt_able(0)", "txt_able(1)", "txt_able(1)"}));
    rig.connect();
    rig.log.clear();
    rig.session.btnDownload_Click();
    EXPECT_EQ(rig.log, (Lines{"Download", "Init", "ReadingData"}));
  }
}

TEST(Session, MonitoringRunsUntilStop) {
  SessionRig rig("Q5W3NEIP-BI16");
  rig.connect();
  auto* page = dynamic_cast<q5::pages::frmBI16*>(rig.session.page());
  ASSERT_NE(page, nullptr);
  rig.takeWire();
  auto& s = rig.session;
  bool checked = false;
  rig.view.onProcessEvents = [&] {
    if (rig.view.passes == 2) {
      EXPECT_EQ(Enabled(s.buttons()), "Stop Disconnect");
      EXPECT_EQ(s.lamp(), kLampMonitoring);
      EXPECT_TRUE(s.values.Monitoring);
      EXPECT_FALSE(s.menus().fileEnabled);
      EXPECT_FALSE(s.menus().modelSelectEnabled);
      EXPECT_FALSE(s.menus().informationEnabled);
      EXPECT_FALSE(page->CmbConvSpeed.enabled);
      checked = true;
    }
    if (rig.view.passes == 3) s.btnStop_Click();
  };
  s.btnStart_Click();
  EXPECT_TRUE(checked);
  EXPECT_EQ(rig.takeWire(), (Lines{"G00", "I21", "G00", "I21"}));
  EXPECT_FALSE(s.values.Monitoring);
  EXPECT_EQ(Enabled(s.buttons()), "Start Disconnect ComNet Upload Download");
  EXPECT_EQ(s.lamp(), kLampConnected);
  EXPECT_TRUE(page->CmbConvSpeed.enabled);
  EXPECT_TRUE(s.menus().fileEnabled);
  EXPECT_FALSE(s.menus().modelSelectEnabled);
  EXPECT_TRUE(s.menus().informationEnabled);
  EXPECT_EQ(rig.view.changeValueCloses, 1);

  // A 32-point input page locks its setting while monitoring like every page.
  SessionRig bi32("Q5W3NEIP-BI32");
  bi32.connect();
  auto* p32 = dynamic_cast<q5::pages::frmBI32*>(bi32.session.page());
  ASSERT_NE(p32, nullptr);
  bi32.view.onProcessEvents = [&] {
    EXPECT_FALSE(p32->CmbConvSpeed.enabled);
    if (bi32.view.passes == 2) bi32.session.btnStop_Click();
  };
  bi32.takeWire();
  bi32.session.btnStart_Click();
  EXPECT_EQ(bi32.takeWire(), (Lines{"G00", "I21", "G00", "I22"}));
}

TEST(Session, StopOrDisconnectDuringAPassEndsTheLoopAfterIt) {
  {
    // Stop arrives while the second pass waits for its reply: that pass ends, no third
    // one starts, and the lamp keeps Stop's green.
    SessionRig rig("Q5W3NEIP-BI16");
    rig.connect();
    rig.takeWire();
    int reads = 0;
    rig.onSent = [&](const std::string& line) {
      if (line == "I21" && ++reads == 2) rig.session.btnStop_Click();
    };
    rig.session.btnStart_Click();
    EXPECT_EQ(rig.takeWire(), (Lines{"G00", "I21", "G00", "I21"}));
    EXPECT_EQ(rig.view.passes, 2);
    EXPECT_FALSE(rig.session.values.Monitoring);
    EXPECT_EQ(rig.session.lamp(), kLampConnected);
    EXPECT_EQ(Enabled(rig.session.buttons()), "Start Disconnect ComNet Upload Download");
  }
  {
    // Disconnect during a pass: the port closes under the pass, whose retries send
    // nothing more, and the loop ends with the disconnected states.
    SessionRig rig("Q5W3NEIP-BI16");
    rig.connect();
    rig.takeWire();
    rig.onSent = [&](const std::string& line) {
      if (line == "G00") rig.session.btnDisconnect_Click();
    };
    rig.session.btnStart_Click();
    EXPECT_EQ(rig.takeWire(), (Lines{"G00"}));
    EXPECT_EQ(rig.view.passes, 1);
    EXPECT_FALSE(rig.session.values.Monitoring);
    EXPECT_FALSE(rig.exchange.isOpen());
    EXPECT_EQ(rig.session.lamp(), kLampDisconnected);
    EXPECT_EQ(Enabled(rig.session.buttons()), "Connect Setting");
  }
}

TEST(Session, StartWhileDisconnectedConnectsFirstAndMonitorsAnyway) {
  SessionRig rig("Q5W3NEIP-BI16");
  rig.connect();
  rig.session.btnDisconnect_Click();
  rig.port->fault("reply:00/01:CXX");
  rig.takeWire();
  auto& s = rig.session;
  rig.view.onProcessEvents = [&] {
    EXPECT_EQ(Enabled(s.buttons()), "Stop Disconnect");
    if (rig.view.passes == 3) s.btnStop_Click();
  };
  s.btnStart_Click();
  EXPECT_EQ(rig.dialogs.messages, (std::vector<Msg>{{"Connection Error", "Connection", Icon::Error}}));
  // The failed Connect; the passes ran on the closed port.
  EXPECT_EQ(rig.takeWire(), (Lines{"G00", "I01"}));
  EXPECT_EQ(rig.view.passes, 3);
  EXPECT_EQ(Enabled(s.buttons()), "Start Connect");
  // The lamp does not say "connected" after Stop on a closed port.
  EXPECT_EQ(s.lamp(), kLampDisconnected);
}

TEST(Session, DisconnectResetsTheNetworkButtonAndMenus) {
  SessionRig rig("Q5W3NEIP-BI16");
  rig.connect();
  auto& s = rig.session;
  s.btnDisconnect_Click();
  EXPECT_FALSE(rig.exchange.isOpen());
  EXPECT_EQ(Enabled(s.buttons()), "Connect Setting");
  EXPECT_EQ(s.lamp(), kLampDisconnected);
  EXPECT_EQ(s.labels().lblConStatus, "Disconnected");
  EXPECT_TRUE(s.menus().fileEnabled);
  EXPECT_TRUE(s.menus().modelSelectEnabled);
  EXPECT_TRUE(s.menus().informationEnabled);
  EXPECT_FALSE(s.menus().firmUpdateEnabled);
  EXPECT_FALSE(s.values.networkButton.visible);
  EXPECT_EQ(s.values.networkButton.caption, "");
  EXPECT_EQ(s.values.networkType, 99);
  EXPECT_EQ(rig.view.changeValueCloses, 1);
  EXPECT_TRUE(dynamic_cast<q5::pages::frmBI16*>(s.page())->CmbConvSpeed.enabled);

  // Connect works again from here.
  s.btnConnect_Click();
  EXPECT_TRUE(s.values.Connected);
  EXPECT_EQ(Enabled(s.buttons()), "Start Disconnect ComNet Upload Download");
}

TEST(Session, ModelWithoutPageShowsPlaceholder) {
  SessionRig rig("Q5V3PML3-6-BI32");
  rig.connect();
  auto& s = rig.session;
  EXPECT_EQ(s.values.pageKind, 99);
  EXPECT_EQ(s.values.moduleKind, 8);
  EXPECT_EQ(rig.view.shownPages, (std::vector<q5::pages::ModulePage*>{nullptr}));
  EXPECT_TRUE(s.values.PageShown);
  // Upload left every button off; Connect's routine enabled them again.
  EXPECT_EQ(Enabled(s.buttons()), "Start Disconnect ComNet Upload Download");
  s.all_btn_control(false);
  s.btnUpload_Click();
  EXPECT_EQ(Enabled(s.buttons()), "");
  s.connect_btn_control();
  // Disconnect closes the port but leaves buttons and menus as they were.
  const q5::session::Menus before = s.menus();
  s.btnDisconnect_Click();
  EXPECT_FALSE(rig.exchange.isOpen());
  EXPECT_EQ(s.labels().lblConStatus, "Disconnected");
  EXPECT_EQ(Enabled(s.buttons()), "Start Disconnect Setting ComNet Upload Download");
  EXPECT_EQ(s.menus().modelSelectEnabled, before.modelSelectEnabled);
  // Start does nothing for a unit without a page.
  rig.port->fault("reply:00/01:CXX");
  s.btnStart_Click();
  EXPECT_FALSE(s.values.Monitoring);
  EXPECT_EQ(rig.view.passes, 0);
}

TEST(Session, NetworkButtonAndNodeInformation) {
  SessionRig rig("Q5W3NEIP-BI16");
  rig.connect();
  auto& s = rig.session;
  rig.view.onNetworkWindow = [&](int) { EXPECT_EQ(Enabled(s.buttons()), ""); };
  s.btnComNet_Click();
  EXPECT_EQ(rig.view.networkWindows, (std::vector<int>{4}));
  EXPECT_EQ(Enabled(s.buttons()), "Start Disconnect ComNet Upload Download");

  rig.takeWire();
  s.mnuQ5Informain_Click();
  EXPECT_EQ(rig.takeWire(), (Lines{"G00", "I88"}));
  EXPECT_EQ(rig.dialogs.messages,
            (std::vector<Msg>{{"      Remote I/O Q5 Q5W3NEIP-BI16 (simulated unit)      ",
                               "Remote I/O Q5 Information", Icon::Information}}));
  rig.dialogs.clear();
  rig.port->fault("reply:00/88:CQ5CFX\\x3Aabc*1");
  s.mnuQ5Informain_Click();
  EXPECT_EQ(rig.dialogs.messages, (std::vector<Msg>{{"      Not supported.      ",
                                                    "Remote I/O Q5 Information", Icon::Information}}));
  rig.dialogs.clear();
  rig.port->fault("noreply:00/88");
  s.mnuQ5Informain_Click();
  EXPECT_TRUE(rig.dialogs.messages.empty());

  // After Disconnect the network type is 99: a debug message and nothing else.
  s.btnDisconnect_Click();
  const q5::session::Buttons before = s.buttons();
  s.btnComNet_Click();
  EXPECT_EQ(rig.dialogs.messages, (std::vector<Msg>{{"Not definced NetTyp in frmQ5CFG -> btnComNet",
                                                    "Debug info", Icon::Error}}));
  EXPECT_EQ(s.buttons(), before);
  EXPECT_EQ(rig.view.networkWindows.size(), 1u);
}

TEST(Session, FileOpenEnablesDownloadWhenConnected) {
  SessionRig rig("Q5V3PML3-6-BI32");  // no page shown
  rig.connect();
  auto& s = rig.session;
  s.all_btn_control(false);
  s.values.CreatedConfig = true;
  bool opened = false;
  s.mnuFilesOpen_Click([&] {
    EXPECT_FALSE(s.values.CreatedConfig);
    opened = true;
  });
  EXPECT_TRUE(opened);
  EXPECT_EQ(Enabled(s.buttons()), "Download");

  SessionRig offline("Q5W3NEIP-BI16");
  offline.session.mnuFilesOpen_Click([] {});
  EXPECT_EQ(Enabled(offline.session.buttons()), "Setting");

  // Exit closes the port and ends the program.
  s.mnuFilesEnd_Click();
  EXPECT_FALSE(rig.exchange.isOpen());
  EXPECT_EQ(rig.view.endPrograms, 1);
}

TEST(Session, PageUploadFailureClosesProgressAndDisconnects) {
  FakeRig rig("Q5T3NML3-6-AI4");
  rig.connect();
  ASSERT_NE(rig.fake, nullptr);
  rig.fake->failInit = true;
  rig.dialogs.clear();
  rig.session.btnUpload_Click();
  EXPECT_EQ(rig.dialogs.events, (Lines{"progressOpen 3 Initializing", "progressStep", "progressClose",
                                       "message Upload Error|Upload|Error"}));
  EXPECT_FALSE(rig.dialogs.progressShown);
  EXPECT_FALSE(rig.session.values.Connected);
  EXPECT_EQ(rig.session.labels().lblConStatus, "Disconnected");
  // The page is still shown (in its failed state) and the buttons are the disconnected ones.
  EXPECT_EQ(rig.view.shownPages.size(), 2u);
  EXPECT_EQ(Enabled(rig.session.buttons()), "Start Connect Setting");
}

TEST(Session, ExitWhileASequenceWaitsEndsQuietly) {
  SessionRig rig("Q5W3NEIP-BI16");
  rig.port->fault("noreply:00/02");
  rig.onSent = [&](const std::string& line) {
    if (line == "I02") rig.session.mnuFilesEnd_Click();
  };
  rig.connect();
  EXPECT_EQ(rig.takeWire(), (Lines{"G00", "I01", "G00", "I01", "DF", "I02"}));
  EXPECT_TRUE(rig.dialogs.messages.empty());
  EXPECT_EQ(rig.view.endPrograms, 1);
  EXPECT_TRUE(rig.view.shownPages.empty());
  EXPECT_FALSE(rig.exchange.isOpen());
}

// A calibration button talks to the unit: while its lines are under way the window's
// buttons are disabled and another button of the page is refused without a line, so no
// line goes out in the middle of its exchange; the tab buttons still switch the tabs.
TEST(Session, PageButtonRunsAsASequence) {
  SessionRig rig("Q5T3NML3-6-SG2A");
  rig.connect();
  q5::pages::ModulePage* page = rig.session.page();
  ASSERT_NE(page, nullptr);
  const std::string idle = Enabled(rig.session.buttons());
  ASSERT_EQ(idle, "Start Disconnect ComNet Upload Download");
  rig.takeWire();

  std::vector<std::string> during;
  bool nestedPressed = true;
  bool tabPressed = false;
  rig.onSent = [&](const std::string& line) {
    if (line != "I32") return;
    during.push_back(Enabled(rig.session.buttons()));
    nestedPressed = rig.session.pagePress(*page, "cmdSpan1");
    tabPressed = rig.session.pagePress(*page, "cmdSet2");
  };
  EXPECT_TRUE(rig.session.pagePress(*page, "cmdAutoZero0"));
  rig.onSent = {};
  EXPECT_EQ(during, (std::vector<std::string>{""}));
  EXPECT_FALSE(nestedPressed);
  EXPECT_TRUE(tabPressed);
  EXPECT_EQ(rig.takeWire(), (Lines{"G01", "I01", "DF", "G01", "I32", "D", "G00", "I21"}));
  EXPECT_EQ(Enabled(rig.session.buttons()), idle);
  // Once it has ended, the next button goes out as usual.
  EXPECT_TRUE(rig.session.pagePress(*page, "cmdSpan1"));
  EXPECT_EQ(rig.takeWire(), (Lines{"G02", "I01", "DF", "G02", "I31", "D", "G00", "I22"}));
  // A name the page does not have is refused.
  EXPECT_FALSE(rig.session.pagePress(*page, "cmdNoSuchButton"));
  EXPECT_TRUE(rig.takeWire().empty());
}
