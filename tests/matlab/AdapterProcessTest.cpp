// Finding Calvix.exe and running it: folder order, argument passing without a
// shell, and exit statuses.
#include "matlab/AdapterProcess.h"

#include "TestFolder.h"

#include <fcntl.h>
#include <unistd.h>

#include <filesystem>

namespace {

TEST(FindAdapter, TakesTheFirstFolderWithAnExecutableFile) {
  TestFolder first;
  TestFolder second;
  writeText(second.file("Calvix.exe"), "#!/bin/sh\n", true);
  EXPECT_EQ(findAdapter({first.path().string(), second.path().string()}), second.file("Calvix.exe"));
  writeText(first.file("Calvix.exe"), "#!/bin/sh\n", true);
  EXPECT_EQ(findAdapter({first.path().string(), second.path().string()}), first.file("Calvix.exe"));
}

TEST(FindAdapter, SkipsFilesThatCannotRunAndFolders) {
  TestFolder plain;
  TestFolder withFolder;
  writeText(plain.file("Calvix.exe"), "#!/bin/sh\n", false);
  std::filesystem::create_directory(withFolder.path() / "Calvix.exe");
  EXPECT_EQ(findAdapter({plain.path().string(), withFolder.path().string(), ""}), std::nullopt);
}

TEST(RunAdapter, PassesEachArgumentWholeAndReportsTheExitStatus) {
  TestFolder folder;
  std::string record = folder.file("argv.txt");
  writeText(folder.file("Calvix.exe"),
            "#!/bin/sh\nfor a in \"$0\" \"$@\"; do printf '<%s>\\n' \"$a\" >> \"" + record + "\"; done\nexit $3\n",
            true);
  EXPECT_TRUE(runAdapter(folder.file("Calvix.exe"), {"/a b/c", "f", "0", "it's \"q\""}));
  EXPECT_EQ(readText(record), "<" + folder.file("Calvix.exe") + ">\n</a b/c>\n<f>\n<0>\n<it's \"q\">\n");
  EXPECT_FALSE(runAdapter(folder.file("Calvix.exe"), {"x", "f", "3", "y"}));
}

TEST(RunAdapter, TheAdapterWritesToStandardErrorAndInheritsNoOtherDescriptor) {
  TestFolder folder;
  int open = ::open(folder.file("held.txt").c_str(), O_WRONLY | O_CREAT, 0600);
  ASSERT_GE(open, 3);
  writeText(folder.file("Calvix.exe"),
            "#!/bin/sh\necho account\nread line && exit 6\n[ -e /proc/self/fd/" + std::to_string(open) +
                " ] && exit 7\nexit 0\n",
            true);
  testing::internal::CaptureStderr();
  bool ran = runAdapter(folder.file("Calvix.exe"), {"x", "f", "r", "a"});
  std::string errors = testing::internal::GetCapturedStderr();
  ::close(open);
  EXPECT_TRUE(ran);
  EXPECT_EQ(errors, "account\n");
}

TEST(RunAdapter, AProgramThatCannotStartFails) {
  TestFolder folder;
  EXPECT_FALSE(runAdapter(folder.file("Calvix.exe"), {"x", "f", "r", "a"}));
  writeText(folder.file("Calvix.exe"), "not a program\n", false);
  EXPECT_FALSE(runAdapter(folder.file("Calvix.exe"), {"x", "f", "r", "a"}));
}

}  // namespace
