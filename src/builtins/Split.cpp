// split: makes a new token in a place, named after its source token, with the
// characteristics given as name and value pairs, and reports its entrance.
#include "builtins/Arguments.h"
#include "builtins/BuiltinFunctions.h"
#include "builtins/NetLimits.h"
#include "model/AbstractTransition.h"
#include "model/Characteristic.h"
#include "model/Place.h"
#include "model/Token.h"
#include "model/EventManager.h"

#include <string>

namespace {

constexpr int kFirstPair = 3;  // token, suffix, place, then name and value pairs

// The message of the first rule the arguments break, or empty when they keep them all.
std::string_view splitArgumentFault(const Arguments& args) {
  if (args.count() < kFirstPair || args.count() % 2 == 0) {
    return "invalid number of arguments to split: an odd number of arguments expected";
  }
  if (!args.fits(0, 't')) return "invalid arguments to split: the first argument of split must be a token object";
  if (!args.fits(1, 's')) return "invalid arguments to split: the second argument of split must be a string";
  if (!args.fits(2, 'p')) return "invalid arguments to split: the third argument of split must be a place object";
  for (int i = kFirstPair; i < args.count(); i += 2) {
    if (!args.fits(i, 's')) return "Invalid odd argument to split. String expected.";
    if (!args.fits(i + 1, 'a')) return "split: a characteristic's value is missing (its expression gave no value).";
  }
  return {};
}

// The new token with one characteristic per pair (a later pair of the same
// name replaces an earlier one) and its default characteristic chosen.
std::unique_ptr<CToken> tokenFromPairs(const Arguments& args, CAbstractTransition& net) {
  auto token = std::make_unique<CToken>(net);
  for (int i = kFirstPair; i < args.count(); i += 2) {
    token->putCharacteristic(args.text(i), std::make_unique<CCharacteristic>(kNamedHistory, args.at(i + 1)->clone()));
  }
  token->chooseDefaultCharacteristic();
  return token;
}

// Puts the token into the place as a token entering the net is put there
// (no capacity test, no characteristic function) and reports its entrance.
void placeNewToken(CAbstractTransition& net, std::unique_ptr<CToken> made, CPlace& place) {
  made->setHost(&place);
  made->setEntering(net.time());
  CToken* token = net.adoptToken(std::move(made));
  place.addToken(token);
  if (EventManager* events = net.events()) events->entrance(*token, place);
}

}  // namespace

VANTER_PRIMITIVE(primitiveSplit) {
  Arguments args(argc, argv, log);
  if (std::string_view fault = splitArgumentFault(args); !fault.empty()) return args.fail(fault);
  CAbstractTransition& net = args.token(0).net();
  const std::string name = args.text(1) + "_" + net.tokenName(&args.token(0));
  if (name.size() > NameTable::kMaxName) {
    return args.fail("split: the new token's name is longer than " + std::to_string(NameTable::kMaxName) +
                     " characters and is refused: " + name);
  }
  std::unique_ptr<CToken> made = tokenFromPairs(args, net);
  if (net.tokensTable().define(name, made.get()) < 0) {
    return args.fail("split: the tokens table refused the new token " + name + " (it holds " +
                     std::to_string(NameTable::kTokenCapacity) + " tokens at most).");
  }
  placeNewToken(net, std::move(made), args.place(2));
  giveTruth(result, true);
  return 1;
}
