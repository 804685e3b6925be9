// The network settings windows against simulated units: the exact wire lines of every
// window's Upload and Download per model group, the entry checks and their messages,
// that nothing is written after a refusal, and the typing rules.
#include <gtest/gtest.h>

#include <algorithm>

#include "SessionTestRig.h"
#include "netpages/frmCClinkIEField.h"
#include "netpages/frmDeviceNet.h"
#include "netpages/frmEthernet.h"
#include "netpages/frmModbus.h"

using Lines = std::vector<std::string>;
using Msg = TestDialogs::Message;
using q5::ui::Icon;
using namespace q5::netpages;

namespace {

// A unit connected and uploaded, its network window opened by the network button.
template <class Window>
struct NetRig : SessionRig {
  explicit NetRig(const std::string& model, q5::sim::SimOptions options = {})
      : SessionRig(model, std::move(options)) {
    connect();
    takeWire();
    session.btnComNet_Click();
    window = dynamic_cast<Window*>(session.networkWindow());
  }
  // The wire of one press, and the messages it showed.
  Lines press(const char* button) {
    takeWire();
    dialogs.clear();
    EXPECT_TRUE(window->Press(button)) << button;
    return takeWire();
  }
  // Types a text into a box as a person would: the text, then the change handler.
  void type(q5::pages::TextBox& box, const std::string& name, const std::string& text) {
    box.text = text;
    window->Edited(name);
  }
  Window* window = nullptr;
};

Lines Concat(Lines a, const Lines& b) {
  a.insert(a.end(), b.begin(), b.end());
  return a;
}

// Data lines other than the "F" that prepares the unit.
Lines SettingWrites(const Lines& wire) {
  Lines d;
  for (const auto& l : wire)
    if (l[0] == 'D' && l != "DF") d.push_back(l);
  return d;
}

template <class Boxes>
std::string Dotted(const Boxes& b) {
  return b[3].text + "." + b[2].text + "." + b[1].text + "." + b[0].text;
}

const Msg kDownloadIncomplete{"Downloading incomplete", "Downloading", Icon::Error};
const Msg kUploadIncomplete{"Uploading incomplete", "Uploading", Icon::Error};
Msg Info(const std::string& text) { return {text, "Q5CFG", Icon::Information}; }

const Lines kPlainUpload{"G00", "I01", "DF", "I06", "G00", "I51", "G00", "I29", "I30", "I27",
                         "I28", "I31", "I32", "I33", "I34", "I41", "I42", "I43", "I44"};

}  // namespace

TEST(EthernetWindow, PlainModelHasSocketsButNoGateway) {
  NetRig<frmEthernet> rig("Q5V3PE-6-BO16");
  ASSERT_NE(rig.window, nullptr);
  EXPECT_EQ(rig.view.networkWindows, (std::vector<int>{4}));
  auto& w = *rig.window;
  EXPECT_EQ(w.caption, "Ethernet Setting");
  // The network button had the window read the unit; Upload reads it again.
  EXPECT_EQ(rig.takeWire(), kPlainUpload);
  EXPECT_EQ(rig.press("btnUpload"), kPlainUpload);
  EXPECT_EQ(Dotted(w.txtIP), "192.168.1.10");
  EXPECT_EQ(w.txtIP[3].text, "192");
  EXPECT_EQ(Dotted(w.txtSNM), "255.255.255.0");
  EXPECT_EQ(w.txtTimeout[0].text, "100");
  EXPECT_EQ(w.lblMac[0].caption, "00-80-4C");
  EXPECT_EQ(w.lblMac[1].caption, "1A-2B-3C");
  EXPECT_EQ(w.txtPort[1].text, "5001");
  EXPECT_EQ(w.txtPort[4].text, "5004");
  EXPECT_EQ(w.txtTimeout[1].text, "30");  // "LINGER:T1:30": after the second colon
  EXPECT_FALSE(w.Label1.visible);
  EXPECT_FALSE(w.txtDGW[0].visible);
  EXPECT_TRUE(w.Frame4.visible && w.txtPort[1].visible && w.txtTimeout[4].visible);
  EXPECT_FALSE(w.cmbDHCP.visible || w.lblDHCP.visible);
  EXPECT_TRUE(w.btnDownload.enabled && w.txtIP[0].enabled && w.txtTimeout[0].enabled);

  w.txtIP[0].text = "20";
  w.txtIP[3].text = "10";
  w.txtPort[2].text = "502";
  w.txtTimeout[3].text = "7";
  const Lines wire = rig.press("btnDownload");
  EXPECT_EQ(wire, Concat({"G00", "I01", "DF", "I51", "D100", "I29", "D10.168.1.20", "I30",
                          "D255.255.255.0", "I06", "I31", "D5001", "I32", "D502", "I33", "D5003",
                          "I34", "D5004", "I41", "D30", "I42", "D30", "I43", "D7", "I44", "D30"},
                         kPlainUpload));
  EXPECT_TRUE(rig.dialogs.messages.empty());
  EXPECT_EQ(rig.unit().value("00", "29"), "10.168.1.20");
  EXPECT_EQ(w.txtPort[2].text, "502");
  EXPECT_EQ(w.txtTimeout[3].text, "7");
}

