// The end-to-end test net: definition text, loading, and calls for token k.
#include "GnvcflNet.h"

#include "PrimitiveCall.h"
#include "builtins/BuiltinFunctions.h"
#include "lang/Function.h"
#include "model/DefinitionParser.h"
#include "model/Place.h"
#include "model/Token.h"

#include <unistd.h>

#include <atomic>
#include <filesystem>
#include <fstream>

namespace {

std::string uniquePath() {
  static std::atomic<int> counter{0};
  auto path = std::filesystem::temp_directory_path() /
              ("vanter-builtins-test-" + std::to_string(getpid()) + "-" + std::to_string(counter++) + ".xml");
  return path.string();
}

// GNVCFL source as XML character data.
std::string escaped(const std::string& source) {
  std::string text;
  for (char c : source) {
    if (c == '&') text += "&amp;";
    else if (c == '<') text += "&lt;";
    else if (c == '>') text += "&gt;";
    else text += c;
  }
  return text;
}

std::string document(const std::string& source, const std::string& tokens) {
  return "<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?>\n"
         "<gn xmlns=\"urn:vanterserver:gn-definition\">\n"
         "<transitions><transition id=\"T\"><inputs><input ref=\"A\"/></inputs>"
         "<outputs><output ref=\"B\"/></outputs><predicates default=\"false\"/></transition></transitions>\n"
         "<places><place id=\"A\"/><place id=\"B\"/></places>\n"
         "<functions>" + escaped(source) + "</functions>\n"
         "<tokens><token id=\"k\" host=\"A\"><characteristic name=\"Default\" type=\"double\" history=\"2\">1"
         "</characteristic></token>" + tokens + "</tokens>\n</gn>\n";
}

}  // namespace

GnvcflNet::GnvcflNet(const std::string& source, const std::string& tokens) : path_(uniquePath()) {
  static const bool xmlStarted = initializeXerces();
  std::ofstream(path_) << document(source, tokens);
  net_.prepare(&log_, path_, "", &events_);
  registerBuiltIns(net_);
  if (!xmlStarted || !net_.initialize()) return;
  net_.step();
  ready_ = token("k") != nullptr && token("k")->host() != nullptr;
}

GnvcflNet::~GnvcflNet() { std::filesystem::remove(path_); }

CPlace* GnvcflNet::place(const std::string& name) {
  return static_cast<CPlace*>(net_.placesTable().objectAt(net_.placesTable().indexOf(name)));
}

CToken* GnvcflNet::token(const std::string& name) {
  NameTable& tokens = net_.tokensTable();
  for (int index = 0; index < tokens.count(); ++index) {
    if (tokens.nameAt(index) == name) return static_cast<CToken*>(tokens.objectAt(index));
  }
  return nullptr;
}

std::string GnvcflNet::characteristic(const std::string& name) {
  const CCharacteristic* found = token("k")->characteristic(name);
  return found != nullptr ? literal(&found->value()) : "<none>";
}

FunctionRun GnvcflNet::run(const std::string& name) {
  FunctionRun outcome;
  const int index = net_.functionsTable().indexOf(name);
  auto* function = static_cast<CFunction*>(net_.functionsTable().objectAt(index));
  EXPECT_NE(function, nullptr) << "no function " << name;
  if (function == nullptr) return outcome;
  const std::size_t before = log_.messages().size();
  testing::internal::CaptureStderr();
  outcome.returned = function->execute(token("k"), nullptr, 0);
  outcome.errors = testing::internal::GetCapturedStderr();
  const std::vector<std::string> messages = log_.messages();
  for (std::size_t i = before; i < messages.size(); ++i) outcome.log += messages[i] + "\n";
  outcome.runtimeOk = net_.runtimeOk();
  return outcome;
}

std::string evaluate(const std::string& expression) {
  GnvcflNet net(std::string("(defun probe ") + GnvcflNet::kFrame + " () () (set-named tokenobj \"r\" " + expression +
                "))");
  EXPECT_TRUE(net.ready()) << net.log().text();
  if (!net.ready()) return "not ready";
  FunctionRun outcome = net.run("probe");
  if (!outcome.runtimeOk) return "error: " + reportedMessage(outcome.log);
  return net.characteristic("r");
}
