// The step's predicate and characteristic function error reports.
#include "model/StepReports.h"

#include "model/AbstractTransition.h"
#include "model/Place.h"
#include "model/SimpleTransition.h"

#include <iostream>
#include <string>

namespace {

// What a report prints for an object the net cannot name, or for no object at all.
const std::string kUnnamed = "NotFound.";

const std::string& nameOfTransition(const CAbstractTransition& net, const CSimpleTransition* transition) {
  return transition == nullptr ? kUnnamed : net.transitionName(transition);
}

const std::string& nameOfPlace(const CAbstractTransition& net, const CPlace* place) {
  return place == nullptr ? kUnnamed : net.placeName(place);
}

const std::string& nameOfFunction(const CAbstractTransition& net, const CFunction* function) {
  return function == nullptr ? kUnnamed : net.functionName(function);
}

// The report goes out in one write so that it is never interleaved with
// another conversation's report line by line.
void writeReport(const std::string& report) {
  std::cerr << report;
  std::cerr.flush();
}

}  // namespace

void reportPredicateError(const CAbstractTransition& net, const CSimpleTransition& transition, int row,
                          int column, const CFunction* predicate) {
  std::string report = "\n***Error on step " + std::to_string(net.time()) + " while executing predicate.\n";
  report += "\n\t\t      of Transition: " + nameOfTransition(net, &transition);
  report += "\n\t\t                  i: " + std::to_string(row);
  report += "\n\t\t                  j: " + std::to_string(column);
  report += "\n\t\t     predicate name: " + nameOfFunction(net, predicate) + "\n";
  writeReport(report);
}

void reportCharacteristicError(const CAbstractTransition& net, const CToken& token, const CPlace& receiver,
                               const CPlace* origin) {
  std::string report =
      "\n***Error on step " + std::to_string(net.time()) + " while executing characteristic function.\n";
  report += "***Name of token and place involved:\n\n\t\t              token: " + net.tokenName(&token);
  report += "\n\t\t              place: " + nameOfPlace(net, &receiver);
  report += "\n\t\t      of Transition: " + nameOfTransition(net, receiver.inputOf());
  report += "\n\t\treceived from place: " + nameOfPlace(net, origin);
  report += "\n\t\t      of Transition: " +
            nameOfTransition(net, origin == nullptr ? nullptr : origin->outputOf()) + "\n";
  report += "\n\t\t      function name: " + nameOfFunction(net, receiver.characteristicFunction()) + "\n";
  writeReport(report);
}
