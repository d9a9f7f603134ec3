// CLList: priority-ordered insertion, the re-sort of place lists, cursor
// traversal and removal, and ownership of items.
#include "model/LList.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

namespace {

// A named item that counts its destructions.
class Item final : public CGNObject {
 public:
  Item(std::string name, int priority, int* destroyed = nullptr) : name_(std::move(name)), destroyed_(destroyed) {
    setPriority(priority);
  }
  ~Item() override {
    if (destroyed_ != nullptr) ++*destroyed_;
  }
  const std::string& name() const { return name_; }

 private:
  std::string name_;
  int* destroyed_;
};

// The names in list order, read with the cursor as the step reads lists.
std::string names(CLList& list) {
  std::string out;
  for (CGNObject* item = list.first(); !list.atEnd(); item = list.next()) {
    out += static_cast<Item*>(item)->name();
  }
  return out;
}

struct InsertCase {
  const char* title;
  std::vector<std::pair<const char*, int>> items;  // inserted in this order
  std::vector<std::string> afterEach;
};

class InsertByPriority : public ::testing::TestWithParam<InsertCase> {};

TEST_P(InsertByPriority, OrdersStepByStep) {
  std::vector<std::unique_ptr<Item>> items;
  CLList list(false);
  const InsertCase& c = GetParam();
  for (std::size_t i = 0; i < c.items.size(); ++i) {
    items.push_back(std::make_unique<Item>(c.items[i].first, c.items[i].second));
    list.insertByPriority(items.back().get());
    EXPECT_EQ(names(list), c.afterEach[i]) << "after inserting " << c.items[i].first;
    EXPECT_EQ(list.count(), static_cast<int>(i + 1));
  }
}

INSTANTIATE_TEST_SUITE_P(
    Examples, InsertByPriority,
    ::testing::Values(
        // Equal priorities: an item goes second, ahead of the others of its priority.
        InsertCase{"EqualPriorities", {{"A", 0}, {"B", 0}, {"C", 0}}, {"A", "AB", "ACB"}},
        // Priorities 1, 3, 2, 3 (the 3s are P and Q): 1; P,1; P,2,1; P,Q,2,1.
        InsertCase{"MixedPriorities", {{"1", 1}, {"P", 3}, {"2", 2}, {"Q", 3}}, {"1", "P1", "P21", "PQ21"}},
        // A lower item after a higher run goes to the end; a higher one to the front.
        InsertCase{"HigherGoesFirst", {{"L", 1}, {"M", 5}, {"N", 9}, {"O", 0}}, {"L", "ML", "NML", "NMLO"}}),
    [](const ::testing::TestParamInfo<InsertCase>& info) { return std::string(info.param.title); });

struct ResortCase {
  const char* title;
  std::vector<std::pair<const char*, int>> frontToBack;  // built with addFront from the back
  std::string expected;
};

class Resort : public ::testing::TestWithParam<ResortCase> {};

TEST_P(Resort, KeepsTheFirstAndReinsertsTheRest) {
  std::vector<std::unique_ptr<Item>> items;
  CLList list(false);
  const ResortCase& c = GetParam();
  for (auto it = c.frontToBack.rbegin(); it != c.frontToBack.rend(); ++it) {
    items.push_back(std::make_unique<Item>(it->first, it->second));
    list.addFront(items.back().get());
  }
  list.resort();
  EXPECT_EQ(names(list), c.expected);
  EXPECT_EQ(list.count(), static_cast<int>(c.frontToBack.size()));
}

INSTANTIATE_TEST_SUITE_P(
    Examples, Resort,
    ::testing::Values(ResortCase{"EqualFour", {{"D", 0}, {"C", 0}, {"B", 0}, {"A", 0}}, "DABC"},
                      ResortCase{"EqualThree", {{"3", 0}, {"2", 0}, {"1", 0}}, "312"},
                      // Only strictly higher items move ahead of a low first item;
                      // an equal one (E) stays behind it.
                      ResortCase{"HigherMoveAheadOfFirst", {{"L", 0}, {"H", 5}, {"M", 2}, {"E", 0}}, "HMEL"},
                      ResortCase{"EqualToFirstStaysBehind", {{"F", 3}, {"G", 3}, {"K", 1}}, "FGK"},
                      ResortCase{"Single", {{"S", 7}}, "S"}),
    [](const ::testing::TestParamInfo<ResortCase>& info) { return std::string(info.param.title); });

TEST(LList, AddFrontRunsAgainstInsertionOrder) {
  Item a("A", 0), b("B", 0), c("C", 0);
  CLList list(false);
  list.addFront(&a);
  list.addFront(&b);
  list.addFront(&c);
  EXPECT_EQ(names(list), "CBA");
  EXPECT_EQ(list.indexOf(&c), 0);
  EXPECT_EQ(list.indexOf(&a), 2);
  Item absent("X", 0);
  EXPECT_EQ(list.indexOf(&absent), -1);
}

TEST(LList, EmptyListIsAtEndAndHasNoItems) {
  CLList list(false);
  EXPECT_EQ(list.first(), nullptr);
  EXPECT_TRUE(list.atEnd());
  EXPECT_EQ(list.next(), nullptr);
  EXPECT_EQ(list.removeCurrent(), nullptr);
  list.resort();
  EXPECT_EQ(list.count(), 0);
}

TEST(LList, RemoveCurrentDestroysOwnedItemAndMovesOn) {
  int destroyed = 0;
  CLList list(true);
  for (const char* name : {"C", "B", "A"}) list.addFront(std::make_unique<Item>(name, 0, &destroyed).release());
  list.first();
  list.next();  // at B
  CGNObject* following = list.removeCurrent();
  ASSERT_NE(following, nullptr);
  EXPECT_EQ(static_cast<Item*>(following)->name(), "C");
  EXPECT_EQ(destroyed, 1);
  EXPECT_EQ(list.count(), 2);
  EXPECT_EQ(list.removeCurrent(), nullptr);  // C removed, nothing follows
  EXPECT_EQ(names(list), "A");
  list.first();
  EXPECT_EQ(list.removeCurrent(), nullptr);
  EXPECT_TRUE(list.atEnd());
  EXPECT_EQ(destroyed, 3);
}

TEST(LList, OwningListDestroysItsItemsAndReferringListDoesNot) {
  int destroyed = 0;
  Item kept("K", 0, &destroyed);
  {
    CLList owning(true);
    CLList referring(false);
    for (int i = 0; i < 3; ++i) owning.insertByPriority(std::make_unique<Item>("o", i, &destroyed).release());
    referring.insertByPriority(&kept);
  }
  EXPECT_EQ(destroyed, 3);
}

TEST(LList, InsertingBeforeTheCursorKeepsRemovalCorrect) {
  // A place that is both an input and an output of one transition receives
  // tokens while its own list is being walked and trimmed.
  Item high("H", 5), low("L", 1), newcomer("N", 3);
  CLList list(false);
  list.insertByPriority(&high);
  list.insertByPriority(&low);
  list.first();
  list.next();  // at L, after H
  list.insertByPriority(&newcomer);  // goes between H and L
  EXPECT_EQ(list.current(), &low);
  EXPECT_EQ(list.removeCurrent(), nullptr);
  EXPECT_EQ(names(list), "HN");
}

TEST(LList, SetCurrentReplacesTheItemAtTheCursor) {
  Item a("A", 0), b("B", 0), z("Z", 0);
  CLList list(false);
  list.addFront(&b);
  list.addFront(&a);
  list.first();
  list.next();
  list.setCurrent(&z);
  EXPECT_EQ(names(list), "AZ");
}

TEST(LList, IteratorWalksWithoutMovingTheCursor) {
  Item a("A", 2), b("B", 1);
  CLList list(false);
  list.insertByPriority(&b);
  list.insertByPriority(&a);
  list.first();
  std::string seen;
  for (CGNObject* item : list) seen += static_cast<Item*>(item)->name();
  EXPECT_EQ(seen, "AB");
  EXPECT_EQ(list.current(), &a);
}

}  // namespace
