// DefinitionParser: one net's XML parser, its error reporter and the parsed
// definition document, validated against the built-in schema; plus the DOM
// accessors of the loader and the start and stop of the XML library.
// Thread rule: each net parses on its own thread; the library is started once.
#pragma once

#include "model/DomFwd.h"

#include <memory>
#include <string>
#include <string_view>

#include <xercesc/sax/ErrorHandler.hpp>

class DepthLimitedParser;

// The namespace of every element of a definition document.
inline constexpr const char* kDefinitionNamespace = "urn:vanterserver:gn-definition";

// Definitions nest at most five elements deep (gn, transitions, transition,
// predicates, predicate); foreign elements at the root may add a few. A deeper
// document is refused as soon as the parser meets the first element past this
// depth, since the library's cost grows with the depth of every element.
constexpr int kMaxDefinitionDepth = 32;

// Records and prints XML errors to standard error; warnings are ignored.
class DOMTreeErrorReporter final : public xercesc::ErrorHandler {
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

  // Parses and validates the file. The document (owned by this parser, valid
  // until it is destroyed) or null after reports on standard error (at most
  // kMaxReports of them, then their count; a document nested deeper than
  // kMaxDefinitionDepth is refused there). Called once.
  // REQUIRES: the XML library is started and stays started while this parser lives.
  xercesc::DOMDocument* parse();

 private:
  struct LibraryState;
  // Makes the parser with its settings; false when the built-in schema is unusable.
  bool createParser();
  // Runs the parser over the file; false after a report of a library
  // exception or of a document nested too deep.
  bool parseWithinDepth();

  std::string definitionPath_;
  std::string filePrefix_;
  // Declared before the parser, which refers to them, so they outlive it.
  std::unique_ptr<LibraryState> state_;
  std::unique_ptr<DOMTreeErrorReporter> reporter_;
  std::unique_ptr<DepthLimitedParser> parser_;
};

// The XML library, started once per process; false after a report on standard error.
bool initializeXerces();
bool terminateXerces();

// DOM accessors of the loader; texts are 8-bit (ISO-8859-1, '?' for other characters).
// A missing attribute gives empty text (the schema guarantees those the loader reads).
std::string attributeValue(const xercesc::DOMNode& element, std::string_view name);
// 1 when the node has attributes and `name` is among them, else 0.
int hasAttribute(const xercesc::DOMNode& element, std::string_view name);
// The value of the node's first child; empty when it has none.
std::string firstChildText(const xercesc::DOMNode& node);
// The local name of an element in the definition namespace, as 8-bit text;
// empty for any other node, so that the loader reads only definition elements.
std::string elementName(const xercesc::DOMNode& node);
// The leading decimal integer of a text (0 when there is none), as attributes are read.
int leadingInteger(std::string_view text);
