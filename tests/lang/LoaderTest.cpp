// Loading definitions from files (prefix, "_" and the name; confined to the
// working directory) and from the nodes of a definition document.
#include "LangFixture.h"

#include "model/DefinitionDocument.h"

#include <filesystem>
#include <fstream>
#include <unistd.h>

namespace {

class LoaderTest : public LangFixture {
 protected:
  void SetUp() override {
    previous_ = std::filesystem::current_path();
    folder_ = std::filesystem::temp_directory_path() / ("lang-loader-" + std::to_string(::getpid()));
    std::filesystem::create_directories(folder_ / "sub");
    std::filesystem::current_path(folder_ / "sub");
    net_.prepare(&log_, "", "net", nullptr);
  }
  void TearDown() override {
    std::filesystem::current_path(previous_);
    std::filesystem::remove_all(folder_);
  }

  std::filesystem::path previous_;
  std::filesystem::path folder_;
};

TEST_F(LoaderTest, ReadsThePrefixedFileWithCarriageReturns) {
  std::ofstream("net_lib.gnf", std::ios::binary) << "; library\r\n(defun f \"0\" () ()\r\n 4)\r\n";
  EXPECT_TRUE(loadFunctionFile(net_, "lib.gnf"));
  EXPECT_TRUE(isDefined("f"));
  EXPECT_FALSE(loadFunctionFile(net_, "missing.gnf"));
}

TEST_F(LoaderTest, FilesOfOnlyCommentsOrNothingLoadNothing) {
  std::ofstream("net_comments.gnf") << "; nothing here\n\n";
  std::ofstream("net_empty.gnf");
  EXPECT_TRUE(loadFunctionFile(net_, "comments.gnf"));
  EXPECT_TRUE(loadFunctionFile(net_, "empty.gnf"));
  EXPECT_TRUE(log_.messages().empty()) << log_.text();
}

TEST_F(LoaderTest, NamesLeavingTheWorkingDirectoryAreRefused) {
  std::ofstream(folder_ / "net_..") << "(defun up \"0\" () () 1)";
  std::filesystem::create_directories("net_x");
  std::ofstream(folder_ / "secret.gnf") << "(defun up \"0\" () () 1)";
  EXPECT_FALSE(loadFunctionFile(net_, "x/../../secret.gnf"));
  EXPECT_FALSE(isDefined("up"));
  EXPECT_EQ(log_.messages(), (std::vector<std::string>{"Function file refused outside the working directory:",
                                                        "x/../../secret.gnf"}));
}

TEST_F(LoaderTest, DocumentNodesGiveSourceTextOrAFileName) {
  std::ofstream("net_lib.gnf") << "(defun fromFile \"0\" () () 1)";
  DefinitionDocument document;
  DefinitionNode* root = document.addElement(nullptr, "functions", {});
  document.addLeaf(*root, DefinitionNode::Kind::Text, "(defun fromText \"0\" () () \"caf\xE9\")");
  const DefinitionNode::Attribute fileName[] = {{"fundefs", "lib.gnf"}};
  const DefinitionNode* element = document.addElement(root, "library", fileName);
  const DefinitionNode* bare = document.addElement(root, "library", {});

  EXPECT_TRUE(loadFunctions(net_, *root->firstChild()));
  EXPECT_TRUE(loadFunctions(net_, *element));
  EXPECT_FALSE(loadFunctions(net_, *bare));
  ASSERT_TRUE(load(""));
  EXPECT_EQ(call("fromText"), "\"caf\xE9\"");
  EXPECT_EQ(call("fromFile"), "1");
}

}  // namespace
