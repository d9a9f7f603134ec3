// The temporary files of a MATLAB call: their folder, numbering and
// exclusive creation.
#include "matlab/TemporaryFiles.h"
#include "model/NetRandom.h"

#include "TestFolder.h"

#include <unistd.h>

#include <filesystem>

namespace {

TEST(TemporaryFolder, TempThenTmpdirThenSlashTmp) {
  struct Row {
    const char* temp;
    const char* tmpdir;
    const char* expected;
  };
  const Row rows[] = {
      {"/t1", "/t2", "/t1"},
      {nullptr, "/t2", "/t2"},
      {"", "/t2", "/t2"},
      {nullptr, nullptr, "/tmp"},
      {"", "", "/tmp"},
  };
  for (const auto& row : rows) {
    ScopedVariable temp("TEMP", row.temp);
    ScopedVariable tmpdir("TMPDIR", row.tmpdir);
    EXPECT_EQ(temporaryFolder(), row.expected) << (row.temp ? row.temp : "unset") << ", "
                                               << (row.tmpdir ? row.tmpdir : "unset");
  }
}

std::string expectedPath(const TestFolder& folder, const char* stem, int number) {
  return folder.file(std::string(stem) + std::to_string(number) + ".tmp");
}

TEST(CreateTemporaryFile, NamesTheFileWithTheNextNumberAndCreatesIt) {
  TestFolder folder;
  NetRandom random(7);
  NetRandom same(7);
  std::string error;
  auto file = createTemporaryFile(folder.path().string(), "GNVanterMatlabArgs", random, error);
  ASSERT_TRUE(file) << error;
  EXPECT_EQ(file->path, expectedPath(folder, "GNVanterMatlabArgs", same.next()));
  EXPECT_TRUE(std::filesystem::exists(file->path));
  EXPECT_TRUE(writeAll(file->file.get(), "2.000000\n"));
  EXPECT_TRUE(file->file.close());
  EXPECT_EQ(readText(file->path), "2.000000\n");
}

// Regression: two calls drawing the same number used to write the same file.
TEST(CreateTemporaryFile, ANameInUseDrawsTheNextNumber) {
  TestFolder folder;
  NetRandom preview(11);
  int first = preview.next();
  int second = preview.next();
  ASSERT_NE(first, second);
  writeText(expectedPath(folder, "R", first), "someone else's");
  NetRandom random(11);
  std::string error;
  auto file = createTemporaryFile(folder.path().string(), "R", random, error);
  ASSERT_TRUE(file) << error;
  EXPECT_EQ(file->path, expectedPath(folder, "R", second));
  EXPECT_EQ(readText(expectedPath(folder, "R", first)), "someone else's");
}

TEST(CreateTemporaryFile, RefusesALongPathAndAMissingFolder) {
  NetRandom random(3);
  std::string error;
  std::string longFolder = "/tmp/" + std::string(kMaxTemporaryPath, 'f');
  EXPECT_FALSE(createTemporaryFile(longFolder, "A", random, error));
  EXPECT_NE(error.find("longer than 259 characters"), std::string::npos) << error;
  EXPECT_FALSE(createTemporaryFile("/nonexistent/folder", "A", random, error));
  EXPECT_NE(error.find("cannot create /nonexistent/folder/A"), std::string::npos) << error;
}

}  // namespace
