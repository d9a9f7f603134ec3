// DefinitionParser: validation against the built-in schema, the reporter's
// standard-error reports, refusal of external entities, the document tree it
// builds and its ISO-8859-1 text, and parsing on several threads at once.
#include "model/DefinitionParser.h"
#include "model/DefinitionSchema.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <atomic>
#include <filesystem>
#include <fstream>
#include <string>
#include <thread>
#include <vector>

namespace {

namespace fs = std::filesystem;

const std::string kOpen = "<gn xmlns=\"urn:vanterserver:gn-definition\">";

class ParserTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() { ASSERT_TRUE(initializeXerces()); }
  static void TearDownTestSuite() { EXPECT_TRUE(terminateXerces()); }

  // Writes `text` to a fresh file in a folder that holds no schema file, one
  // folder per process: ctest runs the cases side by side.
  std::string write(const std::string& name, const std::string& text) {
    fs::path folder = fs::path(::testing::TempDir()) / ("model-parser-" + std::to_string(::getpid()));
    fs::create_directories(folder);
    fs::path path = folder / name;
    std::ofstream(path, std::ios::binary) << text;
    return path.string();
  }

  // Parses the file, keeping what it wrote to standard error; the root or null.
  const DefinitionNode* parse(const std::string& path) {
    parser_ = std::make_unique<DefinitionParser>(path, "");
    ::testing::internal::CaptureStderr();
    const DefinitionNode* root = parser_->parse();
    errors_ = ::testing::internal::GetCapturedStderr();
    return root;
  }

  static const DefinitionNode& firstElement(const DefinitionNode& parent) {
    const DefinitionNode* child = parent.firstChild();
    while (child != nullptr && !child->isElement()) child = child->nextSibling();
    EXPECT_NE(child, nullptr);
    return *child;
  }

  std::unique_ptr<DefinitionParser> parser_;
  std::string errors_;
};

TEST_F(ParserTest, ValidDocumentParsesWithTheSchemaDefaults) {
  const DefinitionNode* root = parse(write("defaults.xml", kOpen + "<places><place id=\"P\"/></places></gn>"));
  ASSERT_NE(root, nullptr) << errors_;
  EXPECT_EQ(errors_, "");
  EXPECT_EQ(root->name(), "gn");
  const DefinitionNode& place = firstElement(firstElement(*root));
  EXPECT_EQ(place.name(), "place");
  EXPECT_EQ(place.attribute("id"), "P");
  EXPECT_EQ(place.attribute("char"), "ID");
  EXPECT_EQ(place.attribute("priority"), "0");
  EXPECT_EQ(place.attribute("capacity"), "-1");
  EXPECT_EQ(place.attribute("merge"), "false");
  EXPECT_EQ(place.attribute("mergeRule"), "ID");
  EXPECT_FALSE(root->hasAttribute("time"));
}

TEST_F(ParserTest, SampleDefinitionParses) {
  parser_ = std::make_unique<DefinitionParser>(VANTER_SOURCE_DIR "/tests/model/data/sample.xml", "");
  EXPECT_NE(parser_->parse(), nullptr);
}

// An attribute declared twice in the document's own DTD is only a warning:
// the definition is accepted and nothing is reported.
TEST_F(ParserTest, DocumentWithOnlyWarningsIsAcceptedSilently) {
  const std::string text =
      "<?xml version=\"1.0\"?><!DOCTYPE gn [<!ELEMENT gn EMPTY><!ATTLIST gn xmlns CDATA #IMPLIED>"
      "<!ATTLIST gn xmlns CDATA #IMPLIED>]><gn xmlns=\"urn:vanterserver:gn-definition\"/>";
  EXPECT_NE(parse(write("warnings.xml", text)), nullptr) << errors_;
  EXPECT_EQ(errors_, "");
}

TEST_F(ParserTest, MalformedDocumentGivesAFatalErrorReport) {
  std::string path = write("malformed.xml", kOpen + "<places></gn>");
  EXPECT_EQ(parse(path), nullptr);
  EXPECT_EQ(errors_.rfind("Fatal Error at file \"", 0), 0u) << errors_;
  EXPECT_NE(errors_.find("malformed.xml\", line 1, column "), std::string::npos) << errors_;
  EXPECT_NE(errors_.find("\n   Message: "), std::string::npos);
  EXPECT_EQ(errors_.back(), '\n');
}

