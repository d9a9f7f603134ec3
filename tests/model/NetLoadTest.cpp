// The net loader: sections in document order, places, the failure rows with
// their exact log lines, the root's attributes, binding, the place order,
// "GNInit" and "GNTrace", generators, and refusals at the data model's limits.
#include "LoadedNet.h"

#include "builtins/BuiltinFunctions.h"
#include "lang/Function.h"
#include "model/DefinitionDocument.h"
#include "model/Place.h"
#include "model/SimpleTransition.h"
#include "model/Token.h"
#include "model/TokenGenerator.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>

namespace {

const std::string kChain =
    "<transitions><transition id=\"T\"><inputs><input ref=\"A\"/></inputs><outputs><output ref=\"B\"/>"
    "</outputs><predicates default=\"true\"/></transition></transitions>";
const std::string kChainPlaces = "<places><place id=\"A\"/><place id=\"B\"/></places>";

TEST(NetLoad, LogsTheSectionsInDocumentOrder) {
  LoadedNet loaded(kChainPlaces + "<functions/>" + kChain + "<tokens/>");
  ASSERT_TRUE(loaded.initialised()) << loaded.log().text();
  std::vector<std::string> headers;
  for (const auto& m : loaded.log().messages()) {
    if (m.rfind("***", 0) == 0 || m.rfind("-->", 0) == 0) headers.push_back(m);
  }
  EXPECT_EQ(headers, (std::vector<std::string>{"-->Creating GN Structure.", "***GN PLACES", "***GN FUNCTIONS",
                                                "***GN TRANSITIONS", "***GN TOKENS", "***User defined functions"}));
  EXPECT_TRUE(loaded.net().initialised());
  EXPECT_EQ(loaded.net().time(), 0);
}

TEST(PlaceLoad, LogsAttributesAndReadsThem) {
  LoadedNet loaded("<places><place id=\"P\" priority=\"7\" capacity=\"3\"/></places>");
  ASSERT_TRUE(loaded.initialised()) << loaded.log().text();
  EXPECT_EQ(loaded.logBetween("-------- Place --------", "-----------------------"),
            (std::vector<std::string>{"-------- Place --------", "P", "ID", "7", "3", "-----------------------"}));
  CPlace* place = loaded.place("P");
  EXPECT_EQ(place->priority(), 7);
  EXPECT_EQ(place->capacity(), 3);
  EXPECT_FALSE(place->merge());
  EXPECT_EQ(loaded.net().functionName(place->characteristicFunction()), "ID");
  EXPECT_EQ(place->mergeRule(), place->characteristicFunction());
  EXPECT_EQ(place->inputOf(), nullptr);
  EXPECT_EQ(place->presentCount(), 0);
}

struct MergeCase {
  const char* text;
  bool merge;
};

class PlaceMerge : public ::testing::TestWithParam<MergeCase> {};

TEST_P(PlaceMerge, OnlyExactFalseTurnsMergingOff) {
  LoadedNet loaded(std::string("<places><place id=\"P\" merge=\"") + GetParam().text + "\"/></places>");
  ASSERT_TRUE(loaded.initialised()) << loaded.log().text();
  EXPECT_EQ(loaded.place("P")->merge(), GetParam().merge);
}

INSTANTIATE_TEST_SUITE_P(Texts, PlaceMerge,
                         ::testing::Values(MergeCase{"false", false}, MergeCase{"False", true},
                                           MergeCase{"FALSE", true}, MergeCase{"true", true}, MergeCase{"", true},
                                           MergeCase{"no", true}));

TEST(NetLoad, PlacesAfterTransitionsLoadTheSameNet) {
  LoadedNet before(kChainPlaces + kChain);
  LoadedNet after(kChain + kChainPlaces);
  ASSERT_TRUE(before.initialised()) << before.log().text();
  ASSERT_TRUE(after.initialised()) << after.log().text();
  for (LoadedNet* loaded : {&before, &after}) {
    EXPECT_EQ(loaded->place("A")->inputOf(), loaded->transition("T"));
    EXPECT_EQ(loaded->place("B")->outputOf(), loaded->transition("T"));
    EXPECT_EQ(loaded->place("A")->inputIndex(), 0);
    EXPECT_EQ(loaded->place("B")->outputIndex(), 0);
    // B is fed by a transition, so it comes first in the step's order.
    EXPECT_EQ(loaded->placeOrder(), (std::vector<std::string>{"B", "A"}));
  }
}

TEST(NetLoad, PlaceOrderFedFirstThenFeederPriorityThenPlacePriority) {
  LoadedNet loaded(
      "<places><place id=\"lonely\" priority=\"9\"/><place id=\"low\"/><place id=\"in1\"/><place id=\"in2\"/>"
      "<place id=\"byHigh\"/><place id=\"byLowA\" priority=\"1\"/><place id=\"byLowB\" priority=\"5\"/></places>"
      "<transitions><transition id=\"Low\" priority=\"1\"><inputs><input ref=\"in1\"/></inputs><outputs>"
      "<output ref=\"byLowA\"/><output ref=\"byLowB\"/></outputs><predicates/></transition>"
      "<transition id=\"High\" priority=\"4\"><inputs><input ref=\"in2\"/></inputs><outputs>"
      "<output ref=\"byHigh\"/></outputs><predicates/></transition></transitions>");
  ASSERT_TRUE(loaded.initialised()) << loaded.log().text();
  EXPECT_EQ(loaded.placeOrder(),
            (std::vector<std::string>{"byHigh", "byLowB", "byLowA", "lonely", "low", "in1", "in2"}));
  // The table's indexes follow the sort.
  EXPECT_EQ(loaded.net().placesTable().indexOf("lonely"), 3);
  EXPECT_EQ(loaded.net().placeName(loaded.place("byHigh")), "byHigh");
}

TEST(NetLoad, UndefinedInputPlaceIsReported) {
  LoadedNet loaded("<places><place id=\"B\"/></places>" + kChain);
  EXPECT_FALSE(loaded.initialised());
  EXPECT_EQ(loaded.logBetween("***Undefined object found:", "A"),
            (std::vector<std::string>{"***Undefined object found:", "A"}));
}

TEST(NetLoad, UndefinedFunctionsAndHostsAreReportedInTableOrder) {
  LoadedNet loaded("<places><place id=\"P\" char=\"nochar\"/></places>"
                   "<tokens><token id=\"k\" host=\"nowhere\"/></tokens>");
  EXPECT_FALSE(loaded.initialised());
  std::vector<std::string> reported;
  std::vector<std::string> all = loaded.log().messages();
  for (std::size_t i = 0; i + 1 < all.size(); ++i) {
    if (all[i] == "***Undefined object found:") reported.push_back(all[i + 1]);
  }
  // Places first, then functions.
  EXPECT_EQ(reported, (std::vector<std::string>{"nowhere", "nochar"}));
}

TEST(NetLoad, StartFunctionDecidesTheLoad) {
  LoadedNet none(kChainPlaces);
  EXPECT_TRUE(none.initialised());
  LoadedNet yes(kChainPlaces + "<functions>(defun GNInit \"0\" () () 1)</functions>");
  EXPECT_TRUE(yes.initialised()) << yes.log().text();
  LoadedNet no(kChainPlaces + "<functions>(defun GNInit \"0\" () () 0)</functions>");
  EXPECT_FALSE(no.initialised());
  EXPECT_TRUE(no.net().runtimeOk());
}

TEST(NetLoad, TraceFunctionIsFoundByName) {
  LoadedNet traced(kChainPlaces + "<functions>(defun GNTrace \"0\" () () 1)</functions>");
  ASSERT_TRUE(traced.initialised()) << traced.log().text();
  ASSERT_NE(traced.net().traceFunction(), nullptr);
  EXPECT_EQ(traced.net().functionName(traced.net().traceFunction()), "GNTrace");
  LoadedNet plain(kChainPlaces);
  EXPECT_EQ(plain.net().traceFunction(), nullptr);
}

struct TimeCase {
  const char* time;
  bool loads;
};

class RootTime : public ::testing::TestWithParam<TimeCase> {};

TEST_P(RootTime, NegativeTimeFailsTheLoad) {
  LoadedNet loaded(kChainPlaces, std::string("time=\"") + GetParam().time + "\"");
  EXPECT_EQ(loaded.initialised(), GetParam().loads);
}

INSTANTIATE_TEST_SUITE_P(Values, RootTime,
                         ::testing::Values(TimeCase{"-1", false}, TimeCase{"0", true}, TimeCase{"5", true}));

TEST(NetLoad, RootFunctionFileIsReadWithTheUnderscorePrefix) {
  // With the empty prefix, fundefs="lib" reads the file "_lib" of the working directory.
  std::filesystem::path saved = std::filesystem::current_path();
  std::filesystem::current_path(testFolder());
  std::ofstream("_modellib", std::ios::binary) << "(defun GNInit \"0\" () () 1)";
  LoadedNet present(kChainPlaces, "fundefs=\"modellib\"");
  LoadedNet missing(kChainPlaces, "fundefs=\"absentlib\"");
  std::filesystem::remove("_modellib");
  std::filesystem::current_path(saved);
  EXPECT_TRUE(present.initialised()) << present.log().text();
  EXPECT_TRUE(present.net().functionsTable().contains("GNInit"));
  EXPECT_FALSE(missing.initialised());
}

TEST(NetLoad, UnreadableDefinitionFailsWithTheParserReport) {
  auto empty = LoadedNet::fromDocument("");
  EXPECT_FALSE(empty->initialised());
  EXPECT_EQ(empty->log().messages(), std::vector<std::string>{"There was an error reading the GN definition"});
  EXPECT_EQ(empty->errors().rfind("Fatal Error at file ", 0), 0u) << empty->errors();

  LoadedNet invalid("<places><place/></places>");
  EXPECT_FALSE(invalid.initialised());
  EXPECT_EQ(invalid.log().messages(), std::vector<std::string>{"There was an error reading the GN definition"});
  EXPECT_EQ(invalid.errors().rfind("Error at file ", 0), 0u) << invalid.errors();
}

TEST(NetLoad, CommentsBeforeTheRootAndInsideSectionsAreSkipped) {
  auto loaded = LoadedNet::fromDocument(
      "<?xml version=\"1.0\"?>\n<!-- a net -->\n<gn xmlns=\"urn:vanterserver:gn-definition\">"
      "<places><!-- first --><place id=\"A\"/><?note x?><place id=\"B\"/></places>"
      "<tokens><!-- none yet --><token id=\"k\" host=\"A\"/></tokens>" + kChain + "</gn>");
  ASSERT_TRUE(loaded->initialised()) << loaded->log().text();
  EXPECT_NE(loaded->token("k"), nullptr);
  EXPECT_EQ(loaded->net().placesTable().count(), 2);
}

TEST(NetLoad, OverLongOrTooManyNamesFailTheLoad) {
  std::string longName(52, 'p');
  LoadedNet tooLong("<places><place id=\"" + longName + "\"/></places>");
  EXPECT_FALSE(tooLong.initialised());
  EXPECT_NE(tooLong.log().text().find("name longer than 51 characters refused:\n" + longName + "\n"), std::string::npos);

  std::string many = "<places>";
  for (int i = 0; i <= NameTable::kPlaceCapacity; ++i) many += "<place id=\"p" + std::to_string(i) + "\"/>";
  LoadedNet full(many + "</places>");
  EXPECT_FALSE(full.initialised());
  const std::string log = full.log().text();
  EXPECT_NE(log.find("places table full (500 entries), name refused:\np500\n"), std::string::npos);
  EXPECT_EQ(log.find("p500"), log.rfind("p500"));  // named by the refusal alone: the place was not loaded
}

TEST(NetLoad, ValidatedUnknownSectionIsIgnoredAndUnknownTokenChildFails) {
  LoadedNet ignored("<extras/>" + kChainPlaces);
  EXPECT_TRUE(ignored.initialised()) << ignored.log().text() << ignored.errors();
  LoadedNet refused(kChainPlaces + "<tokens><tokn/></tokens>");
  EXPECT_FALSE(refused.initialised());
  EXPECT_FALSE(refused.log().contains("There was an error reading the GN definition"));
  EXPECT_TRUE(refused.log().contains("***GN TOKENS"));
}

TEST(NetLoad, PathLongerThanTheLimitIsRefused) {
  RecordingLog log;
  CAbstractTransition net;
  net.prepare(&log, std::string(CAbstractTransition::kMaxPath + 1, 'x'), "", nullptr);
  EXPECT_FALSE(net.initialize());
  EXPECT_TRUE(log.contains("definition path or file prefix longer than 254 characters refused"));
}

TEST(NetLoad, TokensAreBoundToTheirHosts) {
  LoadedNet loaded(kChainPlaces + "<tokens><token id=\"late\" host=\"A\" entering=\"5\"/>"
                                  "<token id=\"early\" host=\"B\" entering=\"1\"/></tokens>");
  ASSERT_TRUE(loaded.initialised()) << loaded.log().text();
  EXPECT_EQ(loaded.token("late")->host(), loaded.place("A"));
  EXPECT_EQ(loaded.token("early")->host(), loaded.place("B"));
}

// A document the schema does not admit, built directly, to reach the loader's
// own rules, and the net it is loaded into (built-ins registered).
class UnvalidatedDocument {
 public:
  using Attributes = std::vector<DefinitionNode::Attribute>;

