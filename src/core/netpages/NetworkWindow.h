#pragma once
// What the four network settings windows share: the link, the dialogs and the unit's
// identity they are given, the buttons "Upload", "Download" and "Exit", the failure
// messages, and the buttons and edits by control name that views, the command line and
// tests use. A window reads its settings from the unit before it is shown, and keeps
// them only in its controls.
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "catalogue/UnitIdentity.h"
#include "link/Link.h"
#include "pages/Controls.h"
#include "ui/UserDialogs.h"

namespace q5::netpages {

struct NetworkContext {
  link::Link& link;
  ui::UserDialogs& dialogs;
  const catalogue::UnitIdentity& values;  // the unit, owned by the session
  // UnitDisconnect of the main window: port closed, "Disconnected".
  std::function<void()> disconnect;
  // The main window's Connect: connects again and re-reads the unit (Exit calls it).
  std::function<void()> reconnect;
  // A person pressed one of the window's buttons: a new action, so the link forgets a
  // unit it gave up and a stop left by what came before (a failed read that disconnected
  // the unit), and talks to the unit afresh.
  std::function<void()> buttonPressed;
};

// Back colours of entry boxes, 0xRRGGBB.
inline constexpr pages::Rgb kWindowWhite = 0xFFFFFF;
inline constexpr pages::Rgb kButtonFace = 0xF0F0F0;

class NetworkWindow {
 public:
  // Retry count of every transaction of the network windows.
  static constexpr int kRetry = 3;

  explicit NetworkWindow(NetworkContext& ctx);
  virtual ~NetworkWindow() = default;
  NetworkWindow(const NetworkWindow&) = delete;
  NetworkWindow& operator=(const NetworkWindow&) = delete;

  virtual std::string_view name() const = 0;  // "frmEthernet"

  // Reads the unit's network settings into the controls. False when a reply came back
  // empty ("Uploading incomplete" was shown).
  virtual bool btnUpload_Click() = 0;
  // Checks the entries, writes them and reads everything back. False when an entry was
  // refused, the unit gave no reply, a write was refused or the re-read was incomplete.
  virtual bool btnDownload_Click() = 0;
  // Hides the window and connects again through the main window.
  void btnExit_Click();

  // Every named control, for views, the command line and tests.
  virtual void visitControls(pages::ControlVisitor& v);
  // Presses "btnUpload", "btnDownload" or "btnExit" as a person would; false for other
  // names (and for a disabled button).
  bool Press(std::string_view name);
  // A person changed the control of that name: the window's typing rules run.
  virtual void Edited(std::string_view name) {}

  std::string caption;  // "Ethernet Setting"
  bool visible = true;  // false once Exit hid the window
  pages::Button btnUpload;
  pages::Button btnDownload;
  pages::Button btnExit;

 protected:
  // "Uploading incomplete" / "Uploading", error icon.
  void UploadIncomplete();
  // "Downloading incomplete" / "Downloading", error icon.
  void DownloadIncomplete();
  // An entry refused before anything is written: its own message (information icon,
  // the program's title as caption), then "Downloading incomplete".
  void RefuseEntry(const std::string& text);
  // A message of the typing rules (information icon, the program's title as caption).
  void Warn(const std::string& text);
  void Buttons(bool enable) {
    btnUpload.enabled = btnDownload.enabled = btnExit.enabled = enable;
  }

  link::Link& link() { return ctx_.link; }
  ui::UserDialogs& dialogs() { return ctx_.dialogs; }
  const catalogue::UnitIdentity& values() const { return ctx_.values; }
  NetworkContext& ctx_;

 private:
  bool incompleteShown_ = false;  // "… incomplete" said during this Download
};

// The number a text box holds, as a person would read it: blanks around it allowed, a
// sign, a fraction or an exponent allowed; nothing for text that is not a number.
std::optional<double> NumericValue(std::string_view text);
// A list index the unit reported: a number (rounded) within the 16-bit range; nothing
// for other text.
std::optional<int> IndexValue(std::string_view text);
// A whole number of at most five digits with nothing else in the box: what an address
// box, a port or a timer may hold when it is written to the unit.
std::optional<long> WholeNumber(std::string_view text);

// The window of a network type code (1 DeviceNet, 4 Ethernet, 6 CC-Link IE Field,
// 7 Modbus); nullptr for any other code.
std::unique_ptr<NetworkWindow> CreateNetworkWindow(int networkType, NetworkContext& ctx);

}  // namespace q5::netpages
