// The engine layer on an embedded GNU Octave interpreter: the only file that
// sees Octave's headers. Octave's exceptions stop here and become the null or
// nonzero results of the engine operations.
#include "adapter/Engine.h"

#include <octave/oct.h>
#include <octave/interpreter.h>
#include <octave/parse.h>
#include <octave/quit.h>
#include <octave/utils.h>

#include <cstdlib>
#include <cstring>
#include <iostream>
#include <new>
#include <string>

struct Engine {
  octave::interpreter* interpreter;
};

struct mxArray {
  octave_value value;
};

namespace {

// Octave allows one interpreter per process: the first engOpen starts it, and
// it is shut down when its last handle closes. It must not outlive main:
// its shutdown at static destruction runs after libraries it calls are gone
// and crashes. So neither a failed start nor a shut-down one is started again.
struct SharedInterpreter {
  std::unique_ptr<octave::interpreter> interpreter;
  bool attempted = false;
  int openHandles = 0;
};

SharedInterpreter& shared() {
  static SharedInterpreter instance;
  return instance;
}

std::unique_ptr<octave::interpreter> startInterpreter() {
  try {
    auto interpreter = std::make_unique<octave::interpreter>();
    interpreter->initialize_history(false);
    interpreter->initialize();
    if (!interpreter->initialized() || interpreter->execute() != 0) return nullptr;
    return interpreter;
  } catch (const std::exception& failure) {
    std::cerr << "Octave failed to start: " << failure.what() << '\n';
    return nullptr;
  }
}

std::unique_ptr<mxArray> arrayOf(const octave_value& value) { return std::make_unique<mxArray>(mxArray{value}); }

// Runs a statement; false after an error, whose message is shown on standard error.
bool evaluate(octave::interpreter& interpreter, const std::string& statement) {
  int parseStatus = 0;
  try {
    interpreter.eval_string(statement, true, parseStatus, 0);
    return parseStatus == 0;
  } catch (const octave::execution_exception& error) {
    interpreter.handle_exception(error);
  } catch (const octave::exit_exception&) {
    std::cerr << "error: exit refused inside a called function\n";
  } catch (const octave::interrupt_exception&) {
    interpreter.recover_from_exception();
  } catch (const std::bad_alloc&) {
    std::cerr << "error: out of memory\n";
    interpreter.recover_from_exception();
  }
  return false;
}

}  // namespace

Engine* engOpen(const char*) {
  SharedInterpreter& state = shared();
  if (!state.attempted) {
    state.attempted = true;
    state.interpreter = startInterpreter();
  }
  if (!state.interpreter) return nullptr;
  ++state.openHandles;
  return std::make_unique<Engine>(Engine{state.interpreter.get()}).release();
}

int engSetVisible(Engine*, bool) { return 0; }

int engPutVariable(Engine* engine, const char* name, const mxArray* value) {
  if (!octave::valid_identifier(name)) return 1;
  try {
    engine->interpreter->assign(name, value->value);
    return 0;
  } catch (const octave::execution_exception& error) {
    engine->interpreter->handle_exception(error);
    return 1;
  }
}

mxArray* engGetVariable(Engine* engine, const char* name) {
  if (!octave::valid_identifier(name)) return nullptr;
  octave_value value = engine->interpreter->varval(name);
  if (!value.is_defined()) return nullptr;
  return arrayOf(value).release();
}

int engEvalString(Engine* engine, const char* statement) { return evaluate(*engine->interpreter, statement) ? 0 : 1; }

int engClose(Engine* engine) {
  std::unique_ptr<Engine> released(engine);
  SharedInterpreter& state = shared();
  if (--state.openHandles == 0) state.interpreter.reset();
  return 0;
}

mxArray* mxCreateDoubleScalar(double value) { return arrayOf(octave_value(value)).release(); }

bool mxIsChar(const mxArray* array) { return array->value.is_string(); }

char* mxArrayToString(const mxArray* array) {
  if (!mxIsChar(array)) return nullptr;
  charNDArray characters = array->value.char_array_value();
  auto count = static_cast<std::size_t>(characters.numel());
  auto* text = static_cast<char*>(std::malloc(count + 1));
  if (text == nullptr) return nullptr;
  std::memcpy(text, characters.data(), count);
  text[count] = '\0';
  return text;
}

void mxFree(void* memory) { std::free(memory); }

void mxDestroyArray(mxArray* array) { std::unique_ptr<mxArray> released(array); }