TEST(EthernetWindow, EtherNetIPModelsHaveGatewayNoSocketsAndWriteModeZero) {
  for (const std::string model : {"Q5W3NEIP-BI16A", "Q5Z3UEIP-BIO32C", "Q5T3NEIP-6-BO16"}) {
    SCOPED_TRACE(model);
    NetRig<frmEthernet> rig(model);
    auto& w = *rig.window;
    const Lines upload{"G00", "I01", "DF", "I06", "I25", "G00", "I51",
                       "G00", "I29", "I30", "I27", "I28"};
    EXPECT_EQ(rig.press("btnUpload"), upload);
    EXPECT_EQ(Dotted(w.txtDGW), "192.168.1.1");
    EXPECT_TRUE(w.Label1.visible && w.txtDGW[3].visible);
    EXPECT_FALSE(w.Frame4.visible || w.txtPort[1].visible || w.txtTimeout[1].visible ||
                 w.lblLongerTimer.visible || w.Label4[8].visible);
    EXPECT_FALSE(w.cmbDHCP.visible);
    w.txtDGW[0].text = "254";
    EXPECT_EQ(rig.press("btnDownload"),
              Concat({"G00", "I01", "DF", "I51", "D100", "I29", "D192.168.1.10", "I30",
                      "D255.255.255.0", "I06", "I25", "D192.168.1.254", "I31", "D0"},
                     upload));
    EXPECT_EQ(rig.unit().value("00", "25"), "192.168.1.254");
  }
}

TEST(EthernetWindow, OtherEthernetModelsChooseDhcp) {
  NetRig<frmEthernet> rig("Q5V3PE-6-BI16");
  auto& w = *rig.window;
  const Lines upload = Concat(
      {"G00", "I01", "DF", "I06", "I25", "G00", "I51", "G00", "I29", "I30", "I27", "I28", "I31",
       "I32", "I33", "I34", "I41", "I42", "I43", "I44"},
      {"I31"});
  EXPECT_EQ(rig.press("btnUpload"), upload);
  EXPECT_TRUE(w.cmbDHCP.visible && w.lblDHCP.visible && w.Frame4.visible && w.Label1.visible);
  EXPECT_EQ(w.cmbDHCP.items, (Lines{"CONFIG", "DHCP"}));
  EXPECT_EQ(w.cmbDHCP.text(), "CONFIG");
  w.cmbDHCP.index = 1;
  const Lines wire = rig.press("btnDownload");
  // Item "31" carries the first socket port and then the address mode; the mode is last.
  const Lines writes = SettingWrites(wire);
  ASSERT_EQ(writes.size(), 13u);
  EXPECT_EQ(writes[3], "D192.168.1.1");
  EXPECT_EQ(writes.back(), "D1");
  EXPECT_EQ(Lines(wire.end() - upload.size() - 2, wire.end() - upload.size()),
            (Lines{"I31", "D1"}));
  EXPECT_EQ(w.cmbDHCP.text(), "DHCP");
}

