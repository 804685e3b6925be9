#include "pages/DiscretePage.h"

#include <charconv>

#include "catalogue/Catalogue.h"
#include "link/TextRoutines.h"

namespace q5::pages {

void DiscretePage::FillConvSpeed(ComboBox& c) {
  c.clear();
  for (const char* item : {"10ms", "1ms", "5ms", "20ms", "50ms", "70ms", "100ms", "200ms"})
    c.add(item);
}

void DiscretePage::FillOutputHold(ComboBox& c) {
  c.clear();
  c.add("Clear");
  c.add("Hold");
}

std::optional<std::string> DiscretePage::ReadValue(std::string_view group, std::string_view item) {
  const std::string r = link().GroupItemReadRetry(kRetry, group, item);
  if (r.empty()) return std::nullopt;
  return link::ValueAfterColon(r);
}

std::optional<std::string> DiscretePage::ReadWord(std::string_view item) {
  auto v = ReadValue("00", item);
  if (!v) return std::nullopt;
  return link::ValueAfterX(*v);
}

void DiscretePage::Write(std::string_view group, std::string_view item, std::string_view data) {
  link().GroupItemWriteRetry(kRetry, group, item, data);
}

bool DiscretePage::ReadIndex(ComboBox& c, std::string_view group, std::string_view item) {
  const auto value = ReadValue(group, item);
  if (!value) return false;
  SelectIndex(c, *value);
  return true;
}

void DiscretePage::VisitIndicators(ControlVisitor& v, std::string_view name, Indicator* first,
                                   int n) {
  for (int i = 0; i < n; ++i) v.indicator(Indexed(name, i), first[i]);
}

void DiscretePage::VisitLabels(ControlVisitor& v, std::string_view name, Label* first, int n) {
  for (int i = 0; i < n; ++i) v.label(Indexed(name, i), first[i]);
}

void DiscretePage::VisitSetting(ControlVisitor& v, std::string_view labelName, Label& label,
                                std::string_view comboName, ComboBox& combo) {
  v.label(labelName, label);
  v.combo(Setting(comboName, label.caption), combo);
}

void DiscretePage::SelectIndex(ComboBox& c, const std::string& value) {
  int index = -1;
  auto [p, ec] = std::from_chars(value.data(), value.data() + value.size(), index);
  if (ec != std::errc() || p != value.data() + value.size()) return;
  if (index < 0) return;
  c.selectCode(index);
}

void DiscretePage::ShowModulePart() { lblV_Unit.caption = catalogue::ModulePartOf(values().model); }

}  // namespace q5::pages
