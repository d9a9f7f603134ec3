// The matlab built-in inside running nets: the example net of
// examples/matlab through Octave, and a failing call stopping its net.
#include "builtins/BuiltinFunctions.h"
#include "model/AbstractTransition.h"
#include "model/Characteristic.h"
#include "model/DefinitionParser.h"
#include "model/Token.h"

#include "RecordingLog.h"
#include "TestFolder.h"

#include <filesystem>

namespace {

namespace fs = std::filesystem;

const fs::path kExampleFolder = fs::path(VANTER_SOURCE_DIR) / "examples" / "matlab";

// A net loaded from `definition` and stepped `steps` times, in `workingFolder`,
// with its temporary files in a folder of its own.
class SteppedNet {
 public:
  SteppedNet(const std::string& definition, const fs::path& workingFolder, int steps) {
    fs::path previous = fs::current_path();
    fs::current_path(workingFolder);
    EXPECT_TRUE(initializeXerces());
    net_.prepare(&log_, definition, "", nullptr);
    registerBuiltIns(net_);
    loaded_ = net_.initialize();
    for (int step = 0; loaded_ && step < steps; ++step) net_.step();
    fs::current_path(previous);
  }

  bool loaded() const { return loaded_; }
  CAbstractTransition& net() { return net_; }
  const RecordingLog& log() const { return log_; }
  std::string characteristic(const std::string& token, const std::string& name) {
    NameTable& tokens = net_.tokensTable();
    auto* found = static_cast<CToken*>(tokens.objectAt(tokens.indexOf(token)));
    const CCharacteristic* characteristic = found ? found->characteristic(name) : nullptr;
    return characteristic ? textOf(characteristic->value()) : "<none>";
  }

 private:
  TestFolder temporary_;
  ScopedVariable temp_{"TEMP", temporary_.path().c_str()};
  RecordingLog log_;
  CAbstractTransition net_;
  bool loaded_ = false;
};

TEST(MatlabNet, TheExampleSummarisesItsBatchThroughOctave) {
  SteppedNet stepped((kExampleFolder / "matlab.xml").string(), kExampleFolder, 2);
  ASSERT_TRUE(stepped.loaded()) << stepped.log().text();
  EXPECT_TRUE(stepped.net().runtimeOk()) << stepped.log().text();
  EXPECT_EQ(stepped.characteristic("batch", "Default"), "2.8 5");
  EXPECT_EQ(stepped.characteristic("batch", "label"), "batch: mean 2.80");
}

TEST(MatlabNet, AFailingCallIsARuntimeErrorOfTheNet) {
  TestFolder folder;
  std::string definition = folder.file("net.xml");
  writeText(definition,
            "<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?>\n"
            "<gn xmlns=\"urn:vanterserver:gn-definition\">\n"
            "<transitions><transition id=\"T\"><inputs><input ref=\"A\"/></inputs>"
            "<outputs><output ref=\"B\"/></outputs><predicates default=\"true\"/></transition></transitions>\n"
            "<places><place id=\"A\"/><place id=\"B\" char=\"call\"/></places>\n"
            "<functions>(defun call \"0\" () () (set (matlab \"absent\" token)))</functions>\n"
            "<tokens><token id=\"k\" host=\"A\"><characteristic name=\"Default\" type=\"double\">1"
            "</characteristic></token></tokens>\n</gn>\n");
  SteppedNet stepped(definition, folder.path(), 3);
  ASSERT_TRUE(stepped.loaded()) << stepped.log().text();
  EXPECT_FALSE(stepped.net().runtimeOk());
  EXPECT_NE(stepped.log().text().find("matlab: plugin crashed."), std::string::npos) << stepped.log().text();
  EXPECT_EQ(stepped.characteristic("k", "Default"), "1");
}

}  // namespace
