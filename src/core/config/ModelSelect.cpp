#include "config/ModelSelect.h"

namespace q5::config {

namespace {

constexpr std::string_view kV100 = "Version : 1.00";
constexpr std::string_view kV102 = "Version : 1.02";

struct HeaderRow {
  int kind;
  std::string_view flag;  // empty: the fallback row of the kind
  NewHeader header;
};

// In the order the rows are tested. A kind whose every row names a flag falls back to
// its first row.
const HeaderRow kHeaderRows[] = {
    {0, "Q5T3NML3-6-AI4", {"Q5T3NML3-6-AI4", 0, kV100, 4}},
    {0, "Q5T3NML3-6-AIF4", {"Q5T3NML3-6-AIF4", 0, kV100, 4}},
    {0, "Q5T3NML-6-AIF4", {"Q5T3NML-6-AIF4", 0, kV100, 4}},
    {0, "Q5T3NH-A-AIF4", {"Q5T3NH-A-AIF4", 0, kV100, 4}},
    {0, "Q5T3NML3-6-AINF4", {"Q5T3NML3-6-AINF4", 0, kV100, 4}},
    {1, "", {"Q5T3NML3-6-TC4", 1, kV100, 4}},
    {5, "Q5T3PML3-B-BI16", {"Q5T3PML3-B-BI16", 5, kV100, 2}},
    {5, "Q5T3NEIP-6-BI16", {"Q5T3NEIP-6-BI16", 5, kV100, 2}},
    {5, "Q5W3NEIP-BI16", {"Q5W3NEIP-BI16A", 5, kV100, 2}},
    {5, "Q5W3UD-BI16", {"Q5W3UD-BI16A-H", 5, kV100, 2}},
    {5, "", {"Q5T3PML3-6-BI16", 5, kV100, 2}},
    {6, "Q5V3PE-6-BO16", {"Q5V3PE-6-BO16", 6, kV100, 2}},
    {6, "Q5T3NEIP-6-BO16", {"Q5T3NEIP-6-BO16", 6, kV100, 2}},
    {6, "Q5W3NEIP-BO16", {"Q5W3NEIP-BO16A", 6, kV100, 2}},
    {6, "Q5W3UD-BO16", {"Q5W3UD-BO16A-H", 6, kV100, 2}},
    {6, "", {"Q5T3PML3-6-BO16A", 6, kV100, 2}},
    {8, "Q5Z3UECT-1-BI32A", {"Q5Z3UECT-1-BI32A", 8, kV100, 2}},
    {8, "Q5W3ND-BI32", {"Q5W3ND-BI32A-I", 8, kV100, 2}},
    {8, "Q5Z3UML3-BI32", {"Q5Z3UML3-BI32A-B", 8, kV100, 2}},
    {8, "Q5W3NEIP-BI32", {"Q5W3NEIP-BI32A", 8, kV100, 2}},
    {8, "", {"Q5V3PML3-6-BI32", 8, kV100, 2}},
    {9, "Q5Z3UECT-1-BO32A", {"Q5Z3UECT-1-BO32A", 9, kV100, 2}},
    {9, "Q5W3ND-BO32", {"Q5W3ND-BO32A-I", 9, kV100, 2}},
    {9, "Q5Z3UML3-BO32", {"Q5Z3UML3-BO32A-B", 9, kV100, 2}},
    {9, "Q5W3NEIP-BO32", {"Q5W3NEIP-BO32A", 9, kV100, 2}},
    {9, "", {"Q5V3PML3-6-BO32A", 9, kV100, 2}},
    {10, "", {"Q5T3NML3-6-OCF4", 10, kV100, 4}},
    {11, "Q5T3NML3-6-PI1/A", {"Q5T3NML3-6-PI1/A", 11, kV100, 1}},
    {11, "", {"Q5T3NML3-6-PI1", 11, kV100, 1}},
    {12, "Q5T3NML3-6-OVF4", {"Q5T3NML3-6-OVF4", 12, kV100, 4}},
    {12, "Q5T3NH-A-OVF4", {"Q5T3NH-A-OVF4", 12, kV100, 4}},
    {12, "Q5Z3UECT-1-OVF4", {"Q5Z3UECT-1-OVF4", 12, kV100, 4}},
    {12, "", {"Q5T3NML-6-OVF4", 12, kV100, 4}},
    {13, "Q5T3NML3-6-SG2A", {"Q5T3NML3-6-SG2A", 13, kV102, 2}},
    {13, "Q5Z3UCIE-SG2-9/F2K", {"Q5Z3UCIE-SG2-9/F2K", 13, kV100, 2}},
    {13, "Q5Z3UCIE-SG2-9/F1", {"Q5Z3UCIE-SG2-9/F1", 13, kV100, 2}},
    {13, "Q5T3SECT-SG2-A/F2K", {"Q5T3SECT-SG2-A/F2K", 13, kV100, 2}},
    {13, "Q5T3SECT-SG2-A/F1", {"Q5T3SECT-SG2-A/F1", 13, kV100, 2}},
    {13, "", {"Q5T3NML3-6-SG2", 13, kV102, 2}},
    {14, "", {"Q5T3NML3-6-LNRIO1", 14, kV100, 1}},
    {15, "", {"Q5W3NML3-E-EC4A", 15, kV100, 4}},
    {16, "", {"Q5V3UM-AC32", 16, kV100, 32}},
    {17, "Q5Z3UECT-1-AIF8N", {"Q5Z3UECT-1-AIF8N", 17, kV100, 8}},
    {17, "Q5Z3UECT-1-AIMF8N", {"Q5Z3UECT-1-AIMF8N", 17, kV100, 8}},
    {17, "", {"Q5T3NML-6-AIF8N", 17, kV100, 8}},
    {18, "Q5W3ND-BIO32", {"Q5W3ND-BIO32C-I", 18, kV100, 2}},
    {18, "Q5Z3UML3-BIO32", {"Q5Z3UML3-BIO32C-B", 18, kV100, 2}},
    // This model's header carries 8; opening derives its page from the model.
    {18, "Q5Z3UEIP-BIO32", {"Q5Z3UEIP-BIO32C", 8, kV100, 2}},
    {18, "", {"Q5Z3UECT-1-BIO32C", 18, kV100, 2}},
    {19, "", {"Q5Z3UECT-1-PI8A", 19, kV100, 8}},
    {20, "Q5W3UD-BIO16", {"Q5W3UD-BIO16C-H", 20, kV100, 2}},
    {20, "", {"Q5W3NEIP-BIO16B", 20, kV100, 8}},
    {21, "Q5V3PM-BI32", {"Q5V3PM-BI32", 21, kV100, 32}},
    {21, "Q5T3PM-BI16", {"Q5T3PM-BI16", 21, kV100, 16}},
};

using F = FlagSetting;

std::vector<ModelSelectGroup> BuildMenu() {
  return {
      {"Q5T3NML3",
       {
           {"Q5T3NML3", "AI4", 0, {F{"Q5T3NML3-6-AI4", true}}, 0},
           {"Q5T3NML3", "AIF4", 1, {F{"Q5T3NML3-6-AIF4", true}}, 0},
           {"Q5T3NML3", "TC4", 2, {F{"Q5T3NML3-6-TC4", true}}, 1},
           {"Q5T3NML3", "PI1A", 3, {F{"Q5T3NML3-6-PI1", true}, F{"Q5T3NML3-6-PI1/A", false}}, 11},
           {"Q5T3NML3", "PI1A/A", 4, {F{"Q5T3NML3-6-PI1", true}, F{"Q5T3NML3-6-PI1/A", true}}, 11},
           {"Q5T3NML3", "PI1J", 5, {F{"Q5T3NML3-6-PI1", true}, F{"Q5T3NML3-6-PI1/A", false}}, 11},
           {"Q5T3NML3", "PI1J/A", 6, {F{"Q5T3NML3-6-PI1", true}, F{"Q5T3NML3-6-PI1/A", true}}, 11},
           {"Q5T3NML3", "SG2", 7, {F{"Q5T3NML3-6-SG2A", false}, F{"SG2/F1", false}}, 13},
           {"Q5T3NML3", "SG2A", 8, {F{"Q5T3NML3-6-SG2A", true}, F{"SG2/F1", false}}, 13},
           {"Q5T3NML3", "SG2/F1", 9, {F{"Q5T3NML3-6-SG2A", false}, F{"SG2/F1", true}}, 13},
           {"Q5T3NML3", "OVF4", 10, {F{"Q5T3NML3-6-OVF4", true}}, 12},
           {"Q5T3NML3", "OCF4", 11, {}, 10},
           {"Q5T3NML3", "LNRIO1", 12, {}, 14},
           {"Q5T3NML3", "EC4", 13, {}, 15},
           {"Q5T3NML3", "AINF4", 14, {F{"Q5T3NML3-6-AINF4", true}}, 0},
       }},
      {"Q5T3PML3",
       {
           {"Q5T3PML3", "BI16", 0, {}, 5},
           {"Q5T3PML3", "BO16", 1, {}, 6},
       }},
      {"Q5T3NML",
       {
           {"Q5T3NML", "OVF4", 0, {}, 12},
           {"Q5T3NML", "AIF4", 1, {F{"Q5T3NML-6-AIF4", true}}, 0},
           {"Q5T3NML", "AIF8N", 2, {F{"Q5T3NML-6-AIF8N", true}}, 17},
       }},
      {"Q5T3NH",
       {
           {"Q5T3NH", "OVF4", 0, {F{"Q5T3NH-A-OVF4", true}}, 12},
           {"Q5T3NH", "AIF4", 1, {F{"Q5T3NH-A-AIF4", true}}, 0},
       }},
      {"Q5V3UM", {{"Q5V3UM", "AC32", 0, {}, 16}}},
      {"Q5V3PE", {{"Q5V3PE", "BO16", 0, {F{"Q5V3PE-6-BO16", true}}, 6}}},
      {"Q5T3NEIP",
       {
           {"Q5T3NEIP", "BI16", 0, {F{"Q5T3NEIP-6-BI16", true}}, 5},
           {"Q5T3NEIP", "BO16", 1, {F{"Q5T3NEIP-6-BO16", true}}, 6},
       }},
      {"Q5W3NEIP",
       {
           {"Q5W3NEIP", "BI16", 0, {F{"Q5W3NEIP-BI16", true}}, 5},
           {"Q5W3NEIP", "BO16", 1, {F{"Q5W3NEIP-BO16", true}}, 6},
           {"Q5W3NEIP", "BIO16", 2, {F{"Q5W3NEIP-BIO16", true}}, 20},
           {"Q5W3NEIP", "BI32", 3, {F{"Q5W3NEIP-BI32", true}}, 8},
           {"Q5W3NEIP", "BO32", 4, {F{"Q5W3NEIP-BO32", true}}, 9},
       }},
      {"Q5Z3UECT",
       {
           {"Q5Z3UECT", "BIO32", 0, {F{"Q5Z3UECT-1-BIO32", true}}, 18},
           {"Q5Z3UECT", "AIF8N", 1, {F{"Q5Z3UECT-1-AIF8N", true}}, 17},
           {"Q5Z3UECT", "PI8A", 2, {F{"Q5Z3UECT-1-PI8A", true}}, 19},
           {"Q5Z3UECT", "BI32A", 3, {F{"Q5Z3UECT-1-BI32A", true}}, 8},
           {"Q5Z3UECT", "AIMF8N", 4, {F{"Q5Z3UECT-1-AIMF8N", true}}, 17},
           {"Q5Z3UECT", "BO32A", 5, {F{"Q5Z3UECT-1-BO32A", true}}, 9},
           {"Q5Z3UECT", "OVF4", 6, {F{"Q5Z3UECT-1-OVF4", true}}, 12},
       }},
      {"Q5Z3UEIP", {{"Q5Z3UEIP", "BIO32", 0, {F{"Q5Z3UEIP-BIO32", true}}, 18}}},
      {"Q5W3UD",
       {
           {"Q5W3UD", "BI16", 0, {F{"Q5W3UD-BI16", true}}, 5},
           {"Q5W3UD", "BO16", 1, {F{"Q5W3UD-BO16", true}}, 6},
           {"Q5W3UD", "BIO16", 2, {F{"Q5W3UD-BIO16", true}}, 20},
       }},
      {"Q5W3ND",
       {
           {"Q5W3ND", "BI32", 0, {F{"Q5W3ND-BI32", true}}, 8},
           {"Q5W3ND", "BO32", 1, {F{"Q5W3ND-BO32", true}}, 9},
           {"Q5W3ND", "BIO32", 2, {F{"Q5W3ND-BIO32", true}}, 18},
       }},
      {"Q5Z3UML3",
       {
           {"Q5Z3UML3", "BI32", 0, {F{"Q5Z3UML3-BI32", true}}, 8},
           {"Q5Z3UML3", "BO32", 1, {F{"Q5Z3UML3-BO32", true}}, 9},
           {"Q5Z3UML3", "BIO32", 2, {F{"Q5Z3UML3-BIO32", true}}, 18},
       }},
      {"Q5Z3UCIE",
       {
           {"Q5Z3UCIE", "SG2/F2K", 0,
            {F{"Q5Z3UCIE-SG2-9/F2K", true}, F{"Q5Z3UCIE-SG2-9/F1", false}}, 13},
           {"Q5Z3UCIE", "SG2/F1", 1,
            {F{"Q5Z3UCIE-SG2-9/F1", true}, F{"Q5Z3UCIE-SG2-9/F2K", false}}, 13},
       }},
      {"Q5V3PM", {{"Q5V3PM", "BI32", 0, {F{"Q5V3PM-BI32", true}}, 21}}},
      {"Q5T3PM", {{"Q5T3PM", "BI16", 0, {F{"Q5T3PM-BI16", true}}, 21}}},
      {"Q5T3SECT",
       {
           {"Q5T3SECT", "SG2/F2K", 0,
            {F{"Q5T3SECT-SG2-A/F2K", true}, F{"Q5T3SECT-SG2-A/F1", false}}, 13},
           {"Q5T3SECT", "SG2/F1", 1,
            {F{"Q5T3SECT-SG2-A/F1", true}, F{"Q5T3SECT-SG2-A/F2K", false}}, 13},
       }},
  };
}

}  // namespace

const std::vector<ModelSelectGroup>& ModelSelectMenu() {
  static const std::vector<ModelSelectGroup> menu = BuildMenu();
  return menu;
}

const ModelSelectItem* FindModelSelectItem(std::string_view group, std::string_view caption) {
  for (const auto& g : ModelSelectMenu()) {
    if (g.caption != group) continue;
    for (const auto& item : g.items)
      if (item.caption == caption) return &item;
  }
  return nullptr;
}

bool NewHeaderFor(int moduleKind, const catalogue::ModelFlags& flags, NewHeader& header) {
  const HeaderRow* first = nullptr;
  for (const HeaderRow& row : kHeaderRows) {
    if (row.kind != moduleKind) continue;
    if (!first) first = &row;
    if (row.flag.empty() || flags[row.flag]) {
      header = row.header;
      return true;
    }
  }
  if (!first) return false;
  header = first->header;
  return true;
}

}  // namespace q5::config
