// The engine layer Calvix talks to: the operations of the MATLAB Engine API
// that it uses, with the same meaning, carried out by an embedded GNU Octave
// interpreter. Thread rule: one thread only (the interpreter is process-wide).
#pragma once

#include <memory>

struct Engine;   // a handle on the process's interpreter
struct mxArray;  // one value copied into or out of the workspace

// Starts the interpreter (once per process; calls while it runs share it) and
// returns a new handle that the caller closes with engClose. The start command
// is ignored. Null when the interpreter cannot start, or was shut down.
Engine* engOpen(const char* startCommand);
// Shows or hides the engine's window; there is none, so this only succeeds (0).
int engSetVisible(Engine* engine, bool visible);
// Copies `value` (borrowed) into the workspace variable `name`; 0 on success,
// 1 when the name is refused.
int engPutVariable(Engine* engine, const char* name, const mxArray* value);
// A new copy of the workspace variable `name`, owned by the caller (free it
// with mxDestroyArray); null when the variable does not exist.
mxArray* engGetVariable(Engine* engine, const char* name);
// Runs one statement in the workspace, printing nothing of its results. 0 on
// success; nonzero when it fails to parse or raises an error, which is caught
// (its message goes to standard error) and leaves the workspace as the
// statement left it.
int engEvalString(Engine* engine, const char* statement);
// Releases the handle; closing the last one shuts the interpreter down for
// good. Always 0.
int engClose(Engine* engine);

// A new scalar array, owned by the caller.
mxArray* mxCreateDoubleScalar(double value);
// True when the array is a character array.
bool mxIsChar(const mxArray* array);
// The characters of a character array (column by column, as stored) as a new
// terminated string that the caller frees with mxFree; null for other arrays.
char* mxArrayToString(const mxArray* array);
// Frees a string from mxArrayToString; null is allowed.
void mxFree(void* memory);
// Frees an array; null is allowed.
void mxDestroyArray(mxArray* array);

// Owning handles for C++ callers.
struct EngineCloser {
  void operator()(Engine* engine) const { engClose(engine); }
};
struct ArrayDestroyer {
  void operator()(mxArray* array) const { mxDestroyArray(array); }
};
struct TextFreer {
  void operator()(char* text) const { mxFree(text); }
};
using EnginePtr = std::unique_ptr<Engine, EngineCloser>;
using ArrayPtr = std::unique_ptr<mxArray, ArrayDestroyer>;
using TextPtr = std::unique_ptr<char, TextFreer>;
