#pragma once
// What every module page offers the main window, and what it may use: the link, the
// dialogs and the unit's identity, through a PageContext. A page never touches Qt.
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "catalogue/UnitIdentity.h"
#include "link/Link.h"
#include "pages/Controls.h"
#include "ui/UserDialogs.h"

namespace q5::pages {

class RecordStream;

struct PageContext {
  link::Link& link;
  ui::UserDialogs& dialogs;
  // The unit the page serves (model, flags, kinds, channel count), owned by the session.
  const catalogue::UnitIdentity& values;
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
  // Whether the main window's monitoring runs (between "Start" and "Stop"); unset: never.
  std::function<bool()> monitoring = {};
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
  // The field the last failing CheckData stopped at and why; empty after a passing
  // check. The main window's "Data Range Error" carries it as its cause.
  const CheckFailure& lastCheckFailure() const { return checkFailure_; }
  // Enables or disables every editing control; fixed and display-only fields stay off.
  virtual void txt_able(bool enable) {}

  // --- What the main window asks of the page around its sequences -------------------
  // Start (false), Stop and Disconnect (true): the editing controls follow monitoring.
  // Most pages run txt_able; the AC current page runs its txt_able2 instead, the
  // load-cell page both, the 32-point discrete pages nothing.
  virtual void AllowEditing(bool allow) { txt_able(allow); }
  // Monitoring started (true: start_btn_control) or stopped (false: stop_btn_control).
  // The pulse page locks (comdis) and frees (comena) its own command buttons.
  virtual void MonitoringChanged(bool running) {}
  // Download, before CheckData: what a person typed into a part of the page that is
  // kept apart from its values goes into them (the linearizer's table grid:
  // dgd_download).
  virtual void TakeEdits() {}

  // Clears and refills the lists, and sets what the model decides (visible rows, fixed
  // fields, captions), as Init does before it reads. Opening a configuration file calls
  // it before it puts the file's values into the controls.
  virtual void PrepareControls() {}
  // Recomputes what depends on control values (unit labels after a range, rows shown
  // for a data type), as after values were read from the unit.
  virtual void ValuesChanged() {}

  // Every named control, for views, the command line and tests.
  virtual void visitControls(ControlVisitor& v);

  // --- Configuration file ---------------------------------------------------------
  // The page's records of a configuration file, in file order, with the model
  // conditions tested against the stream's model string. The one walk serves both ways:
  // writing formats each control's value, reading puts the next field into the control
  // (the lists filled by PrepareControls first).
  virtual void records(RecordStream& io) = 0;
  // Puts the values of a new configuration of `model` (Model Select) into the controls,
  // their lists filled by PrepareControls. False for pages that cannot be created
  // offline.
  virtual bool newDefaults(std::string_view model) { return false; }

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

  // The start of a check: no failure noted yet.
  void BeginCheck() { checkFailure_ = {}; }
  // Notes the field a check stopped at; false, so that a check can return it.
  bool Refuse(std::string control, std::string why) {
    checkFailure_ = {std::move(control), std::move(why)};
    return false;
  }
  // The text against the control's declared range: true when it is taken, else the
  // field is noted as where the check stopped.
  bool CheckDeclared(const ControlInfo& info, std::string_view text) {
    return InDeclaredRange(info, text) || Refuse(info.name, OutOfRangeReason(info, text));
  }
  // A "Data Range Error" box a button's own check shows, with the field it concerns.
  void RangeMessage(const std::string& text, const std::string& control,
                    const std::string& why = {});

  link::Link& link() { return ctx_.link; }
  const catalogue::UnitIdentity& values() const { return ctx_.values; }
  bool Monitoring() const { return ctx_.monitoring && ctx_.monitoring(); }
  PageContext& ctx_;
  CheckFailure checkFailure_;
};

// The placeholder page frmNONE, shown (as a null page) for units whose module has no
// page: its text, and the maker's address a label shows under it.
inline constexpr std::string_view kNonePageName = "frmNONE";
inline constexpr std::string_view kNonePageText = "Please download the latest version.";

}  // namespace q5::pages
