// Each example through the real VanterServerHeadless: INIT succeeds and the
// events documents of its STEP requests list exactly the events that the same
// definition gives when run in-process.
#include "NetHarness.h"
#include "ServerProcess.h"
#include "XmlParseBack.h"
#include "client/GnxpClient.h"

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>
#include <string>
#include <vector>

namespace {

constexpr int kReceiveLimitMs = 10000;

std::string examplePath(const std::string& name) { return std::string(VANTER_SOURCE_DIR) + "/examples/" + name; }

std::string fileText(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

// "kind token place [kept token] | name=text,..." as the in-process sink writes it.
std::string describe(const XmlElement& event) {
  std::string text = event.name;
  for (const char* attribute : {"token", "oldtoken", "place", "newtoken"}) {
    if (auto value = event.attribute(attribute)) text += " " + *value;
  }
  std::string characteristics;
  for (const XmlElement& child : event.children) {
    if (!characteristics.empty()) characteristics += ",";
    characteristics += child.attribute("name").value_or("?") + "=" + child.text;
  }
  return text + " | " + characteristics;
}

std::vector<std::string> inProcessEvents(const std::string& path, int steps) {
  TestNet net(DefinitionFile{path});
  EXPECT_TRUE(net.initialised()) << net.log().text();
  std::vector<std::string> texts;
  for (const RecordedEvent& event : net.run(steps)) texts.push_back(event.text + " | " + event.characteristics);
  return texts;
}

// Sends the definition, then `batches` STEP requests of `perBatch` steps each.
std::vector<std::string> servedEvents(const std::string& path, int batches, int perBatch) {
  std::string error;
  auto server = ServerProcess::startServing(error);
  EXPECT_NE(server, nullptr) << error;
  if (!server) return {};
  auto client = GnxpClient::connect("127.0.0.1", server->port(), error);
  EXPECT_NE(client, nullptr) << error;
  if (!client) return {};
  client->setReceiveTimeout(kReceiveLimitMs);
  GnxpResponse response;
  EXPECT_TRUE(client->identify() && client->init(fileText(path), response)) << client->error();
  EXPECT_EQ(response.status, "200 Request completed successfully");
  std::vector<std::string> texts;
  for (int batch = 0; batch < batches; ++batch) {
    EXPECT_TRUE(client->step(perBatch, response)) << client->error();
    auto document = parseXml(response.body, error);
    EXPECT_TRUE(document.has_value()) << error << "\n" << response.body;
    if (!document) break;
    for (const XmlElement& event : document->children) texts.push_back(describe(event));
  }
  client->sendHalt();
  return texts;
}

TEST(ExamplesThroughServer, EveryExampleGivesTheSameEventsAsInProcess) {
  struct Row {
    const char* file;
    int batches;
    int perBatch;
  };
  const Row rows[] = {
      {"pass-through.xml", 3, 1},
      {"queue.xml", 4, 5},
      {"merge.xml", 3, 5},
      {"vectors.xml", 2, 4},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.file);
    const std::vector<std::string> expected = inProcessEvents(examplePath(row.file), row.batches * row.perBatch);
    ASSERT_FALSE(expected.empty());
    EXPECT_EQ(servedEvents(examplePath(row.file), row.batches, row.perBatch), expected);
  }
}

}  // namespace
