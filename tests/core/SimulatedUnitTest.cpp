// The simulated unit's protocol engine on its own: identification items for models of
// every kind, the group/item/data line rules, item tables (stored values, reply formats,
// write checks, unused items, live values) and the fault text form.
#include <gtest/gtest.h>

#include <string>

#include "sim/SimFault.h"
#include "sim/SimulatedUnit.h"

namespace {

using q5::sim::SimulatedUnit;
using q5::sim::UnitOptions;

struct Identity {
  const char* model;
  const char* part;
  int kind;
  const char* channels;
};

TEST(SimulatedUnit, IdentifiesEveryKindOfModel) {
  const Identity cases[] = {
      {"Q5T3NML3-6-AI4", "AI4", 0, "CH:4CHs"},
      {"Q5T3NH-A-AIF4", "AIF4", 0, "CH:4CHs"},
      {"Q5T3NML-6-AIF8N", "AIF8N", 17, "CH:8CHs"},
      {"Q5Z3UECT-1-AIMF8N", "AIMF8N", 17, "CH:8CHs"},
      {"Q5W3UD-BI16A-H", "BI16", 5, "CH:16CHs"},
      {"Q5W3ND-BI32A-I", "BI32", 8, "CH:32CHs"},
      {"Q5Z3UEIP-BIO32C", "BIO32C", 18, "CH:32CHs"},
      {"Q5W3NEIP-BIO16B", "BIO16B", 20, "CH:16CHs"},
      {"Q5Z3UCIE-SG2-9/F1", "SG2", 13, "CH:2CHs"},
      {"Q5T3NML3-6-PI1/A", "PI1/A", 11, "CH:1CHs"},
      {"Q5T3PM-BI16", "BI16", 21, "CH:16CHs"},
      {"Q5V3UM-AC32", "AC32", 16, "CH:32CHs"},
      {"Q5T3NML3-6-LNRIO1", "LNRIO1", 14, "CH:1CHs"},
  };
  for (const Identity& c : cases) {
    SCOPED_TRACE(c.model);
    SimulatedUnit unit{std::string(c.model)};
    EXPECT_EQ(unit.modulePart(), c.part);
    EXPECT_EQ(unit.moduleKind(), c.kind);
    EXPECT_EQ(unit.HandleLine("G00"), "COK\r");
    const std::string id = unit.HandleLine("I01");
    EXPECT_EQ(id.substr(0, 7), "CMNTSW:");
    EXPECT_EQ(unit.HandleLine("DF"), "COK\r");
    EXPECT_EQ(unit.HandleLine("I02"), "CTAG:" + std::string(c.model) + "\r");
    EXPECT_EQ(unit.HandleLine("I03"), "C" + std::string(c.channels) + "\r");
    EXPECT_EQ(unit.HandleLine("I06"), "CVER:1.05\r");
    EXPECT_EQ(unit.HandleLine("I88").substr(0, 7), "CQ5CFG:");
    // The identification text is unchanged by the "F" write.
    EXPECT_EQ(unit.HandleLine("I01"), id);
  }
  // A model without a page still identifies itself.
  SimulatedUnit none{std::string("Q5V3SML3-E-BIOF64A")};
  EXPECT_EQ(none.moduleKind(), 99);
  EXPECT_EQ(none.pageKind(), 99);
  EXPECT_EQ(SimulatedUnit{std::string("Q5V3PML3-6-BI32")}.pageKind(), 99);
}

TEST(SimulatedUnit, IdentificationFollowsTheOptions) {
  UnitOptions o;
  o.model = "Q5T3NML3-6-TC4";
  o.version = "2.10";
  o.channels = 8;
  o.nodeInformation = "node 7";
  SimulatedUnit unit(o);
  unit.HandleLine("G00");
  EXPECT_EQ(unit.HandleLine("I03"), "CCH:8CHs\r");
  EXPECT_EQ(unit.HandleLine("I06"), "CVER:2.10\r");
  EXPECT_EQ(unit.HandleLine("I88"), "CQ5CFG:node 7\r");

  unit.setInitialised(false);
  EXPECT_EQ(unit.HandleLine("I03"), "CCH:NG\r");
  o.initialised = false;
  o.uninitialisedChannelValue = "NOT INITIALIZED";
  SimulatedUnit raw(o);
  raw.HandleLine("G00");
  EXPECT_EQ(raw.HandleLine("I03"), "CCH:NOT INITIALIZED\r");
}

TEST(SimulatedUnit, LineRules) {
  SimulatedUnit unit{std::string("Q5T3NML3-6-AI4")};
  // No group selected yet: items are refused.
  EXPECT_EQ(unit.HandleLine("I02"), "CNG\r");
  EXPECT_EQ(unit.HandleLine("DF"), "CNG\r");
  // Bad lines.
  EXPECT_EQ(unit.HandleLine(""), "CNG\r");
  EXPECT_EQ(unit.HandleLine("X00"), "CNG\r");
  EXPECT_EQ(unit.HandleLine("G"), "CNG\r");
  // The group stays selected for several items.
  EXPECT_EQ(unit.HandleLine("G00"), "COK\r");
  EXPECT_EQ(unit.HandleLine("I06"), "CVER:1.05\r");
  EXPECT_EQ(unit.HandleLine("I02"), "CTAG:Q5T3NML3-6-AI4\r");
  // Identification items take no data; "01" takes only "F".
  EXPECT_EQ(unit.HandleLine("D1"), "CNG\r");
  EXPECT_EQ(unit.HandleLine("I01"), "CMNTSW:Q5\r");
  EXPECT_EQ(unit.HandleLine("DX"), "CNG\r");
  EXPECT_EQ(unit.HandleLine("DF"), "COK\r");
  // Unknown item: refused, remembered for table authors, and not writable.
  EXPECT_EQ(unit.HandleLine("I77"), "CNG\r");
  EXPECT_EQ(unit.HandleLine("D5"), "CNG\r");
  ASSERT_EQ(unit.unknownItems().size(), 1u);
  EXPECT_EQ(unit.unknownItems()[0], "00/77");
  // An unknown group is refused and deselects the group.
  EXPECT_EQ(unit.HandleLine("G77"), "CNG\r");
  EXPECT_EQ(unit.HandleLine("I02"), "CNG\r");

  UnitOptions o;
  o.unknownItemReply = "CNU";
  SimulatedUnit lenient(o);
  lenient.HandleLine("G00");
  EXPECT_EQ(lenient.HandleLine("I77"), "CNU\r");
}

TEST(SimulatedUnit, ItemTablesKeepFormatCheckAndMoveValues) {
  SimulatedUnit unit{std::string("Q5T3NML3-6-AI4")};
  unit.item("1", "20").set("3");
  unit.item("1", "29").set("2").format(q5::sim::Prefix("AVENUM:"));
  unit.item("1", "4").set("0").accept(q5::sim::OneOf({"0", "1", "2"}));
  unit.item("1", "5").set("100").accept(q5::sim::IntegerIn(-200, 200));
  unit.item("1", "6").unused();
  unit.item("1", "40").live(q5::sim::Counter(10, 5)).readOnly();
  unit.item("2", "1").set("0").accept(q5::sim::Transform([](std::string_view d) {
    return "[" + std::string(d) + "]";
  }));
  // A write that changes another item as well.
  unit.item("2", "2").accept([](SimulatedUnit& u, std::string_view d) -> std::optional<std::string> {
    u.item("2", "3").set("follows " + std::string(d));
    return std::string(d);
  });

  EXPECT_EQ(unit.HandleLine("G1"), "COK\r");
  EXPECT_EQ(unit.HandleLine("I20"), "C3\r");
  EXPECT_EQ(unit.HandleLine("D0123"), "COK\r");
  EXPECT_EQ(unit.HandleLine("I20"), "C0123\r");  // kept as written, leading zero too
  EXPECT_EQ(unit.HandleLine("I29"), "CAVENUM:2\r");
  EXPECT_EQ(unit.HandleLine("D7"), "COK\r");
  EXPECT_EQ(unit.HandleLine("I29"), "CAVENUM:7\r");
  EXPECT_EQ(unit.HandleLine("I4"), "C0\r");
  EXPECT_EQ(unit.HandleLine("D3"), "CNG\r");
  EXPECT_EQ(unit.HandleLine("D2"), "COK\r");
  EXPECT_EQ(unit.HandleLine("I4"), "C2\r");
  EXPECT_EQ(unit.HandleLine("I5"), "C100\r");
  EXPECT_EQ(unit.HandleLine("D201"), "CNG\r");
  EXPECT_EQ(unit.HandleLine("D1.5"), "CNG\r");
  EXPECT_EQ(unit.HandleLine("D-200"), "COK\r");
  EXPECT_EQ(unit.value("1", "5"), "-200");
  EXPECT_EQ(unit.HandleLine("I6"), "CNU\r");
  EXPECT_EQ(unit.HandleLine("D1"), "CNU\r");
  EXPECT_EQ(unit.HandleLine("I40"), "C10\r");
  EXPECT_EQ(unit.HandleLine("I40"), "C15\r");
  EXPECT_EQ(unit.HandleLine("D1"), "CNG\r");
  EXPECT_EQ(unit.HandleLine("G2"), "COK\r");
  EXPECT_EQ(unit.HandleLine("I1"), "C0\r");
  EXPECT_EQ(unit.HandleLine("Dab"), "COK\r");
  EXPECT_EQ(unit.HandleLine("I1"), "C[ab]\r");
  EXPECT_EQ(unit.HandleLine("I2"), "C\r");
  EXPECT_EQ(unit.HandleLine("D9"), "COK\r");
  EXPECT_EQ(unit.HandleLine("I3"), "Cfollows 9\r");
  // A "G" line forgets the named item.
  EXPECT_EQ(unit.HandleLine("G2"), "COK\r");
  EXPECT_EQ(unit.HandleLine("D1"), "CNG\r");

  EXPECT_EQ(unit.writeLog().front(), "1/20=0123");
  EXPECT_EQ(unit.findItem("1", "20")->writes, 1u);
}

TEST(SimulatedUnit, LiveGeneratorsMoveWithTimeAndReads) {
  SimulatedUnit unit{std::string("Q5T3NML3-6-AI4")};
  unit.item("1", "40").live(q5::sim::Sine(5000, 4000, 2'000'000));
  unit.item("1", "41").live(q5::sim::WalkingBit(16, 4));
  unit.HandleLine("G1");
  EXPECT_EQ(unit.HandleLine("I40", 0), "C5000\r");
  EXPECT_EQ(unit.HandleLine("I40", 500'000), "C9000\r");
  EXPECT_EQ(unit.HandleLine("I40", 1'500'000), "C1000\r");
  EXPECT_EQ(unit.HandleLine("I41"), "C0001\r");
  EXPECT_EQ(unit.HandleLine("I41"), "C0002\r");
  for (int i = 0; i < 13; ++i) unit.HandleLine("I41");
  EXPECT_EQ(unit.HandleLine("I41"), "C8000\r");
  EXPECT_EQ(unit.HandleLine("I41"), "C0001\r");
}

TEST(SimulatedUnit, ChannelsFromModulePart) {
  EXPECT_EQ(SimulatedUnit::ChannelsFromModulePart("AI4"), 4);
  EXPECT_EQ(SimulatedUnit::ChannelsFromModulePart("AIF8N"), 8);
  EXPECT_EQ(SimulatedUnit::ChannelsFromModulePart("BIO32C"), 32);
  EXPECT_EQ(SimulatedUnit::ChannelsFromModulePart("D-BIO32A"), 32);
  EXPECT_EQ(SimulatedUnit::ChannelsFromModulePart("XYZ"), 1);
  EXPECT_EQ(SimulatedUnit::ChannelsFromModulePart(""), 1);
}

TEST(SimFault, TextForm) {
  using q5::sim::FaultKind;
  using q5::sim::ParseFault;
  using Target = q5::sim::SimFault::Target;

  auto f = ParseFault("noreply:00/02");
  ASSERT_TRUE(f);
  EXPECT_EQ(f->kind, FaultKind::NoReply);
  EXPECT_EQ(f->target, Target::ItemLine);
  EXPECT_EQ(f->group, "00");
  EXPECT_EQ(f->item, "02");

  f = ParseFault("late:00/06:3500");
  ASSERT_TRUE(f);
  EXPECT_EQ(f->delayUs, 3'500'000);

  f = ParseFault("chunks:1");
  ASSERT_TRUE(f);
  EXPECT_EQ(f->target, Target::AnyLine);
  EXPECT_EQ(f->chunkSize, 1u);
  EXPECT_EQ(f->delayUs, 2000);

  f = ParseFault("cnu:1/20/D*2+1");
  ASSERT_TRUE(f);
  EXPECT_EQ(f->target, Target::DataLine);
  EXPECT_EQ(f->times, 2);
  EXPECT_EQ(f->skip, 1);
  EXPECT_EQ(f->describe(), "cnu:1/20/D*2+1");

  f = ParseFault("garbage:=G00:\\x00\\xFFx");
  ASSERT_TRUE(f);
  EXPECT_EQ(f->lineText, "G00");
  EXPECT_EQ(f->bytes, std::string("\0\xFFx", 3));

  f = ParseFault("stale:#3:\\r:5");
  ASSERT_TRUE(f);
  EXPECT_EQ(f->lineNumber, 3u);
  EXPECT_EQ(f->bytes, "\r");
  EXPECT_EQ(f->delayUs, 5000);

  f = ParseFault("reply:00/03:CH\\x3ANG");
  ASSERT_TRUE(f);
  EXPECT_EQ(f->bytes, "CH:NG");

  std::string error;
  EXPECT_FALSE(ParseFault("explode", &error));
  EXPECT_NE(error.find("unknown fault"), std::string::npos);
  EXPECT_FALSE(ParseFault("late:00/06:soon"));
  EXPECT_FALSE(ParseFault("chunks:0"));
  EXPECT_FALSE(ParseFault("noreply:#0"));
  EXPECT_FALSE(ParseFault("noreply:00/02/X"));
  EXPECT_FALSE(ParseFault("cng:00/02:extra"));
  EXPECT_FALSE(ParseFault("reply"));
}

}  // namespace