TEST_F(ParserTest, EmptyFileGivesAFatalErrorReport) {
  EXPECT_EQ(parse(write("empty.xml", "")), nullptr);
  EXPECT_EQ(errors_.rfind("Fatal Error at file \"", 0), 0u) << errors_;
}

struct Violation {
  const char* title;
  std::string body;
};

class SchemaViolation : public ParserTest, public ::testing::WithParamInterface<Violation> {};

TEST_P(SchemaViolation, FailsWithErrorReports) {
  EXPECT_EQ(parse(write("violation.xml", GetParam().body)), nullptr);
  EXPECT_EQ(errors_.rfind("Error at file \"", 0), 0u) << errors_;
  EXPECT_NE(errors_.find("violation.xml\", line "), std::string::npos) << errors_;
}

INSTANTIATE_TEST_SUITE_P(
    Definitions, SchemaViolation,
    ::testing::Values(
        Violation{"PlaceWithoutId", kOpen + "<places><place capacity=\"1\"/></places></gn>"},
        Violation{"UnknownCharacteristicType",
                  kOpen + "<tokens><token id=\"k\" host=\"A\"><characteristic name=\"c\" type=\"int\">1"
                          "</characteristic></token></tokens></gn>"},
        Violation{"IntegerTypo", kOpen + "<places><place id=\"P\" priority=\"1O\"/></places></gn>"},
        Violation{"OtherNamespace", "<gn xmlns=\"urn:other\"><places/></gn>"},
        Violation{"NoNamespace", "<gn><places/></gn>"},
        Violation{"PredicatesBeforeInputs",
                  kOpen + "<transitions><transition id=\"T\"><predicates/><inputs/><outputs/></transition>"
                          "</transitions></gn>"},
        Violation{"GeneratorWithoutPeriod",
                  kOpen + "<tokens><generator id=\"g\" host=\"A\" type=\"periodic\" predicate=\"true\"/>"
                          "</tokens></gn>"}),
    [](const ::testing::TestParamInfo<Violation>& info) { return std::string(info.param.title); });

TEST_F(ParserTest, ExternalEntitiesAreNotRead) {
  // A definition must not make the server read other files.
  std::string secret = write("secret.dtd", "<!ENTITY leak \"SECRET\">");
  std::string body = "<!DOCTYPE gn SYSTEM \"" + secret + "\">" + kOpen +
                     "<places><place id=\"&leak;\"/></places></gn>";
  const DefinitionNode* root = parse(write("entity.xml", body));
  if (root != nullptr) {
    const DefinitionNode& place = firstElement(firstElement(*root));
    EXPECT_EQ(place.attribute("id").find("SECRET"), std::string::npos);
  }
  EXPECT_NE(errors_, "");
}

TEST_F(ParserTest, SchemaNamedByTheDocumentIsNotLoaded) {
  // The foreign schema would refuse <x:free/> for its missing attribute; it is
  // never read, so the unknown element passes unchecked like any other.
  std::string other = write("other.xsd",
                            "<xs:schema xmlns:xs=\"http://www.w3.org/2001/XMLSchema\" targetNamespace=\"urn:x\">"
                            "<xs:element name=\"free\"><xs:complexType><xs:attribute name=\"a\" use=\"required\"/>"
                            "</xs:complexType></xs:element></xs:schema>");
  std::string body = "<gn xmlns=\"urn:vanterserver:gn-definition\" "
                     "xmlns:xsi=\"http://www.w3.org/2001/XMLSchema-instance\" xmlns:x=\"urn:x\" "
                     "xsi:schemaLocation=\"urn:x " + other + "\"><x:free/></gn>";
  EXPECT_NE(parse(write("foreign.xml", body)), nullptr) << errors_;
  EXPECT_EQ(errors_, "");
}

