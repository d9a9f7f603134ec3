// gnxp end to end: in-process runs, runs on the real server, and its
// one-line failures with their exit statuses.
#include "E2EHarness.h"
#include "ProgramRun.h"
#include "XmlParseBack.h"

namespace {

const std::string kGnxp = std::string(VANTER_BIN_DIR) + "/gnxp";

// Every events document in `out` (each starts with the XML declaration), parsed.
std::vector<XmlElement> documents(const std::string& out) {
  std::vector<XmlElement> result;
  const std::string start = "<?xml";
  for (std::size_t at = out.find(start); at != std::string::npos;) {
    std::size_t next = out.find(start, at + 1);
    std::string error;
    std::optional<XmlElement> root = parseXml(out.substr(at, next == std::string::npos ? next : next - at), error);
    EXPECT_TRUE(root.has_value()) << error;
    if (root) result.push_back(*root);
    at = next;
  }
  return result;
}

std::vector<std::string> eventNames(const XmlElement& root) {
  std::vector<std::string> names;
  for (const auto& event : root.children) names.push_back(event.name + " " + event.attribute("token").value_or("?"));
  return names;
}

// The definitions written to files for gnxp to read.
class GnxpRun : public ServedTest {
 protected:
  std::string file(const std::string& name, const std::string& text) {
    std::filesystem::path path = server_->directory() / name;
    std::ofstream(path, std::ios::binary) << text;
    return path.string();
  }
  ProgramResult gnxp(std::vector<std::string> arguments) {
    arguments.insert(arguments.begin(), kGnxp);
    return runProgram(arguments);
  }
  std::string port() const { return std::to_string(server_->port()); }
};

TEST_F(GnxpRun, InProcessPrintsOneDocumentPerBatch) {
  std::string path = file("pass.xml", kPassThrough);
  ProgramResult one = gnxp({"run", path, "--steps", "3"});
  EXPECT_EQ(one.status, 0) << one.err;
  std::vector<XmlElement> single = documents(one.out);
  ASSERT_EQ(single.size(), 1u) << one.out;
  EXPECT_EQ(eventNames(single[0]), (std::vector<std::string>{"entrance k", "movement k", "exit k"}));
  EXPECT_NE(one.err.find("GN"), std::string::npos) << "the net's log goes to standard error";

  ProgramResult batched = gnxp({"run", path, "--steps", "4", "--batch", "1"});
  EXPECT_EQ(batched.status, 0) << batched.err;
  std::vector<XmlElement> each = documents(batched.out);
  ASSERT_EQ(each.size(), 4u) << batched.out;
  EXPECT_EQ(eventNames(each[1]), std::vector<std::string>{"movement k"});
  EXPECT_TRUE(each[3].children.empty());
}

TEST_F(GnxpRun, ServerRunGivesTheSameDocumentsAsInProcess) {
  std::string path = file("pass.xml", kPassThrough);
  ProgramResult local = gnxp({"run", path, "--steps", "3", "--batch", "2"});
  ProgramResult remote = gnxp({"run", path, "--steps", "3", "--batch", "2", "--host", "127.0.0.1", "--port", port()});
  EXPECT_EQ(remote.status, 0) << remote.err;
  EXPECT_EQ(remote.out, local.out);
  EXPECT_EQ(documents(remote.out).size(), 2u);
  EXPECT_TRUE(server_->waitForLines({"***Received message:", "HALT", "GNXP 0.1 communication terminated..."})) << log();
}

TEST_F(GnxpRun, RecordsAreTheSameInProcessAndOnTheServer) {
  std::string path = file("pass.xml", kPassThrough);
  for (const char* format : {"csv", "jsonl"}) {
    ProgramResult local = gnxp({"run", path, "--steps", "3", "--format", format});
    ProgramResult remote =
        gnxp({"run", path, "--steps", "3", "--format", format, "--host", "127.0.0.1", "--port", port()});
    EXPECT_EQ(local.status + remote.status, 0) << local.err << remote.err;
    EXPECT_EQ(remote.out, local.out) << format;
  }
  ProgramResult csv = gnxp({"run", path, "--steps", "3", "--format", "csv", "--host", "127.0.0.1", "--port", port()});
  EXPECT_EQ(csv.out,
            "step,event,token,place,into,characteristic,type,value\r\n1,entrance,k,A,,Default,double,1\r\n"
            "2,movement,k,B,,Default,double,1\r\n3,exit,k,B,,,,\r\n");
}

TEST_F(GnxpRun, SeedRepeatsARunWithARandomGenerator) {
  std::string path = file("random.xml", definition("<places><place id=\"A\"/></places><tokens>"
                                                   "<generator id=\"g\" host=\"A\" type=\"random\" predicate=\"true\" "
                                                   "period=\"10\"/></tokens>"));
  ProgramResult first = gnxp({"run", path, "--steps", "60", "--seed", "42"});
  ProgramResult again = gnxp({"run", path, "--steps", "60", "--seed", "42"});
  ProgramResult other = gnxp({"run", path, "--steps", "60", "--seed", "43"});
  ASSERT_EQ(first.status, 0) << first.err;
  EXPECT_GT(documents(first.out).at(0).children.size(), 4u) << first.out;
  EXPECT_EQ(first.out, again.out);
  EXPECT_NE(first.out, other.out);
}

struct FailureRow {
  const char* name;
  std::string definition;            // empty: a file that does not exist
  std::vector<std::string> options;  // "PORT" stands for the server's port
  int status;
  std::string message;  // standard error ends with this line
};

// Names the row in test listings.
void PrintTo(const FailureRow& row, std::ostream* out) { *out << row.name; }

class GnxpFailure : public GnxpRun, public testing::WithParamInterface<FailureRow> {};

TEST_P(GnxpFailure, IsOneLineWithItsStatus) {
  const FailureRow& row = GetParam();
  std::string path =
      row.definition.empty() ? (server_->directory() / "missing.xml").string() : file("net.xml", row.definition);
  std::vector<std::string> arguments = {"run", path};
  for (const auto& option : row.options) arguments.push_back(option == "PORT" ? port() : option);
  ProgramResult result = gnxp(arguments);
  EXPECT_EQ(result.status, row.status) << result.err;
  std::string message = row.message;
  if (row.definition.empty()) message = "gnxp: cannot read " + path + ": No such file or directory";
  ASSERT_GE(result.err.size(), message.size() + 1) << result.err;
  EXPECT_EQ(result.err.substr(result.err.size() - message.size() - 1), message + "\n");
}

INSTANTIATE_TEST_SUITE_P(
    Rows, GnxpFailure,
    testing::Values(
        FailureRow{"missing_file", "", {}, 2, ""},
        FailureRow{"missing_file_remote", "", {"--host", "127.0.0.1", "--port", "PORT"}, 2, ""},
        FailureRow{"definition_refused", "<gn", {}, 1, "gnxp: INIT refused: 500 GN definition error"},
        FailureRow{"definition_refused_remote",
                   "<gn",
                   {"--host", "127.0.0.1", "--port", "PORT"},
                   1,
                   "gnxp: INIT refused: 500 GN definition error"},
        FailureRow{
            "runtime_error", kFailsInStepTwo, {"--steps", "4"}, 1, "gnxp: runtime error in step 2: 502 Runtime error"},
        FailureRow{"runtime_error_remote",
                   kFailsInStepTwo,
                   {"--steps", "4", "--host", "127.0.0.1", "--port", "PORT"},
                   1,
                   "gnxp: STEP refused: 502 Runtime error"},
        FailureRow{"bad_command_line", kEmptyNet, {"--steps", "many"}, 2, "gnxp: invalid value for --steps: 'many'"}),
    [](const testing::TestParamInfo<FailureRow>& row) { return std::string(row.param.name); });

TEST(GnxpProgram, ConnectionRefusedIsOneLine) {
  std::uint16_t port = freePort();
  ProgramResult result = runProgram({kGnxp, "run", std::string(VANTER_SOURCE_DIR) + "/examples/pass-through.xml",
                                     "--host", "127.0.0.1", "--port", std::to_string(port)});
  EXPECT_EQ(result.status, 1);
  EXPECT_EQ(result.err, "gnxp: cannot connect to 127.0.0.1:" + std::to_string(port) + ": Connection refused\n");
  EXPECT_EQ(result.out, "");
}

TEST(GnxpProgram, HelpDescribesTheCommand) {
  ProgramResult result = runProgram({kGnxp, "--help"});
  EXPECT_EQ(result.status, 0);
  EXPECT_TRUE(result.out.starts_with("usage: gnxp run DEFINITION.xml")) << result.out;
  EXPECT_NE(result.out.find("--seed S"), std::string::npos);
}

}  // namespace
