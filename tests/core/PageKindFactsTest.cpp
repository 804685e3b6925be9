// What the page registry tells about every page kind besides its page: the module's
// description a person reads beside a simulated unit, and the manual document about the
// page, which must be a file of the manual.
#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <set>
#include <string>

#include "pages/PageRegistry.h"

namespace {

using q5::pages::FindPageKind;
using q5::pages::PageKinds;

const std::filesystem::path kManual =
    std::filesystem::path(Q5_TEST_DATA) / ".." / ".." / "docs" / "manual";

TEST(PageKindFacts, EveryKindHasADescriptionAndAManualDocumentThatExists) {
  ASSERT_TRUE(std::filesystem::exists(kManual / "index.html")) << kManual;
  std::set<int> kinds;
  std::set<std::string> descriptions;
  for (const auto& e : PageKinds()) {
    kinds.insert(e.kind);
    SCOPED_TRACE(std::string(e.name));
    EXPECT_FALSE(e.description.empty());
    // Each kind is told apart from the others by its description.
    EXPECT_TRUE(descriptions.insert(std::string(e.description)).second) << e.description;
    ASSERT_FALSE(e.manual.empty());
    EXPECT_TRUE(std::filesystem::is_regular_file(kManual / std::string(e.manual))) << e.manual;
    // A document about pages, not the overview, the data sheets or the index.
    EXPECT_NE(e.manual, "pages.html");
    EXPECT_NE(e.manual, "index.html");
  }
  EXPECT_EQ(kinds.size(), 22u);
  EXPECT_EQ(*kinds.begin(), 0);
  EXPECT_EQ(*kinds.rbegin(), 21);
}

TEST(PageKindFacts, TextsAndDocumentsOfKindsAcrossTheFamilies) {
  // kind → (description, manual document), one or two kinds of each family.
  const std::map<int, std::pair<std::string, std::string>> expected = {
      {0, {"4-channel analog input", "analog-input-pages.html"}},
      {7, {"2-channel analog input", "analog-input-pages.html"}},
      {1, {"4-channel thermocouple input", "temperature-pages.html"}},
      {4, {"2-channel current output", "analog-output-pages.html"}},
      {5, {"16-point discrete input", "discrete-pages.html"}},
      {18, {"16-point input / 16-point output", "discrete-pages.html"}},
      {20, {"8-point input / 8-point output", "discrete-pages.html"}},
      {11, {"2-channel pulse/encoder input", "pulse-pwm-ac-pages.html"}},
      {15, {"4-channel PWM output", "pulse-pwm-ac-pages.html"}},
      {16, {"32-channel AC current input", "pulse-pwm-ac-pages.html"}},
      {13, {"2-channel load cell input", "loadcell-pages.html"}},
      {14, {"linearizing converter", "loadcell-pages.html"}},
  };
  for (const auto& [kind, facts] : expected) {
    const auto* e = FindPageKind(kind);
    ASSERT_NE(e, nullptr) << kind;
    EXPECT_EQ(e->description, facts.first) << kind;
    EXPECT_EQ(e->manual, facts.second) << kind;
  }
  // No page, no facts: the callers fall back on their own texts.
  for (int kind : {99, -1, 22}) EXPECT_EQ(FindPageKind(kind), nullptr) << kind;
}

}  // namespace
