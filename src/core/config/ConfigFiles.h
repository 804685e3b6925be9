#pragma once
// The configuration-file flows of the main window: File/Save (ConfigFileSave), File/Open
// (ConfigFileOpen) and the Model Select commands (ConfigFileCreate into the temporary
// file tmp/tmp.uJx under the program folder, then ConfigFileOpen of it).
//
// Saving replaces a file only when the new contents were completely written; a text
// that a configuration file cannot hold (one with a double quote) stops the save before
// anything is written. Opening is all-or-nothing: the file is parsed into a copy of the
// current values and a scratch page first, and only a file that was read to its end
// changes the current values and the page.
#include <functional>
#include <string>
#include <string_view>

#include "config/FileAccess.h"
#include "config/ModelSelect.h"
#include "session/Session.h"

namespace q5::config {

// The file dialog's filter (Qt form); the configuration type comes first, preselected.
inline constexpr std::string_view kFileFilter =
    "uJx Files (*.uJx);;Text Files (*.txt);;All Files (*.*)";

class ConfigFiles {
 public:
  // Saving is what "Save changes?" does when the answer is "Save".
  explicit ConfigFiles(session::Session& session);
  ~ConfigFiles();
  ConfigFiles(const ConfigFiles&) = delete;
  ConfigFiles& operator=(const ConfigFiles&) = delete;

  // --- The main window's menu commands ---------------------------------------------
  // "File", "Open": CreatedConfig cleared, ConfigFileOpen, Download enabled when connected.
  void mnuFilesOpen_Click();
  // "File", "Save".
  void mnuFilesSave_Click() { ConfigFileSave(); }
  // A Model Select item: ClearModelFlags, the item's flags, ConfigFileCreate of its
  // module kind, CreatedConfig, ConfigFileOpen. Items whose kind is not available in
  // this version do nothing.
  void ModelSelect_Click(const ModelSelectItem& item);

  // --- The routines -----------------------------------------------------------------
  // Saves the shown page to a file the user chooses ("No Config Data" / "Save Error"
  // without a page; cancel: nothing). A name without an extension gets ".uJx", so the
  // file shows under the Open dialog's preselected filter. True when a file was written.
  bool ConfigFileSave();
  // Opens the temporary file when CreatedConfig is set, else a file the user chooses.
  void ConfigFileOpen();
  // Writes a new configuration of the module kind, for the model the model flags name,
  // into the temporary file. False after its error message.
  bool ConfigFileCreate(int moduleKind);

  // --- Without dialogs (the command line, tests) -------------------------------------
  // Save to a path: the same checks and messages as ConfigFileSave. True when written.
  bool SaveTo(const std::string& path);
  // Open a path: the same checks and messages as ConfigFileOpen. True when loaded.
  bool OpenFrom(const std::string& path);
  // Open file contents already read (name is used in messages): the same checks and
  // messages as OpenFrom.
  bool LoadText(const std::string& name, const std::string& contents) { return Load(name, contents); }
  // The file text Save would write now. False with a reason (no page; a text with a
  // double quote).
  bool CurrentConfigText(std::string& text, std::string& error);
  // The file text a new configuration of the kind gets for the current model flags.
  bool NewConfigText(int moduleKind, std::string& text);

  // The path a save writes: a file name without an extension gets ".uJx".
  static std::string WithConfigSuffix(const std::string& path);
  // The file the page's values were last opened from or saved to ("" when they came
  // from the unit or a Model Select item).
  const std::string& currentFile() const { return session_.configFile(); }

  // <program folder>/tmp and <program folder>/tmp/tmp.uJx; <cache folder>/tmp when the
  // program folder cannot be written.
  std::string tmpFolder() const;
  std::string tmpFile() const;

  // The low-level write used by saving (tests put a failing one in).
  void setWriteFunction(WriteFunction f) { writeFn_ = std::move(f); }

 private:
  bool Load(const std::string& path, const std::string& contents);
  void OpenError(const std::string& text);
  bool WriteConfig(const std::string& path, const std::string& text, std::string_view caption);

  session::Session& session_;
  std::function<bool()> previousSave_;
  WriteFunction writeFn_;
};

}  // namespace q5::config
