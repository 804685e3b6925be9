#include "pages/RecordStream.h"

#include <cstdio>

#include "link/TextRoutines.h"

namespace q5::pages {

namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t'; }
bool IsLineEnd(char c) { return c == '\r' || c == '\n'; }

int HexValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  return -1;
}

}  // namespace

bool ParseInt16(std::string_view text, std::int16_t& value) {
  std::size_t i = 0;
  bool negative = false;
  if (i < text.size() && text[i] == '-') {
    negative = true;
    ++i;
  }
  if (i == text.size()) return false;
  long v = 0;
  for (; i < text.size(); ++i) {
    const char c = text[i];
    if (c < '0' || c > '9') return false;
    v = v * 10 + (c - '0');
    if (v > 32768) return false;
  }
  if (negative) v = -v;
  if (v < INT16_MIN || v > INT16_MAX) return false;
  value = static_cast<std::int16_t>(v);
  return true;
}

RecordStream RecordStream::Writer(std::string model) {
  return RecordStream(true, std::string(), std::move(model));
}

RecordStream RecordStream::Reader(std::string content, std::string model) {
  return RecordStream(false, std::move(content), std::move(model));
}

void RecordStream::fail(std::string message) {
  if (error_.empty()) error_ = std::move(message);
}

void RecordStream::failField(std::string_view name, std::string_view what, std::string_view found) {
  fail("line " + std::to_string(fieldLine_) + ", " + std::string(name) + ": " + std::string(what) +
       ", found \"" + link::EscapeControls(found) + "\"");
}

namespace {

std::string ControlNamed(char c) {
  return link::EscapeControls(std::string_view(&c, 1));
}

}  // namespace

void RecordStream::put(std::string_view formatted) {
  if (recordOpen_) out_ += ',';
  out_ += formatted;
  recordOpen_ = true;
}

void RecordStream::endRecord() {
  if (!ok() || !writing_) return;
  out_ += "\r\n";
  recordOpen_ = false;
}

bool RecordStream::next(std::string& field, bool& quoted, std::string_view name) {
  if (!ok()) return false;
  // Blank lines and blanks before a field are skipped: fields run on across lines.
  while (pos_ < in_.size() && (IsBlank(in_[pos_]) || IsLineEnd(in_[pos_]))) {
    if (in_[pos_] == '\n' || (in_[pos_] == '\r' && (pos_ + 1 >= in_.size() || in_[pos_ + 1] != '\n')))
      ++line_;
    ++pos_;
  }
  fieldLine_ = line_;
  if (pos_ >= in_.size()) {
    fail("the file ends before " + std::string(name) + " (after line " +
         std::to_string(line_ - (in_.empty() || IsLineEnd(in_.back()) ? 1 : 0)) + ")");
    return false;
  }
  field.clear();
  quoted = in_[pos_] == '"';
  if (quoted) {
    const std::size_t close = in_.find('"', pos_ + 1);
    if (close == std::string::npos) {
      fail("line " + std::to_string(fieldLine_) + ", " + std::string(name) +
           ": a text has no closing double quote");
      return false;
    }
    field = in_.substr(pos_ + 1, close - pos_ - 1);
    for (char c : field)
      if (c == '\n') ++line_;
    pos_ = close + 1;
    while (pos_ < in_.size() && IsBlank(in_[pos_])) ++pos_;
    if (pos_ < in_.size() && in_[pos_] != ',' && !IsLineEnd(in_[pos_])) {
      fail("line " + std::to_string(fieldLine_) + ", " + std::string(name) +
           ": unexpected characters after the text \"" + link::EscapeControls(field) + "\"");
      return false;
    }
  } else {
    const std::size_t start = pos_;
    while (pos_ < in_.size() && in_[pos_] != ',' && !IsLineEnd(in_[pos_])) ++pos_;
    std::size_t end = pos_;
    while (end > start && IsBlank(in_[end - 1])) --end;
    field = in_.substr(start, end - start);
  }
  // The separator: a comma, or the line end (which the next field skips).
  if (pos_ < in_.size() && in_[pos_] == ',') ++pos_;
  return true;
}

void RecordStream::expectEnd() {
  if (!ok() || writing_) return;
  while (pos_ < in_.size() && (IsBlank(in_[pos_]) || IsLineEnd(in_[pos_]))) {
    if (in_[pos_] == '\n' || (in_[pos_] == '\r' && (pos_ + 1 >= in_.size() || in_[pos_ + 1] != '\n')))
      ++line_;
    ++pos_;
  }
  if (pos_ < in_.size()) {
    fail("line " + std::to_string(line_) +
         ": more data than this model's records hold (the file is for another model or damaged)");
  }
}

