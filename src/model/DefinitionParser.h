// DefinitionParser: one net's XML reader, its error reporter and the parsed
// definition document, validated against the built-in schema; plus the start
// and stop of the XML library.
// Thread rule: each net parses on its own thread, with a reader of its own;
// the library is started once.
#pragma once

#include "model/DefinitionDocument.h"

#include <memory>
#include <string>

#include <xercesc/sax/ErrorHandler.hpp>

XERCES_CPP_NAMESPACE_BEGIN
class SAX2XMLReaderImpl;
XERCES_CPP_NAMESPACE_END

class DocumentBuilder;

// Definitions nest at most five elements deep (gn, transitions, transition,
// predicates, predicate); foreign elements at the root may add a few. A deeper
// document is refused as soon as the parser meets the first element past this
// depth, since the library's cost grows with the depth of every element.
constexpr int kMaxDefinitionDepth = 32;

// Records and prints XML errors to standard error; warnings are ignored.
class DefinitionErrorReporter final : public xercesc::ErrorHandler {
 public:
  // A definition's reports beyond this many are counted, not printed.
  static constexpr int kMaxReports = 100;

  void warning(const xercesc::SAXParseException& exception) override;
  void error(const xercesc::SAXParseException& exception) override;
  void fatalError(const xercesc::SAXParseException& exception) override;
  void resetErrors() override;
  bool sawErrors() const { return sawErrors_; }
  // Writes one line with the number of reports not printed, if any.
  void writeSummary() const;

 private:
  void report(const char* kind, const xercesc::SAXParseException& exception);

  bool sawErrors_ = false;
  int reports_ = 0;
};

class DefinitionParser {
 public:
  DefinitionParser(std::string definitionPath, std::string filePrefix);
  ~DefinitionParser();
  DefinitionParser(const DefinitionParser&) = delete;
  DefinitionParser& operator=(const DefinitionParser&) = delete;

  // Parses and validates the file. The document's root element (owned by this
  // parser, valid until it is destroyed) or null after reports on standard
  // error (at most kMaxReports of them, then their count; a document nested
  // deeper than kMaxDefinitionDepth is refused there). Called once.
  // REQUIRES: the XML library is started and stays started while this parser lives.
  const DefinitionNode* parse();

 private:
  struct LibraryState;
  // Makes the reader with its settings; false when the built-in schema is unusable.
  bool createReader();
  // Runs the reader over the file; false after a report of a library
  // exception or of a document nested too deep.
  bool parseWithinDepth();

  std::string definitionPath_;
  std::string filePrefix_;
  // Declared before the reader, which refers to them, so they outlive it.
  std::unique_ptr<LibraryState> state_;
  std::unique_ptr<DefinitionErrorReporter> reporter_;
  std::unique_ptr<DocumentBuilder> builder_;
  std::unique_ptr<xercesc::SAX2XMLReaderImpl> reader_;
};

// The XML library, started once per process, with the definition schema
// ready so that the first INIT does not wait for it; false after a report on
// standard error.
bool initializeXerces();
bool terminateXerces();
