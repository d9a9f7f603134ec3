// The GNXP/0.1 conversation through a scripted connection and a fake net:
// the state and failure tables, the INIT trace, the STEP count rules.
#include <fstream>
#include <sstream>

#include "ConversationHarness.h"

namespace {

constexpr const char* kInit3 = "INIT\r\nContent-Length: 3\r\n\r\nabc";

struct ProxyRow {
  const char* name;
  std::string input;
  std::string replies;           // every byte sent, in order
  std::vector<std::string> run;  // a contiguous run of log messages
  std::string calls;             // what the net was asked, in order
  bool buildSucceeds = true;
  int failAtStep = 0;
};

// Names the row in test listings.
void PrintTo(const ProxyRow& row, std::ostream* out) { *out << row.name; }

class ProxyRows : public InTemporaryDirectory, public testing::WithParamInterface<ProxyRow> {};

TEST_P(ProxyRows, RepliesLogsAndDrivesTheNet) {
  const ProxyRow& row = GetParam();
  Conversation conversation;
  conversation.net.buildSucceeds = row.buildSucceeds;
  conversation.net.failAtStep = row.failAtStep;
  conversation.run({row.input});
  EXPECT_EQ(conversation.wire->sent(), row.replies);
  EXPECT_TRUE(hasRun(conversation.log.messages(), row.run)) << conversation.log.text();
  EXPECT_EQ(conversation.calls(), row.calls);
  EXPECT_TRUE(conversation.wire->closed);
  EXPECT_EQ(conversation.log.messages().back(), "GNXP 0.1 communication terminated...");
}

const std::string kMalformed = statusResponse("100 Malformed request");
const std::string kInitOk = statusResponse("200 Request completed successfully");

INSTANTIATE_TEST_SUITE_P(
    StateTable, ProxyRows,
    testing::Values(
        ProxyRow{"halt_gets_no_reply",
                 "HALT\r\n",
                 "",
                 {"***Received message:", "HALT", "GNXP 0.1 communication terminated..."},
                 ""},
        ProxyRow{"repeated_identification_is_skipped",
                 "GNXP/0.1\r\nHALT\r\n",
                 "",
                 {"GNXP/0.1", "***Received message:", "HALT"},
                 ""},
        ProxyRow{
            "init_with_trailing_blank_is_unrecognised",
            "INIT \r\n",
            statusResponse("102 Method not implemented"),
            {"GNXP/0.1 ERROR: Unrecognized method name:", "INIT ", "***Sent message:", "102 Method not implemented"},
            ""},
        ProxyRow{"lower_case_init_is_unrecognised",
                 "init\r\n",
                 statusResponse("102 Method not implemented"),
                 {"GNXP/0.1 ERROR: Unrecognized method name:", "init"},
                 ""},
        ProxyRow{"empty_request_line",
                 "\r\n",
                 kMalformed,
                 {"", "GNXP/0.1 ERROR: Empty command request.", "***Sent message:", "100 Malformed request"},
                 ""},
        ProxyRow{"client_gone_without_halt",
                 "",
                 kMalformed,
                 {"GNXP 0.1 communication successfully initiated...", "GNXP/0.1 ERROR: Empty command request."},
                 ""},
        ProxyRow{"over_long_request_line",
                 std::string(254, 'S') + "\r\n",
                 kMalformed,
                 {"GNXP/0.1 ERROR: Empty command request."},
                 ""},
        ProxyRow{
            "step_before_init",
            "STEP 3\r\nX-Any: 1\r\n\r\nHALT\r\n",
            kMalformed,
            {"", "GNXP/0.1 proxy. Call to STEP prior to call of INIT.", "***Sent message:", "100 Malformed request"},
            ""},
        ProxyRow{"init_without_content_length",
                 "INIT\r\nContent-Type: text/xml\r\n\r\nabc",
                 kMalformed,
                 {"", "Invalid headers...", "***Sent message:", "100 Malformed request"},
                 ""},
        ProxyRow{"content_type_of_any_value_is_accepted_silently",
                 "INIT\r\nContent-Length: 3\r\nContent-Type: application/json\r\n\r\nabcHALT\r\n",
                 kInitOk,
                 {"Content-Type: application/json", "***Received message:", "", "GN Initialization successful."},
                 "initialize"},
        ProxyRow{"negative_content_length_is_missing",
                 "INIT\r\nContent-Length: -5\r\n\r\nabc",
                 kMalformed,
                 {"Invalid headers..."},
                 ""},
        ProxyRow{"content_length_above_64_MiB_is_missing",
                 "INIT\r\nContent-Length: 67108865\r\n\r\nabc",
                 kMalformed,
                 {"Invalid headers..."},
                 ""},
        ProxyRow{"content_length_that_is_no_number",
                 "INIT\r\nContent-Length: many\r\n\r\nabc",
                 kMalformed,
                 {"Invalid headers..."},
                 ""},
        ProxyRow{"lower_case_content_length_is_unknown",
                 "INIT\r\ncontent-length: 3\r\n\r\nabc",
                 kMalformed,
                 {"GNXP/0.1 WARNING: Unknown header name:", "content-length", "***Received message:", "",
                  "Invalid headers..."},
                 ""},
        ProxyRow{"short_body_gets_no_reply",
                 "INIT\r\nContent-Length: 10\r\n\r\nabc",
                 "",
                 {"GNXP/0.1 Proxy: Wrong number of bytes sent for message body.",
                  "GNXP/0.1 Proxy: Error receiving XML definition", "GNXP 0.1 communication terminated..."},
                 ""},
        ProxyRow{"definition_error",
                 kInit3,
                 statusResponse("500 GN definition error"),
                 {"GN Initialization failure.", "***Sent message:", "500 GN definition error"},
                 "initialize",
                 false},
        ProxyRow{"init_then_step_three",
                 std::string(kInit3) + "STEP 3\r\n\r\nHALT\r\n",
                 kInitOk + bodyResponse("<events steps=\"3\"/>"),
                 {"STEP 3", "***Received message:", "", "***Response message sent", "***Received message:", "HALT"},
                 "initialize,reset,step,step,step,send"},
        ProxyRow{"step_alone_makes_one_step",
                 std::string(kInit3) + "STEP\r\n\r\n",
                 kInitOk + bodyResponse("<events steps=\"1\"/>") + kMalformed,
                 {"***Response message sent"},
                 "initialize,reset,step,send"},
        ProxyRow{"step_zero_answers_an_empty_document",
                 std::string(kInit3) + "STEP 0\r\n\r\nSTEP -2\r\n\r\nSTEP x\r\n\r\nHALT\r\n",
                 kInitOk + bodyResponse("<events steps=\"0\"/>") + bodyResponse("<events steps=\"0\"/>") +
                     bodyResponse("<events steps=\"0\"/>"),
                 {"***Response message sent"},
                 "initialize,reset,send,reset,send,reset,send"},
        ProxyRow{"step_inside_a_word",
                 std::string(kInit3) + "MISSTEPPED\r\n\r\nHALT\r\n",
                 kInitOk + bodyResponse("<events steps=\"1\"/>"),
                 {"MISSTEPPED"},
                 "initialize,reset,step,send"},
        ProxyRow{"runtime_error_ends_the_conversation",
                 std::string(kInit3) + "STEP 5\r\n\r\nHALT\r\n",
                 kInitOk + statusResponse("502 Runtime error"),
                 {"***Sent message:", "502 Runtime error", "GNXP/0.1 Proxy: GN Runtime error.",
                  "GNXP 0.1 communication terminated..."},
                 "initialize,reset,step,step",
                 true,
                 2},
        ProxyRow{"second_init_is_refused_unread",
                 std::string(kInit3) + "INIT\r\nContent-Length: 3\r\n\r\nxyz",
                 kInitOk,
                 {"INIT", "GNXP/0.1 Proxy: Only one call of INIT is allowed.", "GNXP 0.1 communication terminated..."},
                 "initialize"},
        ProxyRow{"unknown_method_after_init",
                 std::string(kInit3) + "PAUSE\r\n",
                 kInitOk + statusResponse("102 Method not implemented"),
                 {"GNXP/0.1 ERROR: Unrecognized method name:", "PAUSE"},
                 "initialize"}),
    [](const testing::TestParamInfo<ProxyRow>& row) { return std::string(row.param.name); });

class Proxy : public InTemporaryDirectory {
 protected:
  static std::string fileText(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    std::ostringstream content;
    content << file.rdbuf();
    return content.str();
  }
};

TEST_F(Proxy, InitTraceLogsEveryLineAndSavesTheBodyUnderTheHandle) {
  using namespace std::string_literals;
  Conversation conversation;
  conversation.wire->handle = 0x1A4;
  conversation.run({"INIT\r\nContent-Length: 5\r\nContent-Type: text/xml\r\n\r\na\r\nb\0"s});
  std::vector<std::string> expected = {
      "GNXP 0.1 communication successfully initiated...",
      "***Received message:",
      "INIT",
      "***Received message:",
      "Content-Length: 5",
      "***Received message:",
      "Content-Type: text/xml",
      "***Received message:",
      "",
      "GN Initialization successful.",
      "***Sent message:",
      "200 Request completed successfully",
      "GNXP/0.1 ERROR: Empty command request.",
      "***Sent message:",
      "100 Malformed request",
      "GNXP 0.1 communication terminated...",
  };
  EXPECT_EQ(conversation.log.messages(), expected);
  EXPECT_EQ(conversation.net.definitionPath, "remote file 1A4.xml");
  EXPECT_EQ(fileText("remote file 1A4.xml"), "a\r\nb\0"s);
  EXPECT_EQ(conversation.net.savedDefinition, "a\r\nb\0"s);
}

TEST_F(Proxy, ContentLengthWithoutBlankIsReadFromItsSecondDigit) {
  Conversation conversation;
  conversation.run({"INIT\r\nContent-Length:13\r\n\r\nabcHALT\r\n"});
  EXPECT_EQ(conversation.net.savedDefinition, "abc");
  EXPECT_TRUE(hasRun(conversation.log.messages(), {"***Received message:", "HALT"})) << conversation.log.text();
}

TEST_F(Proxy, HeaderWithoutColonEndsTheBlockAndTheBodyFollowsIt) {
  Conversation conversation;
  conversation.run({"INIT\r\nContent-Length: 4\r\nbogus\r\nbodyHALT\r\n"});
  EXPECT_TRUE(hasRun(conversation.log.messages(),
                     {"Malformed header. ':' symbol missing. Possibly missing double \r\n at headers end. Header:",
                      "bogus", "GN Initialization successful."}))
      << conversation.log.text();
  EXPECT_EQ(conversation.net.savedDefinition, "body");
  EXPECT_EQ(conversation.wire->sent(), kInitOk);
}

TEST_F(Proxy, ZeroContentLengthSavesAnEmptyFile) {
  Conversation conversation;
  conversation.net.buildSucceeds = false;
  conversation.run({"INIT\r\nContent-Length: 0\r\n\r\n"});
  EXPECT_EQ(conversation.calls(), "initialize");
  EXPECT_TRUE(std::filesystem::exists("remote file 1A4.xml"));
  EXPECT_EQ(fileText("remote file 1A4.xml"), "");
  EXPECT_EQ(conversation.wire->sent(), statusResponse("500 GN definition error"));
}

TEST_F(Proxy, LaterContentLengthReplacesAnEarlierOne) {
  Conversation conversation;
  conversation.run({"INIT\r\nContent-Length: 9\r\nContent-Length: 2\r\n\r\nxyHALT\r\n"});
  EXPECT_EQ(conversation.net.savedDefinition, "xy");
}

TEST_F(Proxy, ShortBodyWritesNothingToTheFile) {
  Conversation conversation;
  std::ofstream("remote file 1A4.xml") << "old content";
  conversation.run({"INIT\r\nContent-Length: 10\r\n\r\nabc"});
  EXPECT_EQ(fileText("remote file 1A4.xml"), "");
  EXPECT_EQ(conversation.net.sessionsMade, 0);
}

TEST_F(Proxy, UncreatableDefinitionFileReadsNoBody) {
  Conversation conversation;
  std::filesystem::create_directory("remote file 1A4.xml");
  conversation.run({"INIT\r\nContent-Length: 3\r\n\r\nabc"});
  EXPECT_TRUE(hasRun(conversation.log.messages(), {"GNXP/0.1 Proxy: Error creating temporary file.",
                                                   "GNXP/0.1 Proxy: Error receiving XML definition"}))
      << conversation.log.text();
  EXPECT_EQ(conversation.net.sessionsMade, 0);
  EXPECT_EQ(conversation.wire->sent(), "");
}

// A failed send is logged and changes nothing else: the conversation goes on.
TEST_F(Proxy, FailedSendsAreLoggedAndTheConversationGoesOn) {
  Conversation conversation;
  conversation.wire->failSends = true;
  conversation.run({std::string(kInit3) + "STEP 2\r\n\r\nHALT\r\n"});
  EXPECT_EQ(conversation.calls(), "initialize,reset,step,step,send");
  EXPECT_TRUE(hasRun(
      conversation.log.messages(),
      {"GN Initialization successful.", "GNXP/0.1 Proxy: Error sending data...", "***Received message:", "STEP 2"}))
      << conversation.log.text();
  EXPECT_TRUE(hasRun(conversation.log.messages(),
                     {"", "GNXP/0.1 Proxy: Error sending data...", "***Received message:", "HALT"}));
  EXPECT_FALSE(conversation.log.contains("***Response message sent"));
}

TEST_F(Proxy, EachStepRequestGetsItsOwnDocument) {
  Conversation conversation;
  conversation.run({std::string(kInit3) + "STEP 2\r\n\r\nSTEP 1\r\n\r\nHALT\r\n"});
  EXPECT_EQ(conversation.wire->sends.size(), 3u);
  EXPECT_EQ(conversation.wire->sends[1], bodyResponse("<events steps=\"2\"/>"));
  EXPECT_EQ(conversation.wire->sends[2], bodyResponse("<events steps=\"1\"/>"));
}

TEST(DefinitionFileName, IsTheHandleInUpperCaseHexadecimal) {
  EXPECT_EQ(GNXP01Proxy::definitionFileName(0x1A4), "remote file 1A4.xml");
  EXPECT_EQ(GNXP01Proxy::definitionFileName(10), "remote file A.xml");
  EXPECT_EQ(GNXP01Proxy::definitionFileName(0), "remote file 0.xml");
}

}  // namespace
