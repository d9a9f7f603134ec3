// gnxp run's csv and jsonl formats: events documents flattened to one record
// per characteristic, quoted per RFC 4180 or as JSON, texts in UTF-8.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>

#include "client/EventsOutput.h"
#include "model/DefinitionParser.h"

namespace {

const std::string kDeclaration = "<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?>\n";

struct FormatRow {
  const char* name;
  std::string events;  // the children of "events"
  std::string csv;     // the records after the header
  std::string jsonl;
};

void PrintTo(const FormatRow& row, std::ostream* out) { *out << row.name; }

// What an output writes for one document of step 7.
std::string written(EventsFormat format, const std::string& document, bool& ok) {
  char* buffer = nullptr;
  std::size_t size = 0;
  std::FILE* out = open_memstream(&buffer, &size);
  {
    std::unique_ptr<EventsOutput> output = makeEventsOutput(format, out);
    RunFailure failure;
    ok = output->write(document, 7, failure);
  }
  std::fclose(out);
  std::string text(buffer, size);
  std::free(buffer);
  return text;
}

class Records : public testing::TestWithParam<FormatRow> {
 protected:
  static void SetUpTestSuite() { initializeXerces(); }
};

TEST_P(Records, FlattenEachEvent) {
  const std::string document = kDeclaration + "<events>" + GetParam().events + "</events>";
  bool ok = false;
  EXPECT_EQ(written(EventsFormat::Csv, document, ok),
            "step,event,token,place,into,characteristic,type,value\r\n" + GetParam().csv);
  EXPECT_TRUE(ok);
  EXPECT_EQ(written(EventsFormat::JsonLines, document, ok), GetParam().jsonl);
  EXPECT_TRUE(ok);
}

INSTANTIATE_TEST_SUITE_P(
    Rows, Records,
    testing::Values(
        FormatRow{"movement_with_two_characteristics",
                  "<movement token=\"k\" place=\"B\"><char name=\"Default\" type=\"double\">1.5</char>"
                  "<char name=\"v\" type=\"vector\">1 2</char></movement>",
                  "7,movement,k,B,,Default,double,1.5\r\n7,movement,k,B,,v,vector,1 2\r\n",
                  "{\"step\":7,\"event\":\"movement\",\"token\":\"k\",\"place\":\"B\",\"into\":null,"
                  "\"characteristic\":\"Default\",\"type\":\"double\",\"value\":\"1.5\"}\n"
                  "{\"step\":7,\"event\":\"movement\",\"token\":\"k\",\"place\":\"B\",\"into\":null,"
                  "\"characteristic\":\"v\",\"type\":\"vector\",\"value\":\"1 2\"}\n"},
        FormatRow{"exit_has_no_characteristic",
                  "<movement token=\"k\" place=\"Out\"><char name=\"c\" type=\"double\">1</char></movement>"
                  "<exit token=\"k\" place=\"Out\"/>",
                  "7,movement,k,Out,,c,double,1\r\n7,exit,k,Out,,,,\r\n",
                  "{\"step\":7,\"event\":\"movement\",\"token\":\"k\",\"place\":\"Out\",\"into\":null,"
                  "\"characteristic\":\"c\",\"type\":\"double\",\"value\":\"1\"}\n"
                  "{\"step\":7,\"event\":\"exit\",\"token\":\"k\",\"place\":\"Out\",\"into\":null,"
                  "\"characteristic\":null,\"type\":null,\"value\":null}\n"},
        FormatRow{"merge_names_the_kept_token",
                  "<merge oldtoken=\"p_2\" place=\"Bin\" newtoken=\"p_1\"><char name=\"w\" type=\"double\">6</char>"
                  "</merge>",
                  "7,merge,p_2,Bin,p_1,w,double,6\r\n",
                  "{\"step\":7,\"event\":\"merge\",\"token\":\"p_2\",\"place\":\"Bin\",\"into\":\"p_1\","
                  "\"characteristic\":\"w\",\"type\":\"double\",\"value\":\"6\"}\n"},
        FormatRow{"text_quoted_and_in_utf8",
                  "<entrance token=\"caf\xE9\" place=\"A,1\"><char name=\"s\" type=\"string\">say \"hi\"&#10;"
                  "\\ bye\t</char></entrance>",
                  "7,entrance,caf\xC3\xA9,\"A,1\",,s,string,\"say \"\"hi\"\"\n\\ bye\t\"\r\n",
                  "{\"step\":7,\"event\":\"entrance\",\"token\":\"caf\xC3\xA9\",\"place\":\"A,1\",\"into\":null,"
                  "\"characteristic\":\"s\",\"type\":\"string\",\"value\":\"say \\\"hi\\\"\\u000a\\\\ bye\\u0009\"}\n"},
        FormatRow{"no_events", "", "", ""}),
    [](const testing::TestParamInfo<FormatRow>& row) { return std::string(row.param.name); });

TEST_F(Records, OfAnUnreadableDocumentAreAFailure) {
  for (const std::string& document : {std::string("<events><exit token=\"k\""), kDeclaration + "<other/>"}) {
    bool ok = true;
    written(EventsFormat::Csv, document, ok);
    EXPECT_FALSE(ok) << document;
  }
}

}  // namespace
