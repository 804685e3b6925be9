#include "session/Session.h"

#include "pages/ControlByName.h"

#include <charconv>
#include <cmath>
#include <sstream>

#include "catalogue/Catalogue.h"
#include "link/TextRoutines.h"
#include "pages/PageHelpers.h"
#include "pages/Selections.h"

namespace q5::session {

namespace {

// Retry counts of the main window's transactions.
constexpr int kRetry = 3;
constexpr int kConnectRetry = 1;

// The button-state routines as one table. Each row gives Start, Stop, Connect,
// Disconnect, Setting, network button, Upload, Download; X stands for the routine's
// argument.
enum Cell : char { Off = 0, On = 1, X = 2 };
struct Row {
  Cell start, stop, connect, disconnect, setting, comNet, upload, download;
};

constexpr Row kAll{X, X, X, X, X, X, X, X};
constexpr Row kConnectConnected{On, Off, Off, On, On, On, On, On};
constexpr Row kConnectNotConnected{On, Off, On, Off, On, Off, Off, Off};
constexpr Row kSettingConnected{On, Off, Off, On, On, On, On, On};
constexpr Row kSettingNotConnected{On, Off, On, Off, Off, Off, Off, Off};
constexpr Row kStart{Off, On, Off, On, Off, Off, Off, Off};
constexpr Row kStopConnected{On, Off, Off, On, Off, On, On, On};
constexpr Row kStopNotConnected{On, Off, On, Off, Off, Off, Off, Off};
constexpr Row kDisconnectConnected{Off, Off, Off, On, Off, Off, On, On};
constexpr Row kDisconnectNotConnected{Off, Off, On, Off, On, Off, Off, Off};
constexpr Row kIoConnected{X, Off, Off, X, Off, X, X, X};
constexpr Row kIoNotConnected{On, Off, On, Off, On, Off, Off, Off};

Buttons Apply(const Row& row, bool x) {
  auto v = [x](Cell c) { return c == X ? x : c == On; };
  Buttons b;
  b.btnStart = v(row.start);
  b.btnStop = v(row.stop);
  b.btnConnect = v(row.connect);
  b.btnDisconnect = v(row.disconnect);
  b.btnSetting = v(row.setting);
  b.btnComNet = v(row.comNet);
  b.btnUpload = v(row.upload);
  b.btnDownload = v(row.download);
  return b;
}

// Channel count from the status reply: "1CHs" .. "32CHs", any other whole number as
// its value; other texts leave the count as it was.
void ChannelCountFrom(const std::string& c, std::int16_t& count) {
  static const std::pair<const char*, std::int16_t> kNamed[] = {
      {"1CHs", 1}, {"2CHs", 2}, {"4CHs", 4}, {"8CHs", 8}, {"16CHs", 16}, {"32CHs", 32}};
  for (const auto& [text, n] : kNamed) {
    if (c == text) {
      count = n;
      return;
    }
  }
  // A plain number (blanks around it allowed), possibly with a fraction that rounds.
  std::istringstream in(c);
  double value = 0;
  if (!(in >> value)) return;
  in >> std::ws;
  if (!in.eof()) return;
  // The range is checked on the number as read, before any conversion: out of the
  // 16-bit range ("1e20", "inf") the count would overflow; keep the previous count.
  if (!std::isfinite(value) || value <= INT16_MIN - 0.5 || value >= INT16_MAX + 0.5) return;
  count = static_cast<std::int16_t>(value < 0 ? -std::floor(-value + 0.5) : std::floor(value + 0.5));
}

// "Version : " and the first four characters of the version read (item "06").
std::string VersionText(const std::string& reply) {
  return "Version : " + link::ValueAfterColon(reply).substr(0, 4);
}

}  // namespace

// Marks a sequence a person started. The outermost one starts the link afresh (failures,
// a given-up unit, a Stop) and, when it unwinds, records what failed and shows the
// button states that a Stop or Disconnect pressed in the middle of it had asked for.
class Session::SequenceScope {
 public:
  explicit SequenceScope(Session& s) : s_(s) {
    if (s_.sequenceDepth_++ > 0) return;
    s_.link_.markSequence();
    s_.failure_.clear();
    s_.sequenceFailure_.clear();
  }
  ~SequenceScope() {
    if (--s_.sequenceDepth_ > 0) return;
    s_.link_.endSequence();
    s_.link_.setRefusalsFail(false);
    const auto& f = s_.link_.failures();
    s_.failure_ = f.any() ? f.describe() : std::string();
    if (!s_.sequenceFailure_.empty())
      s_.failure_ = s_.failure_.empty() ? s_.sequenceFailure_ : s_.sequenceFailure_ + "; " + s_.failure_;
    if (s_.closeWhenUnwound_) {
      s_.closeWhenUnwound_ = false;
      s_.exchange_.ComPortClose();
    }
    if (s_.buttonsDeferred_) {
      s_.buttonsDeferred_ = false;
      s_.buttons_ = s_.deferredButtons_;
    }
    s_.changed();
  }
  SequenceScope(const SequenceScope&) = delete;
  SequenceScope& operator=(const SequenceScope&) = delete;

