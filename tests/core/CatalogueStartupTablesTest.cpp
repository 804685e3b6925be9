#include <gtest/gtest.h>

#include "catalogue/StartupTables.h"

using namespace q5::catalogue;

TEST(StartupTables, TemperatureRanges) {
  const auto tc = SensorFamily::Thermocouple;
  const auto rt = SensorFamily::ResistanceThermometer;
  EXPECT_EQ(TempRangeText(tc, 0, 0), "-272 to 1472");
  EXPECT_EQ(TempRangeText(tc, 1, 0), "-458 to 2682");
  EXPECT_EQ(TempRangeText(tc, 2, 0), "1 to 1745");
  EXPECT_EQ(TempRangeText(tc, 1, 7), "-62 to 4381");
  EXPECT_EQ(TempRangeText(tc, 2, 12), "221 to 2133");
  EXPECT_EQ(TempRangeText(rt, 0, 8), "-100 to 200");
  EXPECT_EQ(TempRangeText(rt, 1, 5), "-350 to 594");
  // Placeholder resistance-thermometer types and the unnamed rest of the lists.
  for (int unit = 0; unit < 3; ++unit) {
    EXPECT_EQ(TempRangeOf(rt, unit, 6), TempRange{});
    EXPECT_EQ(TempRangeOf(rt, unit, 7), TempRange{});
    EXPECT_EQ(TempRangeOf(rt, unit, 16), TempRange{});
    EXPECT_EQ(TempRangeOf(tc, unit, 20), TempRange{});
  }
  EXPECT_EQ(TempRangeText(rt, 0, 6), "0 to 0");
  EXPECT_EQ(TempTypeName(rt, 6), "-------------");
  EXPECT_EQ(TempTypeName(tc, 7), "C(WRe 5-26)");
  EXPECT_EQ(TempTypeName(rt, 0), "Pt100(JIS'97)");
  EXPECT_EQ(TempTypeNameCount(tc), 13);
  EXPECT_EQ(TempTypeNameCount(rt), 9);
  // Out-of-range indices give nothing rather than reading past the tables.
  EXPECT_EQ(TempRangeOf(tc, 3, 0), TempRange{});
  EXPECT_EQ(TempRangeOf(tc, -1, 0), TempRange{});
  EXPECT_EQ(TempRangeOf(tc, 0, -1), TempRange{});
  EXPECT_EQ(TempTypeName(tc, 13), "");
  EXPECT_EQ(TempUnitText(0), "deg C");
  EXPECT_EQ(TempUnitText(1), "deg F");
  EXPECT_EQ(TempUnitText(2), "K");
  EXPECT_EQ(TempUnitText(3), "");
}

TEST(StartupTables, ScaleItemCodes) {
  for (int kind : {5, 6, 8, 9, 15, 18, 21, 99, -1}) {
    for (int item = 0; item < 6; ++item) {
      EXPECT_EQ(ScaleItemCode(static_cast<ScaleItem>(item), kind), -1) << kind << " " << item;
    }
  }
  for (int kind : {0, 1, 2, 3, 4, 7, 10, 12, 14, 17}) {
    EXPECT_EQ(ScaleItemText(ScaleItem::ZeroScale, kind), "20");
    EXPECT_EQ(ScaleItemText(ScaleItem::FullBase, kind), "25");
  }
  EXPECT_EQ(ScaleItemText(ScaleItem::ZeroScale, 11), "13");
  EXPECT_EQ(ScaleItemText(ScaleItem::FullScale, 11), "14");
  EXPECT_EQ(ScaleItemText(ScaleItem::Bias, 11), "-1");
  EXPECT_EQ(ScaleItemCode(ScaleItem::ZeroBase, 13), 28);
  EXPECT_EQ(ScaleItemCode(ScaleItem::FullBase, 13), 50);
  EXPECT_EQ(ScaleItemCode(ScaleItem::ZeroScale, 16), 22);
  EXPECT_EQ(ScaleItemCode(ScaleItem::Bias, 16), 20);
  EXPECT_EQ(ScaleItemCode(ScaleItem::Gain, 16), 21);
  EXPECT_EQ(ScaleItemCode(ScaleItem::ZeroBase, 16), -1);
}

TEST(StartupTables, RangeUnitLabels) {
  for (int list : {1, 5}) {
    for (int code = 0; code <= 8; ++code) EXPECT_EQ(RangeUnitLabel(list, code), "V");
    for (int code = 9; code <= 11; ++code) EXPECT_EQ(RangeUnitLabel(list, code), "mA");
    for (int code = 12; code <= 14; ++code) EXPECT_EQ(RangeUnitLabel(list, code), "V");
    EXPECT_EQ(RangeUnitLabel(list, 15), "");
  }
  for (int list : {2, 3, 4}) {
    for (int code = 0; code <= 14; ++code) EXPECT_EQ(RangeUnitLabel(list, code), "V");
    EXPECT_EQ(RangeUnitLabel(list, 15), "");
  }
  EXPECT_EQ(RangeUnitLabel(0, 0), "");
  EXPECT_EQ(RangeUnitLabel(6, 0), "");
  EXPECT_EQ(RangeUnitLabel(1, 16), "");
  EXPECT_EQ(RangeUnitLabel(1, -1), "");
}
