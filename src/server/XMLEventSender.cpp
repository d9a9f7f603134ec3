// XMLEventSender: the four event reports and the sending of the document.
#include "server/XMLEventSender.h"

#include "model/AbstractTransition.h"
#include "model/Token.h"
#include "server/ClientToGNProxy.h"

XMLEventSender::XMLEventSender(ResponseSink& sink, CAbstractTransition& net) : sink_(&sink), net_(&net) {}

void XMLEventSender::movement(const CToken& token, const CPlace& place) {
  if (!document_.isOpen()) return;
  document_.openEvent("movement", {{"token", net_->tokenName(&token)}, {"place", net_->placeName(&place)}});
  addCharacteristics(token);
  document_.closeEvent();
}

void XMLEventSender::entrance(const CToken& token, const CPlace& place) {
  if (!document_.isOpen()) return;
  document_.openEvent("entrance", {{"token", net_->tokenName(&token)}, {"place", net_->placeName(&place)}});
  addCharacteristics(token);
  document_.closeEvent();
}

void XMLEventSender::exit(const CToken& token, const CPlace& place) {
  if (!document_.isOpen()) return;
  document_.openEvent("exit", {{"token", net_->tokenName(&token)}, {"place", net_->placeName(&place)}});
  document_.closeEvent();
}

void XMLEventSender::merge(const CToken& oldToken, const CPlace& place, const CToken& newToken) {
  if (!document_.isOpen()) return;
  document_.openEvent("merge", {{"oldtoken", net_->tokenName(&oldToken)},
                                {"place", net_->placeName(&place)},
                                {"newtoken", net_->tokenName(&newToken)}});
  addCharacteristics(newToken);
  document_.closeEvent();
}

void XMLEventSender::addCharacteristics(const CToken& token) {
  for (const auto& [name, characteristic] : token.characteristics()) {
    const CTypedValue& value = characteristic->value();
    scratch_.clear();
    appendText(scratch_, value);
    document_.addChar(name, value.typeName(), scratch_);
  }
}

void XMLEventSender::reset() { document_.reset(); }

void XMLEventSender::send() {
  if (!document_.isOpen()) return;
  sink_->sendResponse(document_.finish());
}
