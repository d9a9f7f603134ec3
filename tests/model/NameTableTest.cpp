// NameTable: lookup-or-add, definition, the tokens table's reuse of its lowest
// free entry, names of unknown objects and of objects held more than once,
// refusals at the limits, and the sort.
#include "model/NameTable.h"

#include "RecordingLog.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

namespace {

class Named final : public CGNObject {};


class NameTableTest : public ::testing::Test {
 protected:
  NameTableTest() {
    tokens.setLog(&log);
    places.setLog(&log);
  }
  RecordingLog log;
  NameTable tokens{"tokens", NameTable::kTokenCapacity, true, "NotFound"};
  NameTable places{"places", NameTable::kPlaceCapacity, false, "NotFound."};
  Named a, b, c;
};

TEST_F(NameTableTest, IndexOfAddsAnUndefinedEntryOnceInOrderOfFirstMention) {
  EXPECT_EQ(places.indexOf("P1"), 0);
  EXPECT_EQ(places.indexOf("P2"), 1);
  EXPECT_EQ(places.indexOf("P1"), 0);
  EXPECT_EQ(places.count(), 2);
  EXPECT_EQ(places.stateAt(0), NameTable::State::Undefined);
  EXPECT_EQ(places.objectAt(0), nullptr);
  EXPECT_TRUE(places.contains("P2"));
  EXPECT_FALSE(places.contains("p2"));  // names compare case-sensitively
}

TEST_F(NameTableTest, DefineFillsTheReferencedEntry) {
  places.indexOf("P1");
  EXPECT_EQ(places.define("P2", &b), 1);
  EXPECT_EQ(places.define("P1", &a), 0);
  EXPECT_EQ(places.objectAt(0), &a);
  EXPECT_EQ(places.stateAt(0), NameTable::State::Defined);
  EXPECT_EQ(places.nameOf(&b), "P2");
  // A second definition of a name takes over its entry.
  EXPECT_EQ(places.define("P1", &c), 0);
  EXPECT_EQ(places.objectAt(0), &c);
  EXPECT_EQ(places.nameOf(&a), "NotFound.");
}

TEST_F(NameTableTest, UnknownObjectsAndIndexesHaveNoName) {
  EXPECT_EQ(tokens.nameOf(&a), "NotFound");
  EXPECT_EQ(places.nameOf(&a), "NotFound.");
  EXPECT_EQ(tokens.nameOf(nullptr), "NotFound");
  EXPECT_EQ(places.objectAt(-1), nullptr);
  EXPECT_EQ(places.objectAt(7), nullptr);
}

TEST_F(NameTableTest, ReleasedTokenEntryIsTakenOverByTheNextName) {
  tokens.define("t1", &a);
  tokens.define("t2", &b);
  tokens.release(&a);
  EXPECT_EQ(tokens.stateAt(0), NameTable::State::Free);
  EXPECT_EQ(tokens.objectAt(0), &a);  // the token lives until the end of its step
  EXPECT_EQ(tokens.define("g_1", &c), 0);
  EXPECT_EQ(tokens.nameAt(0), "g_1");
  EXPECT_EQ(tokens.nameOf(&c), "g_1");
  EXPECT_EQ(tokens.nameOf(&a), "NotFound");
  EXPECT_FALSE(tokens.contains("t1"));
  EXPECT_EQ(tokens.count(), 2);
}

TEST_F(NameTableTest, LowestFreeEntryWinsEvenOverTheSameNameFurtherOn) {
  Named d;
  tokens.define("x", &a);
  tokens.define("y", &b);
  tokens.define("z", &c);
  tokens.release(&b);
  tokens.release(&a);
  // "z" stands at index 2, but the scan stops at the free entry 0 first.
  EXPECT_EQ(tokens.indexOf("z"), 0);
  EXPECT_EQ(tokens.stateAt(0), NameTable::State::Undefined);
  EXPECT_EQ(tokens.define("w", &d), 1);
  EXPECT_EQ(tokens.indexOf("w"), 1);  // no free entry left: found by name
  EXPECT_EQ(tokens.nameOf(&c), "z");
}

TEST_F(NameTableTest, OtherTablesDoNotReuseFreeEntries) {
  places.define("P1", &a);
  places.release(&a);
  EXPECT_EQ(places.define("P2", &b), 1);
}

TEST_F(NameTableTest, ForgetClearsTheObjectButKeepsTheName) {
  tokens.define("merged", &a);
  tokens.forget(&a);
  EXPECT_EQ(tokens.nameAt(0), "merged");
  EXPECT_EQ(tokens.objectAt(0), nullptr);
  EXPECT_EQ(tokens.nameOf(&a), "NotFound");
}

TEST_F(NameTableTest, OverLongNameIsRefusedAndRemembered) {
  std::string longest(NameTable::kMaxName, 'n');
  std::string tooLong(NameTable::kMaxName + 1, 'n');
  EXPECT_EQ(places.indexOf(longest), 0);
  EXPECT_FALSE(places.hasRefused());
  EXPECT_EQ(places.define(tooLong, &a), -1);
  EXPECT_TRUE(places.hasRefused());
  EXPECT_EQ(places.count(), 1);
  EXPECT_NE(log.text().find("name longer than 51 characters refused:\n" + tooLong + "\n"), std::string::npos);
  places.clear();
  EXPECT_FALSE(places.hasRefused());
}

TEST_F(NameTableTest, FullTableRefusesNewNamesButFindsOldOnes) {
  NameTable small("transitions", NameTable::kTransitionCapacity, false, "NotFound.");
  small.setLog(&log);
  for (int i = 0; i < NameTable::kTransitionCapacity; ++i) ASSERT_EQ(small.indexOf("T" + std::to_string(i)), i);
  EXPECT_EQ(small.indexOf("T7"), 7);
  EXPECT_FALSE(small.hasRefused());
  EXPECT_EQ(small.indexOf("T500"), -1);
  EXPECT_TRUE(small.hasRefused());
  EXPECT_EQ(small.count(), NameTable::kTransitionCapacity);
  EXPECT_NE(log.text().find("transitions table full (500 entries), name refused:\nT500\n"), std::string::npos);
}

TEST_F(NameTableTest, FullTokensTableStillReusesAFreeEntry) {
  std::vector<std::unique_ptr<Named>> objects;
  for (int i = 0; i < NameTable::kTokenCapacity; ++i) {
    objects.push_back(std::make_unique<Named>());
    ASSERT_EQ(tokens.define("k" + std::to_string(i), objects.back().get()), i);
  }
  EXPECT_EQ(tokens.define("extra", &a), -1);
  tokens.release(objects[4321].get());
  EXPECT_EQ(tokens.define("extra2", &b), 4321);
  EXPECT_EQ(tokens.nameOf(&b), "extra2");
}

// An object's name is always its first entry's, through every change that
// moves which entry that is, in each table that holds it.
TEST_F(NameTableTest, ObjectIsNamedByItsFirstEntryThroughEveryChange) {
  places.define("P1", &a);
  places.define("P2", &a);
  EXPECT_EQ(places.nameOf(&a), "P1");
  places.define("P1", &b);  // a is left only at P2
  EXPECT_EQ(places.nameOf(&a), "P2");
  EXPECT_EQ(places.nameOf(&b), "P1");
  places.define("P0", &a);  // a third entry, after the others
  EXPECT_EQ(places.nameOf(&a), "P2");
  places.define("P1", &a);  // back at the first entry
  EXPECT_EQ(places.nameOf(&a), "P1");
  EXPECT_EQ(places.nameOf(&b), "NotFound.");
  places.forget(&a);
  EXPECT_EQ(places.nameOf(&a), "NotFound.");
}

TEST_F(NameTableTest, ObjectInTwoTablesHasItsNameInEach) {
  places.indexOf("first");
  places.define("P", &a);
  tokens.define("t", &a);
  EXPECT_EQ(places.nameOf(&a), "P");
  EXPECT_EQ(tokens.nameOf(&a), "t");
  tokens.forget(&a);
  EXPECT_EQ(places.nameOf(&a), "P");
  EXPECT_EQ(tokens.nameOf(&a), "NotFound");
  tokens.release(&a);  // no entry holds it any more: nothing to free
  EXPECT_EQ(tokens.stateAt(0), NameTable::State::Defined);
}

TEST_F(NameTableTest, CopyOfANamedObjectHasNoName) {
  places.define("P", &a);
  Named copy(a);
  EXPECT_EQ(places.nameOf(&copy), "NotFound.");
  EXPECT_EQ(places.nameOf(&a), "P");
}

TEST_F(NameTableTest, ObjectDefinedAgainAfterClearIsNamedAtItsNewEntry) {
  tokens.define("x", &a);
  tokens.clear();
  EXPECT_EQ(tokens.nameOf(&a), "NotFound");
  tokens.indexOf("y");
  EXPECT_EQ(tokens.define("x", &a), 1);
  EXPECT_EQ(tokens.nameOf(&a), "x");
  tokens.release(&a);
  EXPECT_EQ(tokens.stateAt(1), NameTable::State::Free);
}

TEST_F(NameTableTest, SortMovesNameObjectAndStateTogether) {
  std::vector<std::unique_ptr<Named>> objects;
  for (int priority : {1, 3, 2}) {
    objects.push_back(std::make_unique<Named>());
    objects.back()->setPriority(priority);
  }
  places.define("low", objects[0].get());
  places.define("high", objects[1].get());
  places.define("mid", objects[2].get());
  places.indexOf("ghost");
  places.sort([](const CGNObject* x, const CGNObject* y) {
    if (x == nullptr || y == nullptr) return y == nullptr && x != nullptr;
    return x->priority() > y->priority();
  });
  std::vector<std::string> order;
  for (int i = 0; i < places.count(); ++i) order.push_back(places.nameAt(i));
  EXPECT_EQ(order, (std::vector<std::string>{"high", "mid", "low", "ghost"}));
  EXPECT_EQ(places.objectAt(0), objects[1].get());
  EXPECT_EQ(places.stateAt(3), NameTable::State::Undefined);
  EXPECT_EQ(places.indexOf("low"), 2);
  EXPECT_EQ(places.nameOf(objects[2].get()), "mid");
}

}  // namespace