void RecordStream::text(std::string& value, std::string_view name) {
  if (!ok()) return;
  if (writing_) {
    names_.emplace_back(name);
    // The format has no escape: a double quote would end the text early and shift every
    // field after it.
    if (value.find('"') != std::string::npos) {
      fail("the text of " + std::string(name) + " (\"" + link::EscapeControls(value) +
           "\") contains a double quote, which a configuration file cannot hold");
      return;
    }
    // Nor a line break or another control character: the text would not read back.
    char c = 0;
    if (link::HasControlCharacter(value, &c)) {
      fail("the text of " + std::string(name) + " (\"" + link::EscapeControls(value) +
           "\") contains the control character " + ControlNamed(c) +
           ", which a configuration file cannot hold");
      return;
    }
    put("\"" + value + "\"");
    return;
  }
  std::string field;
  bool quoted = false;
  if (!next(field, quoted, name)) return;
  // A double quote inside a text could not be written back.
  if (field.find('"') != std::string::npos) {
    failField(name, "a text cannot hold a double quote", field);
    return;
  }
  char c = 0;
  if (link::HasControlCharacter(field, &c)) {
    fail("line " + std::to_string(fieldLine_) + ", " + std::string(name) +
         ": the text contains the control character " + ControlNamed(c) +
         " (a text is one line of printable characters), found \"" +
         link::EscapeControls(field) + "\"");
    return;
  }
  value = field;
}

void RecordStream::integer(std::int16_t& value, std::string_view name) {
  if (!ok()) return;
  if (writing_) {
    names_.emplace_back(name);
    put(std::to_string(value));
    return;
  }
  std::string field;
  bool quoted = false;
  if (!next(field, quoted, name)) return;
  std::int16_t v = 0;
  if (quoted || !ParseInt16(field, v)) {
    failField(name, "expected an integer", field);
    return;
  }
  value = v;
}

void RecordStream::index(ComboBox& box, std::string_view name) {
  if (!ok()) return;
  if (writing_) {
    names_.emplace_back(name);
    put(box.code());  // an unlisted code read from the unit is stored as it is
    return;
  }
  std::int16_t v = 0;
  integer(v, name);
  if (!ok()) return;
  // "-1" (nothing selected) only for a list this model does not fill or show (a channel
  // the unit does not have): a selection missing from a shown list would reach the unit
  // as "-1" at the next Download.
  const int size = static_cast<int>(box.items.size());
  if (v >= size || v < -1 || (v == -1 && size > 0 && box.visible)) {
    fail("line " + std::to_string(fieldLine_) + ", " + std::string(name) + ": the index " +
         std::to_string(v) + " is not in its list of " + std::to_string(size) + " items" +
         (v == -1 ? " (nothing selected: the page was saved before it was completely read)"
                  : ""));
    return;
  }
  box.index = v;
}

void RecordStream::indexes(std::span<ComboBox> boxes, std::string_view name) {
  for (std::size_t i = 0; i < boxes.size(); ++i)
    index(boxes[i], Indexed(name, static_cast<int>(i)));
}

void RecordStream::texts(std::span<TextBox> boxes, std::string_view name) {
  for (std::size_t i = 0; i < boxes.size(); ++i) text(boxes[i], Indexed(name, static_cast<int>(i)));
}

void RecordStream::boolean(bool& value, std::string_view name) {
  if (!ok()) return;
  if (writing_) {
    names_.emplace_back(name);
    put(value ? "#TRUE#" : "#FALSE#");
    return;
  }
  std::string field;
  bool quoted = false;
  if (!next(field, quoted, name)) return;
  if (!quoted && field == "#TRUE#") {
    value = true;
  } else if (!quoted && field == "#FALSE#") {
    value = false;
  } else {
    failField(name, "expected #TRUE# or #FALSE#", field);
  }
}

void RecordStream::mask(std::span<CheckBox> boxes, std::string_view name) {
  if (!ok()) return;
  if (writing_) {
    names_.emplace_back(name);
    unsigned bits = 0;
    for (std::size_t k = 0; k < 16 && k < boxes.size(); ++k)
      if (boxes[k].value) bits |= 1u << k;
    char hex[8];
    std::snprintf(hex, sizeof hex, "%X", bits);
    std::string s(hex);
    if (s.size() < 4) s.insert(0, 4 - s.size(), '0');
    put("\"" + s + "\"");
    return;
  }
  std::string field;
  bool quoted = false;
  if (!next(field, quoted, name)) return;
  unsigned bits = 0;
  bool good = !field.empty() && field.size() <= 4;
  for (char c : field) {
    const int h = HexValue(c);
    if (h < 0) good = false;
    bits = bits * 16 + static_cast<unsigned>(h < 0 ? 0 : h);
  }
  if (!good) {
    failField(name, "expected four hexadecimal digits", field);
    return;
  }
  for (std::size_t k = 0; k < 16 && k < boxes.size(); ++k) boxes[k].value = (bits >> k) & 1u;
}

}  // namespace q5::pages