 private:
  Session& s_;
};

Session::Session(link::Exchange& exchange, ui::UserDialogs& dialogs)
    : exchange_(exchange),
      dialogs_(dialogs),
      link_(exchange),
      pageContext_{link_, dialogs_, values, [this] { UnitDisconnect(); }},
      networkContext_{link_, dialogs_, values, [this] { UnitDisconnect(); },
                      [this] { btnConnect_Click(); }, [this] { link_.markSequence(); }} {
  pageContext_.openChangeValue = [this] {
    pages::ModulePage* p = page();
    if (!p) return;
    // Loaded when it opens; a click while it is open keeps what was typed into it.
    if (!changeValue.loaded() || changeValue.page() != p) changeValue.Load(*p, values.channelCount);
    if (view_) view_->openChangeValueDialog(changeValue);
  };
  pageContext_.monitorButtons = [this](bool on) {
    if (on)
      start_btn_control();
    else
      stop_btn_control();
  };
  pageContext_.setChannelCount = [this](int n) { values.channelCount = static_cast<std::int16_t>(n); };
  pageContext_.monitoring = [this] { return values.Monitoring; };
  // Start-up: only "Setting" is enabled.
  buttons_ = Buttons{};
}

Session::~Session() = default;

void Session::changed() {
  // A page not completely read is never offered for Download.
  if (pageIncomplete_) buttons_.btnDownload = false;
  if (view_) view_->refresh();
}

void Session::setLamp(std::uint32_t colour) {
  lamp_ = colour;
  changed();
}

void Session::setPortName(const std::string& name) {
  portName_ = name;
  labels_.lblComPortNo = name;
  changed();
}

void Session::ParseCommandLine(const std::vector<std::string>& args) {
  std::vector<std::string> words;
  for (const auto& arg : args) {
    std::istringstream in(arg);
    std::string w;
    while (in >> w) words.push_back(w);
  }
  if (words.size() != 1) return;
  if (words[0] == "-firmupdate") {
    values.FirmUpdateMode = true;
    menus_.firmUpdateVisible = true;
    menus_.firmUpdateEnabled = false;
  } else if (words[0] == "-debug") {
    values.DebugMode = true;
    menus_.debugInfoVisible = true;
    menus_.debugInfoEnabled = true;
  }
  changed();
}

// --- Button-state routines ----------------------------------------------------------

void Session::all_btn_control(bool enable) {
  buttons_ = Apply(kAll, enable);
  changed();
}

void Session::io_btn_control(bool enable) {
  buttons_ = Apply(values.Connected ? kIoConnected : kIoNotConnected, enable);
  changed();
}

void Session::start_btn_control() {
  buttons_ = Apply(kStart, false);
  values.Monitoring = true;
  if (auto* p = page()) p->MonitoringChanged(true);  // frmPI2: comdis
  changed();
}

void Session::stop_btn_control() {
  buttons_ = Apply(values.Connected ? kStopConnected : kStopNotConnected, false);
  values.Monitoring = false;
  if (auto* p = page()) p->MonitoringChanged(false);  // frmPI2: comena
  changed();
}

void Session::disconnect_btn_control() {
  buttons_ = Apply(values.Connected ? kDisconnectConnected : kDisconnectNotConnected, false);
  changed();
}

void Session::connect_btn_control() {
  buttons_ = Apply(values.Connected ? kConnectConnected : kConnectNotConnected, false);
  changed();
}

void Session::setting_btn_control() {
  buttons_ = Apply(values.Connected ? kSettingConnected : kSettingNotConnected, false);
  changed();
}

// --- Pages ----------------------------------------------------------------------------

pages::ModulePage* Session::pageFor(int pageKind) {
  if (!IsPageKind(pageKind)) return nullptr;
  auto it = pages_.find(pageKind);
  if (it != pages_.end()) return it->second.get();
  auto created = pageFactory_ ? pageFactory_(pageKind, pageContext_)
                              : pages::CreatePage(pageKind, pageContext_);
  if (!created) return nullptr;
  auto* raw = created.get();
  pages_.emplace(pageKind, std::move(created));
  return raw;
}

pages::ModulePage* Session::page() { return pageFor(values.pageKind); }

void Session::ShowPage(pages::ModulePage* p) {
  if (view_) view_->showPage(p);
  values.PageShown = true;
  changed();
}

void Session::pageEditing(bool enable) {
  auto* p = page();
  if (!p) return;
  p->AllowEditing(enable);  // txt_able, or txt_able2, as the page has it
  if (view_) view_->pageUpdated();
}

// --- Unsaved page values ------------------------------------------------------------

void Session::markPageEdited() {
  discarded_ = false;
  setPageEdited(true);
}

void Session::setPageEdited(bool edited) {
  if (!edited) discarded_ = false;
  if (pageEdited_ == edited) return;
  pageEdited_ = edited;
  changed();
}

void Session::setPageIncomplete(bool incomplete) {
  if (pageIncomplete_ == incomplete) return;
  pageIncomplete_ = incomplete;
  changed();
}

bool Session::ConfirmReplacePage() {
  replaceDeclined_ = false;
  if (!pageEdited_ || ended_) return true;
  // Discarded once already within this action.
  if (discarded_ && replaceDepth_ > 0) return true;
  switch (dialogs_.askSaveDiscardCancel("Save changes?", std::string(link::kProgramTitle))) {
    case ui::SaveAnswer::Save:
      if (saveChanges && saveChanges()) return true;
      break;
    case ui::SaveAnswer::Discard:
      // The edits stay marked until something has replaced them.
      discarded_ = replaceDepth_ > 0;
      return true;
    case ui::SaveAnswer::Cancel:
      break;
  }
  replaceDeclined_ = true;
  ++declinedQuestions_;
  return false;
}

namespace {

class ButtonFinder : public pages::ControlVisitor {
 public:
  explicit ButtonFinder(std::string_view name) : name_(name) {}
  std::string caption;
  void button(const pages::ControlInfo& info, pages::Button& b) override {
    if (info.name == name_) caption = b.caption;
  }