TEST(EthernetWindow, EveryEntryIsCheckedBeforeAnythingIsWritten) {
  NetRig<frmEthernet> rig("Q5V3PE-6-BO16");
  auto& w = *rig.window;
  struct Case {
    std::function<void(frmEthernet&)> edit;
    std::string message;
  };
  const std::vector<Case> cases = {
      // An address number above 255 would be written as typed: refused.
      {[](frmEthernet& w) { w.txtIP[2].text = "300"; }, "Please enter 0 to 255."},
      {[](frmEthernet& w) { w.txtSNM[0].text = "256"; }, "Please enter 0 to 255."},
      {[](frmEthernet& w) { w.txtIP[1].text = "1a"; }, "Please enter 0 to 255."},
      // Empty boxes first, in the window's order, with their own messages.
      {[](frmEthernet& w) { w.txtIP[0].text = ""; }, "Please enter number in IP Address."},
      {[](frmEthernet& w) {
         w.txtIP[3].text = "300";
         w.txtSNM[1].text = "";
       },
       "Please enter number in Subnet Mask."},
      {[](frmEthernet& w) { w.txtPort[3].text = ""; }, "Please enter number in TCP Port No."},
      {[](frmEthernet& w) { w.txtTimeout[0].text = ""; }, "Please enter number in TimeOut Box."},
      // Ports and linger timers: a number 0..32767, never an empty box.
      {[](frmEthernet& w) { w.txtTimeout[2].text = ""; }, "Please enter number in TimeOut Box."},
      {[](frmEthernet& w) { w.txtPort[4].text = "40000"; }, "Please enter 0 to 32767."},
      {[](frmEthernet& w) { w.txtTimeout[4].text = "-1"; }, "Please enter 0 to 32767."},
      {[](frmEthernet& w) { w.txtTimeout[0].text = "12.5"; }, "Please enter 0 to 32767."},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.message);
    ASSERT_TRUE(w.btnUpload_Click());
    c.edit(w);
    rig.takeWire();
    rig.dialogs.clear();
    EXPECT_FALSE(w.btnDownload_Click());
    // Only the "F" that prepares the unit went out; no setting was written.
    EXPECT_EQ(rig.takeWire(), (Lines{"G00", "I01", "DF"}));
    EXPECT_EQ(rig.dialogs.messages, (std::vector<Msg>{Info(c.message), kDownloadIncomplete}));
    EXPECT_TRUE(w.btnDownload.enabled && w.txtIP[0].enabled);  // enabled again
  }
  EXPECT_EQ(rig.unit().value("00", "29"), "192.168.1.10");
  EXPECT_EQ(rig.unit().value("00", "31"), "5001");

  // EtherNet/IP: an empty gateway box is refused; ports are not asked for.
  NetRig<frmEthernet> eip("Q5W3NEIP-BO32");
  eip.window->txtDGW[1].text = "";
  eip.press("btnDownload");
  EXPECT_EQ(eip.dialogs.messages,
            (std::vector<Msg>{Info("Please enter number in Default Gateway."), kDownloadIncomplete}));
  EXPECT_EQ(SettingWrites(eip.wire), Lines());
}

TEST(EthernetWindow, FailuresEndWithTheirMessageAndEnableTheWindow) {
  NetRig<frmEthernet> rig("Q5V3PE-6-BO16");
  auto& w = *rig.window;
  rig.port->fault("noreply:00/30");
  EXPECT_EQ(rig.press("btnUpload").back(), "I30");
  EXPECT_EQ(rig.dialogs.messages, (std::vector<Msg>{kUploadIncomplete}));
  EXPECT_TRUE(w.btnUpload.enabled && w.btnExit.enabled && w.txtIP[0].enabled);

  NetRig<frmEthernet> rig2("Q5V3PE-6-BO16");
  rig2.port->fault("noreply:=I01");
  EXPECT_EQ(rig2.press("btnDownload"), (Lines{"G00", "I01", "G00", "I01", "G00", "I01", "G00", "I01"}));
  EXPECT_EQ(rig2.dialogs.messages, (std::vector<Msg>{kDownloadIncomplete}));
}

