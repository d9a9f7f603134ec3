// Token generators read from definitions: log lines, type and predicate,
// the template token and its binding, and refusals; plus the token entry's
// reuse of freed blocks.
#include "LoadedNet.h"

#include "base/SanitizerBuild.h"
#include "model/Place.h"
#include "model/Token.h"
#include "model/TokenEntry.h"
#include "model/TokenGenerator.h"

#include <gtest/gtest.h>

namespace {

const std::string kPlace = "<places><place id=\"P\"/></places>";

std::string generator(const std::string& attributes, const std::string& inside = "") {
  return "<tokens><generator id=\"g\" host=\"P\" " + attributes + ">" + inside + "</generator></tokens>";
}

TEST(GeneratorLoad, LogsItselfAndItsTemplateAndKeepsTheTemplateUnregistered) {
  LoadedNet loaded(kPlace + generator("type=\"periodic\" predicate=\"true\" period=\"3\" entering=\"2\" priority=\"5\"",
                                      "<characteristic name=\"n\" type=\"double\">4</characteristic>"));
  ASSERT_TRUE(loaded.initialised()) << loaded.log().text();
  EXPECT_EQ(loaded.logBetween("------- Token Generator -------", "-----------------------"),
            (std::vector<std::string>{"------- Token Generator -------", "periodic", "true", "3",
                                      "-------------------------------", "-------- Token------", "g", "P", "5", "2",
                                      "-----------------------"}));
  ASSERT_EQ(loaded.net().generators().size(), 1u);
  const CTokenGenerator& g = *loaded.net().generators()[0];
  EXPECT_EQ(g.type(), CTokenGenerator::Type::Periodic);
  EXPECT_EQ(g.predicateKind(), CTokenGenerator::PredicateKind::True);
  EXPECT_EQ(g.period(), 3);
  EXPECT_EQ(g.nextTime(), 2);
  EXPECT_EQ(g.generatedCount(), 0);
  EXPECT_EQ(g.namePrefix(), "g");
  EXPECT_EQ(g.templateToken().priority(), 5);
  EXPECT_EQ(g.templateToken().host(), loaded.place("P"));
  EXPECT_NE(g.templateToken().characteristic("n"), nullptr);
  EXPECT_FALSE(loaded.net().tokensTable().contains("g"));
}

struct KindCase {
  const char* type;
  const char* predicate;
  CTokenGenerator::Type expectedType;
  CTokenGenerator::PredicateKind expectedKind;
};

class GeneratorKinds : public ::testing::TestWithParam<KindCase> {};

TEST_P(GeneratorKinds, TypeAndPredicateAreComparedExactly) {
  const KindCase& c = GetParam();
  LoadedNet loaded(kPlace + "<functions>(defun when \"0\" () () 1)</functions>" +
                   generator(std::string("type=\"") + c.type + "\" predicate=\"" + c.predicate + "\" period=\"1\""));
  ASSERT_TRUE(loaded.initialised()) << loaded.log().text();
  const CTokenGenerator& g = *loaded.net().generators()[0];
  EXPECT_EQ(g.type(), c.expectedType);
  EXPECT_EQ(g.predicateKind(), c.expectedKind);
  bool isFunction = c.expectedKind == CTokenGenerator::PredicateKind::Function;
  EXPECT_EQ(g.predicate() != nullptr, isFunction);
}

using Type = CTokenGenerator::Type;
using Kind = CTokenGenerator::PredicateKind;
INSTANTIATE_TEST_SUITE_P(Texts, GeneratorKinds,
                         ::testing::Values(KindCase{"periodic", "true", Type::Periodic, Kind::True},
                                           KindCase{"conditional", "false", Type::Conditional, Kind::False},
                                           KindCase{"random", "when", Type::Random, Kind::Function},
                                           KindCase{"Periodic", "when", Type::None, Kind::Function}));

TEST(GeneratorBind, MissingHostOrPredicateFailsTheLoad) {
  LoadedNet noHost("<places><place id=\"Q\"/></places>" +
                   generator("type=\"periodic\" predicate=\"true\" period=\"1\""));
  EXPECT_FALSE(noHost.initialised());
  EXPECT_EQ(noHost.logBetween("***Undefined object found:", "P"),
            (std::vector<std::string>{"***Undefined object found:", "P"}));

  LoadedNet noPredicate(kPlace + generator("type=\"conditional\" predicate=\"never\" period=\"1\""));
  EXPECT_FALSE(noPredicate.initialised());
  EXPECT_EQ(noPredicate.logBetween("***Undefined object found:", "never"),
            (std::vector<std::string>{"***Undefined object found:", "never"}));
}

TEST(GeneratorLoad, IdTooLongForTheNamesItMakesIsRefused) {
  std::string id(41, 'g');
  LoadedNet loaded(kPlace + "<tokens><generator id=\"" + id +
                   "\" host=\"P\" type=\"periodic\" predicate=\"true\" period=\"1\"/></tokens>");
  EXPECT_FALSE(loaded.initialised());
  EXPECT_NE(loaded.log().text().find("generator id longer than 40 characters refused:\n" + id + "\n"), std::string::npos)
      << loaded.log().text();
  LoadedNet fits(kPlace + "<tokens><generator id=\"" + std::string(40, 'g') +
                 "\" host=\"P\" type=\"periodic\" predicate=\"true\" period=\"1\"/></tokens>");
  EXPECT_TRUE(fits.initialised()) << fits.log().text();
}

TEST(TokenEntry, CopiesTheTokenPriorityAndReusesFreedBlocks) {
  LoadedNet loaded(kPlace + "<tokens><token id=\"k\" host=\"P\" priority=\"6\"/></tokens>");
  ASSERT_TRUE(loaded.initialised()) << loaded.log().text();
  CToken* token = loaded.token("k");
  auto entry = std::make_unique<CTokenEntry>(token, 4);
  EXPECT_EQ(entry->priority(), 6);
  EXPECT_EQ(entry->token(), token);
  EXPECT_TRUE(entry->present());
  EXPECT_EQ(entry->stamp(), 4);
  const void* block = entry.get();
  entry.reset();
  auto again = std::make_unique<CTokenEntry>(token, 0);
  // Under the address sanitizer the free list steps aside.
  if (!kAddressSanitizerBuild) {
    EXPECT_EQ(static_cast<const void*>(again.get()), block);
  }
}

}  // namespace
