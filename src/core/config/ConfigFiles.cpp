#include "config/ConfigFiles.h"

#include <array>

#include "link/TextRoutines.h"
#include "pages/PageRegistry.h"
#include "pages/RecordStream.h"
#include "platform/Files.h"

namespace q5::config {

using pages::ParseInt16;
using pages::RecordStream;

namespace {

constexpr std::string_view kHeaderNames[5] = {
    "the model string (header field 1)", "the module kind number (header field 2)",
    "the version text (header field 3)", "the channel count (header field 4)",
    "the network type code (header field 5)"};

using Header = std::array<std::string, 5>;

// The five header fields, each read as a text.
void ReadHeader(RecordStream& io, Header& h) {
  for (int i = 0; i < 5; ++i) io.text(h[i], kHeaderNames[i]);
}

void WriteHeader(RecordStream& io, std::string model, std::int16_t moduleKind,
                 std::string versionText, std::int16_t channelCount, std::int16_t networkType) {
  io.text(model, "the model string");
  io.integer(moduleKind, "the module kind number");
  io.text(versionText, "the version text");
  io.integer(channelCount, "the channel count");
  io.integer(networkType, "the network type code");
  io.endRecord();
}

// The first two characters of the text after the first colon: with "Version : 1.00" a
// blank and the major version digit.
std::string MajorVersionMark(const std::string& versionText) {
  return link::ValueAfterColon(versionText).substr(0, 2);
}

// The module kind a configuration opens on, derived from its model string. The number
// stored in the file is only the starting value: classification keeps it when the
// module part names no kind.
std::int16_t DerivedModuleKind(const std::string& model, std::int16_t stored) {
  static constexpr std::string_view kSeries[] = {"Q5T3N", "Q5T3P", "Q5V3P", "Q5W3N",
                                                 "Q5V3U", "Q5Z3U", "Q5W3U", "Q5T3S"};
  std::int16_t kind = stored;
  const std::string head = model.substr(0, 5);
  bool known = false;
  for (auto s : kSeries) known = known || head == s;
  if (known) {
    catalogue::ModuleKindOf(catalogue::ModulePartOf(model), kind);
    catalogue::PulseOverride(model, kind);
  } else {
    // Anything else is treated as the test model.
    catalogue::ModuleKindOf(catalogue::ModulePartOf("Q5TEST-AI"), kind);
  }
  return kind;
}

// A tab page is shown as after an Upload: the first tab, its button disabled.
void FirstTab(pages::ModulePage& page) {
  if (!page.cmdSet.empty()) page.cmdSet_Click(1);
}

}  // namespace

ConfigFiles::ConfigFiles(session::Session& session)
    : session_(session), previousSave_(session.saveChanges) {
  session_.saveChanges = [this] { return ConfigFileSave(); };
}

// A short-lived reader (a backup taken after an Upload, a comparison) hands "Save" of
// "Save changes?" back to the routines that were there before it.
ConfigFiles::~ConfigFiles() { session_.saveChanges = std::move(previousSave_); }

std::string ConfigFiles::WithConfigSuffix(const std::string& path) {
  const auto slash = path.find_last_of("/\\");
  const std::string name = slash == std::string::npos ? path : path.substr(slash + 1);
  if (name.empty() || name.find('.') != std::string::npos) return path;
  return path + ".uJx";
}

std::string ConfigFiles::tmpFolder() const {
  const std::string& app = session_.values.applicationFolder;
  const std::string folder = app.empty() ? std::string(".") : app;
  const std::string own = platform::JoinPath(folder, "tmp");
  // The program's own tmp folder when it can be written (or made), else the user's cache
  // folder: an installed program's folder belongs to the system.
  const bool ownUsable =
      platform::KindOf(own, platform::Links::Follow) != platform::EntryKind::Missing
          ? platform::IsWritableFolder(own)
          : platform::IsWritableFolder(folder);
  if (ownUsable || session_.values.cacheFolder.empty()) return own;
  return platform::JoinPath(session_.values.cacheFolder, "tmp");
}

std::string ConfigFiles::tmpFile() const { return platform::JoinPath(tmpFolder(), "tmp.uJx"); }

// --- Save --------------------------------------------------------------------------------

bool ConfigFiles::CurrentConfigText(std::string& text, std::string& error) {
  const auto& v = session_.values;
  // The records are those of the module kind; a placeholder page (a model without a page
  // of its own) has none to save.
  pages::ModulePage* page = v.PageShown ? session_.pageFor(v.pageKind) : nullptr;
  if (!page || page->pageKind() != v.moduleKind) {
    error = "No Config Data";
    return false;
  }
  // Lists an interrupted Upload did not reach are empty: such a file could not be
  // downloaded again.
  if (session_.pageIncomplete()) {
    error = "The page was not completely read from the unit, so it is not saved: some of "
            "its lists have nothing selected.\r\nUpload again, then save.";
    return false;
  }
  RecordStream io = RecordStream::Writer(v.model);
  WriteHeader(io, v.model, v.moduleKind, v.versionText, v.channelCount, v.networkType);
  page->records(io);
  if (!io.ok()) {
    error = "Nothing was saved: " + io.error() + ". Correct that text and save again.";
    return false;
  }
  text = io.contents();
  return true;
}

bool ConfigFiles::WriteConfig(const std::string& path, const std::string& text,
                              std::string_view caption) {
  std::string error;
  if (!WriteFileAtomically(path, text, error, writeFn_)) {
    session_.dialogs().message(error, std::string(caption), ui::Icon::Error);
    return false;
  }
  return true;
}

bool ConfigFiles::SaveTo(const std::string& path) {
  std::string text, error;
  if (!CurrentConfigText(text, error)) {
    session_.dialogs().message(error, "Save Error", ui::Icon::Error);
    return false;
  }
  if (!WriteConfig(path, text, "Open Error")) return false;
  session_.setConfigFile(path);
  session_.setPageEdited(false);
  return true;
}

bool ConfigFiles::ConfigFileSave() {
  if (!session_.values.PageShown) {
    session_.dialogs().message("No Config Data", "Save Error", ui::Icon::Error);
    return false;
  }
  // What cannot be saved is said before a file name is asked for.
  std::string text, error;
  if (!CurrentConfigText(text, error)) {
    session_.dialogs().message(error, "Save Error", ui::Icon::Error);
    return false;
  }
  const auto chosen =
      session_.dialogs().chooseSaveFile("Save As", std::string(kFileFilter), session_.configFile());
  if (!chosen) return false;  // cancelled: nothing, no message
  const std::string path = WithConfigSuffix(*chosen);
  if (!WriteConfig(path, text, "Open Error")) return false;
  session_.setConfigFile(path);
  session_.setPageEdited(false);
  return true;
}

// --- Open --------------------------------------------------------------------------------

void ConfigFiles::OpenError(const std::string& text) {
  session_.dialogs().message(text, std::string(link::kProgramTitle), ui::Icon::Error);
}

void ConfigFiles::ConfigFileOpen() {
  std::string path;
  if (session_.values.CreatedConfig) {
    path = tmpFile();
  } else {
    const auto chosen = session_.dialogs().chooseOpenFile("Open", std::string(kFileFilter));
    if (!chosen) return;  // cancelled: nothing, no message
    path = *chosen;
  }
  OpenFrom(path);
}

bool ConfigFiles::OpenFrom(const std::string& path) {
  std::string contents, error;
  if (!ReadWholeFile(path, contents, error)) {
    OpenError(error + " Nothing was changed.");
    return false;
  }
  return Load(path, contents);
}

bool ConfigFiles::Load(const std::string& path, const std::string& contents) {
  auto& current = session_.values;
  auto fail = [&](const std::string& why) {
    OpenError("Cannot open \"" + path + "\": " + why + ". Nothing was changed.");
    return false;
  };

  RecordStream io = RecordStream::Reader(contents, "");
  Header h;
  ReadHeader(io, h);
  if (!io.ok()) return fail(io.error());

  // A file of another major version does not fit a connected unit.
  if (current.Connected && MajorVersionMark(current.versionText) != MajorVersionMark(h[2])) {
    session_.dialogs().message("Unit/Config_file version disagreement.", "Open error",
                               ui::Icon::Error);
    return false;
  }

  // The new values, in a copy until the whole file has been read.
  session::SessionValues next = current;
  std::int16_t stored = 0, channels = 0, network = 0;
  if (!ParseInt16(h[1], stored)) return fail(std::string(kHeaderNames[1]) + " \"" + h[1] + "\" is not an integer");
  if (!ParseInt16(h[3], channels)) return fail(std::string(kHeaderNames[3]) + " \"" + h[3] + "\" is not an integer");
  if (!ParseInt16(h[4], network)) return fail(std::string(kHeaderNames[4]) + " \"" + h[4] + "\" is not an integer");
  next.model = h[0];
  next.versionText = h[2];
  next.channelCount = channels;
  next.networkType = network;
  next.flags.SetModelFlags(next.model);
  next.moduleKind = DerivedModuleKind(next.model, stored);
  next.pageKind = next.moduleKind;
  catalogue::NetworkTypeOf(next.model, next.networkType, next.networkButton);

  // The body, on a scratch page that sees the new values.
  pages::PageContext scratchContext{session_.link(), session_.dialogs(), next, {}};
  auto scratch = pages::CreatePage(next.pageKind, scratchContext);
  if (!scratch) {
    return fail("the module of model \"" + next.model + "\" (kind " +
                std::to_string(next.pageKind) + ") has no settings page in this version");
  }
  scratch->PrepareControls();
  io.setModel(next.model);
  scratch->records(io);
  io.expectEnd();
  if (!io.ok()) return fail(io.error());

  // The whole file was read: it becomes the current configuration.
  current.model = next.model;
  current.versionText = next.versionText;
  current.channelCount = next.channelCount;
  current.flags = next.flags;
  current.moduleKind = next.moduleKind;
  current.pageKind = next.pageKind;
  current.networkType = next.networkType;
  current.networkButton = next.networkButton;
  session_.showIdentification();

  pages::ModulePage* page = session_.pageFor(current.pageKind);
  if (!page) return fail("no page for kind " + std::to_string(current.pageKind));
  page->PrepareControls();
  RecordStream replay = RecordStream::Reader(contents, "");
  ReadHeader(replay, h);
  replay.setModel(current.model);
  page->records(replay);
  page->ValuesChanged();
  page->txt_able(true);
  FirstTab(*page);
  session_.setConfigFile(session_.values.CreatedConfig ? std::string() : path);
  session_.setPageEdited(false);
  session_.setPageIncomplete(false);
  session_.ShowPage(page);
  return true;
}

// --- New configuration -------------------------------------------------------------------

bool ConfigFiles::NewConfigText(int moduleKind, std::string& text) {
  NewHeader h;
  if (!pages::IsPageKind(moduleKind) || !NewHeaderFor(moduleKind, session_.values.flags, h)) {
    return false;
  }
  // A scratch page of the new model, its lists filled, holding the defaults.
  session::SessionValues values = session_.values;
  values.model = h.model;
  values.moduleKind = static_cast<std::int16_t>(moduleKind);
  values.pageKind = static_cast<std::int16_t>(moduleKind);
  values.channelCount = h.channelCount;
  values.versionText = h.versionText;
  values.networkType = catalogue::kNetNone;
  pages::PageContext context{session_.link(), session_.dialogs(), values, {}};
  auto page = pages::CreatePage(moduleKind, context);
  if (!page) return false;
  page->PrepareControls();
  if (!page->newDefaults(h.model)) return false;

  RecordStream io = RecordStream::Writer(std::string(h.model));
  WriteHeader(io, std::string(h.model), h.moduleKind, std::string(h.versionText), h.channelCount,
              catalogue::kNetNone);
  page->records(io);
  if (!io.ok()) return false;
  text = io.contents();
  return true;
}

bool ConfigFiles::ConfigFileCreate(int moduleKind) {
  std::string text;
  if (!NewConfigText(moduleKind, text)) {
    session_.dialogs().message("No Config Data", "Create Error", ui::Icon::Error);
    return false;
  }
  std::string error;
  if (!EnsureFolderPath(tmpFolder(), error)) {
    session_.dialogs().message(error, "Create Error", ui::Icon::Error);
    return false;
  }
  return WriteConfig(tmpFile(), text, "Create Error");
}

// --- Menu commands -----------------------------------------------------------------------

void ConfigFiles::mnuFilesOpen_Click() {
  session_.mnuFilesOpen_Click([this] { ConfigFileOpen(); });
}

void ConfigFiles::ModelSelect_Click(const ModelSelectItem& item) {
  if (!ModelSelectAvailable(item)) return;
  session::Session::ReplaceAction replacing(session_);
  if (!session_.ConfirmReplacePage()) return;
  auto& flags = session_.values.flags;
  flags.ClearModelFlags();
  for (const FlagSetting& f : item.flags) flags.set(f.flag, f.on);
  // A failed creation stops here: opening would show the previous temporary file.
  if (!ConfigFileCreate(item.moduleKind)) return;
  session_.values.CreatedConfig = true;
  // ConfigFileOpen of the temporary file. A configuration created offline is in no file
  // and no unit yet.
  if (OpenFrom(tmpFile())) session_.setPageEdited(true);
}

}  // namespace q5::config