  UnvalidatedDocument() : root_(document_.addElement(nullptr, "gn", {})) {
    net_.prepare(&log_, "unused.xml", "", nullptr);
    registerBuiltIns(net_);
  }

  DefinitionNode* root() { return root_; }
  // An element of the definition namespace; a foreign one has no name.
  DefinitionNode* add(DefinitionNode* parent, std::string_view element, const Attributes& attributes = {}) {
    return document_.addElement(parent, element, attributes);
  }
  // Places A, B and C with the attributes the schema would supply.
  void addPlaces() {
    DefinitionNode* places = add(root(), "places");
    for (const char* id : {"A", "B", "C"}) add(places, "place", {{"id", id}, {"char", "ID"}, {"mergeRule", "ID"}});
  }
  // Transition T with its parts in the given order: "inputs" (of A), "inputs-C"
  // (of C), "outputs" (to B), "predicates" (default true), "capacities" (no text).
  void addTransition(const std::vector<std::string>& parts) {
    DefinitionNode* transition = add(add(root(), "transitions"), "transition", {{"id", "T"}, {"lifeTime", "-1"}});
    for (const std::string& part : parts) {
      if (part.starts_with("inputs")) add(add(transition, "inputs"), "input", {{"ref", part == "inputs" ? "A" : "C"}});
      if (part == "outputs") add(add(transition, "outputs"), "output", {{"ref", "B"}});
      if (part == "predicates") add(transition, "predicates", {{"default", "true"}});
      if (part == "capacities") add(transition, "capacities");
    }
  }
  bool load() { return net_.load(*root_); }
  CAbstractTransition& net() { return net_; }
  RecordingLog& log() { return log_; }

