#pragma once
// The read-only tables the module pages share: measuring ranges of the temperature
// sensor types, the item codes of the per-channel scaling items by module kind, and the
// unit texts by input-range code. They are constant data, there from program start.
#include <string>
#include <string_view>

namespace q5::catalogue {

// ---- Temperature ranges (TempRangeTables) ----

enum class SensorFamily { Thermocouple, ResistanceThermometer };

// Unit codes: 0 "deg C", 1 "deg F", 2 "K".
inline constexpr int kTempUnitCount = 3;
// Entries in the range lists of each family (codes past the named types are 0 to 0).
inline constexpr int kThermocoupleTypeCount = 21;
inline constexpr int kResistanceTypeCount = 17;

struct TempRange {
  int lower = 0;
  int upper = 0;
  bool operator==(const TempRange&) const = default;
};

// "deg C", "deg F", "K"; empty for a code outside 0..2.
std::string_view TempUnitText(int unitCode);
// The number of entries in the family's range lists.
int TempTypeCount(SensorFamily family);
// The measuring range of a sensor type in a unit; 0 to 0 for codes outside the tables.
TempRange TempRangeOf(SensorFamily family, int unitCode, int typeCode);
// The range as shown: lower end, " to ", upper end ("-272 to 1472").
std::string TempRangeText(SensorFamily family, int unitCode, int typeCode);
// The sensor type's list item ("K(CA)", "Pt100(JIS'97)", ...); empty past the named types.
std::string_view TempTypeName(SensorFamily family, int typeCode);
// How many sensor types the family names (13 thermocouples, 9 resistance thermometers).
int TempTypeNameCount(SensorFamily family);

// ---- Scaling item codes by module kind (ScaleItemCodes) ----

enum class ScaleItem { ZeroScale, FullScale, Bias, Gain, ZeroBase, FullBase };
inline constexpr int kScaleKindCount = 18;  // module kinds 0..17

// The item code of a scaling item for a module kind, or -1 when the kind has no such
// item (module kinds outside 0..17 included).
int ScaleItemCode(ScaleItem item, int moduleKind);
// The code as the item text in decimal ("20", "-1").
std::string ScaleItemText(ScaleItem item, int moduleKind);

// ---- Unit labels by input-range code (RangeUnitLabels) ----

inline constexpr int kRangeUnitLists = 5;   // lists 1..5
inline constexpr int kRangeCodeCount = 16;  // input-range codes 0..15

// The unit text of an input-range code in list 1..5 ("V", "mA" or empty); empty for a
// list or code outside the tables.
std::string_view RangeUnitLabel(int list, int rangeCode);

}  // namespace q5::catalogue
