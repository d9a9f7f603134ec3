// The plot built-ins called directly: argument rules with their exact
// messages, what each hands to the services, and the refusals of our own
// wording for ids, counts and samples that a window cannot take.
#include "PlotRecordingServices.h"
#include "PlotCall.h"

#include "builtins/BuiltinFunctions.h"

#include <functional>

namespace {

const char* kOpenShape = "openwindow: OpenWindow expects id,name,dimensions and steps.";
const char* kOpenNumeric = "openwindow: numeric argument expected";
const char* kSendData = "senddata: SendData expects id and a vector";
const char* kSendScalar = "sendscalar: two numeric arguments expected";

struct Refusal {
  const char* label;
  PrimitiveFunction function;
  std::function<Call()> call;
  std::string message;
};

void expectRefusals(const std::vector<Refusal>& rows) {
  for (const Refusal& row : rows) {
    SCOPED_TRACE(row.label);
    Outcome outcome = row.call().run(row.function);
    EXPECT_FALSE(outcome.ok);
    EXPECT_EQ(outcome.result, nullptr);
    EXPECT_EQ(outcome.message(), row.message);
  }
}

}  // namespace

TEST(OpenWindowBuiltin, HandsTheTruncatedRequestToTheServices) {
  RecordingServices services;
  ServicesScope scope(services);
  EXPECT_EQ(Call(num(3.9), str("Queue"), num(2.7), num(100.2)).run(primitiveOpenWindow).number(), 1.0);
  EXPECT_EQ(Call(num(0), str("Fixed"), num(1), num(10), num(-1.5), num(2.5)).run(primitiveOpenWindow).number(), 1.0);
  ASSERT_EQ(services.opened.size(), 2u);
  const PlotWindowRequest& plain = services.opened[0];
  EXPECT_EQ(plain.id, 3);
  EXPECT_EQ(plain.title, "Queue");
  EXPECT_EQ(plain.seriesCount, 2);
  EXPECT_EQ(plain.capacity, 100);
  EXPECT_FALSE(plain.fixedRange);
  const PlotWindowRequest& fixed = services.opened[1];
  EXPECT_TRUE(fixed.fixedRange);
  EXPECT_EQ(fixed.rangeMinimum, -1.5);
  EXPECT_EQ(fixed.rangeMaximum, 2.5);
}

TEST(OpenWindowBuiltin, RefusesWrongArgumentsAndOutOfBoundIds) {
  RecordingServices services;
  ServicesScope scope(services);
  expectRefusals({
      {"three arguments", primitiveOpenWindow, [] { return Call(num(0), str("t"), num(1)); }, kOpenShape},
      {"title is a number", primitiveOpenWindow, [] { return Call(num(0), num(1), num(1), num(5)); }, kOpenShape},
      {"id is a string", primitiveOpenWindow, [] { return Call(str("0"), str("t"), num(1), num(5)); }, kOpenShape},
      {"capacity missing", primitiveOpenWindow, [] { return Call(num(0), str("t"), num(1)).missing(); }, kOpenShape},
      {"five arguments", primitiveOpenWindow, [] { return Call(num(0), str("t"), num(1), num(5), num(0)); },
       kOpenNumeric},
      {"seven arguments", primitiveOpenWindow,
       [] { return Call(num(0), str("t"), num(1), num(5), num(0), num(1), num(2)); }, kOpenNumeric},
      {"range maximum a string", primitiveOpenWindow,
       [] { return Call(num(0), str("t"), num(1), num(5), num(0), str("1")); }, kOpenNumeric},
      {"id 15", primitiveOpenWindow, [] { return Call(num(15), str("t"), num(1), num(5)); },
       "openwindow: window id 15 is outside 0 to 14"},
      {"id -1", primitiveOpenWindow, [] { return Call(num(-1), str("t"), num(1), num(5)); },
       "openwindow: window id -1 is outside 0 to 14"},
      {"no series", primitiveOpenWindow, [] { return Call(num(0), str("t"), num(0), num(5)); },
       "openwindow: series count 0 is outside 1 to 256"},
      {"no capacity", primitiveOpenWindow, [] { return Call(num(0), str("t"), num(1), num(0.5)); },
       "openwindow: sample capacity 0 is outside 1 to 10000000"},
      {"capacity too large", primitiveOpenWindow, [] { return Call(num(0), str("t"), num(1), num(1e12)); },
       "openwindow: sample capacity -2147483648 is outside 1 to 10000000"},
  });
  EXPECT_TRUE(services.opened.empty());
}

