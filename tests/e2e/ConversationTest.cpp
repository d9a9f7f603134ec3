// GNXP/0.1 conversations with the real server and real nets: INIT, STEP,
// HALT, the saved definition, and the failure replies.
#include "E2EHarness.h"
#include "XmlParseBack.h"
#include "server/GNXP01Proxy.h"

namespace {

XmlElement parsedBody(const GnxpResponse& response) {
  EXPECT_TRUE(response.hasBody);
  std::string error;
  std::optional<XmlElement> root = parseXml(response.body, error);
  EXPECT_TRUE(root.has_value()) << error << response.body;
  return root.value_or(XmlElement{});
}

TEST_F(ServedTest, EmptyEventsDocumentIsSentAndParsesBack) {
  auto client = identified();
  GnxpResponse response;
  ASSERT_TRUE(client->init(kEmptyNet, response)) << client->error();
  ASSERT_EQ(response.status, "200 Request completed successfully") << log();
  for (int count : {0, 1, -2}) {
    ASSERT_TRUE(client->step(count, response)) << client->error();
    EXPECT_EQ(response.status, "200 Request completed sucessfully");
    XmlElement root = parsedBody(response);
    EXPECT_EQ(root.name, "events");
    EXPECT_TRUE(root.children.empty()) << response.body;
  }
}

TEST_F(ServedTest, PassThroughNetReportsEntranceMovementAndExit) {
  auto client = identified();
  GnxpResponse response;
  ASSERT_TRUE(client->init(kPassThrough, response)) << client->error();
  ASSERT_EQ(response.status, "200 Request completed successfully") << log();
  ASSERT_TRUE(client->step(3, response)) << client->error();
  XmlElement root = parsedBody(response);
  std::vector<std::string> events;
  for (const auto& event : root.children) {
    events.push_back(event.name + " " + event.attribute("token").value_or("?") + " " +
                     event.attribute("place").value_or("?") + " " + std::to_string(event.children.size()));
  }
  EXPECT_EQ(events, (std::vector<std::string>{"entrance k A 1", "movement k B 1", "exit k B 0"}));
  ASSERT_EQ(root.children.at(0).children.size(), 1u);
  EXPECT_EQ(root.children[0].children[0].attribute("type"), "double");
  EXPECT_EQ(root.children[0].children[0].text, "1");
  ASSERT_TRUE(client->step(1, response));
  EXPECT_TRUE(parsedBody(response).children.empty()) << "a second STEP holds only its own events";
}

// The headless log and print share standard output: a printed line comes
// after every line logged before it, however the log batches its lines.
TEST_F(ServedTest, PrintedLineFollowsTheLogLinesOfItsRequest) {
  auto client = identified();
  GnxpResponse response;
  ASSERT_TRUE(client->init(definition("<transitions><transition id=\"T\"><inputs><input ref=\"A\"/></inputs><outputs>"
                                      "<output ref=\"B\"/></outputs><predicates default=\"true\"/></transition>"
                                      "</transitions><places><place id=\"A\"/><place id=\"B\" char=\"pr\"/></places>"
                                      "<functions>(defun pr \"0\" () () (print \"PRINTED\"))</functions>"
                                      "<tokens><token id=\"k\" host=\"A\"/></tokens>"),
                           response));
  ASSERT_EQ(response.status, "200 Request completed successfully") << log();
  ASSERT_TRUE(client->step(2, response)) << client->error();
  const std::vector<std::string> lines = server_->logLines();
  const auto printed = std::find(lines.begin(), lines.end(), "PRINTED\t");
  ASSERT_GE(printed - lines.begin(), 4) << log();
  EXPECT_EQ(std::vector<std::string>(printed - 4, printed),
            (std::vector<std::string>{"***Received message:", "STEP 2", "***Received message:", ""}))
      << log();
}

TEST_F(ServedTest, InitSavesTheDefinitionInTheWorkingDirectory) {
  auto client = identified();
  GnxpResponse response;
  ASSERT_TRUE(client->init(kPassThrough, response)) << client->error();
  std::vector<std::string> saved;
  for (const auto& entry : std::filesystem::directory_iterator(server_->directory())) {
    std::string name = entry.path().filename().string();
    if (name.starts_with("remote file ")) saved.push_back(name);
  }
  ASSERT_EQ(saved.size(), 1u);
  EXPECT_TRUE(saved[0].ends_with(".xml"));
  EXPECT_EQ(fileInServer(saved[0]), kPassThrough);
}

TEST_F(ServedTest, ParseFailureGivesDefinitionErrorWithTheReportOnStandardError) {
  auto client = identified();
  GnxpResponse response;
  ASSERT_TRUE(client->init("<gn xmlns=\"urn:vanterserver:gn-definition\"><places>", response)) << client->error();
  EXPECT_EQ(response.status, "500 GN definition error");
  bool closed = false;
  EXPECT_EQ(client->readUntilClosed(closed), "");
  EXPECT_TRUE(closed);
  EXPECT_TRUE(server_->waitForLines({"There was an error reading the GN definition", "GN Initialization failure.",
                                     "***Sent message:", "500 GN definition error"}))
      << log();
  EXPECT_NE(server_->standardError().find("Fatal Error at file \""), std::string::npos) << server_->standardError();
  EXPECT_NE(server_->standardError().find("\n   Message: "), std::string::npos);
}

TEST_F(ServedTest, RuntimeErrorAnswers502AndEndsTheConversation) {
  auto client = identified();
  GnxpResponse response;
  ASSERT_TRUE(client->init(kFailsInStepTwo, response)) << client->error();
  ASSERT_EQ(response.status, "200 Request completed successfully") << log();
  ASSERT_TRUE(client->step(5, response)) << client->error();
  EXPECT_EQ(response.status, "502 Runtime error");
  EXPECT_FALSE(response.hasBody);
  bool closed = false;
  EXPECT_EQ(client->readUntilClosed(closed), "");
  EXPECT_TRUE(closed);
  EXPECT_TRUE(server_->waitForLines({"***Sent message:", "502 Runtime error", "GNXP/0.1 Proxy: GN Runtime error.",
                                     "GNXP 0.1 communication terminated..."}))
      << log();
}

}  // namespace
