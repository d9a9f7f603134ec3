// The plot window built-ins openwindow, senddata and sendscalar: argument
// checks and the hand-over of each request to the user-interface services.
// Thread rule: run on the thread of the calling net; the services serialise.
#include "builtins/Arguments.h"
#include "builtins/BuiltinFunctions.h"
#include "base/UserServices.h"
#include "lang/Value.h"

#include <string>
#include <utility>
#include <vector>

namespace {

int truncated(const Arguments& args, int index) { return truncateToInt(args.number(index)); }

// Our own wording for a bound that the caller's program broke.
std::string outsideMessage(std::string_view builtin, std::string_view what, int value, int low, int high) {
  return std::string(builtin) + ": " + std::string(what) + " " + std::to_string(value) + " is outside " +
         std::to_string(low) + " to " + std::to_string(high);
}

bool isWindowId(int id) { return id >= 0 && id < kPlotWindowIds; }

int reportBadId(const Arguments& args, std::string_view builtin, int id) {
  return args.fail(outsideMessage(builtin, "window id", id, 0, kPlotWindowIds - 1));
}

// The report for a sample or scalar that the window refused.
int reportRefusal(const Arguments& args, std::string_view builtin, int id, PlotStatus status) {
  std::string where = " under id " + std::to_string(id);
  std::string message = std::string(builtin) + ": ";
  switch (status) {
    case PlotStatus::kNoWindow: message += "no window is open" + where; break;
    case PlotStatus::kWindowFull: message += "the window" + where + " already holds all the samples it has room for"; break;
    case PlotStatus::kTooFewValues: message += "the sample has fewer values than the window" + where + " has series"; break;
    case PlotStatus::kDone: break;
  }
  return args.fail(message);
}

bool hasOpenWindowShape(const Arguments& args) {
  return args.count() >= 4 && args.fits(0, 'n') && args.fits(1, 's') && args.fits(2, 'n') && args.fits(3, 'n');
}

// Fills the optional fixed range; false when the arguments after the fourth are not a pair of numbers.
bool readFixedRange(const Arguments& args, PlotWindowRequest& request) {
  if (args.count() == 4) return true;
  if (args.count() != 6 || !args.fits(4, 'n') || !args.fits(5, 'n')) return false;
  request.fixedRange = true;
  request.rangeMinimum = args.number(4);
  request.rangeMaximum = args.number(5);
  return true;
}

// Our own bounds on id, series count and capacity; empty when all hold.
std::string boundsMessage(const PlotWindowRequest& request) {
  if (!isWindowId(request.id)) return outsideMessage("openwindow", "window id", request.id, 0, kPlotWindowIds - 1);
  if (request.seriesCount < 1 || request.seriesCount > kMaxPlotSeries)
    return outsideMessage("openwindow", "series count", request.seriesCount, 1, kMaxPlotSeries);
  if (request.capacity < 1 || request.capacity > kMaxPlotCapacity)
    return outsideMessage("openwindow", "sample capacity", request.capacity, 1, kMaxPlotCapacity);
  return {};
}

// The sample that senddata's data argument stands for; false (and the index
// of the offending element in *bad) when a vector element is not a number.
bool sampleOf(const CTypedValue* data, std::vector<double>& sample, int* bad) {
  if (const CDoubleValue* number = asNumber(data)) {
    sample.push_back(number->number());
    return true;
  }
  const CVectorValue* vector = asVector(data);
  for (int i = 0; i < vector->count(); ++i) {
    const CDoubleValue* element = asNumber(vector->elementAt(i));
    if (element == nullptr) {
      *bad = i;
      return false;
    }
    sample.push_back(element->number());
  }
  return true;
}

}  // namespace

VANTER_PRIMITIVE(primitiveOpenWindow) {
  (void)currentCharacteristic;
  (void)context;
  Arguments args(argc, argv, log);
  if (!hasOpenWindowShape(args)) return args.fail("openwindow: OpenWindow expects id,name,dimensions and steps.");
  PlotWindowRequest request;
  request.id = truncated(args, 0);
  request.title = args.text(1);
  request.seriesCount = truncated(args, 2);
  request.capacity = truncated(args, 3);
  if (!readFixedRange(args, request)) return args.fail("openwindow: numeric argument expected");
  std::string outside = boundsMessage(request);
  if (!outside.empty()) return args.fail(outside);
  userServices().openPlot(request);
  giveNumber(result, 1.0);
  return 1;
}

VANTER_PRIMITIVE(primitiveSendData) {
  (void)currentCharacteristic;
  (void)context;
  Arguments args(argc, argv, log);
  if (!args.match("nn") && !args.match("nv")) return args.fail("senddata: SendData expects id and a vector");
  int id = truncated(args, 0);
  if (!isWindowId(id)) return reportBadId(args, "senddata", id);
  std::vector<double> sample;
  int bad = 0;
  if (!sampleOf(argv[1], sample, &bad))
    return args.fail("senddata: element " + std::to_string(bad) + " of the data is not a number");
  PlotStatus status = userServices().addSample(id, std::move(sample));
  if (status != PlotStatus::kDone) return reportRefusal(args, "senddata", id, status);
  giveNumber(result, 1.0);
  return 1;
}

VANTER_PRIMITIVE(primitiveSendScalar) {
  (void)currentCharacteristic;
  (void)context;
  Arguments args(argc, argv, log);
  if (!args.match("nn")) return args.fail("sendscalar: two numeric arguments expected");
  int id = truncated(args, 0);
  if (!isWindowId(id)) return reportBadId(args, "sendscalar", id);
  PlotStatus status = userServices().showScalar(id, args.number(1));
  if (status != PlotStatus::kDone) return reportRefusal(args, "sendscalar", id, status);
  giveNumber(result, 1.0);
  return 1;
}
