// The events writer: exact layout, escaping, ISO-8859-1 text, and every
// document parsed back with Xerces.
#include <gtest/gtest.h>

#include "XmlParseBack.h"
#include "server/EventsDocument.h"

namespace {

constexpr std::string_view kDeclaration = "<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?>\n";

XmlElement parsed(std::string_view text) {
  std::string error;
  std::optional<XmlElement> root = parseXml(text, error);
  EXPECT_TRUE(root.has_value()) << error << text;
  return root.value_or(XmlElement{});
}

TEST(EventsDocumentTest, HasNoDocumentBeforeTheFirstReset) {
  EventsDocument document;
  EXPECT_FALSE(document.isOpen());
  document.reset();
  EXPECT_TRUE(document.isOpen());
}

TEST(EventsDocumentTest, EmptyDocumentIsAnEmptyRootThatParses) {
  EventsDocument document;
  document.reset();
  std::string text(document.finish());
  EXPECT_EQ(text, std::string(kDeclaration) + "<events/>\n");
  XmlElement root = parsed(text);
  EXPECT_EQ(root.name, "events");
  EXPECT_TRUE(root.children.empty());
  EXPECT_TRUE(root.attributes.empty());
}

TEST(EventsDocumentTest, EventsArePrettyPrintedWithTwoSpaces) {
  EventsDocument document;
  document.reset();
  document.openEvent("movement", {{"token", "t1"}, {"place", "p2"}});
  document.addChar("Default", "double", "1.5");
  document.addChar("name", "string", "ab");
  document.closeEvent();
  document.openEvent("exit", {{"token", "t1"}, {"place", "p3"}});
  document.closeEvent();
  std::string text(document.finish());
  EXPECT_EQ(text, std::string(kDeclaration) +
                      "<events>\n"
                      "  <movement token=\"t1\" place=\"p2\">\n"
                      "    <char name=\"Default\" type=\"double\">1.5</char>\n"
                      "    <char name=\"name\" type=\"string\">ab</char>\n"
                      "  </movement>\n"
                      "  <exit token=\"t1\" place=\"p3\"/>\n"
                      "</events>\n");
  XmlElement root = parsed(text);
  ASSERT_EQ(root.children.size(), 2u);
  const XmlElement& movement = root.children[0];
  EXPECT_EQ(movement.attribute("token"), "t1");
  EXPECT_EQ(movement.attribute("place"), "p2");
  ASSERT_EQ(movement.children.size(), 2u);
  EXPECT_EQ(movement.children[1].attribute("type"), "string");
  EXPECT_EQ(movement.children[1].text, "ab");
  EXPECT_TRUE(root.children[1].children.empty());
}

TEST(EventsDocumentTest, EmptyValueKeepsAnOpenAndCloseTag) {
  EventsDocument document;
  document.reset();
  document.openEvent("entrance", {{"token", "t"}, {"place", "p"}});
  document.addChar("s", "string", "");
  document.closeEvent();
  XmlElement root = parsed(document.finish());
  ASSERT_EQ(root.children.at(0).children.size(), 1u);
  EXPECT_EQ(root.children[0].children[0].text, "");
}

struct TextRow {
  const char* name;
  std::string written;
  std::string readBack;  // what a parser sees, in ISO-8859-1
};

// Names the row in test listings.
void PrintTo(const TextRow& row, std::ostream* out) { *out << row.name; }

class Escaping : public testing::TestWithParam<TextRow> {};

TEST_P(Escaping, SurvivesAParseInAttributesAndInText) {
  EventsDocument document;
  document.reset();
  document.openEvent("merge", {{"oldtoken", GetParam().written}, {"place", "p"}, {"newtoken", "n"}});
  document.addChar(GetParam().written, "string", GetParam().written);
  document.closeEvent();
  std::string text(document.finish());
  XmlElement root = parsed(text);
  ASSERT_EQ(root.children.size(), 1u) << text;
  const XmlElement& merge = root.children[0];
  EXPECT_EQ(merge.attribute("oldtoken"), GetParam().readBack);
  ASSERT_EQ(merge.children.size(), 1u);
  EXPECT_EQ(merge.children[0].attribute("name"), GetParam().readBack);
  EXPECT_EQ(merge.children[0].text, GetParam().readBack);
}

INSTANTIATE_TEST_SUITE_P(Rows, Escaping,
                         testing::Values(TextRow{"markup", "a&b<c>d\"e'f", "a&b<c>d\"e'f"},
                                         TextRow{"entity_lookalike", "&amp;&#10;", "&amp;&#10;"},
                                         TextRow{"tab_line_feed_carriage_return_kept", "a\tb\nc\rd\r\n",
                                                 "a\tb\nc\rd\r\n"},
                                         TextRow{"control_bytes_become_question_marks",
                                                 std::string("x\x01y\x1f", 4) + std::string(1, '\0'), "x?y??"},
                                         TextRow{"latin1_bytes_kept", "caf\xe9 \xff\xa0\x80", "caf\xe9 \xff\xa0\x80"},
                                         TextRow{"delete_kept", "a\x7f", "a\x7f"},
                                         TextRow{"escapes_across_long_text", std::string(4095, 'a') + "&<\x01" +
                                                     std::string(9000, 'b') + "\"",
                                                 std::string(4095, 'a') + "&<?" + std::string(9000, 'b') + "\""}),
                         [](const testing::TestParamInfo<TextRow>& row) { return std::string(row.param.name); });

TEST(EventsDocumentTest, DocumentFarLargerThanItsFirstBufferStaysWhole) {
  EventsDocument document;
  document.reset();
  constexpr int kEvents = 2000;
  for (int i = 0; i < kEvents; ++i) {
    document.openEvent("movement", {{"token", "k" + std::to_string(i)}, {"place", "p"}});
    document.addChar("Default", "double", std::to_string(i));
    document.closeEvent();
  }
  XmlElement root = parsed(document.finish());
  ASSERT_EQ(root.children.size(), static_cast<std::size_t>(kEvents));
  EXPECT_EQ(root.children[kEvents - 1].attribute("token"), "k" + std::to_string(kEvents - 1));
  EXPECT_EQ(root.children[kEvents - 1].children[0].text, std::to_string(kEvents - 1));
}

TEST(EventsDocumentTest, FinishedDocumentGrowsOnUntilTheNextReset) {
  EventsDocument document;
  document.reset();
  std::string first(document.finish());
  document.openEvent("exit", {{"token", "a"}, {"place", "b"}});
  document.closeEvent();
  EXPECT_EQ(parsed(document.finish()).children.size(), 1u);
  document.openEvent("exit", {{"token", "c"}, {"place", "d"}});
  document.closeEvent();
  XmlElement grown = parsed(document.finish());
  ASSERT_EQ(grown.children.size(), 2u);
  EXPECT_EQ(grown.children[1].attribute("token"), "c");
  document.reset();
  EXPECT_EQ(document.finish(), first);
}

}  // namespace
