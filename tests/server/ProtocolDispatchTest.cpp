// Identification and the protocol table on scripted connections.
#include "ConversationHarness.h"
#include "server/ProtocolDispatch.h"

namespace {

struct Served {
  Conversation conversation;
  void serve(std::vector<std::string> chunks) {
    conversation.wire->incoming.assign(chunks.begin(), chunks.end());
    serveConnection(std::make_unique<BufferedConnection>(std::make_unique<FakeConnection>(conversation.wire)),
                    conversation.log, fakeSessions(conversation.net));
  }
  std::vector<std::string> messages() const { return conversation.log.messages(); }
};

struct RefusedRow {
  const char* name;
  std::string input;
  std::string identification;  // as the log shows it
};

// Names the row in test listings.
void PrintTo(const RefusedRow& row, std::ostream* out) { *out << row.name; }

class RefusedIdentification : public testing::TestWithParam<RefusedRow> {};

TEST_P(RefusedIdentification, GetsWrongProtocolAndTheTextLogged) {
  Served served;
  served.serve({GetParam().input});
  std::vector<std::string> expected = {"TCPServer: Unable to obtain appropriate proxy for protocol:",
                                       GetParam().identification};
  EXPECT_EQ(served.messages(), expected);
  EXPECT_EQ(served.conversation.wire->sends, std::vector<std::string>{"Wrong protocol\r\n"});
  EXPECT_TRUE(served.conversation.wire->closed);
}

INSTANTIATE_TEST_SUITE_P(
    Rows, RefusedIdentification,
    testing::Values(RefusedRow{"trailing_blank", "GNXP/0.1 \r\n", "GNXP/0.1 "},
                    RefusedRow{"lower_case", "gnxp/0.1\r\n", "gnxp/0.1"},
                    RefusedRow{"extra_digit", "GNXP/0.10\r\n", "GNXP/0.10"}, RefusedRow{"empty_line", "\r\n", ""},
                    RefusedRow{"line_feed_alone_does_not_end_it", "GNXP/0.1\nINIT\r\n", "GNXP/0.1\nINIT"}),
    [](const testing::TestParamInfo<RefusedRow>& row) { return std::string(row.param.name); });

TEST(Identification, UnreadableLineIsIgnoredWithoutReply) {
  for (std::string input : {std::string(254, 'G') + "\r\n", std::string("GNXP/0."), std::string()}) {
    Served served;
    served.serve({input});
    EXPECT_EQ(served.messages(), std::vector<std::string>{"TCPServer failed to read protocol identification. "
                                                          "Possibly invalid data sent. Ignoring connection."})
        << input.size();
    EXPECT_TRUE(served.conversation.wire->sends.empty());
    EXPECT_TRUE(served.conversation.wire->closed);
  }
}

TEST(Identification, AcceptedClientIsServedUntilHalt) {
  Served served;
  served.serve({"GNXP/0.1\r", "\n", "HALT\r\n"});
  std::vector<std::string> expected = {"GNXP 0.1 communication successfully initiated...",
                                       "***Received message:", "HALT", "GNXP 0.1 communication terminated..."};
  EXPECT_EQ(served.messages(), expected);
  EXPECT_TRUE(served.conversation.wire->sends.empty());
}

TEST(Identification, ByteAfterTheCarriageReturnIsLostWhateverItIs) {
  Served served;
  served.serve({"GNXP/0.1\rXHALT\r\n"});
  EXPECT_TRUE(hasRun(served.messages(), {"***Received message:", "HALT"})) << served.conversation.log.text();
}

TEST(Identification, LineOf253BytesIsReadWhole) {
  Served served;
  std::string line(253, 'x');
  served.serve({line + "\r\n"});
  EXPECT_EQ(served.messages().at(1), line);
}

// Regression: only std::exception was caught, so anything else thrown while a
// connection was served ended the process.
TEST(Identification, AnyExceptionEndsOnlyItsConnection) {
  for (std::string input : {"", "GNXP/0.1\r\n", "GNXP/0.1\r\nINIT\r\n"}) {
    Served served;
    served.conversation.wire->throwAtEnd = true;
    served.serve({input});
    EXPECT_TRUE(served.conversation.log.contains(
        "Unhadled exception during GNXP/0.1 transmition. Possible reason: connection aborted."))
        << served.conversation.log.text();
    EXPECT_TRUE(served.conversation.wire->closed);
  }
}

TEST(ProtocolTable, HasExactlyOneEntry) {
  FakeNet net;
  EXPECT_NE(obtainProxy("GNXP/0.1", fakeSessions(net)), nullptr);
  EXPECT_EQ(obtainProxy("GNXP/0.2", fakeSessions(net)), nullptr);
  EXPECT_EQ(obtainProxy(std::string_view("GNXP/0.1\0", 9), fakeSessions(net)), nullptr);
}

}  // namespace