TEST(EthernetWindow, TypingRules) {
  NetRig<frmEthernet> rig("Q5V3PE-6-BO16");
  auto& w = *rig.window;
  rig.dialogs.clear();
  rig.takeWire();
  rig.type(w.txtIP[3], "txtIP(3)", "1234");
  EXPECT_EQ(w.txtIP[3].text, "123");
  rig.type(w.txtSNM[0], "txtSNM(0)", "2555");
  EXPECT_EQ(w.txtSNM[0].text, "255");
  rig.type(w.txtDGW[1], "txtDGW(1)", "");
  EXPECT_TRUE(rig.dialogs.messages.empty());
  // Above 255: a warning, the text stays as typed.
  rig.type(w.txtIP[2], "txtIP(2)", "300");
  EXPECT_EQ(w.txtIP[2].text, "300");
  EXPECT_EQ(rig.dialogs.messages, (std::vector<Msg>{Info("Please enter 0 to 255.")}));
  rig.dialogs.clear();
  // A sign among the first three characters: the two-line number message only.
  rig.type(w.txtIP[1], "txtIP(1)", "-5");
  rig.type(w.txtTimeout[0], "txtTimeout(0)", "40000");
  rig.type(w.txtPort[2], "txtPort(2)", "x");
  rig.type(w.txtTimeout[3], "txtTimeout(3)", "1.5");
  EXPECT_EQ(rig.dialogs.messages,
            (std::vector<Msg>(4, Info("Please enter number.\r\n0 to 32767."))));
  rig.dialogs.clear();
  rig.type(w.txtPort[2], "txtPort(2)", "502");
  rig.type(w.txtTimeout[0], "txtTimeout(0)", "32767");
  EXPECT_TRUE(rig.dialogs.messages.empty());
  EXPECT_TRUE(rig.wire.empty());  // typing never talks to the unit
}

TEST(EthernetWindow, ExitHidesAndConnectsAgain) {
  NetRig<frmEthernet> rig("Q5V3PE-6-BO16");
  const Lines wire = rig.press("btnExit");
  EXPECT_FALSE(rig.window->visible);
  // Connect: the identification check, then Upload reads the unit again.
  ASSERT_GE(wire.size(), 4u);
  EXPECT_EQ(Lines(wire.begin(), wire.begin() + 4), (Lines{"G00", "I01", "G00", "I01"}));
  EXPECT_TRUE(rig.session.values.Connected);
  EXPECT_EQ(Enabled(rig.session.buttons()), "Start Disconnect ComNet Upload Download");
}

TEST(DeviceNetWindow, StatusSerialAndTimeOut) {
  NetRig<frmDeviceNet> rig("Q5W3ND-BI32A-I");
  ASSERT_NE(rig.window, nullptr);
  auto& w = *rig.window;
  EXPECT_EQ(w.caption, "DeviceNet Setting");
  const Lines upload{"G00", "I01", "G00", "I01", "D1", "G00", "I52", "G00", "I60", "G00", "I51"};
  EXPECT_EQ(rig.press("btnUpload"), upload);
  EXPECT_EQ(w.cmbStatus.text(), "ON");
  EXPECT_EQ(w.txtSerial.text, "00A1B2C3");
  EXPECT_EQ(w.txtTimeout.text, "20");
  EXPECT_FALSE(w.txtTimeout.locked);
  EXPECT_EQ(w.txtTimeout.backColour, 0xFFFFFFu);
  EXPECT_FALSE(w.cmbStatus.enabled || w.txtSerial.enabled);
  for (const auto& [reply, shown] :
       std::vector<std::pair<std::string, std::string>>{{"0", "OFF"}, {"2", "ON"}, {"1", "ON"},
                                                       {"0", "OFF"}}) {
    rig.unit().item("00", "52").set(reply);
    w.btnUpload_Click();
    EXPECT_EQ(w.cmbStatus.text(), shown) << reply;
  }

  // The box is grey while the download runs.
  rig.onSent = [&](const std::string& line) {
    if (line == "D55") {
      EXPECT_EQ(w.txtTimeout.backColour, 0xF0F0F0u);
    }
  };
  w.txtTimeout.text = "55";
  EXPECT_EQ(rig.press("btnDownload"),
            Concat({"G00", "I01", "G00", "I01", "D1", "G00", "I51", "D55"}, upload));
  EXPECT_EQ(rig.unit().value("00", "51"), "55");
  rig.onSent = nullptr;

  for (const auto& [text, message] :
       std::vector<std::pair<std::string, std::string>>{
           {"", "Please enter number in TimeOut Box."},
           {"abc", "Please enter number in TimeOut Box."},
           {"40000", "Please enter 0 to 32767."}}) {
    SCOPED_TRACE(text);
    w.txtTimeout.text = text;
    const Lines wire = rig.press("btnDownload");
    EXPECT_EQ(rig.dialogs.messages, (std::vector<Msg>{Info(message), kDownloadIncomplete}));
    // Nothing written; the upload runs after the failure as well.
    EXPECT_EQ(wire, Concat({"G00", "I01"}, upload));
    EXPECT_EQ(w.txtTimeout.text, "55");
  }
  rig.dialogs.clear();
  rig.type(w.txtTimeout, "txtTimeout", "-3");
  EXPECT_EQ(rig.dialogs.messages, (std::vector<Msg>{Info("Please enter number.\r\n0 to 32767.")}));
}

