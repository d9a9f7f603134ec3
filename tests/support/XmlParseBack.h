// Parses an XML document (an events document) back with Xerces, as a check
// that what we write is well-formed, into a small tree with 8-bit
// (ISO-8859-1) texts. For tests only.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

struct XmlElement {
  std::string name;
  std::vector<std::pair<std::string, std::string>> attributes;  // in document order
  std::string text;                                             // the text children, joined
  std::vector<XmlElement> children;

  // The value of the attribute `name`, or none.
  std::optional<std::string> attribute(std::string_view attributeName) const {
    for (const auto& [key, value] : attributes) {
      if (key == attributeName) return value;
    }
    return std::nullopt;
  }
};

// The document element, or none (with `error` set) when the parser reports any
// error. Starts the XML library on first use.
std::optional<XmlElement> parseXml(std::string_view document, std::string& error);
