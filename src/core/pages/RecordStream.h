#pragma once
// The record stream of a configuration file (*.uJx). One record per line, ended by CR LF;
// fields separated by single commas: texts in double quotes, integers bare, booleans as
// #TRUE# / #FALSE#. A page's records are walked by one function that serves both ways:
// writing formats each field from the control, reading parses the next field into it.
//
// Reading takes field after field in order and does not look at line boundaries. After
// the first failure every further field operation does nothing, so a walk needs no
// checks of its own; the caller looks at ok() / error() at the end.
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "pages/Controls.h"

namespace q5::pages {

class RecordStream {
 public:
  // A stream that formats records; conditions of the walk test `model`.
  static RecordStream Writer(std::string model);
  // A stream that parses `content`; conditions of the walk test `model`. Text fields
  // take a quoted or a bare field (quotes removed); integers and booleans must be bare.
  static RecordStream Reader(std::string content, std::string model);

  bool writing() const { return writing_; }
  bool reading() const { return !writing_; }

  // The model string the record conditions are evaluated against.
  const std::string& model() const { return model_; }
  // The header is read before the model is known; the body's conditions then test it.
  void setModel(std::string model) { model_ = std::move(model); }
  bool modelIs(std::string_view m) const { return model_ == m; }
  bool modelBeginsWith(std::string_view prefix) const {
    return model_.size() >= prefix.size() && std::string_view(model_).substr(0, prefix.size()) == prefix;
  }

  // Field operations. `name` names the control in messages ("txtZScale(0)").
  void text(std::string& value, std::string_view name);
  void text(TextBox& box, std::string_view name) { text(box.text, name); }
  void integer(std::int16_t& value, std::string_view name);
  // A combo box's selected index; reading checks it against the box's list (-1 only for
  // a list the model leaves empty).
  void index(ComboBox& box, std::string_view name);
  void boolean(bool& value, std::string_view name);
  void option(OptionButton& button, std::string_view name) { boolean(button.value, name); }
  // An output-valid mask: four upper-case hexadecimal digits (a text field), bit k set
  // when boxes[k] is checked (k = 0..15).
  void mask(std::span<CheckBox> boxes, std::string_view name);
  // One field per element of a control array, in order, named "name(0)", "name(1)", ...
  // A list of per-channel settings that fills one record is these and endRecord().
  void indexes(std::span<ComboBox> boxes, std::string_view name);
  void texts(std::span<TextBox> boxes, std::string_view name);
  // Ends the current record (writing: CR LF; reading: nothing, fields run on).
  void endRecord();

  // Reading: fails unless only blank lines follow the last field read.
  void expectEnd();

  bool ok() const { return error_.empty(); }
  // What went wrong, in words for the user ("line 3: ...").
  const std::string& error() const { return error_; }
  // Writing: the file contents so far.
  const std::string& contents() const { return out_; }
  // Writing: the control name of every field written so far, in order (the settings a
  // file carries for this page and model).
  const std::vector<std::string>& fieldNames() const { return names_; }

 private:
  RecordStream(bool writing, std::string content, std::string model)
      : writing_(writing), in_(std::move(content)), model_(std::move(model)) {}

  // Writing helpers.
  void put(std::string_view formatted);
  // Reading: the next field as it stands in the file. quoted tells whether it was in
  // double quotes. False (with the error set) at the end of the file or on a bad field.
  bool next(std::string& field, bool& quoted, std::string_view name);
  void fail(std::string message);
  void failField(std::string_view name, std::string_view what, std::string_view found);

  bool writing_;
  std::string in_;
  std::size_t pos_ = 0;
  int line_ = 1;
  int fieldLine_ = 1;  // line on which the field being read starts
  std::string model_;
  std::string out_;
  std::vector<std::string> names_;
  bool recordOpen_ = false;  // writing: a field was put on the current line
  std::string error_;
};

// Parses a 16-bit signed decimal integer (optional leading "-", digits only).
bool ParseInt16(std::string_view text, std::int16_t& value);

}  // namespace q5::pages