TEST_F(ParserTest, UnknownElementsPassSoTheLoaderCanDecide) {
  // Unknown root children are ignored and unknown token children refused by
  // the loader, so validation lets both through while checking the sections.
  const DefinitionNode* root =
      parse(write("extras.xml", kOpen + "<extras/><tokens><tokn/><x:token xmlns:x=\"urn:x\"/></tokens></gn>"));
  ASSERT_NE(root, nullptr) << errors_;
  const DefinitionNode& unknown = firstElement(*firstElement(*root).nextSibling());
  EXPECT_EQ(unknown.name(), "tokn");
  ASSERT_NE(unknown.nextSibling(), nullptr);
  EXPECT_EQ(unknown.nextSibling()->name(), "");  // outside the definition namespace: never matches
  EXPECT_EQ(parse(write("checked.xml", kOpen + "<extras/><places><place/></places></gn>")), nullptr);
  EXPECT_EQ(errors_.rfind("Error at file \"", 0), 0u) << errors_;
}

// Standard error carries at most a hundred reports of one definition, and a
// document nested past the limit is refused at its first element too deep.
TEST_F(ParserTest, ReportsAreCappedAndDeepDocumentsRefused) {
  struct Row {
    const char* name;
    std::string body;
    bool parses;
    int reports;       // lines beginning "Error at file"
    std::string last;  // found in the last line of standard error
  };
  const auto faultyPlaces = [](int count) {
    std::string places;
    for (int i = 0; i < count; ++i) places += "<place id=\"P" + std::to_string(i) + "\" capacity=\"x\"/>";
    return kOpen + "<places>" + places + "</places></gn>";
  };
  // Foreign elements under the root, which validation lets through unchecked.
  const auto nested = [](int depth) {
    std::string open, close;
    for (int level = 2; level <= depth; ++level) {
      open += "<x xmlns=\"\">";
      close += "</x>";
    }
    return kOpen + open + close + "</gn>";
  };
  const std::string refused = "refused: elements nested deeper than " + std::to_string(kMaxDefinitionDepth);
  const Row rows[] = {
      {"a hundred faults", faultyPlaces(100), false, 100, "   Message: "},
      {"a hundred and one", faultyPlaces(101), false, 100,
       "... and 1 more errors in the definition, not shown (100 are shown at most)"},
      {"nested to the limit", nested(kMaxDefinitionDepth), true, 0, ""},
      {"nested one deeper", nested(kMaxDefinitionDepth + 1), false, 0, refused},
      {"nested a hundred thousand deep", nested(100000), false, 0, refused},
  };
  for (const Row& row : rows) {
    EXPECT_EQ(parse(write("reports.xml", row.body)) != nullptr, row.parses) << row.name << errors_.substr(0, 500);
    int reports = 0;
    for (std::size_t at = errors_.find("Error at file"); at != std::string::npos;
         at = errors_.find("Error at file", at + 1)) {
      ++reports;
    }
    EXPECT_EQ(reports, row.reports) << row.name;
    std::string last = errors_.empty() ? "" : errors_.substr(0, errors_.size() - 1);
    last = last.substr(last.rfind('\n') + 1);
    EXPECT_NE(last.find(row.last), std::string::npos) << row.name << ": " << last;
  }
}

TEST_F(ParserTest, MissingFileFailsWithAReport) {
  EXPECT_EQ(parse(write("present.xml", "") + ".absent"), nullptr);
  EXPECT_NE(errors_, "");
}

TEST_F(ParserTest, AccessorsOnElementsWithoutAttributesOrChildren) {
  const DefinitionNode* root = parse(write("bare.xml", kOpen + "<transitions/></gn>"));
  ASSERT_NE(root, nullptr) << errors_;
  const DefinitionNode& section = firstElement(*root);
  EXPECT_FALSE(section.hasAttribute("id"));
  EXPECT_EQ(section.attribute("id"), "");
  EXPECT_EQ(section.firstChildText(), "");
}

TEST_F(ParserTest, TextIsIso88591WithQuestionMarksForOtherCharacters) {
  // é is in ISO-8859-1; € and the G clef (a surrogate pair) are not.
  std::string body = kOpen + "<places><place id=\"caf\xC3\xA9 \xE2\x82\xAC \xF0\x9D\x84\x9E!\"/></places>"
                             "<tokens><token id=\"k\" host=\"P\"><characteristic name=\"s\" type=\"string\">"
                             "  a\tb  </characteristic></token></tokens></gn>";
  const DefinitionNode* root = parse(write("latin1.xml", body));
  ASSERT_NE(root, nullptr) << errors_;
  const DefinitionNode& place = firstElement(firstElement(*root));
  EXPECT_EQ(place.attribute("id"), "caf\xE9 ? ?!");
  const DefinitionNode* tokens = firstElement(*root).nextSibling();
  ASSERT_NE(tokens, nullptr);
  const DefinitionNode& characteristic = firstElement(firstElement(*tokens));
  EXPECT_EQ(characteristic.firstChildText(), "  a\tb  ");  // text content kept verbatim
}