TEST(DeviceNetWindow, FailedUploadDisconnectsAndLeavesUploadAndExit) {
  SessionRig rig("Q5W3UD-BO16A-H");
  rig.connect();
  q5::netpages::NetworkContext ctx{rig.session.link(), rig.dialogs, rig.session.values,
                                   [&] { rig.session.UnitDisconnect(); }, nullptr, nullptr};
  frmDeviceNet w(ctx);
  // Before the first upload: "OFF", nothing to download.
  EXPECT_EQ(w.cmbStatus.text(), "OFF");
  EXPECT_FALSE(w.btnDownload.enabled);
  EXPECT_TRUE(w.txtTimeout.locked);
  rig.port->fault("noreply:00/60");
  rig.dialogs.clear();
  EXPECT_FALSE(w.btnUpload_Click());
  EXPECT_EQ(rig.dialogs.messages, (std::vector<Msg>{kUploadIncomplete}));
  EXPECT_FALSE(rig.session.values.Connected);
  EXPECT_EQ(rig.session.labels().lblConStatus, "Disconnected");
  EXPECT_TRUE(w.btnUpload.enabled && w.btnExit.enabled);
  EXPECT_FALSE(w.btnDownload.enabled);
}

TEST(CCLinkIEFieldWindow, NetworkNumberOneTo239) {
  NetRig<frmCClinkIEField> rig("Q5Z3UCIE-SG2-9/F1");
  ASSERT_NE(rig.window, nullptr);
  auto& w = *rig.window;
  EXPECT_EQ(w.caption, "CC-Link IE Field Setting");
  const Lines upload{"G00", "I01", "DF", "I06", "I41", "I43", "I40", "I45"};
  EXPECT_EQ(rig.press("btnUpload"), upload);
  EXPECT_EQ(w.txtNetWorkNo.text, "1");
  EXPECT_EQ(w.lblID.caption, "1");
  EXPECT_EQ(w.lblMac.caption, "00-11-22-33-44-AB");
  EXPECT_EQ(w.lblStatus.caption, "Data Link");
  EXPECT_EQ(frmCClinkIEField::MacCaption("0011"), "00-11----");

  w.txtNetWorkNo.text = "239";
  EXPECT_EQ(rig.press("btnDownload"), Concat({"G00", "I01", "DF", "I41", "D239"}, upload));
  EXPECT_TRUE(rig.dialogs.messages.empty());
  EXPECT_EQ(w.txtNetWorkNo.text, "239");
  for (const auto& [text, message] : std::vector<std::pair<std::string, std::string>>{
           {"240", "Please enter 1 to 239."},
           {"0", "Please enter 1 to 239."},
           {"", "Please enter number in Net Work No. Box."}}) {
    SCOPED_TRACE(text);
    w.txtNetWorkNo.text = text;
    EXPECT_EQ(rig.press("btnDownload"), (Lines{"G00", "I01", "DF"}));
    EXPECT_EQ(rig.dialogs.messages, (std::vector<Msg>{Info(message), kDownloadIncomplete}));
  }
  EXPECT_EQ(rig.unit().value("00", "41"), "239");

  rig.dialogs.clear();
  rig.type(w.txtNetWorkNo, "txtNetWorkNo", "0");
  rig.type(w.txtNetWorkNo, "txtNetWorkNo", "");
  rig.type(w.txtNetWorkNo, "txtNetWorkNo", "239");
  EXPECT_TRUE(rig.dialogs.messages.empty());
  rig.type(w.txtNetWorkNo, "txtNetWorkNo", "240");
  EXPECT_EQ(rig.dialogs.messages, (std::vector<Msg>{Info("Please enter 1 to 239.")}));
}

