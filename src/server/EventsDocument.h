// EventsDocument: a streaming writer of the events document: the ISO-8859-1
// declaration, the root "events" and one element per event, pretty-printed
// with two-space indentation, text content without added white space.
// Thread rule: used by one conversation's thread.
//
//   <?xml version="1.0" encoding="ISO-8859-1"?>
//   <events>
//     <movement token="t" place="p">
//       <char name="Default" type="double">1</char>
//     </movement>
//     <exit token="t" place="q"/>
//   </events>
// A document without events is "<events/>" after the declaration.
#pragma once

#include <initializer_list>
#include <string_view>
#include <utility>

#include "server/TextBuffer.h"

class EventsDocument {
 public:
  using Attribute = std::pair<std::string_view, std::string_view>;

  // Discards the current document and starts a new, empty one.
  void reset();
  // False from construction until the first reset.
  bool isOpen() const { return open_; }

  // Starts an event element with its attributes, in order.
  // REQUIRES: isOpen() and no event is open.
  void openEvent(std::string_view element, std::initializer_list<Attribute> attributes);
  // Adds a "char" child to the open event.
  void addChar(std::string_view name, std::string_view type, std::string_view text);
  // Ends the open event.
  void closeEvent();

  // The whole document as it stands, closed; valid until the next change.
  // Events added later still belong to the same document.
  // REQUIRES: isOpen() and no event is open.
  std::string_view finish();

 private:
  // Removes what finish appended, so that the document grows on.
  void dropClosing();

  TextBuffer text_;
  std::string_view openElement_;
  bool open_ = false;
  bool hasEvents_ = false;
  bool eventOpen_ = false;
  bool eventHasChildren_ = false;
  std::size_t closingLength_ = 0;  // bytes the last finish appended to text_
};