// An element's text is the value of its first child as a DOM parser makes the
// children: adjacent character data is one text, each CDATA section, comment,
// processing instruction and entity reference a node of its own.
TEST_F(ParserTest, FirstChildTextIsTheFirstNodesValue) {
  struct Row {
    const char* name;
    std::string prolog;
    std::string content;  // of a string characteristic
    std::string text;
  };
  const std::string declared = "<!DOCTYPE gn [<!ENTITY e \"declared\">]>";
  const Row rows[] = {
      {"text", "", "  a b ", "  a b "},
      {"entities and character references join the text", "", "a&amp;b&#65;&lt;c", "a&bA<c"},
      {"a CDATA section first", "", "<![CDATA[<x>]]>tail", "<x>"},
      {"text before a CDATA section", "", "head<![CDATA[<x>]]>tail", "head"},
      {"a comment first", "", "<!-- note -->tail", " note "},
      {"a processing instruction first", "", "<?target some data?>tail", "some data"},
      {"a declared entity first", declared, "&e;tail", ""},
      {"text before a declared entity", declared, "head&e;", "head"},
      {"empty", "", "", ""},
  };
  for (const Row& row : rows) {
    const DefinitionNode* root = parse(write("text.xml", row.prolog + kOpen + "<tokens><token id=\"k\" host=\"P\">" +
                                                             "<characteristic name=\"c\" type=\"string\">" +
                                                             row.content + "</characteristic></token></tokens></gn>"));
    ASSERT_NE(root, nullptr) << row.name << errors_;
    const DefinitionNode& token = firstElement(firstElement(*root));
    EXPECT_EQ(token.firstChildText(), "") << row.name;  // its first child is an element
    EXPECT_EQ(firstElement(token).firstChildText(), row.text) << row.name;
  }
}

// Each round starts from a fresh schema pool, so the threads are the first to
// use each of its types, valid and refused alike: under the sanitizers any
// part of the shared schema built by two of them at once shows up.
TEST_F(ParserTest, SeveralNetsParseAtOnce) {
  const std::string good = VANTER_SOURCE_DIR "/tests/model/data/sample.xml";
  const std::string refused =
      write("out-of-order.xml", kOpen + "<transitions><transition id=\"T\"><outputs/><inputs/><predicates/>"
                                        "</transition></transitions></gn>");
  std::atomic<int> parsed{0}, failed{0};
  ::testing::internal::CaptureStderr();
  for (int round = 0; round < 5; ++round) {
    releaseDefinitionGrammar();
    std::vector<std::thread> threads;
    for (int t = 0; t < 4; ++t) {
      threads.emplace_back([&] {
        if (DefinitionParser(good, "").parse() != nullptr) ++parsed;
        if (DefinitionParser(refused, "").parse() == nullptr) ++failed;
      });
    }
    for (auto& thread : threads) thread.join();
  }
  ::testing::internal::GetCapturedStderr();
  EXPECT_EQ(parsed.load(), 20);
  EXPECT_EQ(failed.load(), 20);
}

struct IntegerCase {
  const char* text;
  int value;
};

class LeadingInteger : public ::testing::TestWithParam<IntegerCase> {};

TEST_P(LeadingInteger, ReadsAsAttributesAreRead) { EXPECT_EQ(leadingInteger(GetParam().text), GetParam().value); }

INSTANTIATE_TEST_SUITE_P(Texts, LeadingInteger,
                         ::testing::Values(IntegerCase{"42", 42}, IntegerCase{"-1", -1}, IntegerCase{"+7", 7},
                                           IntegerCase{"  12abc", 12}, IntegerCase{"abc", 0}, IntegerCase{"", 0},
                                           IntegerCase{"-", 0}, IntegerCase{"3.9", 3},
                                           IntegerCase{"2147483647", 2147483647},
                                           IntegerCase{"99999999999999999999", 2147483647},
                                           IntegerCase{"-2147483648", -2147483647 - 1},
                                           IntegerCase{"-99999999999", -2147483647 - 1}));

}  // namespace
