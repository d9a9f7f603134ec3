// XMLEventSender: records what a stepping net reports as elements of an
// events document and sends the document as the body of a STEP response.
// Thread rule: used only by its conversation's thread (net and proxy).
#pragma once

#include <string>

#include "model/EventManager.h"
#include "server/EventsDocument.h"

class CAbstractTransition;
class ResponseSink;

class XMLEventSender final : public EventManager {
 public:
  // Both are borrowed and must outlive the sender: `sink` sends the document,
  // `net` names tokens and places.
  XMLEventSender(ResponseSink& sink, CAbstractTransition& net);
  XMLEventSender(const XMLEventSender&) = delete;
  XMLEventSender& operator=(const XMLEventSender&) = delete;

  bool probe(std::uintptr_t) override { return true; }
  // Each adds one element to the current document; reports before the first
  // reset are dropped.
  void movement(const CToken& token, const CPlace& place) override;
  void entrance(const CToken& token, const CPlace& place) override;
  void exit(const CToken& token, const CPlace& place) override;
  void merge(const CToken& oldToken, const CPlace& place, const CToken& newToken) override;

  // Discards the current document and starts a new, empty one.
  void reset();
  // Hands the current document to the sink; nothing without a document.
  // A failed send is the sink's to report.
  void send();

 private:
  // The "char" children of `token`, in its characteristics' name order.
  void addCharacteristics(const CToken& token);

  ResponseSink* sink_;
  CAbstractTransition* net_;
  EventsDocument document_;
  std::string scratch_;  // the text of one value, reused between reports
};
