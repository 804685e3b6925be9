#include "catalogue/StartupTables.h"

#include <array>

namespace q5::catalogue {

namespace {

struct NamedRange {
  std::string_view name;
  TempRange range[kTempUnitCount];  // deg C, deg F, K
};

constexpr NamedRange kThermocouples[] = {
    {"K(CA)", {{-272, 1472}, {-458, 2682}, {1, 1745}}},
    {"E(CRC)", {{-272, 1120}, {-458, 2048}, {1, 1393}}},
    {"J(IC)", {{-260, 1300}, {-436, 2372}, {13, 1573}}},
    {"T(CC)", {{-272, 500}, {-458, 932}, {1, 773}}},
    {"B(RH)", {{24, 1920}, {75, 3488}, {297, 2193}}},
    {"R", {{-100, 1860}, {-148, 3380}, {173, 2133}}},
    {"S", {{-100, 1860}, {-148, 3380}, {173, 2133}}},
    {"C(WRe 5-26)", {{-52, 2416}, {-62, 4381}, {221, 2689}}},
    {"N", {{-272, 1400}, {-458, 2552}, {1, 1673}}},
    {"U", {{-252, 700}, {-422, 1292}, {21, 973}}},
    {"L", {{-252, 1000}, {-422, 1832}, {21, 1273}}},
    {"P", {{-52, 1496}, {-62, 2725}, {221, 1769}}},
    {"PR", {{-52, 1860}, {-62, 3380}, {221, 2133}}},
};

constexpr NamedRange kResistanceThermometers[] = {
    {"Pt100(JIS'97)", {{-240, 900}, {-400, 1652}, {33, 1173}}},
    {"Pt100(JIS'89)", {{-240, 900}, {-400, 1652}, {33, 1173}}},
    {"JPt100(JIS'89)", {{-236, 560}, {-393, 1040}, {37, 833}}},
    {"Pt50(JIS'81)", {{-236, 700}, {-393, 1292}, {37, 973}}},
    {"Ni100", {{-100, 252}, {-148, 486}, {173, 525}}},
    {"Cu10", {{-212, 312}, {-350, 594}, {61, 585}}},
    {"-------------", {{0, 0}, {0, 0}, {0, 0}}},
    {"-------------", {{0, 0}, {0, 0}, {0, 0}}},
    {"Cu50", {{-100, 200}, {-148, 392}, {173, 473}}},
};

constexpr std::string_view kUnitTexts[kTempUnitCount] = {"deg C", "deg F", "K"};

template <std::size_t N>
const NamedRange* Find(const NamedRange (&table)[N], int typeCode) {
  if (typeCode < 0 || typeCode >= static_cast<int>(N)) return nullptr;
  return &table[typeCode];
}

const NamedRange* NamedType(SensorFamily family, int typeCode) {
  return family == SensorFamily::Thermocouple ? Find(kThermocouples, typeCode)
                                              : Find(kResistanceThermometers, typeCode);
}

// zero scale, full scale, bias, gain, zero base, full base
using ScaleRow = std::array<int, 6>;
constexpr ScaleRow kAnalog = {20, 21, 22, 23, 24, 25};
constexpr ScaleRow kPulse = {13, 14, -1, -1, -1, -1};
constexpr ScaleRow kLoadCell = {20, 21, 22, 23, 28, 50};
constexpr ScaleRow kACCurrent = {22, 23, 20, 21, -1, -1};
constexpr ScaleRow kNone = {-1, -1, -1, -1, -1, -1};

constexpr ScaleRow kScaleItemCodes[kScaleKindCount] = {
    kAnalog,    // 0 frmAI4
    kAnalog,    // 1 frmTC4
    kAnalog,    // 2 frmRT4
    kAnalog,    // 3 frmOV2
    kAnalog,    // 4 frmOC2
    kNone,      // 5 frmBI16
    kNone,      // 6 frmBO16
    kAnalog,    // 7 frmAIF2
    kNone,      // 8 frmBI32
    kNone,      // 9 frmBO32
    kAnalog,    // 10 frmOCF4
    kPulse,     // 11 frmPI2
    kAnalog,    // 12 frmOVF4
    kLoadCell,  // 13 frmSG2
    kAnalog,    // 14 frmLNRIO1
    kNone,      // 15 frmEC4
    kACCurrent, // 16 frmAC32
    kAnalog,    // 17 frmAI8
};

}  // namespace

std::string_view TempUnitText(int unitCode) {
  if (unitCode < 0 || unitCode >= kTempUnitCount) return {};
  return kUnitTexts[unitCode];
}

int TempTypeCount(SensorFamily family) {
  return family == SensorFamily::Thermocouple ? kThermocoupleTypeCount : kResistanceTypeCount;
}

TempRange TempRangeOf(SensorFamily family, int unitCode, int typeCode) {
  if (unitCode < 0 || unitCode >= kTempUnitCount) return {};
  const NamedRange* t = NamedType(family, typeCode);
  return t ? t->range[unitCode] : TempRange{};
}

std::string TempRangeText(SensorFamily family, int unitCode, int typeCode) {
  const TempRange r = TempRangeOf(family, unitCode, typeCode);
  return std::to_string(r.lower) + " to " + std::to_string(r.upper);
}

std::string_view TempTypeName(SensorFamily family, int typeCode) {
  const NamedRange* t = NamedType(family, typeCode);
  return t ? t->name : std::string_view{};
}

int TempTypeNameCount(SensorFamily family) {
  return family == SensorFamily::Thermocouple
             ? static_cast<int>(std::size(kThermocouples))
             : static_cast<int>(std::size(kResistanceThermometers));
}

int ScaleItemCode(ScaleItem item, int moduleKind) {
  if (moduleKind < 0 || moduleKind >= kScaleKindCount) return -1;
  return kScaleItemCodes[moduleKind][static_cast<std::size_t>(item)];
}

std::string ScaleItemText(ScaleItem item, int moduleKind) {
  return std::to_string(ScaleItemCode(item, moduleKind));
}

std::string_view RangeUnitLabel(int list, int rangeCode) {
  if (list < 1 || list > kRangeUnitLists || rangeCode < 0 || rangeCode >= kRangeCodeCount) {
    return {};
  }
  if (rangeCode == 15) return {};
  // Lists 1 and 5 carry current ranges at codes 9..11; lists 2..4 are voltage only.
  if ((list == 1 || list == 5) && rangeCode >= 9 && rangeCode <= 11) return "mA";
  return "V";
}

}  // namespace q5::catalogue
