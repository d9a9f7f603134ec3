// Function frames: the frame text's fields and keywords, every frame message,
// the objects each definition binds, and how frame references reach a body.
#include "LangFixture.h"

#include "lang/Frame.h"
#include "model/SimpleTransition.h"

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <unistd.h>

namespace {

class FrameTest : public LangFixture {
 protected:
  FrameTest() {
    p1_ = place("P1");
    place("P2");
    t1_ = token("T1", 3);
    transition_ = net_.adoptTransition(std::make_unique<CSimpleTransition>(net_));
    net_.transitionsTable().define("Tr1", transition_);
  }

  // A function object with the given frame text, bound; its frame is then built.
  CFunction* framed(const std::string& frameText, bool* built) {
    auto identity = [](CCharacteristic*, const CFunction&, int) { return 1; };
    CBuiltInFunction* made = CBuiltInFunction::create(net_, "F" + std::to_string(++made_), identity, frameText);
    *built = made->bind();
    return made;
  }

  CPlace* p1_;
  CToken* t1_;
  CSimpleTransition* transition_;
  int made_ = 0;
};

TEST(FrameFields, NextFieldDropsRepeatedDelimiters) {
  std::string_view text = "2;;places.P1.obj;;x";
  std::string field;
  std::vector<std::string> fields;
  while (nextField(field, text, ';')) fields.push_back(field);
  EXPECT_EQ(fields, (std::vector<std::string>{"2", "places.P1.obj", "x"}));
  std::string_view empty;
  EXPECT_FALSE(nextField(field, empty, ';'));
}

TEST_F(FrameTest, MessagesOfRefusedFrames) {
  struct Row {
    std::string frame;
    std::vector<std::string> messages;  // the whole log of the refusal
    bool clearsRuntimeOk;
  };
  const Row rows[] = {
      {"1;places.P1.obj;places.P2.obj", {"Invalid function frame definition. Too many definitions"}, false},
      {"places.P1.obj;tokens.T1.char", {"Invalid function frame definition. Too many definitions"}, false},
      {"2;places.P1.obj", {"Infalid function frame definition. Not enough definitions"}, false},
      {"1;places.P1", {"Infalid function frame definition. Not enough definitions"}, false},
      {"1;place.P1.obj", {"Unknown keyword:", "place", "Invalid frame deffinition keyword:", "place"}, true},
      {"1;places.P9.obj", {"Place identifier unknown", "P9"}, false},
      {"1;places.P1.capacity", {"Invalid place property", "capacity"}, false},
      {"1;places.P1.size", {"Unknown keyword:", "size", "Invalid place property", "size"}, false},
      {"1;places.P1.token", {"Unsupported place property (it names no object):", "token"}, false},
      {"1;transitions.Tr9.obj", {"Transition identifier unknown", "Tr9"}, false},
      {"1;transitions.Tr1.char", {"Invalid transition property", "char"}, false},
      {"1;tokens.T9.obj", {"Token identifier unknown", "T9"}, false},
      {"1;tokens.T1.active", {"Invalid token property", "active"}, false},
      {"1;tokens.T1.host", {"Unsupported token property (hosts are bound after functions):", "host"}, false},
      {"-1;places.P1.obj", {"Invalid function frame definition. Negative definition count"}, false},
      {"1;places." + std::string(100, 'p') + ".obj",
       {"Invalid function frame definition. Field longer than 99 characters:", std::string(100, 'p')}, false},
      {"1;file." + std::string(99, 'f') + "." + std::string(40, 'e'),
       {"Frame file name longer than 127 characters refused:", std::string(99, 'f') + "." + std::string(40, 'e')},
       false},
  };
  for (const Row& row : rows) {
    log_.reset();
    net_.prepare(&log_, "", "", nullptr);  // a fresh runtime-ok flag and tables
    p1_ = place("P1");
    place("P2");
    t1_ = token("T1", 3);
    net_.transitionsTable().define("Tr1", transition_);
    bool built = true;
    framed(row.frame, &built);
    EXPECT_FALSE(built) << row.frame;
    EXPECT_EQ(log_.messages(), row.messages) << row.frame;
    EXPECT_EQ(net_.runtimeOk(), !row.clearsRuntimeOk) << row.frame;
  }
}

TEST_F(FrameTest, EntriesOfAcceptedFrames) {
  bool built = false;
  EXPECT_EQ(framed("0", &built)->frameSize(), 0);
  EXPECT_TRUE(built);
  EXPECT_EQ(framed("", &built)->frameSize(), 0);
  EXPECT_TRUE(built);
  EXPECT_EQ(framed("places.P1.obj", &built)->frameSize(), 0) << "a missing count reads as 0";
  EXPECT_TRUE(built);

  CFunction* all = framed("5;places.P1.obj;places.P1.tokenslist;transitions.Tr1.obj;tokens.T1.obj;tokens.T1.char", &built);
  ASSERT_TRUE(built) << log_.text();
  ASSERT_EQ(all->frameSize(), 5);
  EXPECT_EQ(all->frameEntry(0), p1_);
  EXPECT_EQ(all->frameEntry(1), &p1_->tokens());
  EXPECT_EQ(all->frameEntry(2), transition_);
  EXPECT_EQ(all->frameEntry(3), t1_);
  EXPECT_EQ(all->frameEntry(4), t1_->defaultCharacteristic());

  CFunction* spaced = framed("2;;places.P1.obj;;tokens.T1.char;", &built);
  EXPECT_TRUE(built);
  EXPECT_EQ(spaced->frameSize(), 2);
  EXPECT_TRUE(log_.messages().empty()) << log_.text();
}

TEST_F(FrameTest, CharacteristicsReachTheBodyAsTheirLiveValue) {
  ASSERT_TRUE(load("(defun live \"2;tokens.T1.char;places.P1.obj\" () () #0)"
                   "(defun where \"2;tokens.T1.char;places.P1.obj\" () () #1)"));
  EXPECT_EQ(call("live"), "3");
  t1_->defaultCharacteristic()->set(CDoubleValue(9));
  EXPECT_EQ(call("live"), "9");
  ValuePtr where = callForValue("where");
  ASSERT_NE(asObject(where.get()), nullptr);
  EXPECT_EQ(asObject(where.get())->target(), p1_);
}

TEST_F(FrameTest, FrameReferencesOutsideTheFrameFailBinding) {
  EXPECT_FALSE(load("(defun outside \"1;places.P1.obj\" () () #1)"));
  EXPECT_TRUE(log_.contains("GNVCFL binding error: frame reference outside the function frame: #1"));
  EXPECT_TRUE(log_.contains("outside"));
}

// Runs in a fresh working directory of its own, restored afterwards.
class FrameFileTest : public FrameTest {
 protected:
  void SetUp() override {
    previous_ = std::filesystem::current_path();
    folder_ = std::filesystem::temp_directory_path() / ("lang-frame-" + std::to_string(::getpid()));
    std::filesystem::create_directories(folder_);
    std::filesystem::current_path(folder_);
  }
  void TearDown() override {
    std::filesystem::current_path(previous_);
    std::filesystem::remove_all(folder_);
  }
  static std::FILE* fileOf(CFunction* function, int n) {
    return static_cast<CFilePtr*>(function->frameEntry(n))->file();
  }

