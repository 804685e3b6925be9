// Classification of model strings: module part, module kind, page kind, network type
// and the model flags.
#include "catalogue/Catalogue.h"

#include <algorithm>
#include <array>

namespace q5::catalogue {

namespace {

bool StartsWith(std::string_view s, std::string_view prefix) {
  return s.size() >= prefix.size() && s.substr(0, prefix.size()) == prefix;
}

bool EndsWith(std::string_view s, std::string_view suffix) {
  return s.size() >= suffix.size() && s.substr(s.size() - suffix.size()) == suffix;
}

// P[a..b] with positions counted from 1; shorter (or empty) past the end of the text.
std::string_view Mid(std::string_view s, std::size_t from1, std::size_t len) {
  if (from1 == 0 || from1 > s.size()) return {};
  return s.substr(from1 - 1, len);
}

struct LetterRule {
  std::string_view letters;
  std::int16_t kind;
};

struct PositionTest {
  std::size_t from;         // first position tested (from 1)
  std::string_view expect;  // the characters expected there
  std::size_t leading;      // how many leading letters select the kind
  LetterRule rules[4];      // unused entries have empty letters
};

// The first test whose position condition holds decides the module kind.
const PositionTest kPositionTests[] = {
    {3, "32", 2, {{"BI", 8}, {"BO", 9}, {"AC", 16}}},
    {4, "32", 3, {{"BIO", 18}}},
    {4, "16", 3, {{"BIO", 20}}},
    {4, "6", 2, {{"BI", 5}, {"BO", 6}}},
    {4, "2", 3, {{"AIF", 7}, {"OVF", 12}}},
    {4, "4", 3, {{"AIF", 0}, {"OCF", 10}, {"OVF", 12}}},
    {4, "8", 3, {{"AIF", 17}}},
    {5, "8", 4, {{"AIMF", 17}}},
    {3, "8", 2, {{"PI", 19}}},
    {3, "2", 2, {{"OV", 3}, {"OC", 4}, {"PI", 11}, {"SG", 13}}},
    {3, "4", 2, {{"AI", 0}, {"TC", 1}, {"RT", 2}, {"EC", 15}}},
    {3, "1", 2, {{"PI", 11}}},
    {6, "1", 5, {{"LNRIO", 14}}},
    {5, "4", 4, {{"AINF", 0}}},
};

// The models whose module has no page of its own.
constexpr std::string_view kNoPageModels[] = {
    "Q5V3PML3-6-BO32A",  "Q5V3PML3-6-BI32",   "Q5V3PML3-6-BO32B",
    "Q5V3PML3-6-BIO32A", "Q5V3PML3-6-BIO32B", "Q5W3NML3-D-BIO32A",
    "Q5W3NML3-D-BIO32B", "Q5V3SML3-E-BIOF64A", "Q5V3SML3-E-BIOF64B",
};

struct NetworkEntry {
  std::string_view key;
  std::string_view caption;
  int fontSize;
  std::int16_t code;
};

constexpr NetworkEntry kNetworks[] = {
    {"Q5E-", "Ethernet", 9, kNetEthernet},
    {"Q5EI", "Ethernet", 9, kNetEthernet},
    {"Q5D-", "DeviceNet", 10, kNetDeviceNet},
    {"Q5CI", "CC-Link IE Field", 8, kNetCCLinkIEField},
    {"Q5M-", "Modbus", 10, kNetModbus},
};

struct FlagEntry {
  std::string_view model;
  bool prefix;
};

// Flags 1..44 in the order SetModelFlags tests them; flag 45 is the "SG2/F1" item of
// the Model Select menu and is never matched against a model string.
constexpr FlagEntry kFlagEntries[kFlagCount] = {
    {"Q5T3NML3-6-AI4", false},     {"Q5T3NML3-6-AIF4", false},
    {"Q5T3NML-6-AIF4", false},     {"Q5T3NML-6-AIF8N", false},
    {"Q5T3NML3-6-TC4", false},     {"Q5T3NML3-6-PI1", false},
    {"Q5T3NML3-6-PI1/A", false},   {"Q5T3NML3-6-SG2A", false},
    {"Q5T3NML3-6-OVF4", false},    {"Q5T3NH-A-AIF4", false},
    {"Q5T3NH-A-OVF4", false},      {"Q5V3PE-6-BO16", false},
    {"Q5T3PML3-B-BI16", true},     {"Q5T3NEIP-6-BI16", true},
    {"Q5T3NEIP-6-BO16", true},     {"Q5W3NEIP-BI16", true},
    {"Q5W3NEIP-BO16", true},       {"Q5W3NEIP-BIO16", true},
    {"Q5W3NEIP-BI32", true},       {"Q5W3NEIP-BO32", true},
    {"Q5Z3UECT-1-BIO32", true},    {"Q5Z3UECT-1-AIF8N", false},
    {"Q5Z3UECT-1-AIMF8N", false},  {"Q5Z3UECT-1-PI8A", false},
    {"Q5Z3UECT-1-BI32A", true},    {"Q5Z3UECT-1-BO32A", true},
    {"Q5Z3UECT-1-OVF4", true},     {"Q5Z3UEIP-BIO32", true},
    {"Q5W3ND-BI32", true},         {"Q5W3ND-BO32", true},
    {"Q5W3ND-BIO32", true},        {"Q5W3UD-BI16", true},
    {"Q5W3UD-BO16", true},         {"Q5W3UD-BIO16", true},
    {"Q5Z3UML3-BI32", true},       {"Q5Z3UML3-BO32", true},
    {"Q5Z3UML3-BIO32", true},      {"Q5Z3UCIE-SG2-9/F2K", true},
    {"Q5Z3UCIE-SG2-9/F1", true},   {"Q5V3PM-BI32", true},
    {"Q5T3PM-BI16", true},         {"Q5T3SECT-SG2-A/F2K", true},
    {"Q5T3SECT-SG2-A/F1", true},   {"Q5T3NML3-6-AINF4", true},
    {kSG2F1Flag, false},
};

constexpr int kPI1AFlag = 7;
constexpr int kPI1Flag = 6;

}  // namespace

std::string ModulePartOf(std::string_view model) {
  if (model.empty()) return {};
  const std::size_t dash = model.find('-');
  // A model without "-" has no option codes; the whole text stands for its module part.
  if (dash == std::string_view::npos) return std::string(model);

  const std::string_view afterDash = model.substr(dash);  // starts with the "-"
  for (std::string_view option : {"-1-", "-A-", "-E-", "-B-", "-6-"}) {
    if (StartsWith(afterDash, option)) return std::string(model.substr(dash + 3));
  }
  for (std::string_view suffix : {"-C", "-B", "-H", "-I"}) {
    if (EndsWith(model, suffix)) {
      const std::size_t n = model.size();
      // n - i - 3 characters from position i + 1 (i counted from 1 = dash + 1).
      if (n < dash + 4) return {};
      return std::string(model.substr(dash + 1, n - dash - 4));
    }
  }
  for (std::string_view marker : {"-9/F", "-A/F"}) {
    const std::size_t at = model.find(marker);
    if (at != std::string_view::npos) {
      if (at <= dash) return {};
      return std::string(model.substr(dash + 1, at - dash - 1));
    }
  }
  return std::string(model.substr(dash + 1));
}

void ModuleKindOf(std::string_view part, std::int16_t& moduleKind) {
  for (const PositionTest& test : kPositionTests) {
    if (Mid(part, test.from, test.expect.size()) != test.expect) continue;
    const std::string_view leading = part.substr(0, std::min(test.leading, part.size()));
    for (const LetterRule& rule : test.rules) {
      if (!rule.letters.empty() && leading == rule.letters) {
        moduleKind = rule.kind;
        return;
      }
    }
    return;  // the position test decided, but no letters matched: keep the previous kind
  }
  moduleKind = kNoPage;
}

void PulseOverride(std::string_view model, std::int16_t& moduleKind) {
  const std::string_view head = model.substr(0, std::min<std::size_t>(7, model.size()));
  if ((head == "Q5T3PM-" || head == "Q5V3PM-") && (moduleKind == 5 || moduleKind == 8)) {
    moduleKind = 21;
  }
}

std::int16_t PageKindOf(std::string_view model, std::int16_t moduleKind) {
  for (std::string_view m : kNoPageModels) {
    if (model == m) return kNoPage;
  }
  return moduleKind;
}

void NetworkTypeOf(std::string_view model, std::int16_t& networkType, NetworkButton& button) {
  std::string key(model.substr(0, std::min<std::size_t>(2, model.size())));
  key += Mid(model, 6, 2);
  for (const NetworkEntry& e : kNetworks) {
    if (key == e.key) {
      button.caption = std::string(e.caption);
      button.fontSize = e.fontSize;
      button.visible = true;
      networkType = e.code;
      return;
    }
  }
  button.caption.clear();
  button.visible = false;
  networkType = kNetNone;
}

std::string_view NetworkName(int networkType) {
  for (const NetworkEntry& e : kNetworks) {
    if (e.code == networkType) return e.caption;
  }
  return "none";
}

bool IsSupportedSeries(std::string_view model) {
  const std::string_view head = model.substr(0, std::min<std::size_t>(4, model.size()));
  return head == "Q5T3" || head == "Q5V3" || head == "Q5W3" || head == "Q5Z3";
}

std::string_view FlagModel(int n) {
  if (n < 1 || n > kFlagCount) return {};
  return kFlagEntries[n - 1].model;
}

int FlagNumber(std::string_view flagModel) {
  if (flagModel.empty()) return 0;
  for (int n = 1; n <= kFlagCount; ++n) {
    if (kFlagEntries[n - 1].model == flagModel) return n;
  }
  return 0;
}

bool ModelFlags::operator[](std::string_view flagModel) const { return get(FlagNumber(flagModel)); }

void ModelFlags::set(std::string_view flagModel, bool on) { set(FlagNumber(flagModel), on); }

void ModelFlags::SetModelFlags(std::string_view model) {
  for (int n = 1; n < kFlagCount; ++n) flags_[n] = false;
  for (int n = 1; n < kFlagCount; ++n) {
    const FlagEntry& e = kFlagEntries[n - 1];
    const bool match = e.prefix ? StartsWith(model, e.model) : model == e.model;
    if (!match) continue;
    flags_[n] = true;
    if (n == kPI1AFlag) flags_[kPI1Flag] = true;  // the /A variant is also a PI1
    return;
  }
}

}  // namespace q5::catalogue
