// The matlab built-in's order of work: both temporary file names are drawn
// before the arguments are checked, so that a seeded run draws the same
// numbers whatever the arguments.
#include "TestFolder.h"

#include "RecordingLog.h"
#include "builtins/BuiltinFunctions.h"
#include "model/AbstractTransition.h"
#include "model/NetRandom.h"

#include <filesystem>

namespace {

TEST(MatlabCall, DrawsBothFileNamesBeforeRefusingAnArgument) {
  TestFolder folder;
  ScopedVariable temp("TEMP", folder.path().c_str());
  RecordingLog log;
  CAbstractTransition net;
  net.prepare(&log, "", "", nullptr);
  net.random().seed(7);
  CStringValue name("f");
  CObjectValue object;
  CTypedValue* argv[] = {&name, &object};
  ValueSlot result;
  EXPECT_EQ(primitiveMatlab(2, result, argv, nullptr, log, PrimitiveContext{&net, nullptr}), 0);
  EXPECT_NE(log.text().find("matlab: unsupported argument type."), std::string::npos) << log.text();

  NetRandom same(7);
  const int argumentsNumber = same.next();
  const int resultNumber = same.next();
  EXPECT_TRUE(std::filesystem::exists(folder.file("GNVanterMatlabArgs" + std::to_string(argumentsNumber) + ".tmp")));
  EXPECT_TRUE(std::filesystem::exists(folder.file("GNVanterMatlabResult" + std::to_string(resultNumber) + ".tmp")));
  EXPECT_EQ(net.random().next(), same.next());
}

}  // namespace
