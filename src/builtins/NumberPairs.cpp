// The two-number forms of the arithmetic and comparison built-ins: what each
// gives for exactly two numbers, written as the built-in itself computes it,
// so that evaluation can skip the general call for the commonest case.
// "*" has none: its running product may keep either operand's NaN sign, and
// only its own loop gives the same one.
#include "builtins/BuiltinFunctions.h"

#include <iterator>

namespace {

bool plus(double a, double b, double* result) {
  *result = a + b;
  return true;
}

bool minus(double a, double b, double* result) {
  *result = a + (-1.0 * b);
  return true;
}

// Division by zero takes the full call, which reports it.
bool divide(double a, double b, double* result) {
  if (b == 0.0) return false;
  *result = a * (1.0 / b);
  return true;
}

double truth(bool value) { return value ? 1.0 : 0.0; }

bool less(double a, double b, double* result) {
  *result = truth(!(a > b) && !(a == b));
  return true;
}

bool greater(double a, double b, double* result) {
  *result = truth(a > b);
  return true;
}

bool lessEqual(double a, double b, double* result) {
  *result = truth(!(a > b));
  return true;
}

bool greaterEqual(double a, double b, double* result) {
  *result = truth(a > b || a == b);
  return true;
}

bool equal(double a, double b, double* result) {
  *result = truth(a == b);
  return true;
}

bool notEqual(double a, double b, double* result) {
  *result = truth(!(a == b));
  return true;
}

struct PairForm {
  PrimitiveFunction function;
  NumberPairForm form;
};

constexpr PairForm kPairForms[] = {
    {primitivePlus, plus},         {primitiveMinus, minus},
    {primitiveDivide, divide},     {primitiveLess, less},
    {primitiveGreater, greater},   {primitiveLessEqual, lessEqual},
    {primitiveGreaterEqual, greaterEqual}, {primitiveEqual, equal},
    {primitiveNotEqual, notEqual},
};

}  // namespace

NumberPairForm numberPairFormOf(PrimitiveFunction function) {
  for (const PairForm& row : kPairForms) {
    if (row.function == function) return row.form;
  }
  return nullptr;
}
