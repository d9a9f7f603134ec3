// Each definition in examples/ loads and runs in-process with the behaviour
// its comment promises.
#include "NetHarness.h"

#include "model/Place.h"

#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

namespace {

DefinitionFile example(const std::string& name) {
  return {std::string(VANTER_SOURCE_DIR) + "/examples/" + name};
}

std::vector<std::string> texts(const std::vector<RecordedEvent>& events) {
  std::vector<std::string> result;
  for (const RecordedEvent& event : events) result.push_back(std::to_string(event.time) + " " + event.text);
  return result;
}

int presentTokens(TestNet& net, const std::string& place) {
  NameTable& places = net.net().placesTable();
  return static_cast<CPlace*>(places.objectAt(places.indexOf(place)))->presentCount();
}

bool startsWith(const std::string& text, const std::string& prefix) { return text.rfind(prefix, 0) == 0; }

// The text after the last space: the place of "movement k P" or "exit k P".
std::string tokenOf(const std::string& text) {
  const std::size_t first = text.find(' ') + 1;
  return text.substr(first, text.find(' ', first) - first);
}

TEST(Examples, PassThroughEntersMovesAndLeaves) {
  TestNet net(example("pass-through.xml"));
  ASSERT_TRUE(net.initialised()) << net.log().text();
  EXPECT_EQ(texts(net.run(4)), (std::vector<std::string>{"0 entrance k A", "1 movement k B", "2 exit k B"}));
}

TEST(Examples, QueueKeepsItsCapacitiesAndServesForTwoSteps) {
  TestNet net(example("queue.xml"));
  ASSERT_TRUE(net.initialised()) << net.log().text();
  std::map<std::string, int> atDesk;
  int served = 0;
  int balked = 0;
  for (int step = 0; step < 40; ++step) {
    for (const RecordedEvent& event : net.run(1)) {
      if (event.text.ends_with(" Desk")) atDesk[tokenOf(event.text)] = event.time;
      if (startsWith(event.text, "movement") && event.text.ends_with(" Done")) {
        ASSERT_EQ(atDesk.count(tokenOf(event.text)), 1u) << event.text;
        EXPECT_EQ(event.time - atDesk[tokenOf(event.text)], 2) << event.text;
        ++served;
      }
      if (startsWith(event.text, "exit") && event.text.ends_with(" Balked")) ++balked;
    }
    ASSERT_LE(presentTokens(net, "Queue"), 5);
    ASSERT_LE(presentTokens(net, "Desk"), 1);
  }
  EXPECT_GE(served, 15);
  EXPECT_GT(balked, 0);
  EXPECT_TRUE(net.net().runtimeOk());
}

TEST(Examples, MergeShipsCratesOfTwelveOrMoreMadeOfWholeParts) {
  TestNet net(example("merge.xml"));
  ASSERT_TRUE(net.initialised()) << net.log().text();
  int merges = 0;
  int crates = 0;
  int mergedIntoShipped = 0;
  for (const RecordedEvent& event : net.run(30)) {
    if (startsWith(event.text, "merge")) ++merges;
    if (!(startsWith(event.text, "movement") && event.text.ends_with(" Truck"))) continue;
    ++crates;
    // "Default=<weight>,pieces=<count>": every part weighs 3.
    const std::size_t comma = event.characteristics.find(',');
    const double weight = std::stod(event.characteristics.substr(8, comma - 8));
    const double pieces = std::stod(event.characteristics.substr(comma + 8));
    EXPECT_GE(weight, 12) << event.characteristics;
    EXPECT_EQ(weight, 3 * pieces) << event.characteristics;
    mergedIntoShipped += static_cast<int>(pieces) - 1;
  }
  EXPECT_GE(crates, 4);
  // Every merge went into a shipped crate, except those of the crate still
  // filling (under 12, so at most three parts).
  EXPECT_GE(merges, mergedIntoShipped);
  EXPECT_LE(merges - mergedIntoShipped, 2);
  EXPECT_TRUE(net.net().runtimeOk());
}

TEST(Examples, VectorsProbeRecordsTimesAndCountsVisitsUntilArchived) {
  TestNet net(example("vectors.xml"));
  ASSERT_TRUE(net.initialised()) << net.log().text();
  const std::vector<RecordedEvent> events = net.run(9);
  EXPECT_EQ(texts(events), (std::vector<std::string>{"0 entrance probe Left", "1 movement probe Right",
                                                     "2 movement probe Left", "3 movement probe Right",
                                                     "4 movement probe Left", "5 movement probe Right",
                                                     "6 movement probe Archive", "7 exit probe Archive"}));
  EXPECT_EQ(events.at(0).characteristics, "Default=0 0 0,label=ring probe,visits=1");
  EXPECT_EQ(events.at(3).characteristics, "Default=3 1 2,label=ring probe,visits=4");
  EXPECT_EQ(events.at(5).characteristics, "Default=3 4 5,label=ring probe,visits=6");
  EXPECT_TRUE(net.net().runtimeOk());
}

}  // namespace
