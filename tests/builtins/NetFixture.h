// A small in-memory net for testing built-ins that read and change places and
// tokens: places and tokens made directly, and an event sink that records.
#pragma once

#include "PrimitiveCall.h"

#include "model/AbstractTransition.h"
#include "model/Characteristic.h"
#include "model/Place.h"
#include "model/Token.h"
#include "model/TokenEntry.h"
#include "RecordingEvents.h"

#include <string>
#include <vector>

class NetFixture : public testing::Test {
 protected:
  NetFixture() { net_.prepare(&log_, "", "", &events_); }

  CPlace* place(const std::string& name) {
    CPlace* made = net_.adoptPlace(std::make_unique<CPlace>(net_));
    net_.placesTable().define(name, made);
    return made;
  }
  // A token registered under `name` with a "Default" number characteristic
  // of history length `history`, not yet in a place.
  CToken* token(const std::string& name, double value = 1.0, int history = 2, int priority = 0) {
    auto made = std::make_unique<CToken>(net_);
    made->setPriority(priority);
    made->putCharacteristic("Default", std::make_unique<CCharacteristic>(history, CDoubleValue(value)));
    made->chooseDefaultCharacteristic();
    CToken* token = net_.adoptToken(std::move(made));
    net_.tokensTable().define(name, token);
    return token;
  }
  // Puts the token into the place as a token entering the net.
  void put(CToken* token, CPlace* place) {
    token->setHost(place);
    place->addToken(token);
  }
  // The place's entries in list order.
  static std::vector<CTokenEntry*> entries(CPlace* place) {
    std::vector<CTokenEntry*> all;
    for (CGNObject* item : place->tokens()) all.push_back(static_cast<CTokenEntry*>(item));
    return all;
  }

  RecordingLog log_;
  RecordingEvents events_;
  CAbstractTransition net_;
};
