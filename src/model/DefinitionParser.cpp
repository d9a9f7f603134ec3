// DefinitionParser: parsing and validating a definition file against the
// built-in schema, the error reporter's standard-error reports, and the start
// and stop of the XML library.
#include "model/DefinitionParser.h"

#include "model/DefinitionSchema.h"
#include "model/XmlText.h"

#include <algorithm>
#include <cstdio>
#include <string>

#include <xercesc/dom/DOMException.hpp>
#include <xercesc/framework/LocalFileInputSource.hpp>
#include <xercesc/framework/XMLPScanToken.hpp>
#include <xercesc/parsers/XercesDOMParser.hpp>
#include <xercesc/sax/SAXParseException.hpp>
#include <xercesc/util/PlatformUtils.hpp>
#include <xercesc/util/SecurityManager.hpp>
#include <xercesc/util/XMLException.hpp>

namespace {

// Entity expansions one document may cause; a definition that needs more is
// an entity bomb and fails to parse.
constexpr XMLSize_t kMaxEntityExpansions = 100000;

// One write per report, so that reports of nets parsing at once do not mix.
void writeError(const std::string& text) { std::fwrite(text.data(), 1, text.size(), stderr); }

std::string parseReport(const char* kind, const xercesc::SAXParseException& e) {
  return std::string(kind) + "\"" + toLatin1(e.getSystemId()) + "\", line " + std::to_string(e.getLineNumber()) +
         ", column " + std::to_string(e.getColumnNumber()) + "\n   Message: " + toLatin1(e.getMessage()) + "\n";
}

}  // namespace

void DOMTreeErrorReporter::warning(const xercesc::SAXParseException&) {}

void DOMTreeErrorReporter::error(const xercesc::SAXParseException& exception) {
  report("Error at file ", exception);
}

void DOMTreeErrorReporter::fatalError(const xercesc::SAXParseException& exception) {
  report("Fatal Error at file ", exception);
}

void DOMTreeErrorReporter::resetErrors() {}

// A document can hold any number of faults: standard error gets the first
// kMaxReports, then writeSummary counts the rest.
void DOMTreeErrorReporter::report(const char* kind, const xercesc::SAXParseException& exception) {
  sawErrors_ = true;
  if (++reports_ <= kMaxReports) writeError(parseReport(kind, exception));
}

void DOMTreeErrorReporter::writeSummary() const {
  if (reports_ <= kMaxReports) return;
  writeError("... and " + std::to_string(reports_ - kMaxReports) + " more errors in the definition, not shown (" +
             std::to_string(kMaxReports) + " are shown at most)\n");
}

// The DOM parser with a count of how deep the elements it has met so far nest.
class DepthLimitedParser final : public xercesc::XercesDOMParser {
 public:
  explicit DepthLimitedParser(xercesc::XMLGrammarPool* grammar)
      : XercesDOMParser(nullptr, xercesc::XMLPlatformUtils::fgMemoryManager, grammar) {}

  bool tooDeep() const { return deepest_ > kMaxDefinitionDepth; }

  void startElement(const xercesc::XMLElementDecl& declaration, const unsigned int uri, const XMLCh* const prefix,
                    const xercesc::RefVectorOf<xercesc::XMLAttr>& attributes, const XMLSize_t attributeCount,
                    const bool isEmpty, const bool isRoot) override {
    XercesDOMParser::startElement(declaration, uri, prefix, attributes, attributeCount, isEmpty, isRoot);
    deepest_ = std::max(deepest_, depth_ + 1);
    if (!isEmpty) ++depth_;  // an empty element has no end
  }
  void endElement(const xercesc::XMLElementDecl& declaration, const unsigned int uri, const bool isRoot,
                  const XMLCh* const prefix) override {
    XercesDOMParser::endElement(declaration, uri, isRoot, prefix);
    --depth_;
  }

 private:
  int depth_ = 0;
  int deepest_ = 0;
};

// Members that the library must not outlive in the wrong order: the parser
// refers to the resolver and the security manager, so they are declared first.
struct DefinitionParser::LibraryState {
  DefinitionEntityResolver resolver;
  xercesc::SecurityManager security;
};

DefinitionParser::DefinitionParser(std::string definitionPath, std::string filePrefix)
    : definitionPath_(std::move(definitionPath)), filePrefix_(std::move(filePrefix)) {}

DefinitionParser::~DefinitionParser() = default;

bool DefinitionParser::createParser() {
  xercesc::XMLGrammarPool* grammar = definitionGrammarPool();
  if (grammar == nullptr) return false;
  state_ = std::make_unique<LibraryState>();
  state_->security.setEntityExpansionLimit(kMaxEntityExpansions);
  parser_ = std::make_unique<DepthLimitedParser>(grammar);
  parser_->setDoNamespaces(true);
  parser_->setDoSchema(true);
  parser_->setValidationSchemaFullChecking(true);
  parser_->setValidationScheme(xercesc::XercesDOMParser::Val_Always);
  parser_->setIncludeIgnorableWhitespace(false);
  reporter_ = std::make_unique<DOMTreeErrorReporter>();
  parser_->setErrorHandler(reporter_.get());
  parser_->setExternalSchemaLocation((std::string(kDefinitionNamespace) + " " + kSchemaFileName).c_str());
  parser_->useCachedGrammarInParse(true);
  parser_->setXMLEntityResolver(&state_->resolver);
  parser_->setDisableDefaultEntityResolution(true);
  parser_->setSecurityManager(&state_->security);
  return true;
}

xercesc::DOMDocument* DefinitionParser::parse() {
  if (!createParser()) return nullptr;
  bool parsed = parseWithinDepth();
  reporter_->writeSummary();
  if (!parsed || reporter_->sawErrors()) return nullptr;
  return parser_->getDocument();
}

// Parses token by token, so that a document nested too deep stops at the
// first element past the limit.
bool DefinitionParser::parseWithinDepth() {
  try {
    XmlString path = fromLatin1(definitionPath_);
    xercesc::LocalFileInputSource source(path.c_str());
    xercesc::XMLPScanToken token;
    bool more = parser_->parseFirst(source, token);
    while (more && !parser_->tooDeep()) more = parser_->parseNext(token);
    if (parser_->tooDeep()) {
      parser_->parseReset(token);
      writeError("Definition \"" + definitionPath_ + "\" refused: elements nested deeper than " +
                 std::to_string(kMaxDefinitionDepth) + "\n");
      return false;
    }
    return true;
  } catch (const xercesc::XMLException& e) {
    writeError("An error occurred during parsing\n   Message: " + toLatin1(e.getMessage()) + "\n");
    return false;
  } catch (const xercesc::DOMException& e) {
    writeError("A DOM error occurred during parsing\n   DOMException code: " + std::to_string(e.code) + "\n");
    return false;
  } catch (...) {
    writeError("An error occurred during parsing\n \n");
    return false;
  }
}

bool initializeXerces() {
  try {
    xercesc::XMLPlatformUtils::Initialize();
  } catch (const xercesc::XMLException& e) {
    writeError("Error during Xerces-c Initialization.\n  Exception message:" + toLatin1(e.getMessage()) + "\n");
    return false;
  }
  return true;
}

bool terminateXerces() {
  try {
    releaseDefinitionGrammar();
    xercesc::XMLPlatformUtils::Terminate();
  } catch (const xercesc::XMLException& e) {
    writeError("An error occurred during parsing\n   Message: " + toLatin1(e.getMessage()) + "\n");
    return false;
  }
  return true;
}