 private:
  std::string_view name_;
};

// The caption a person sees on a page's button; its name when it has none.
std::string ButtonCaption(pages::ModulePage& page, std::string_view name) {
  ButtonFinder f(name);
  page.visitControls(f);
  std::string c;
  for (char ch : f.caption)
    if (ch != '&') c += ch;
  return c.empty() ? std::string(name) : c;
}

}  // namespace

std::string Session::UnselectedSetting(pages::ModulePage& page) {
  return pages::UnselectedList([&page](pages::ControlVisitor& v) { page.visitControls(v); });
}

// --- Setting ----------------------------------------------------------------------------

void Session::beginSetting() {
  if (ended_) return;
  all_btn_control(false);
}

void Session::comPortChosen(const std::string& portName) {
  if (ended_) return;
  ReplaceAction replacing(*this);
  if (!ConfirmReplacePage()) return;
  exchange_.ComPortClose();
  setPortName(portName);
  exchange_.ComPortOpen(portName);
  btnConnect_Click();
}

void Session::comPortDialogEmpty() {
  exchange_.ComPortClose();
  values.Connected = false;
  changed();
}

void Session::endSetting() {
  if (ended_) return;
  setting_btn_control();
  buttons_.btnSetting = !values.Connected;
  changed();
}

void Session::btnSetting_Click(const std::string* chosenPort) {
  beginSetting();
  if (chosenPort)
    comPortChosen(*chosenPort);
  else
    comPortDialogEmpty();
  endSetting();
}

// --- Connect / Disconnect ---------------------------------------------------------------

void Session::UnitConnect() {
  exchange_.ComPortOpen(portName_);
  const std::string id = link::ValueBeforeColon(link_.GroupItemReadRetry(kConnectRetry, "00", "01"));
  if (id != "MNTSW") {
    buttons_.btnSetting = true;
    changed();
    if (!ended_)
      dialogs_.failureMessage(ui::MessageCause::of(ui::FailureKind::Connection), "Connection Error", "Connection",
                              ui::Icon::Error);
    UnitDisconnect();
    return;
  }
  lamp_ = kLampConnected;
  labels_.lblComPortNo = portName_;
  labels_.lblConStatus = "Connected";
  values.Connected = true;
  menus_.informationEnabled = true;
  changed();
}

void Session::UnitDisconnect() {
  // What is left of a sequence after it disconnected is not sent (and not counted as
  // failures of the unit: the port was closed on purpose).
  if (sequenceRunning()) link_.requestStop();
  exchange_.ComPortClose();
  lamp_ = kLampDisconnected;
  labels_.lblConStatus = "Disconnected";
  values.Connected = false;
  values.Monitoring = false;
  menus_.informationEnabled = false;
  changed();
}

void Session::btnConnect_Click() {
  if (ended_) return;
  ReplaceAction replacing(*this);
  if (!ConfirmReplacePage()) return;
  SequenceScope sequence(*this);
  all_btn_control(false);
  UnitConnect();
  if (ended_) return;
  if (values.Connected) uploadAction();
  if (ended_) return;
  connect_btn_control();
  menus_.fileEnabled = true;
  menus_.modelSelectEnabled = false;
  menus_.informationEnabled = true;
  menus_.firmUpdateEnabled = true;
  buttons_.btnSetting = !values.Connected;
  changed();
}

void Session::btnDisconnect_Click() {
  if (ended_) return;
  // A sequence under way ends at its next exchange, without counting the closed port
  // as a failure of the unit.
  if (sequenceRunning()) link_.requestStop();
  setLamp(kLampDisconnected);
  UnitDisconnect();
  if (!IsPageKind(values.pageKind)) return;
  pageEditing(true);
  disconnect_btn_control();
  changeValue.Unload();
  if (view_) view_->closeChangeValueDialog();
  menus_.fileEnabled = true;
  menus_.modelSelectEnabled = true;
  menus_.informationEnabled = true;
  menus_.firmUpdateEnabled = false;
  values.networkButton.visible = false;
  values.networkButton.caption.clear();
  values.networkType = catalogue::kNetNone;
  changed();
  if (sequenceRunning()) {
    // Connect and Setting are offered once the sequence has unwound.
    deferredButtons_ = buttons_;
    buttonsDeferred_ = true;
    buttons_ = Apply(kAll, false);
    changed();
  }
}

void Session::mnuFilesEnd_Click() {
  if (sequenceRunning()) link_.requestStop();
  // A Download's write under way finishes with its reply; the port closes after it.
  if (downloading_)
    closeWhenUnwound_ = true;
  else
    exchange_.ComPortClose();
  ended_ = true;
  values.Monitoring = false;
  changed();
  if (view_) view_->endProgram();
}

bool Session::confirmStopForClose() {
  if (!downloading_ || ended_) return true;
  const int writes = downloadWrites();
  std::string text = "A Download is writing to the unit: " + std::to_string(writes) +
                     (writes == 1 ? " write" : " writes") + " done so far.\r\n"
                     "If it stops now, the unit holds a partly written configuration";
  const std::string backup = guard_ ? guard_->backupPath() : std::string();
  if (!backup.empty())
    text += "; restore it by downloading the backup file " + backup + ".";
  else
    text += "; no backup was written: download a configuration you trust to restore it.";
  text += "\r\nStop the Download and exit?";
  if (!dialogs_.ask(text, "Exit")) return false;
  link_.requestStop();
  return true;
}

// --- Upload ---------------------------------------------------------------------------

void Session::uploadFailure() {
  // After "Exit" the reads of a sequence still on the stack fail on the closed port;
  // the program is ending, so no message follows.
  if (!ended_)
    dialogs_.failureMessage(ui::MessageCause::of(ui::FailureKind::Upload), "Upload Error", "Upload", ui::Icon::Error);
  UnitDisconnect();
}

bool Session::Identify() {
  if (ended_) return false;
  link_.GroupItemWriteRetry(kRetry, "00", "01", "F");

  const std::string model = link_.ItemReadRetry(kRetry, "02");
  if (ended_) return false;
  if (model.empty()) {
    uploadFailure();
    return false;
  }
  values.model = link::ValueAfterColon(model);
  labels_.lblMastertype = values.model;
  values.flags.SetModelFlags(values.model);
  changed();
  if (!catalogue::IsSupportedSeries(values.model)) {
    uploadFailure();
    return false;
  }
  catalogue::ModuleKindOf(catalogue::ModulePartOf(values.model), values.moduleKind);
  catalogue::PulseOverride(values.model, values.moduleKind);
  catalogue::NetworkTypeOf(values.model, values.networkType, values.networkButton);

  const std::string version = link_.ItemReadRetry(kRetry, "06");
  if (ended_) return false;
  if (version.empty()) {
    uploadFailure();
    return false;
  }
  values.versionText = VersionText(version);
  labels_.lblVersionNo = values.versionText;
  changed();

  const std::string status = link_.ItemReadRetry(kRetry, "03");
  if (ended_) return false;
  if (status.empty()) {
    uploadFailure();
    return false;
  }
  const std::string c = link::ValueAfterColon(status);
  if (!c.empty() && c[0] == 'N') {
    dialogs_.message("Need Initialize", "Initialize Error\r\n", ui::Icon::Error);
    btnDisconnect_Click();
    mnuFilesEnd_Click();
    return false;
  }
  ChannelCountFrom(c, values.channelCount);
  values.pageKind = catalogue::PageKindOf(values.model, values.moduleKind);
  changed();
  return true;
}

void Session::UnitUpload() {
  if (!Identify()) return;
  pages::ModulePage* p = page();
  if (p) {
    // The page now holds the unit's values (as far as they were read).
    const int refusedBefore = link_.failures().refusedReads;
    const bool read = p->Init() && link_.failures().refusedReads == refusedBefore;
    if (read) {
      setPageEdited(false);
      configFile_.clear();
    }
    // A page an Upload stopped reading part-way keeps empty lists: marked until a
    // complete Upload or a file fills it again.
    setPageIncomplete(!read);
    if (ended_) return;
    ShowPage(p);
    if (read && values.Connected && guard_) guard_->uploaded();
  } else {
    // No page for this kind: the placeholder page.
    ShowPage(nullptr);
  }
}

void Session::btnUpload_Click() {
  if (ended_) return;
  ReplaceAction replacing(*this);
  if (!ConfirmReplacePage()) return;
  uploadAction();
}

void Session::uploadAction() {
  if (ended_) return;
  SequenceScope sequence(*this);
  // What the unit refuses to tell ("CNG", "CNU") is not a setting: such a read (of a setting, or of the live values read
  // right after) fails
  // like an unanswered one, so the page's Upload failure (or its silent end) follows
  // and the refusal is named in the sequence's failures. It never lands in a field.
  struct RefusalsFail {
    link::Link& link;
    bool before;
    explicit RefusalsFail(link::Link& l) : link(l), before(l.refusalsFail()) { l.setRefusalsFail(true); }
    ~RefusalsFail() { link.setRefusalsFail(before); }
  } refusalsFail(link_);
  all_btn_control(false);
  UnitUpload();
  if (ended_) return;
  if (!IsPageKind(values.pageKind)) return;
  if (auto* p = page()) {
    p->ReadingData();
    if (view_) view_->pageUpdated();
  }
  io_btn_control(true);
}

// --- Download -------------------------------------------------------------------------

void Session::downloadFailure(bool nothingWritten) {
  auto cause = ui::MessageCause::of(ui::FailureKind::Download);
  cause.nothingWritten = nothingWritten;
  if (!ended_) dialogs_.failureMessage(cause, "Download Error", "Download", ui::Icon::Error);
  UnitDisconnect();
  io_btn_control(true);
}

void Session::UnitDownload() {
  const std::string r = link_.GroupItemWriteRetry(kRetry, "00", "01", "F");
  if (r.empty() || !IsPageKind(values.pageKind)) return;
  if (auto* p = page()) p->Download();
}

void Session::btnDownload_Click() {
  if (ended_) return;
  SequenceScope sequence(*this);
  downloadRefused_.clear();
  // A page an Upload did not finish has empty lists: nothing of it goes to the unit.
  if (pageIncomplete_) {
    dialogs_.failureMessage(ui::MessageCause::of(ui::FailureKind::Download),
                            "The page was not completely read from the unit, so it is not "
                            "downloaded.\r\nNothing was written. Upload again first.",
                            "Download", ui::Icon::Error);
    return;
  }
  all_btn_control(false);
  const std::string reply = link_.GroupItemReadRetry(kRetry, "00", "02");
  if (ended_) return;
  if (reply.empty()) {
    downloadFailure();
    return;
  }
  // Model check. The discrete modules are not compared (their model strings differ
  // between the unit and the catalogue), nor the one BI16 unit that reports itself
  // under its sibling's name. A discrete unit is let through only to a discrete page:
  // the settings of another module (an analog page, a file of another unit) must never
  // go to a unit that now reports a discrete module.
  const std::string model = link::ValueAfterColon(reply);
  auto discrete = [](const std::string& text) {
    for (const char* code : {"BI32", "BI16", "BO16", "BO32", "BIO16", "BIO32"})
      if (text.find(code) != std::string::npos) return true;
    return false;
  };
  const bool skip =
      (model.substr(0, 15) == "Q5T3PML3-B-BI16" && values.model == "Q5T3PML3-6-BI16") ||
      (discrete(reply) && discrete(values.model));
  if (!skip && model != values.model) {
    downloadFailure();
    return;
  }
  if (!IsPageKind(values.pageKind)) return;

  pages::ModulePage* p = page();
  if (p && p->hasCheckData()) {
    p->TakeEdits();  // frmLNRIO1: dgd_download
    if (!p->CheckData()) {
      if (view_) view_->pageUpdated();
      // The page keeps the field its check stopped at, and why.
      ui::MessageCause cause;
      cause.kind = ui::FailureKind::DataRange;
      cause.control = p->lastCheckFailure().control;
      cause.why = p->lastCheckFailure().why;
      dialogs_.failureMessage(cause, "Data Error \r\nCheck data range.", "Data Range Error",
                              ui::Icon::Error);
      downloadFailure(true);
      return;
    }
  }
  // A list with nothing selected would go out as "-1", which no unit takes.
  if (p) {
    if (const std::string unselected = UnselectedSetting(*p); !unselected.empty()) {
      if (view_) view_->pageUpdated();
      dialogs_.failureMessage(ui::MessageCause::of(ui::FailureKind::DataRange),
                              "Data Error \r\nCheck data range.\r\nNothing is selected for " +
                                  unselected + ".",
                              "Data Range Error", ui::Icon::Error);
      io_btn_control(true);
      return;
    }
  }
  // Every field goes out as its check read it: without blanks around it, and never with
  // a control character inside (a line break would end the line to the unit early).
  if (p) {
    std::string unsafe = pages::PrepareFieldsForSending(*p);
    if (!unsafe.empty()) {
      sequenceFailure_ = "nothing was written: " + unsafe;
      if (view_) view_->pageUpdated();
      auto cause = ui::MessageCause::of(ui::FailureKind::DataRange);
      cause.why = unsafe;
      dialogs_.failureMessage(cause, "Data Error \r\nCheck data range.", "Data Range Error",
                              ui::Icon::Error);
      downloadFailure(true);
      return;
    }
  }
  if (guard_ && !guard_->beforeDownload()) {
    sequenceFailure_ = "nothing was written";
    io_btn_control(true);
    return;
  }
  downloadDataLinesAtStart_ = link_.dataLinesSent();
  downloading_ = true;
  UnitDownload();
  downloading_ = false;
  downloadWrites_ = static_cast<int>(link_.dataLinesSent() - downloadDataLinesAtStart_);
  if (ended_) return;
  // What the unit refused is kept before the re-Upload adds failures of its own.
  const link::Link::Failures written = link_.failures();
  // The page's values went to the unit; the re-Upload shows what it accepted.
  setPageEdited(false);
  uploadAction();
  if (written.failedWrites > 0 && !ended_) {
    link::Link::Failures writes;
    writes.failedWrites = written.failedWrites;
    writes.lastFailed = written.lastFailed;
    downloadRefused_ = writes.describe();
    changed();
    // A unit lost on the way has said so with the read-back's "Upload Error" already.
    if (values.Connected)
      dialogs_.failureMessage(ui::MessageCause::of(ui::FailureKind::Download), "Download incomplete: " + downloadRefused_ +
                         ".\r\nThe page shows what the unit holds now.",
                     "Download", ui::Icon::Error);
  }
}

// --- Monitoring -------------------------------------------------------------------------

void Session::btnStart_Click() {
  if (ended_) return;
  SequenceScope sequence(*this);
  if (!values.Connected) {
    btnConnect_Click();
    // "Save changes?" cancelled: neither connect nor monitor.
    if (replaceDeclined_) return;
  }
  if (ended_ || !IsPageKind(values.pageKind)) return;
  pageEditing(false);
  start_btn_control();
  menus_.fileEnabled = false;
  menus_.modelSelectEnabled = false;
  menus_.informationEnabled = false;
  monitorPass_ = 0;
  changed();
  UnitMonitor();
}

void Session::UnitMonitor() {
  if (!values.Monitoring) return;
  // Passes on a port that was closed before Start (a Start whose Connect failed) send
  // nothing; they follow each other at this pace until Stop instead of spinning.
  constexpr int kClosedPortPassMs = 100;
  const bool openAtStart = exchange_.isOpen();
  bool unitLost = false;
  monitorLoop_ = true;
  while (values.Monitoring && !ended_) {
    if (view_) view_->processEvents();
    // A Stop (or Disconnect, or Exit) handled just now ends the loop before another
    // pass could paint the lamp yellow again over Stop's colour.
    if (!values.Monitoring || ended_) break;
    lamp_ = kLampMonitoring;
    changed();
    pages::ModulePage* p = IsPageKind(values.pageKind) ? page() : nullptr;
    if (!p) break;
    ++monitorPass_;
    p->ReadingData();
    if (view_) view_->pageUpdated();
    if (!openAtStart) {
      exchange_.WaitFor(kClosedPortPassMs);
    } else if (values.Monitoring && (link_.gaveUp() || !exchange_.isOpen())) {
      // The unit stopped answering, or the port closed under the pass (unplugged):
      // monitoring ends instead of sending into the void.
      unitLost = true;
      break;
    }
  }
  monitorLoop_ = false;
  if (stopPending_) {
    stopPending_ = false;
    link_.clearStop();
    if (!ended_) finishStop();
  } else if (unitLost && !ended_) {
    values.Monitoring = false;
    finishStop();
    if (!exchange_.isOpen()) btnDisconnect_Click();
  }
}

void Session::btnStop_Click() {
  if (ended_) return;
  if (monitorLoop_) {
    // The pass under way ends at its next exchange. Until the loop has unwound nothing
    // that starts a sequence is offered, and the lamp keeps saying "monitoring".
    values.Monitoring = false;
    link_.requestStop();
    stopPending_ = true;
    all_btn_control(false);
    return;
  }
  finishStop();
}

void Session::finishStop() {
  stop_btn_control();
  if (!IsPageKind(values.pageKind)) return;
  pageEditing(true);
  menus_.fileEnabled = true;
  menus_.modelSelectEnabled = false;
  menus_.informationEnabled = true;
  changeValue.Unload();
  if (view_) view_->closeChangeValueDialog();
  // Green says "connected": after a Start whose Connect failed the lamp returns to the
  // disconnected colour instead.
  setLamp(values.Connected ? kLampConnected : kLampDisconnected);
}

// --- Network button and menus -------------------------------------------------------------

void Session::btnComNet_Click() {
  if (ended_) return;
  switch (values.networkType) {
    case catalogue::kNetDeviceNet:
    case catalogue::kNetEthernet:
    case catalogue::kNetCCLinkIEField:
    case catalogue::kNetModbus: {
      // A window is never replaced while it is open.
      if (networkOpen_) return;
      SequenceScope sequence(*this);
      all_btn_control(false);
      network_ = netpages::CreateNetworkWindow(values.networkType, networkContext_);
      networkOpen_ = true;
      // The window reads the unit's network settings before it shows.
      network_->btnUpload_Click();
      if (!ended_ && view_) view_->openNetworkWindow(values.networkType);
      networkOpen_ = false;
      if (ended_) return;
      setting_btn_control();
      buttons_.btnSetting = !values.Connected;
      changed();
      break;
    }
    default:
      dialogs_.message("Not definced NetTyp in frmQ5CFG -> btnComNet", "Debug info",
                       ui::Icon::Error);
      break;
  }
}

bool Session::pagePress(pages::ModulePage& page, std::string_view name) {
  if (ended_) return false;
  if (const auto info = pages::DeclarationOf(page, name); info && pages::ActsAtOnce(*info))
    return page.Press(name);
  if (sequenceDepth_ > 0) return false;
  SequenceScope sequence(*this);
  const Buttons before = buttons_;
  all_btn_control(false);
  const Buttons during = buttons_;
  const bool pressed = page.Press(name);
  // A press that lost the unit has set the buttons of its own; otherwise they are as
  // they were before it.
  if (!ended_ && buttons_ == during) {
    buttons_ = before;
    changed();
  }
  // The button shows nothing of its own when the unit did not take what it sent.
  const link::Link::Failures& f = link_.failures();
  if (pressed && !ended_ && f.failedWrites > 0) {
    link::Link::Failures writes;
    writes.failedWrites = f.failedWrites;
    writes.lastFailed = f.lastFailed;
    dialogs_.message("\"" + ButtonCaption(page, name) + "\" was not done: " + writes.describe() + ".",
                     std::string(link::kProgramTitle), ui::Icon::Error);
  }
  return pressed;
}

void Session::mnuQ5Informain_Click() {
  if (ended_) return;
  SequenceScope sequence(*this);
  const std::string reply = link_.GroupItemReadRetry(kRetry, "00", "88");
  if (reply.empty()) return;
  const std::string text =
      reply.substr(0, 6) != "Q5CFG:" ? std::string("Not supported.") : link::ValueAfterColon(reply);
  dialogs_.message("      " + text + "      ", "Remote I/O Q5 Information",
                   ui::Icon::Information);
}

void Session::firmwareIdentified(const std::string& versionReply) {
  if (!values.Connected || versionReply.empty()) return;
  values.versionText = VersionText(versionReply);
  labels_.lblVersionNo = values.versionText;
  changed();
}

void Session::mnuFilesOpen_Click(const std::function<void()>& configFileOpen) {
  if (ended_) return;
  ReplaceAction replacing(*this);
  if (!ConfirmReplacePage()) return;
  values.CreatedConfig = false;
  if (configFileOpen) configFileOpen();
  if (values.Connected) buttons_.btnDownload = true;
  changed();
}

}  // namespace q5::session