TEST(SendDataBuiltin, SendsANumberAsOneValueAndAVectorAsItsElements) {
  RecordingServices services;
  ServicesScope scope(services);
  EXPECT_EQ(Call(num(2.5), num(7)).run(primitiveSendData).number(), 1.0);
  EXPECT_EQ(Call(num(4), vec({1, -2, 3.5})).run(primitiveSendData).number(), 1.0);
  ASSERT_EQ(services.samples.size(), 2u);
  EXPECT_EQ(services.samples[0], (std::pair<int, std::vector<double>>{2, {7.0}}));
  EXPECT_EQ(services.samples[1], (std::pair<int, std::vector<double>>{4, {1.0, -2.0, 3.5}}));
}

TEST(SendDataBuiltin, RefusesWrongArgumentsAndSamplesTheWindowCannotTake) {
  RecordingServices services;
  ServicesScope scope(services);
  expectRefusals({
      {"one argument", primitiveSendData, [] { return Call(num(0)); }, kSendData},
      {"data is a string", primitiveSendData, [] { return Call(num(0), str("1")); }, kSendData},
      {"id is a vector", primitiveSendData, [] { return Call(vec({0}), num(1)); }, kSendData},
      {"three arguments", primitiveSendData, [] { return Call(num(0), num(1), num(2)); }, kSendData},
      {"id 20", primitiveSendData, [] { return Call(num(20), num(1)); },
       "senddata: window id 20 is outside 0 to 14"},
      {"an element is a string", primitiveSendData, [] { return Call(num(0), vecOf(num(1), str("x"))); },
       "senddata: element 1 of the data is not a number"},
  });
  EXPECT_TRUE(services.samples.empty());

  struct Row {
    PlotStatus status;
    std::string message;
  };
  const Row rows[] = {
      {PlotStatus::kNoWindow, "senddata: no window is open under id 3"},
      {PlotStatus::kWindowFull, "senddata: the window under id 3 already holds all the samples it has room for"},
      {PlotStatus::kTooFewValues, "senddata: the sample has fewer values than the window under id 3 has series"},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.message);
    services.sampleStatus = row.status;
    Outcome outcome = Call(num(3), num(1)).run(primitiveSendData);
    EXPECT_FALSE(outcome.ok);
    EXPECT_EQ(outcome.message(), row.message);
  }
}

TEST(SendScalarBuiltin, ShowsTheValueOrRefuses) {
  RecordingServices services;
  ServicesScope scope(services);
  EXPECT_EQ(Call(num(1), num(2.5)).run(primitiveSendScalar).number(), 1.0);
  ASSERT_EQ(services.scalars.size(), 1u);
  EXPECT_EQ(services.scalars[0], (std::pair<int, double>{1, 2.5}));
  expectRefusals({
      {"a string value", primitiveSendScalar, [] { return Call(num(1), str("2")); }, kSendScalar},
      {"one argument", primitiveSendScalar, [] { return Call(num(1)); }, kSendScalar},
      {"id 15", primitiveSendScalar, [] { return Call(num(15), num(1)); },
       "sendscalar: window id 15 is outside 0 to 14"},
  });
  services.scalarStatus = PlotStatus::kNoWindow;
  EXPECT_EQ(Call(num(1), num(2.5)).run(primitiveSendScalar).message(), "sendscalar: no window is open under id 1");
}

TEST(UnattendedServices, KeepWindowBookkeepingLikeRealWindows) {
  CUnattendedServices services;
  ServicesScope scope(services);
  EXPECT_EQ(Call(num(5), num(1)).run(primitiveSendData).message(), "senddata: no window is open under id 5");
  ASSERT_TRUE(Call(num(5), str("w"), num(2), num(2)).run(primitiveOpenWindow).ok);
  EXPECT_EQ(Call(num(5), num(1)).run(primitiveSendData).message(),
            "senddata: the sample has fewer values than the window under id 5 has series");
  EXPECT_TRUE(Call(num(5), vec({1, 2})).run(primitiveSendData).ok);
  EXPECT_TRUE(Call(num(5), vec({1, 2, 3})).run(primitiveSendData).ok);
  EXPECT_EQ(Call(num(5), vec({1, 2})).run(primitiveSendData).message(),
            "senddata: the window under id 5 already holds all the samples it has room for");
  EXPECT_TRUE(Call(num(5), num(9)).run(primitiveSendScalar).ok);
  // Opening again under the id starts an empty window there.
  ASSERT_TRUE(Call(num(5), str("w"), num(1), num(1)).run(primitiveOpenWindow).ok);
  EXPECT_TRUE(Call(num(5), num(1)).run(primitiveSendData).ok);
}
