// The step's own error reports, written to standard error after a function's
// runtime error report: one for a predicate, one for a characteristic function
// run on a token arriving through a transition.
// Thread rule: called by the thread that steps the net; each report is one write.
#pragma once

class CAbstractTransition;
class CFunction;
class CPlace;
class CSimpleTransition;
class CToken;

// Reports a failed predicate of `transition` at cell (row, column).
void reportPredicateError(const CAbstractTransition& net, const CSimpleTransition& transition, int row,
                          int column, const CFunction* predicate);

// Reports a failed characteristic function of `receiver`, run on `token`,
// which came from `origin` (its host at the time; may be null).
void reportCharacteristicError(const CAbstractTransition& net, const CToken& token, const CPlace& receiver,
                               const CPlace* origin);
