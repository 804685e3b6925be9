#pragma once
// Classification of a unit's model string: module part, module kind number (which
// selects the module page), page kind, network type and the model flags that pages and
// configuration files test.
#include <array>
#include <cstdint>
#include <string>
#include <string_view>

namespace q5::catalogue {

// Module kind / page kind numbers.
inline constexpr std::int16_t kNoPage = 99;
inline constexpr std::int16_t kNotIdentified = -1;

// Network type codes.
inline constexpr std::int16_t kNetDeviceNet = 1;
inline constexpr std::int16_t kNetEthernet = 4;
inline constexpr std::int16_t kNetCCLinkIEField = 6;
inline constexpr std::int16_t kNetModbus = 7;
inline constexpr std::int16_t kNetNone = 99;

// The module part of a model string ("Q5T3NML3-6-AI4" gives "AI4").
std::string ModulePartOf(std::string_view model);

// Sets moduleKind from a module part. The first position test that holds decides; when
// its leading letters match none of its entries, moduleKind keeps its previous value.
void ModuleKindOf(std::string_view part, std::int16_t& moduleKind);

// The pulse-counting models: "Q5T3PM-" / "Q5V3PM-" with module kind 5 or 8 become 21.
void PulseOverride(std::string_view model, std::int16_t& moduleKind);

// The page kind: the module kind, or 99 for the models that have no page.
std::int16_t PageKindOf(std::string_view model, std::int16_t moduleKind);

// The network button of the main window as NetworkTypeOf leaves it.
struct NetworkButton {
  std::string caption;
  int fontSize = 9;
  bool visible = false;
};

// Sets the network type code and the network button from the model string. For a key
// outside the table the button is hidden with an empty caption, its font size unchanged,
// and the code becomes 99.
void NetworkTypeOf(std::string_view model, std::int16_t& networkType, NetworkButton& button);

// The network a network type code names ("DeviceNet", "Ethernet", "CC-Link IE Field",
// "Modbus"); "none" for 99 and every other code.
std::string_view NetworkName(int networkType);

// True when the first four characters are "Q5T3", "Q5V3", "Q5W3" or "Q5Z3".
bool IsSupportedSeries(std::string_view model);

// The 45 model flags, addressed by number (1..45) or by their model string
// (flag 45 by "SG2/F1").
inline constexpr int kFlagCount = 45;
inline constexpr std::string_view kSG2F1Flag = "SG2/F1";

// The model string of flag n (1..45).
std::string_view FlagModel(int n);
// The flag number of a model string, or 0 when none has that string.
int FlagNumber(std::string_view flagModel);

class ModelFlags {
 public:
  bool operator[](std::string_view flagModel) const;  // false for unknown strings
  bool get(int n) const { return n >= 1 && n <= kFlagCount && flags_[n]; }
  void set(std::string_view flagModel, bool on);
  void set(int n, bool on) {
    if (n >= 1 && n <= kFlagCount) flags_[n] = on;
  }
  // Clears flags 1..44, then sets the flag of the first entry matching the model (exact
  // or prefix). Entry 7 ("Q5T3NML3-6-PI1/A") sets flags 6 and 7. Flag 45 is untouched.
  void SetModelFlags(std::string_view model);
  // All 45 flags false, "SG2/F1" included.
  void ClearModelFlags() { flags_.fill(false); }
  bool operator==(const ModelFlags&) const = default;

 private:
  std::array<bool, kFlagCount + 1> flags_{};  // index 0 unused
};

}  // namespace q5::catalogue
