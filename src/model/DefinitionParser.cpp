// DefinitionParser: parsing and validating a definition file against the
// built-in schema, the error reporter's standard-error reports, and the start
// and stop of the XML library.
#include "model/DefinitionParser.h"

#include "model/DefinitionSchema.h"
#include "model/DocumentBuilder.h"
#include "model/XmlText.h"

#include <cstdio>
#include <string>

#include <xercesc/framework/LocalFileInputSource.hpp>
#include <xercesc/framework/XMLPScanToken.hpp>
#include <xercesc/parsers/SAX2XMLReaderImpl.hpp>
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

void DefinitionErrorReporter::warning(const xercesc::SAXParseException&) {}

void DefinitionErrorReporter::error(const xercesc::SAXParseException& exception) {
  report("Error at file ", exception);
}

void DefinitionErrorReporter::fatalError(const xercesc::SAXParseException& exception) {
  report("Fatal Error at file ", exception);
}

void DefinitionErrorReporter::resetErrors() {}

// A document can hold any number of faults: standard error gets the first
// kMaxReports, then writeSummary counts the rest.
void DefinitionErrorReporter::report(const char* kind, const xercesc::SAXParseException& exception) {
  sawErrors_ = true;
  if (++reports_ <= kMaxReports) writeError(parseReport(kind, exception));
}

void DefinitionErrorReporter::writeSummary() const {
  if (reports_ <= kMaxReports) return;
  writeError("... and " + std::to_string(reports_ - kMaxReports) + " more errors in the definition, not shown (" +
             std::to_string(kMaxReports) + " are shown at most)\n");
}

// Members that the library must not outlive in the wrong order: the reader
// refers to the resolver and the security manager, so they are declared first.
struct DefinitionParser::LibraryState {
  DefinitionEntityResolver resolver;
  xercesc::SecurityManager security;
};

DefinitionParser::DefinitionParser(std::string definitionPath, std::string filePrefix)
    : definitionPath_(std::move(definitionPath)), filePrefix_(std::move(filePrefix)) {}

DefinitionParser::~DefinitionParser() = default;

bool DefinitionParser::createReader() {
  using xercesc::XMLUni;
  xercesc::XMLGrammarPool* grammar = definitionGrammarPool();
  if (grammar == nullptr) return false;
  state_ = std::make_unique<LibraryState>();
  state_->security.setEntityExpansionLimit(kMaxEntityExpansions);
  reporter_ = std::make_unique<DefinitionErrorReporter>();
  builder_ = std::make_unique<DocumentBuilder>();
  reader_ = std::make_unique<xercesc::SAX2XMLReaderImpl>(xercesc::XMLPlatformUtils::fgMemoryManager, grammar);
  reader_->setFeature(XMLUni::fgSAX2CoreNameSpaces, true);
  reader_->setFeature(XMLUni::fgXercesSchema, true);
  reader_->setFeature(XMLUni::fgXercesSchemaFullChecking, true);
  // Validation always, not only when the document names a grammar.
  reader_->setFeature(XMLUni::fgSAX2CoreValidation, true);
  reader_->setFeature(XMLUni::fgXercesDynamic, false);
  reader_->setFeature(XMLUni::fgXercesUseCachedGrammarInParse, true);
  reader_->setFeature(XMLUni::fgXercesDisableDefaultEntityResolution, true);
  XmlString location = fromLatin1(std::string(kDefinitionNamespace) + " " + kSchemaFileName);
  reader_->setProperty(XMLUni::fgXercesSchemaExternalSchemaLocation, location.data());
  reader_->setProperty(XMLUni::fgXercesSecurityManager, &state_->security);
  reader_->setXMLEntityResolver(&state_->resolver);
  reader_->setErrorHandler(reporter_.get());
  reader_->setContentHandler(builder_.get());
  reader_->setLexicalHandler(builder_.get());
  return true;
}

const DefinitionNode* DefinitionParser::parse() {
  if (!createReader()) return nullptr;
  bool parsed = parseWithinDepth();
  reporter_->writeSummary();
  if (!parsed || reporter_->sawErrors()) return nullptr;
  return builder_->document().root();
}

// Parses token by token, so that a document nested too deep stops at the
// first element past the limit.
bool DefinitionParser::parseWithinDepth() {
  try {
    XmlString path = fromLatin1(definitionPath_);
    xercesc::LocalFileInputSource source(path.c_str());
    xercesc::XMLPScanToken token;
    const auto tooDeep = [this] { return builder_->deepest() > kMaxDefinitionDepth; };
    bool more = reader_->parseFirst(source, token);
    while (more && !tooDeep()) more = reader_->parseNext(token);
    if (tooDeep()) {
      reader_->parseReset(token);
      writeError("Definition \"" + definitionPath_ + "\" refused: elements nested deeper than " +
                 std::to_string(kMaxDefinitionDepth) + "\n");
      return false;
    }
    return true;
  } catch (const xercesc::XMLException& e) {
    writeError("An error occurred during parsing\n   Message: " + toLatin1(e.getMessage()) + "\n");
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
  definitionGrammarPool();
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
