// The four event reports of XMLEventSender on a real loaded net: element and
// attribute order, "char" children in name order with their live values,
// names the net does not know, and reports outside a document.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "RecordingLog.h"
#include "XmlParseBack.h"
#include "builtins/BuiltinFunctions.h"
#include "model/AbstractTransition.h"
#include "model/DefinitionParser.h"
#include "model/Place.h"
#include "model/Token.h"
#include "server/ClientToGNProxy.h"
#include "server/XMLEventSender.h"

namespace {

class RecordingSink final : public ResponseSink {
 public:
  bool sendResponse(std::string_view body) override {
    bodies.emplace_back(body);
    return true;
  }
  std::vector<std::string> bodies;
};

// Token k in place A has characteristics named so that their order by bytes
// ("Default" < "a" < "b") differs from the document order ("b", "a", "Default").
const char* const kDefinition =
    "<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?>\n"
    "<gn xmlns=\"urn:vanterserver:gn-definition\"><places><place id=\"A\"/><place id=\"B\"/></places>"
    "<tokens><token id=\"k\" host=\"A\">"
    "<characteristic name=\"b\" type=\"string\">x&amp;y</characteristic>"
    "<characteristic name=\"a\" type=\"double\">2</characteristic>"
    "<characteristic name=\"Default\" type=\"vector\">1 2</characteristic>"
    "</token><token id=\"m\" host=\"B\"/></tokens></gn>\n";

class XMLEventSenderTest : public testing::Test {
 protected:
  void SetUp() override {
    static const bool started = initializeXerces();
    ASSERT_TRUE(started);
    path_ = (std::filesystem::temp_directory_path() / ("events-" + std::to_string(getpid()) + ".xml")).string();
    std::ofstream(path_) << kDefinition;
    net_.prepare(&log_, path_, "", &sender_);
    registerBuiltIns(net_);
    ASSERT_TRUE(net_.initialize()) << log_.text();
  }
  void TearDown() override { std::filesystem::remove(path_); }

  CToken& token(const char* name) {
    return *static_cast<CToken*>(net_.tokensTable().objectAt(net_.tokensTable().indexOf(name)));
  }
  CPlace& place(const char* name) {
    return *static_cast<CPlace*>(net_.placesTable().objectAt(net_.placesTable().indexOf(name)));
  }
  XmlElement sentDocument() {
    sender_.send();
    EXPECT_FALSE(sink_.bodies.empty());
    std::string error;
    std::optional<XmlElement> root = parseXml(sink_.bodies.back(), error);
    EXPECT_TRUE(root.has_value()) << error << sink_.bodies.back();
    return root.value_or(XmlElement{});
  }

  RecordingLog log_;
  RecordingSink sink_;
  CAbstractTransition net_;
  XMLEventSender sender_{sink_, net_};
  std::string path_;
};

TEST_F(XMLEventSenderTest, ReportsBeforeTheFirstResetAreDroppedAndNothingIsSent) {
  sender_.movement(token("k"), place("B"));
  sender_.send();
  EXPECT_TRUE(sink_.bodies.empty());
  sender_.reset();
  EXPECT_TRUE(sentDocument().children.empty());
}

TEST_F(XMLEventSenderTest, EachEventHasItsAttributesInOrderAndCharsInNameOrder) {
  sender_.reset();
  sender_.entrance(token("k"), place("A"));
  sender_.movement(token("k"), place("B"));
  sender_.merge(token("m"), place("B"), token("k"));
  sender_.exit(token("k"), place("B"));
  sender_.send();
  const std::string& body = sink_.bodies.at(0);
  EXPECT_NE(body.find("<entrance token=\"k\" place=\"A\">"), std::string::npos) << body;
  EXPECT_NE(body.find("<merge oldtoken=\"m\" place=\"B\" newtoken=\"k\">"), std::string::npos) << body;
  EXPECT_NE(body.find("<exit token=\"k\" place=\"B\"/>"), std::string::npos) << body;
  XmlElement root = sentDocument();
  ASSERT_EQ(root.children.size(), 4u);
  for (int event : {0, 1, 2}) {
    const auto& chars = root.children[static_cast<std::size_t>(event)].children;
    ASSERT_EQ(chars.size(), 3u) << event;
    EXPECT_EQ(chars[0].attribute("name"), "Default");
    EXPECT_EQ(chars[0].attribute("type"), "vector");
    EXPECT_EQ(chars[1].attribute("name"), "a");
    EXPECT_EQ(chars[1].attribute("type"), "double");
    EXPECT_EQ(chars[1].text, "2");
    EXPECT_EQ(chars[2].attribute("name"), "b");
    EXPECT_EQ(chars[2].text, "x&y");
  }
  EXPECT_TRUE(root.children[3].children.empty()) << "an exit lists no characteristics";
}

TEST_F(XMLEventSenderTest, CharsDescribeTheTokenAtTheMomentOfTheReport) {
  sender_.reset();
  sender_.movement(token("k"), place("A"));
  token("k").characteristic("a")->set(CDoubleValue(7.5));
  sender_.movement(token("k"), place("B"));
  XmlElement root = sentDocument();
  ASSERT_EQ(root.children.size(), 2u);
  EXPECT_EQ(root.children[0].children.at(1).text, "2");
  EXPECT_EQ(root.children[1].children.at(1).text, "7.5");
}

TEST_F(XMLEventSenderTest, UnknownTokensAndPlacesAreNotFound) {
  CToken stray(net_);
  CPlace elsewhere(net_);
  sender_.reset();
  sender_.merge(stray, elsewhere, token("k"));
  sender_.exit(token("k"), elsewhere);
  XmlElement root = sentDocument();
  ASSERT_EQ(root.children.size(), 2u);
  EXPECT_EQ(root.children[0].attribute("oldtoken"), "NotFound");
  EXPECT_EQ(root.children[0].attribute("place"), "NotFound.");
  EXPECT_EQ(root.children[0].attribute("newtoken"), "k");
  EXPECT_EQ(root.children[1].attribute("place"), "NotFound.");
}

TEST_F(XMLEventSenderTest, ResetStartsAFreshDocument) {
  sender_.reset();
  sender_.exit(token("k"), place("B"));
  EXPECT_EQ(sentDocument().children.size(), 1u);
  sender_.reset();
  sender_.exit(token("m"), place("B"));
  XmlElement second = sentDocument();
  ASSERT_EQ(second.children.size(), 1u);
  EXPECT_EQ(second.children[0].attribute("token"), "m");
}

}  // namespace