TEST(ModbusWindow, ListsTravelAsIndexesAndStopBitsAsTheirNumber) {
  NetRig<frmModbus> rig("Q5V3UM-AC32");
  ASSERT_NE(rig.window, nullptr);
  auto& w = *rig.window;
  EXPECT_EQ(w.caption, "Modbus Setting");
  EXPECT_EQ(w.cmbBaudRate.items, (Lines{"38400 bps", "19200 bps", " 9600 bps", " 4800 bps"}));
  const Lines upload{"G00", "I01", "DF", "I08", "I09", "I10", "I11"};
  rig.unit().item("00", "10").set("2");
  EXPECT_EQ(rig.press("btnUpload"), upload);
  EXPECT_EQ(w.cmbStopBit.text(), "2 bit");
  EXPECT_EQ(w.cmbBaudRate.text(), " 9600 bps");
  EXPECT_EQ(w.cmbByteOder.text(), "Lower(n+1) Upper(n)");

  w.cmbStopBit.index = 0;
  w.cmbBaudRate.index = 0;
  w.cmbParity.index = 1;
  EXPECT_EQ(rig.press("btnDownload"),
            Concat({"G00", "I01", "DF", "I08", "D0", "I09", "D1", "I10", "D1", "I11", "D1"},
                   upload));
  EXPECT_EQ(rig.unit().value("00", "10"), "1");
  EXPECT_EQ(w.cmbParity.text(), "EVEN");

  // A baud rate that is not a number leaves the selection; parity is still read.
  w.cmbBaudRate.index = 3;
  rig.port->fault("reply:00/08:CBAUD\\x3A--*4");
  rig.unit().item("00", "09").set("2");
  EXPECT_EQ(rig.press("btnUpload"), upload);
  EXPECT_TRUE(rig.dialogs.messages.empty());
  EXPECT_EQ(w.cmbBaudRate.index, 3);
  EXPECT_EQ(w.cmbParity.text(), "NONE");

  rig.port->fault("noreply:00/11");
  EXPECT_EQ(rig.press("btnUpload").back(), "I11");
  EXPECT_EQ(rig.dialogs.messages, (std::vector<Msg>{kUploadIncomplete}));
}

TEST(NetworkWindows, EachNetworkTypeOpensItsWindowAndOthersNone) {
  for (const auto& [model, name] : std::vector<std::pair<std::string, std::string>>{
           {"Q5W3ND-BIO32", "frmDeviceNet"},
           {"Q5V3PE-6-BO16", "frmEthernet"},
           {"Q5Z3UCIE-SG2-9/F2K", "frmCClinkIEField"},
           {"Q5V3PM-BI32", "frmModbus"}}) {
    SCOPED_TRACE(model);
    SessionRig rig(model);
    rig.connect();
    bool shownWithEveryButtonOff = false;
    rig.view.onNetworkWindow = [&](int) {
      shownWithEveryButtonOff = Enabled(rig.session.buttons()).empty();
      // Shown after it read the unit: its buttons are usable.
      EXPECT_TRUE(rig.session.networkWindow()->btnUpload.enabled);
    };
    rig.session.btnComNet_Click();
    ASSERT_NE(rig.session.networkWindow(), nullptr);
    EXPECT_EQ(rig.session.networkWindow()->name(), name);
    EXPECT_TRUE(shownWithEveryButtonOff);
    EXPECT_TRUE(rig.dialogs.messages.empty());
    EXPECT_EQ(rig.unit().unknownItems(), Lines());
  }
  SessionRig none("Q5T3NML3-6-AI4");
  none.connect();
  none.session.btnComNet_Click();
  EXPECT_EQ(none.session.networkWindow(), nullptr);
}

// A Download the unit partly refuses: the window reads its settings back, then one box
// names the writes. A list with nothing selected (an incomplete read) writes nothing.
TEST(ModbusWindow, RefusedWritesAreNamedAndAnEmptyListWritesNothing) {
  NetRig<frmModbus> rig("Q5V3UM-AC32");
  ASSERT_NE(rig.window, nullptr);
  auto& w = *rig.window;
  rig.port->fault("cng:00/09/D");
  const Lines wire = rig.press("btnDownload");
  ASSERT_FALSE(wire.empty());
  EXPECT_EQ(wire.back(), "I11");  // read back
  ASSERT_EQ(rig.dialogs.messages.size(), 1u);
  EXPECT_EQ(rig.dialogs.messages[0].caption, "Downloading");
  EXPECT_NE(rig.dialogs.messages[0].text.find("Downloading incomplete\r\n1 write refused or "
                                              "unanswered (last: I09 D"),
            std::string::npos)
      << rig.dialogs.messages[0].text;

  w.cmbParity.index = -1;
  EXPECT_TRUE(rig.press("btnDownload").empty());
  ASSERT_EQ(rig.dialogs.messages.size(), 1u);
  EXPECT_NE(rig.dialogs.messages[0].text.find("Parity (cmbParity)"), std::string::npos)
      << rig.dialogs.messages[0].text;
}
