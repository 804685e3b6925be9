#pragma once
// What every module page offers the main window, and what it may use: the link, the
// dialogs and the session values, through a PageContext. A page never touches Qt.
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "link/Link.h"
#include "pages/Controls.h"
#include "session/SessionValues.h"
#include "ui/UserDialogs.h"

namespace q5::pages {

struct PageContext {
  link::Link& link;
  ui::UserDialogs& dialogs;
  const session::SessionValues& values;
  // UnitDisconnect of the main window: port closed, "Disconnected", monitoring off.
  std::function<void()> disconnect;
  // Opens the "Change Value" dialog (modeless) for the page with manual outputs. Set by
  // the session; a live value box clicked during monitoring calls it.
  std::function<void()> openChangeValue = {};
  // The main window's button state for monitoring, entered (true) and left (false): a
  // pulse page's request button holds the window in it while the request runs.
  std::function<void(bool)> monitorButtons = {};
  // Replaces the channel count of the connection (a unit that reports each of its
  // channels twice has its count halved by its page).
  std::function<void(int)> setChannelCount = {};
};

class ModulePage {
 public:
  // Retry count of every page transaction unless a page says otherwise.
  static constexpr int kRetry = 3;

  explicit ModulePage(PageContext& ctx) : ctx_(ctx) {}
  virtual ~ModulePage() = default;
  ModulePage(const ModulePage&) = delete;
  ModulePage& operator=(const ModulePage&) = delete;

  virtual std::string_view name() const = 0;  // "frmAI4"
  virtual int pageKind() const = 0;

  // Reads every setting of the unit into the controls. False when a read came back
  // empty (the Upload failure was shown and the unit disconnected).
  virtual bool Init() = 0;
  // Writes the controls to the unit.
  virtual void Download() = 0;
  // One pass of live values.
  virtual void ReadingData() {}
  // Pages without a range check count as valid and are not asked.
  virtual bool hasCheckData() const { return true; }
  virtual bool CheckData() { return true; }
  // Enables or disables every editing control; fixed and display-only fields stay off.
  virtual void txt_able(bool enable) {}
  virtual void txt_able2(bool enable) {}
  // Whether Start/Stop/Disconnect call txt_able on this page (the 32-point discrete
  // pages are left alone).
  virtual bool monitorTogglesEditing() const { return true; }
  // The linearizer page moves its table grid into its controls before CheckData.
  virtual void dgd_download() {}
  // The pulse page locks (comdis) and frees (comena) its own command buttons when
  // monitoring starts and stops.
  virtual void comdis() {}
  virtual void comena() {}

  // Clears and refills the lists, and sets what the model decides (visible rows, fixed
  // fields, captions), as Init does before it reads. Opening a configuration file calls
  // it before it puts the file's values into the controls.
  virtual void PrepareControls() {}
  // Recomputes what depends on control values (unit labels after a range, rows shown
  // for a data type), as after values were read from the unit.
  virtual void ValuesChanged() {}

  // Every named control, for views, the command line and tests.
  virtual void visitControls(ControlVisitor& v);

  // --- Actions and edits by name ---------------------------------------------------
  // Presses the button (or clicks the box) of that control name, as a person would:
  // "cmdSet2", "cmdPreset(2)", "Command3", "txtParData(0)" (a live value box). Views
  // bind every button to it, the command line's "press" and tests call it. False when
  // the page has no action of that name. Pages override it for their own buttons and
  // hand every other name to this one, which serves the tab buttons and the live value
  // boxes of pages with manual outputs.
  virtual bool Press(std::string_view name);
  // A person changed the control of that name (chose a list item, typed into a box):
  // the page runs its change handler, if it has one (CmbDataType_Click ...).
  virtual void Edited(std::string_view name) {}
  // A person left the box of that name (its LostFocus handler, if it has one).
  virtual void LostFocus(std::string_view name) {}

  // --- Manual outputs (pages whose values "Change Value" sets while monitoring) -------
  // How many value boxes "Change Value" shows for this page and unit (0: the page has
  // no manual outputs; 1, 2 or 4).
  virtual int manualOutputCount() const { return 0; }
  // The present output value of channel i, copied into the dialog when it opens.
  virtual std::string manualOutputValue(int i) const { return {}; }
  // Queues the values; the next ReadingData pass writes them. Nothing is sent here.
  virtual void WritingData(const std::vector<std::string>& values) {}
  // txtParData_Click: only while monitoring, a page with manual outputs opens
  // "Change Value". True when the dialog was opened.
  bool txtParData_Click(int index);

  // Tabs: clicking cmdSetN shows frmSetN, hides the others, disables cmdSetN and enables
  // the other tab buttons. n counts from 1.
  void cmdSet_Click(int n);

  Label lblV_Unit;               // "Type": the module part
  std::vector<Button> cmdSet;    // tab buttons (empty on pages without tabs)
  std::vector<Frame> frmSet;     // tab frames

 protected:
  // A read came back empty during Init: close the progress window, "Upload Error" /
  // "Upload" / error icon, disconnect.
  void UploadFailure();
  // The progress window.
  void ProgressOpen(double maximum, const std::string& caption) {
    ctx_.dialogs.progressOpen(maximum, caption);
  }
  void ProgressStep() { ctx_.dialogs.progressStep(); }
  void ProgressClose() { ctx_.dialogs.progressClose(); }
  // Sets up n tabs with the given captions (tab 1 shown).
  void MakeTabs(const std::vector<std::string>& captions);
  // The start of Init: tab 1 shown, the others hidden, every tab button disabled while
  // the page loads.
  void ResetTabs();
  // Download: every tab button disabled (the re-Upload enables them again).
  void DisableTabs();
  // A module-wide or secondary value came back empty: Init ends without a message and
  // leaves the controls disabled; the progress window goes, since nothing is in
  // progress any more. Returns what Init returns then.
  bool EndInitQuietly() {
    ProgressClose();
    return true;
  }

  link::Link& link() { return ctx_.link; }
  const session::SessionValues& values() const { return ctx_.values; }
  PageContext& ctx_;
};

// The placeholder page frmNONE, shown (as a null page) for units whose module has no
// page: its text, and the maker's address a label shows under it.
inline constexpr std::string_view kNonePageName = "frmNONE";
inline constexpr std::string_view kNonePageText = "Please download the latest version.";

// The page of a page kind, or nullptr for kinds that have no page yet (frmNONE is shown).
std::unique_ptr<ModulePage> CreatePage(int pageKind, PageContext& ctx);

}  // namespace q5::pages