  std::filesystem::path previous_;
  std::filesystem::path folder_;
};

TEST_F(FrameFileTest, FilesOpenForReadingOrWritingInTheWorkingDirectory) {
  std::ofstream("data.txt") << "42";
  bool built = false;
  CFunction* reading = framed("3;file.data.txt;file.>out.txt;file.missing.txt", &built);
  ASSERT_TRUE(built);
  ASSERT_EQ(reading->frameEntry(0)->kind(), kKindFile);
  ASSERT_NE(fileOf(reading, 0), nullptr);
  char text[8] = {};
  EXPECT_EQ(std::fread(text, 1, 2, fileOf(reading, 0)), 2u);
  EXPECT_STREQ(text, "42");
  ASSERT_NE(fileOf(reading, 1), nullptr);
  EXPECT_TRUE(std::filesystem::exists("out.txt"));
  EXPECT_EQ(fileOf(reading, 2), nullptr) << "a file that cannot be opened is not an error yet";
  EXPECT_TRUE(log_.messages().empty()) << log_.text();
}

TEST_F(FrameFileTest, FilesOutsideTheWorkingDirectoryAreRefused) {
  const std::string escape = "/tmp/vanter-lang-escape-" + std::to_string(::getpid());
  std::filesystem::remove(escape + ".txt");
  bool built = false;
  CFunction* outside = framed("2;file.>" + escape + ".txt;file.a.b/../../escape", &built);
  ASSERT_TRUE(built);
  EXPECT_EQ(fileOf(outside, 0), nullptr);
  EXPECT_EQ(fileOf(outside, 1), nullptr);
  EXPECT_EQ(log_.messages(),
            (std::vector<std::string>{"Frame file refused outside the working directory:", escape + ".txt",
                                      "Frame file refused outside the working directory:", "a.b/../../escape"}));
  EXPECT_FALSE(std::filesystem::exists(escape + ".txt"));
}

}  // namespace
