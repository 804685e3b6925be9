#pragma once
// What the six discrete pages share: their two lists, reading a setting from the unit,
// selecting a list index from a reply, and the model tests they make.
#include <optional>
#include <string>
#include <string_view>

#include "pages/BitWord.h"
#include "pages/ModulePage.h"

namespace q5::pages {

class DiscretePage : public ModulePage {
 public:
  using ModulePage::ModulePage;
  // No range check: the discrete pages hold list selections and check boxes only.
  bool hasCheckData() const override { return false; }

 protected:
  // "10ms" is index 0 and "1ms" index 1: the list is not sorted.
  static void FillConvSpeed(ComboBox& c);
  static void FillOutputHold(ComboBox& c);
  // Reads group/item; the value after ":" or nothing when the read came back empty.
  std::optional<std::string> ReadValue(std::string_view group, std::string_view item);
  // Reads a live word: the text after the first "x" of the value, or nothing.
  std::optional<std::string> ReadWord(std::string_view item);
  void Write(std::string_view group, std::string_view item, std::string_view data);
  // A list setting: reads group/item and selects the index it gives (SelectIndex). False
  // when the read came back empty (Init stops there, the page stays disabled).
  bool ReadIndex(ComboBox& c, std::string_view group, std::string_view item);
  // Writes the selected index of a list setting in decimal.
  void WriteIndex(std::string_view group, std::string_view item, const ComboBox& c) {
    Write(group, item, IndexText(c));
  }
  // A list index travelling as decimal text. A number past the list selects nothing and
  // is kept to be written back; a text that is not a number leaves the selection as is.
  static void SelectIndex(ComboBox& c, const std::string& value);
  // The model flag of a model string (exact or prefix, as the flag table says).
  bool Model(std::string_view flagModel) const { return values().flags[flagModel]; }
  // lblV_Unit shows the module part of the model string.
  void ShowModulePart();
  static std::string IndexText(const ComboBox& c) { return c.code(); }

  // The controls every discrete page names alike: a row of indicator boxes
  // "name(0)".."name(n-1)", a row of labels, a list setting with its label.
  static void VisitIndicators(ControlVisitor& v, std::string_view name, Indicator* first, int n);
  static void VisitLabels(ControlVisitor& v, std::string_view name, Label* first, int n);
  static void VisitSetting(ControlVisitor& v, std::string_view labelName, Label& label,
                           std::string_view comboName, ComboBox& combo);
};

}  // namespace q5::pages
