// Parsing of the special forms: each reads its head, its own words (the
// variable, "in") and its argument list, then checks its argument count.
#include "lang/Forms.h"

#include "lang/Expression.h"
#include "lang/Reader.h"

bool CFormNode::skipHead(CSourceStream& in) {
  std::string head;
  return readToken(in, head);
}

bool CFormNode::readLocal(CSourceStream& in, int* slot) {
  std::string token;
  return readToken(in, token) && classifyToken(owner(), token, slot) == TokenClass::Local;
}

// for -> "(" "for" local from to step {body} ")"
bool CForNode::parse(CSourceStream& in) {
  if (!skipHead(in)) return false;
  if (!readLocal(in, &variable_)) return syntaxError(log(), in, "GNVCFL syntax error: Unknown control variable identifier.");
  if (!parseArguments(in)) return false;
  if (count() < 1) return syntaxError(log(), in, "GNVCFL syntax error: No body in for.");
  // Evaluation needs all three of from, to and step.
  if (count() < 3) return syntaxError(log(), in, "GNVCFL syntax error: for needs from, to and step after its variable.");
  return true;
}

// while -> "(" "while" condition body {body} ")"
bool CWhileNode::parse(CSourceStream& in) {
  if (!skipHead(in) || !parseArguments(in)) return false;
  if (count() < 2) return syntaxError(log(), in, "GNVCFL syntax error : check while syntax");
  return true;
}

// foreach -> "(" "foreach" local "in" collection body {body} ")"
bool CForEachNode::parse(CSourceStream& in) {
  if (!skipHead(in)) return false;
  if (!readLocal(in, &variable_)) return syntaxError(log(), in, "GNVCFL syntax error : Local variable expected.");
  std::string word;
  if (!readToken(in, word) || word != "in") return syntaxError(log(), in, "GNVCFL syntax error : \"in\" expected.");
  if (!parseArguments(in)) return false;
  if (count() < 2) return syntaxError(log(), in, "GNVCFL syntax error : check foreach syntax.");
  return true;
}

// if -> "(" "if" condition then else ")"
bool CIfNode::parse(CSourceStream& in) {
  if (!skipHead(in) || !parseArguments(in)) return false;
  if (count() != 3) return syntaxError(log(), in, "GNVCFL syntax error : check if syntax.");
  return true;
}

// let -> "(" "let" local value ")"
bool CLetNode::parse(CSourceStream& in) {
  if (!skipHead(in)) return false;
  if (!readLocal(in, &variable_)) return syntaxError(log(), in, "GNVCFL syntax error : Local variable expected.");
  if (!parseArguments(in)) return false;
  if (count() != 1) return syntaxError(log(), in, "GNVCFL syntax error : check let syntax.");
  return true;
}

// and -> "(" "and" {argument} ")"
bool CAndNode::parse(CSourceStream& in) { return skipHead(in) && parseArguments(in); }

// or -> "(" "or" {argument} ")"
bool COrNode::parse(CSourceStream& in) { return skipHead(in) && parseArguments(in); }
