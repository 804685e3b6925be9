// The record stream of configuration files: how fields are written and read, what a
// reader refuses, and the output-valid masks.
#include <gtest/gtest.h>

#include <array>
#include <span>
#include <string>
#include <vector>

#include "pages/RecordStream.h"

namespace {

using q5::pages::RecordStream;
using q5::pages::CheckBox;
using q5::pages::ComboBox;
using q5::pages::TextBox;

ComboBox List(int n) {
  ComboBox c;
  for (int i = 0; i < n; ++i) c.add("item" + std::to_string(i));
  return c;
}

TEST(ConfigRecordStream, WritesTextsQuotedIntegersBareBooleansMarkedAndCrLf) {
  RecordStream io = RecordStream::Writer("M");
  std::string a = "1.0000", b = "";
  std::int16_t n = -1;
  bool t = true, f = false;
  ComboBox c = List(3);
  c.index = 2;
  io.text(a, "a");
  io.integer(n, "n");
  io.endRecord();
  io.boolean(t, "t");
  io.boolean(f, "f");
  io.index(c, "c");
  io.text(b, "b");
  io.endRecord();
  ASSERT_TRUE(io.ok());
  EXPECT_EQ(io.contents(), "\"1.0000\",-1\r\n#TRUE#,#FALSE#,2,\"\"\r\n");
}

TEST(ConfigRecordStream, ReadsFieldsInOrderWhateverTheLineBoundaries) {
  // Fields run on across lines; LF-only and CR-only line ends and blank lines are read
  // too; a comma inside a quoted text is part of the text.
  RecordStream io = RecordStream::Reader("\"a,b\"\n1\r\r\n#TRUE#\r-32768,\"\" \r\n\r\n", "M");
  std::string s1, s2;
  std::int16_t i1 = 0, i2 = 0;
  bool b = false;
  io.text(s1, "s1");
  io.integer(i1, "i1");
  io.endRecord();
  io.boolean(b, "b");
  io.integer(i2, "i2");
  io.text(s2, "s2");
  io.expectEnd();
  ASSERT_TRUE(io.ok()) << io.error();
  EXPECT_EQ(s1, "a,b");
  EXPECT_EQ(i1, 1);
  EXPECT_TRUE(b);
  EXPECT_EQ(i2, -32768);
  EXPECT_EQ(s2, "");
}

TEST(ConfigRecordStream, ReaderRefusesWhatDoesNotConvertAndStopsAtTheFirstFault) {
  struct Case {
    const char* content;
    const char* expectInError;
  };
  // Each file is read as: text, integer, boolean, combo index (3 items).
  const Case cases[] = {
      {"\"x\",7,#TRUE#", "the file ends before c"},
      {"\"x\",7.5,#TRUE#,0", "line 1, i: expected an integer, found \"7.5\""},
      {"\"x\",\"7\",#TRUE#,0", "expected an integer"},
      {"\"x\",40000,#TRUE#,0", "expected an integer"},
      {"\"x\",,#TRUE#,0", "expected an integer, found \"\""},
      {"\"x\",7,TRUE,0", "expected #TRUE# or #FALSE#"},
      {"\"x\",7,#TRUE#\r\n3", "line 2, c: the index 3 is not in its list of 3 items"},
      {"\"x\",7,#TRUE#,-2", "the index -2"},
      {"\"x,7,#TRUE#,0", "no closing double quote"},
      {"\"x\"y,7,#TRUE#,0", "unexpected characters after the text"},
      {"\"x\",7,#TRUE#,0\r\n5\r\n", "line 2: more data than this model's records hold"},
  };
  for (const Case& c : cases) {
    RecordStream io = RecordStream::Reader(c.content, "M");
    std::string s = "before";
    std::int16_t i = 11;
    bool b = false;
    ComboBox box = List(3);
    box.index = 1;
    io.text(s, "s");
    io.integer(i, "i");
    io.boolean(b, "b");
    io.index(box, "c");
    io.expectEnd();
    EXPECT_FALSE(io.ok()) << c.content;
    EXPECT_NE(io.error().find(c.expectInError), std::string::npos)
        << c.content << " -> " << io.error();
  }
  // After the first fault nothing more is taken from the file.
  RecordStream io = RecordStream::Reader("x,y\r\n1,2", "M");
  std::int16_t a = 5, b = 6;
  io.integer(a, "a");
  io.integer(b, "b");
  EXPECT_EQ(a, 5);
  EXPECT_EQ(b, 6);
  EXPECT_NE(io.error().find("line 1, a:"), std::string::npos) << io.error();
  // -1 (nothing selected) only for a list the model leaves empty; in a filled list it
  // is refused with the line and the field, and the box keeps its selection.
  RecordStream none = RecordStream::Reader("-1\r\n-1", "M");
  ComboBox box = List(2);
  box.index = 0;
  ComboBox empty = List(0);
  none.index(empty, "e");
  EXPECT_TRUE(none.ok());
  EXPECT_EQ(empty.index, -1);
  none.index(box, "c");
  EXPECT_FALSE(none.ok());
  EXPECT_NE(none.error().find("line 2, c: the index -1 is not in its list of 2 items"),
            std::string::npos)
      << none.error();
  EXPECT_EQ(box.index, 0);
}

TEST(ConfigRecordStream, WriterRefusesATextWithADoubleQuoteAndNamesTheControl) {
  RecordStream io = RecordStream::Writer("M");
  std::string ok = "1", bad = "12\"5", later = "3";
  io.text(ok, "txtZScale(0)");
  io.text(bad, "txtFScale(0)");
  io.text(later, "txtBias(0)");
  EXPECT_FALSE(io.ok());
  EXPECT_NE(io.error().find("txtFScale(0)"), std::string::npos) << io.error();
  EXPECT_NE(io.error().find("double quote"), std::string::npos) << io.error();
}

TEST(ConfigRecordStream, OutputValidMasksAreFourUpperCaseHexDigits) {
  std::array<CheckBox, 16> boxes{};
  auto written = [&] {
    RecordStream io = RecordStream::Writer("M");
    io.mask(std::span(boxes), "m");
    return io.contents();
  };
  EXPECT_EQ(written(), "\"0000\"");
  boxes[0].value = true;
  EXPECT_EQ(written(), "\"0001\"");
  for (auto& b : boxes) b.value = true;
  EXPECT_EQ(written(), "\"FFFF\"");
  for (auto& b : boxes) b.value = false;
  boxes[0].value = boxes[1].value = boxes[15].value = true;
  EXPECT_EQ(written(), "\"8003\"");

  // Reading sets every box from its bit; short and lower-case texts convert too.
  RecordStream io = RecordStream::Reader("\"A005\",\"ff\",\"12345\"", "M");
  io.mask(std::span(boxes), "m");
  EXPECT_TRUE(boxes[0].value && boxes[2].value && boxes[13].value && boxes[15].value);
  EXPECT_FALSE(boxes[1].value || boxes[14].value);
  io.mask(std::span(boxes), "m");
  EXPECT_TRUE(boxes[7].value);
  EXPECT_FALSE(boxes[8].value);
  io.mask(std::span(boxes), "m");
  EXPECT_NE(io.error().find("expected four hexadecimal digits"), std::string::npos);
}

// A control array as a run of fields: elements in order, each named by its index, so a
// reader's complaint points at the element ("c(1)") on its line.
TEST(ConfigRecordStream, ControlArraysAreRunsOfFieldsNamedByElement) {
  std::array<ComboBox, 3> lists{List(4), List(4), List(4)};
  lists[0].index = 3;
  lists[1].index = 0;
  lists[2].index = 2;
  std::array<TextBox, 2> texts{};
  texts[0].text = "-1.50";
  texts[1].text = "7";
  RecordStream out = RecordStream::Writer("M");
  out.indexes(lists, "c");
  out.endRecord();
  out.texts(texts, "t");
  out.endRecord();
  ASSERT_TRUE(out.ok());
  EXPECT_EQ(out.contents(), "3,0,2\r\n\"-1.50\",\"7\"\r\n");
  EXPECT_EQ(out.fieldNames(), (std::vector<std::string>{"c(0)", "c(1)", "c(2)", "t(0)", "t(1)"}));

  std::array<ComboBox, 3> back{List(4), List(4), List(4)};
  std::array<TextBox, 2> backTexts{};
  RecordStream in = RecordStream::Reader("1,2,0\r\n\"x\",\"y\"\r\n", "M");
  in.indexes(back, "c");
  in.texts(backTexts, "t");
  in.expectEnd();
  ASSERT_TRUE(in.ok()) << in.error();
  EXPECT_EQ(back[0].index, 1);
  EXPECT_EQ(back[1].index, 2);
  EXPECT_EQ(back[2].index, 0);
  EXPECT_EQ(backTexts[0].text, "x");
  EXPECT_EQ(backTexts[1].text, "y");

  // The second element out of its list: named, on its line; the third is not taken.
  std::array<ComboBox, 3> bad{List(4), List(4), List(4)};
  RecordStream refused = RecordStream::Reader("\r\n1,4,2\r\n", "M");
  refused.indexes(bad, "c");
  EXPECT_EQ(refused.error(), "line 2, c(1): the index 4 is not in its list of 4 items");
  EXPECT_EQ(bad[0].index, 1);
  EXPECT_EQ(bad[2].index, -1);
}

}  // namespace
