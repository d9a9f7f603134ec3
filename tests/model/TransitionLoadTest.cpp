// Transitions read from definitions: rows and columns against document order,
// the predicate cells, output order after binding, capacities, refusals.
#include "LoadedNet.h"

#include "model/Place.h"
#include "model/SimpleTransition.h"

#include <gtest/gtest.h>

namespace {

using Cell = PredicateMatrix::Cell;

std::string places(const std::vector<std::string>& ids, const std::string& attributes = "") {
  std::string out = "<places>";
  for (const auto& id : ids) out += "<place id=\"" + id + "\"" + attributes + "/>";
  return out + "</places>";
}

// A transition element with the given inputs, outputs and inner predicate/capacity text.
std::string transition(const std::string& id, const std::vector<std::string>& inputs,
                       const std::vector<std::string>& outputs, const std::string& predicates,
                       const std::string& rest = "", const std::string& attributes = "") {
  std::string out = "<transition id=\"" + id + "\"" + attributes + "><inputs>";
  for (const auto& in : inputs) out += "<input ref=\"" + in + "\"/>";
  out += "</inputs><outputs>";
  for (const auto& o : outputs) out += "<output ref=\"" + o + "\"/>";
  return out + "</outputs>" + predicates + rest + "</transition>";
}

std::vector<std::string> outputOrder(LoadedNet& loaded, CSimpleTransition& t) {
  std::vector<std::string> names;
  for (CGNObject* place : t.outputs()) names.push_back(loaded.net().placeName(static_cast<CPlace*>(place)));
  return names;
}

TEST(TransitionLoad, RowsAndColumnsRunAgainstDocumentOrder) {
  LoadedNet loaded(places({"A", "B", "X", "Y"}) +
                   "<transitions>" +
                   transition("T", {"A", "B"}, {"X", "Y"},
                              "<predicates default=\"true\"><predicate input=\"A\" output=\"X\">false</predicate>"
                              "</predicates>") +
                   "</transitions>");
  ASSERT_TRUE(loaded.initialised()) << loaded.log().text();
  CSimpleTransition* t = loaded.transition("T");
  EXPECT_EQ(loaded.place("B")->inputIndex(), 0);
  EXPECT_EQ(loaded.place("A")->inputIndex(), 1);
  EXPECT_EQ(loaded.place("Y")->outputIndex(), 0);
  EXPECT_EQ(loaded.place("X")->outputIndex(), 1);
  EXPECT_EQ(loaded.place("A")->inputOf(), t);
  EXPECT_EQ(loaded.place("X")->outputOf(), t);
  EXPECT_EQ(t->inputCount(), 2);
  EXPECT_EQ(t->outputCount(), 2);
  const PredicateMatrix& m = *t->predicateMatrix();
  EXPECT_EQ(m.cell(1, 1), Cell::False);
  EXPECT_EQ(m.cell(0, 0), Cell::True);
  EXPECT_EQ(m.cell(0, 1), Cell::True);
  EXPECT_EQ(m.cell(1, 0), Cell::True);
}

TEST(TransitionLoad, LogsItsLinesInOrder) {
  LoadedNet loaded(places({"A", "X"}) + "<transitions>" +
                   transition("T", {"A"}, {"X"},
                              "<predicates><predicate input=\"A\" output=\"X\">true</predicate></predicates>",
                              "<capacities>3</capacities>") +
                   "</transitions>");
  ASSERT_TRUE(loaded.initialised()) << loaded.log().text();
  EXPECT_EQ(loaded.logBetween("-------- Transition --------", "3"),
            (std::vector<std::string>{"-------- Transition --------", "T", "----------------------------",
                                      "*input place names:", "A", "*output place names:", "X",
                                      "*predicate matrix", "true", "*capacity matrix", "3"}));
  EXPECT_EQ(loaded.transition("T")->capacityMatrix(), (std::vector<std::vector<int>>{{3}}));
}

struct DefaultCase {
  const char* title;
  std::string attribute;
  Cell cell;
};

class PredicateDefault : public ::testing::TestWithParam<DefaultCase> {};

TEST_P(PredicateDefault, OnlyExactTrueGivesTrueCells) {
  LoadedNet loaded(places({"A", "X"}) + "<transitions>" +
                   transition("T", {"A"}, {"X"}, "<predicates" + GetParam().attribute + "/>") + "</transitions>");
  ASSERT_TRUE(loaded.initialised()) << loaded.log().text();
  EXPECT_EQ(loaded.transition("T")->predicateMatrix()->cell(0, 0), GetParam().cell);
}

INSTANTIATE_TEST_SUITE_P(Texts, PredicateDefault,
                         ::testing::Values(DefaultCase{"True", " default=\"true\"", Cell::True},
                                           DefaultCase{"Capitalised", " default=\"True\"", Cell::False},
                                           DefaultCase{"False", " default=\"false\"", Cell::False},
                                           DefaultCase{"Absent", "", Cell::False}),
                         [](const ::testing::TestParamInfo<DefaultCase>& info) {
                           return std::string(info.param.title);
                         });

TEST(TransitionLoad, PredicateFunctionIsBoundAndALeadingSpaceNamesAnotherFunction) {
  std::string body = places({"A", "X", "B", "Y"}) + "<functions>(defun f \"0\" () () 1)</functions><transitions>" +
                     transition("T", {"A"}, {"X"}, "<predicates><predicate input=\"A\" output=\"X\">f</predicate>"
                                                   "</predicates>") +
                     "</transitions>";
  LoadedNet good(body);
  ASSERT_TRUE(good.initialised()) << good.log().text();
  const PredicateMatrix& m = *good.transition("T")->predicateMatrix();
  EXPECT_EQ(m.cell(0, 0), Cell::Function);
  EXPECT_EQ(good.net().functionName(m.function(0, 0)), "f");

  std::string spaced = body;
  spaced.replace(spaced.find(">f</predicate>"), 14, "> f</predicate>");
  LoadedNet bad(spaced);
  EXPECT_FALSE(bad.initialised());
  EXPECT_EQ(bad.logBetween("***Undefined object found:", " f"),
            (std::vector<std::string>{"***Undefined object found:", " f"}));
}

TEST(TransitionBind, OutputsRunByPriorityWithTheListTieRule) {
  LoadedNet three(places({"I", "O1", "O2", "O3"}) + "<transitions>" +
                  transition("T", {"I"}, {"O1", "O2", "O3"}, "<predicates/>") + "</transitions>");
  ASSERT_TRUE(three.initialised()) << three.log().text();
  EXPECT_EQ(outputOrder(three, *three.transition("T")), (std::vector<std::string>{"O3", "O1", "O2"}));
  EXPECT_EQ(three.place("O1")->outputIndex(), 2);  // indexes stay those of loading

  LoadedNet four(places({"I", "O1", "O2", "O3", "O4"}) + "<transitions>" +
                 transition("T", {"I"}, {"O1", "O2", "O3", "O4"}, "<predicates/>") + "</transitions>");
  ASSERT_TRUE(four.initialised()) << four.log().text();
  EXPECT_EQ(outputOrder(four, *four.transition("T")), (std::vector<std::string>{"O4", "O1", "O2", "O3"}));

  LoadedNet ranked("<places><place id=\"I\"/><place id=\"O1\"/><place id=\"O2\" priority=\"9\"/>"
                   "<place id=\"O3\"/></places><transitions>" +
                   transition("T", {"I"}, {"O1", "O2", "O3"}, "<predicates/>") + "</transitions>");
  ASSERT_TRUE(ranked.initialised()) << ranked.log().text();
  EXPECT_EQ(outputOrder(ranked, *ranked.transition("T")), (std::vector<std::string>{"O2", "O1", "O3"}));
}

TEST(TransitionLoad, CapacitiesWithDoubledAndTrailingSpacesOrNoneAtAll) {
  LoadedNet loaded(places({"A", "B", "X", "Y", "C", "Z"}) + "<transitions>" +
                   transition("T", {"A", "B"}, {"X", "Y"}, "<predicates/>", "<capacities>1  2   3 4 </capacities>") +
                   transition("U", {"C"}, {"Z"}, "<predicates/>") + "</transitions>");
  ASSERT_TRUE(loaded.initialised()) << loaded.log().text();
  EXPECT_EQ(loaded.transition("T")->capacityMatrix(), (std::vector<std::vector<int>>{{1, 2}, {3, 4}}));
  EXPECT_TRUE(loaded.transition("U")->capacityMatrix().empty());
}

TEST(TransitionLoad, InvalidCapacitiesStopTheLoadBeforeLaterObjects) {
  LoadedNet loaded(places({"A", "B", "X", "Y", "C", "Z"}) + "<transitions>" +
                   transition("T", {"A", "B"}, {"X", "Y"}, "<predicates/>", "<capacities>1 2 3</capacities>") +
                   transition("U", {"C"}, {"Z"}, "<predicates/>") + "</transitions>");
  EXPECT_FALSE(loaded.initialised());
  EXPECT_TRUE(loaded.log().contains("Invalid matrix definition"));
  EXPECT_FALSE(loaded.net().transitionsTable().contains("U"));
  EXPECT_FALSE(loaded.log().contains("U"));  // its id would be logged had it been created
  EXPECT_EQ(loaded.log().messages().back(), "***User defined functions");
}

TEST(TransitionLoad, PredicateOnAPlaceOutsideTheTransitionIsRefused) {
  LoadedNet loaded(places({"A", "X", "Q"}) + "<transitions>" +
                   transition("T", {"A"}, {"X"},
                              "<predicates><predicate input=\"Q\" output=\"X\">true</predicate></predicates>") +
                   "</transitions>");
  EXPECT_FALSE(loaded.initialised());
  EXPECT_TRUE(loaded.log().contains("predicate refused in transition T: Q is not one of its inputs"))
      << loaded.log().text();
  LoadedNet outputs(places({"A", "X", "Q"}) + "<transitions>" +
                    transition("T", {"A"}, {"X"},
                               "<predicates><predicate input=\"A\" output=\"Q\">true</predicate></predicates>") +
                    "</transitions>");
  EXPECT_FALSE(outputs.initialised());
  EXPECT_TRUE(outputs.log().contains("predicate refused in transition T: Q is not one of its outputs"));
}

TEST(TransitionBind, PlaceBoundTwiceAsInputFails) {
  LoadedNet loaded(places({"A", "X", "Y"}) + "<transitions>" + transition("T", {"A"}, {"X"}, "<predicates/>") +
                   transition("U", {"A"}, {"Y"}, "<predicates/>") + "</transitions>");
  EXPECT_FALSE(loaded.initialised());
  EXPECT_TRUE(loaded.log().contains("Double place binding detected"));
}

TEST(TransitionLoad, StartAndLifeTimes) {
  LoadedNet loaded(places({"A", "X"}) + "<transitions>" +
                   transition("T", {"A"}, {"X"}, "<predicates/>", "", " priority=\"3\" startTime=\"4\" lifeTime=\"6\"") +
                   "</transitions>");
  ASSERT_TRUE(loaded.initialised()) << loaded.log().text();
  CSimpleTransition* t = loaded.transition("T");
  EXPECT_EQ(t->priority(), 3);
  EXPECT_EQ(t->startTime(), 4);
  EXPECT_EQ(t->lifeTime(), 6);
  EXPECT_TRUE(t->active());
}

}  // namespace