 private:
  DefinitionDocument document_;
  DefinitionNode* root_;
  RecordingLog log_;
  CAbstractTransition net_;
};

TEST(UnvalidatedDocumentLoad, TokensChildOfAnotherNameFailsWithoutAMessageOfItsOwn) {
  UnvalidatedDocument document;
  document.add(document.add(document.root(), "tokens"), "tokn");
  EXPECT_FALSE(document.load());
  EXPECT_EQ(document.log().messages(), (std::vector<std::string>{"-->Creating GN Structure.", "***GN TOKENS",
                                                                 "***User defined functions"}));
}

TEST(UnvalidatedDocumentLoad, RootChildrenOfOtherNamesAreIgnored) {
  UnvalidatedDocument document;
  document.add(document.root(), "extras");
  document.addPlaces();
  EXPECT_TRUE(document.load()) << document.log().text();
  EXPECT_EQ(document.net().placesTable().count(), 3);
}

// Validation lets foreign elements through unchecked: none of them is read.
TEST(UnvalidatedDocumentLoad, OnlyDefinitionNamespaceElementsAreRead) {
  struct Row {
    const char* name;
    const char* parent;  // a section of the definition holding the foreign element; "" for the root
    bool loads;
  };
  const Row rows[] = {
      {"a foreign section at the root is ignored", "", true},
      {"a foreign token among tokens is refused", "tokens", false},
  };
  for (const Row& row : rows) {
    UnvalidatedDocument document;
    document.addPlaces();
    DefinitionNode* parent =
        std::string(row.parent).empty() ? document.root() : document.add(document.root(), row.parent);
    document.add(parent, "", {{"id", "T"}, {"host", "A"}});
    EXPECT_EQ(document.load(), row.loads) << row.name << "\n" << document.log().text();
    EXPECT_EQ(document.net().transitionsTable().count() + document.net().tokensTable().count(), 0) << row.name;
  }
}

// A matrix takes its size from the lists read before it; the step would index
// one read earlier past its end.
TEST(UnvalidatedDocumentLoad, TransitionWhosePartsComeOutOfOrderIsRefused) {
  struct Row {
    const char* name;
    std::vector<std::string> parts;
    std::string message;
  };
  const std::string mismatch =
      "transition refused: its matrices do not have a row for each of its 1 inputs and a column for each of its "
      "1 outputs (give inputs and outputs first): T";
  const Row rows[] = {
      {"predicates first", {"predicates", "inputs", "outputs"}, mismatch},
      {"capacities before outputs", {"inputs", "capacities", "outputs", "predicates"}, mismatch},
      {"a second inputs", {"inputs", "outputs", "predicates", "inputs-C"},
       "second inputs element refused in transition T"},
  };
  for (const Row& row : rows) {
    UnvalidatedDocument document;
    document.addPlaces();
    document.addTransition(row.parts);
    EXPECT_FALSE(document.load()) << row.name;
    EXPECT_TRUE(document.log().contains(row.message)) << row.name << "\n" << document.log().text();
  }
}

}  // namespace
