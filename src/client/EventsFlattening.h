// EventsFlattening: an events document as flat records, one per
// characteristic of each event (one without a characteristic for an event
// that lists none, an exit for one), texts in UTF-8. gnxp's csv and jsonl
// formats are made this way from the documents of a run, in-process or on a
// server alike.
// Thread rule: one flattener per thread.
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <string_view>

#include <xercesc/util/XercesDefs.hpp>

XERCES_CPP_NAMESPACE_BEGIN
class SAX2XMLReader;
XERCES_CPP_NAMESPACE_END

// One record. For a merge, `token` is the token merged away and `into` the
// token it was merged into, whose characteristics the records carry.
struct EventRecord {
  int step = 0;
  std::string_view event;  // "entrance", "movement", "merge" or "exit"
  std::string_view token;
  std::string_view place;
  std::string_view into;  // only when hasInto
  bool hasInto = false;
  std::string_view characteristic;  // the next three only when hasCharacteristic
  std::string_view type;
  std::string_view value;
  bool hasCharacteristic = false;
};

class EventsFlattener {
 public:
  // REQUIRES: the XML library is started (initializeXerces).
  EventsFlattener();
  ~EventsFlattener();
  EventsFlattener(const EventsFlattener&) = delete;
  EventsFlattener& operator=(const EventsFlattener&) = delete;

  // Calls `emit` for each record of `document`, in document order, each
  // numbered `step`; the views last until `emit` returns. False with `error`
  // set when the document is not a well-formed events document.
  bool flatten(std::string_view document, int step, const std::function<void(const EventRecord&)>& emit,
               std::string& error);

 private:
  class Handler;
  std::unique_ptr<Handler> handler_;
  std::unique_ptr<xercesc::SAX2XMLReader> reader_;
};
