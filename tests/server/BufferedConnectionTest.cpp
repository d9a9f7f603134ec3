// The line and body reader on scripted byte streams, and gather writes on a
// real socket pair.
#include <gtest/gtest.h>
#include <sys/socket.h>
#include <unistd.h>

#include <optional>
#include <thread>

#include "FakeConnection.h"
#include "server/BufferedConnection.h"
#include "server/SocketConnection.h"

namespace {

struct Reading {
  std::shared_ptr<FakeWire> wire = std::make_shared<FakeWire>();
  std::unique_ptr<BufferedConnection> reader;

  explicit Reading(std::vector<std::string> chunks) {
    wire->incoming.assign(chunks.begin(), chunks.end());
    reader = std::make_unique<BufferedConnection>(std::make_unique<FakeConnection>(wire));
  }
  std::optional<std::string> line() {
    std::string text;
    if (!reader->readLine(text)) return std::nullopt;
    return text;
  }
  std::optional<std::string> body(std::size_t count) {
    std::string text;
    if (!reader->readBody(count, [&text](std::string_view piece) {
          text += piece;
          return true;
        })) {
      return std::nullopt;
    }
    return text;
  }
};

struct LineRow {
  const char* name;
  std::vector<std::string> chunks;
  std::vector<std::optional<std::string>> lines;  // expected results of successive readLine calls
};

// Names the row in test listings.
void PrintTo(const LineRow& row, std::ostream* out) { *out << row.name; }

class LineReading : public testing::TestWithParam<LineRow> {};

TEST_P(LineReading, GivesTheExpectedLines) {
  Reading reading(GetParam().chunks);
  for (const auto& expected : GetParam().lines) {
    EXPECT_EQ(reading.line(), expected);
  }
}

const std::string k253(253, 'a');
const std::string k254(254, 'b');

INSTANTIATE_TEST_SUITE_P(
    Rows, LineReading,
    testing::Values(
        LineRow{"split_over_reads", {"GN", "XP/0", ".", "1\r", "\nIN", "IT\r\n"}, {"GNXP/0.1", "INIT", std::nullopt}},
        LineRow{"byte_after_cr_consumed_whatever_it_is", {"ab\rXcd\r\n"}, {"ab", "cd"}},
        LineRow{"line_feed_alone_is_part_of_the_line", {"ab\ncd\r\n"}, {"ab\ncd"}},
        LineRow{"empty_line", {"\r\nx\r\n"}, {"", "x"}},
        LineRow{"line_of_253_bytes_is_read_whole", {k253 + "\r\nnext\r\n"}, {k253, "next"}},
        LineRow{"line_of_253_bytes_split", {k253.substr(0, 200), k253.substr(200) + "\r", "\n"}, {k253}},
        LineRow{"254_bytes_without_cr_fail", {k254 + "\r\n"}, {std::nullopt}},
        LineRow{"stream_ends_before_cr", {"HAL"}, {std::nullopt}},
        LineRow{"cr_at_end_of_stream_still_ends_the_line", {"HALT\r"}, {"HALT", std::nullopt}}),
    [](const testing::TestParamInfo<LineRow>& row) { return std::string(row.param.name); });

TEST(LineReading, TooLongLineConsumesExactly254Bytes) {
  Reading reading({k254 + "\r\nrest"});
  EXPECT_EQ(reading.line(), std::nullopt);
  EXPECT_EQ(reading.body(6), "\r\nrest");
}

TEST(LineReading, FailedStreamEndsALineLikeAClosedOne) {
  Reading reading({"STE"});
  reading.wire->failAtEnd = true;
  EXPECT_EQ(reading.line(), std::nullopt);
}

TEST(BodyReading, TakesBufferedBytesThenReceivesTheRestAndLeavesWhatFollows) {
  Reading reading({"INIT\r\n\r\nab", "cd", "efNEXT\r\n"});
  EXPECT_EQ(reading.line(), "INIT");
  EXPECT_EQ(reading.line(), "");
  EXPECT_EQ(reading.body(4), "abcd");
  EXPECT_EQ(reading.line(), "efNEXT");
}

TEST(BodyReading, ShortBodyFailsAfterHandingOnWhatArrived) {
  Reading reading({"abc"});
  std::string body;
  EXPECT_FALSE(reading.reader->readBody(10, [&](std::string_view piece) {
    body += piece;
    return true;
  }));
  EXPECT_EQ(body, "abc");
}

TEST(BodyReading, ARefusedPieceEndsTheBody) {
  Reading reading({"ab", "cd", "ef"});
  int pieces = 0;
  EXPECT_FALSE(reading.reader->readBody(6, [&](std::string_view) { return ++pieces < 2; }));
  EXPECT_EQ(pieces, 2);
}

TEST(BodyReading, EmptyBodyNeedsNoBytes) {
  Reading reading({"HALT\r\n"});
  EXPECT_EQ(reading.body(0), "");
  EXPECT_EQ(reading.line(), "HALT");
}

TEST(Sending, PiecesGoOutAsOneWrite) {
  Reading reading({});
  ASSERT_TRUE(reading.reader->send({"GNXP/0.1\r\n", "", "200 x", "\r\n\r\n"}));
  ASSERT_EQ(reading.wire->sends.size(), 1u);
  EXPECT_EQ(reading.wire->sends[0], "GNXP/0.1\r\n200 x\r\n\r\n");
}

// A body far larger than a socket buffer forces partial writes; every byte
// must still arrive, in order, from the one send call.
TEST(SocketConnectionTest, LargeGatherWriteArrivesWhole) {
  int pair[2];
  ASSERT_EQ(socketpair(AF_UNIX, SOCK_STREAM, 0, pair), 0);
  std::string body(8 * 1024 * 1024, '\0');
  for (std::size_t i = 0; i < body.size(); ++i) body[i] = static_cast<char>(i * 7 + i / 4096);
  std::string received;
  std::thread reader([&] {
    char chunk[65536];
    for (ssize_t n; (n = read(pair[1], chunk, sizeof chunk)) > 0;) received.append(chunk, static_cast<std::size_t>(n));
  });
  {
    SocketConnection connection(pair[0]);
    std::string_view pieces[] = {"head:", body, ":tail"};
    EXPECT_TRUE(connection.send(pieces));
  }
  reader.join();
  close(pair[1]);
  EXPECT_EQ(received.size(), body.size() + 10);
  EXPECT_TRUE(received == "head:" + body + ":tail");
}

TEST(SocketConnectionTest, SendToAClosedPeerFailsWithoutKillingTheProcess) {
  int pair[2];
  ASSERT_EQ(socketpair(AF_UNIX, SOCK_STREAM, 0, pair), 0);
  close(pair[1]);
  SocketConnection connection(pair[0]);
  std::string_view pieces[] = {"GNXP/0.1\r\n"};
  EXPECT_FALSE(connection.send(pieces));
}

}  // namespace
