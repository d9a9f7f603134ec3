// References to a token after it has left the net: a token a frame names is
// kept with the values it left with; any other reference fails with a report
// naming the token. Every path once read or wrote freed memory.
#include "NetHarness.h"

#include "model/Token.h"

#include <gtest/gtest.h>

#include <string>

namespace {

// Token k crosses T from A to B, where B's function sets its value to 5, and
// leaves from B in the third step (time 2). Token w waits in W for good
// (U's predicates are false); functions record what they read in w's "seen".
std::string netWith(const std::string& functions, const std::string& kValue = "type=\"double\">1",
                    const std::string& extra = "") {
  return "<transitions>"
         "<transition id=\"T\"><inputs><input ref=\"A\"/></inputs><outputs><output ref=\"B\"/></outputs>"
         "<predicates default=\"true\"/></transition>"
         "<transition id=\"U\"><inputs><input ref=\"W\"/></inputs><outputs><output ref=\"V\"/></outputs>"
         "<predicates/></transition></transitions>"
         "<places><place id=\"A\"/><place id=\"B\" char=\"five\"/><place id=\"W\"/><place id=\"V\"/>" +
         extra +
         "</places><functions>(defun five \"0\" () () (set 5))" + functions +
         "</functions><tokens><token id=\"k\" host=\"A\"><characteristic name=\"Default\" " + kValue +
         "</characteristic></token><token id=\"w\" host=\"W\" priority=\"-1\"/></tokens>";
}

TEST(DepartedToken, FramesKeepTheirTokensAndOtherReferencesFailNamingIt) {
  struct Row {
    const char* name;
    std::string body;
    int steps;
    const char* seen;  // w's "seen" after the steps; null: the run fails naming k
  };
  const std::string departed = "The token k has left the net: a reference to it can no longer be used.";
  const Row rows[] = {
      {"tokens.k.obj reads the value k left with",
       netWith("(defun GNTrace \"2;tokens.k.obj;tokens.w.obj\" () () "
               "(if (> time 2) (set-named #1 \"seen\" (get-named #0 \"Default\")) 0))"),
       5, "5"},
      {"set-nth into k's vector through tokens.k.char",
       netWith("(defun GNTrace \"2;tokens.k.char;tokens.w.obj\" () () "
               "(if (> time 2) (begin (set-nth 0 9 #0) (set-named #1 \"seen\" #0)) 0))",
               "type=\"vector\">1 2 3"),
       5, "9 2 3"},
      {"a place's function reads k's number through tokens.k.char",
       netWith("(defun look \"2;tokens.k.char;tokens.w.obj\" () () (set-named #1 \"seen\" (+ #0 1)))",
               "type=\"double\">1", "<place id=\"C\" char=\"look\"/>") +
           "<tokens><token id=\"j\" host=\"C\" entering=\"4\"/></tokens>",
       5, "6"},
      {"tokens-list kept in a characteristic",
       netWith("(defun GNTrace \"2;tokens.w.obj;places.A.obj\" () () "
               "(if (= time 0) (set-named #0 \"list\" (tokens-list #1)) 0) "
               "(if (> time 2) (get-named (get-nth 0 (get-named #0 \"list\")) \"Default\") 0))"),
       5, nullptr},
      {"split's pair holding a reference",
       netWith("(defun GNTrace \"2;places.A.obj;places.W.obj\" () () "
               "(if (= time 0) (split (get-nth 0 (tokens-list #0)) \"s\" #1 \"Default\" (tokens-list #0)) 0) "
               "(if (> time 2) (get-named (get-nth 0 (get-char 0 (get-nth 0 (tokens-list #1)))) \"Default\") 0))"),
       5, nullptr},
      {"a merge rule keeping the merged-away token",
       "<transitions><transition id=\"T\"><inputs><input ref=\"A\"/></inputs><outputs><output ref=\"M\"/>"
       "</outputs><predicates default=\"true\"/></transition><transition id=\"R\"><inputs><input ref=\"M\"/>"
       "</inputs><outputs><output ref=\"Q\"/></outputs><predicates/></transition></transitions>"
       "<places><place id=\"A\"/><place id=\"M\" merge=\"true\" mergeRule=\"keep\"/><place id=\"Q\"/></places>"
       "<functions>(defun keep \"0\" (arrived) () (set-nth 0 arrived)) (defun GNTrace \"1;tokens.m.obj\" () () "
       "(if (> time 1) (get-named (get-nth 0 (get-char 0 #0)) \"x\") 0))</functions>"
       "<tokens><token id=\"k\" host=\"A\"/><token id=\"m\" host=\"M\">"
       "<characteristic name=\"Default\" type=\"vector\">0</characteristic></token></tokens>",
       5, nullptr},
      {"print of a token kept in a characteristic",
       netWith("(defun GNTrace \"2;tokens.w.obj;places.A.obj\" () () "
               "(if (= time 0) (set-named #0 \"list\" (tokens-list #1)) 0) "
               "(if (> time 2) (print (get-nth 0 (get-named #0 \"list\"))) 0))"),
       5, nullptr},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    TestNet net(row.body);
    ASSERT_TRUE(net.initialised()) << net.log().text();
    net.run(row.steps);
    if (row.seen == nullptr) {
      EXPECT_FALSE(net.net().runtimeOk());
      EXPECT_NE(net.log().text().find(departed), std::string::npos) << net.log().text();
      continue;
    }
    ASSERT_TRUE(net.net().runtimeOk()) << net.log().text();
    const CToken* w = static_cast<const CToken*>(net.net().tokensTable().objectAt(net.tokenIndex("w")));
    ASSERT_NE(w, nullptr);
    const CCharacteristic* seen = w->characteristic("seen");
    ASSERT_NE(seen, nullptr);
    EXPECT_EQ(textOf(seen->value()), row.seen);
  }
}

}  // namespace
