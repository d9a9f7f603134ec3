// The core's door to the user interface: the requests that built-ins on
// connection threads make of a person (numbers, texts, message boxes) and of
// plot windows. Thread rule: every operation may be called from any thread
// and returns once the request has been handled; the installed services are
// swapped atomically and must outlive every call made through them.
#pragma once

#include <array>
#include <cstddef>
#include <mutex>
#include <string>
#include <string_view>
#include <vector>

class CSimpleInterface;

// Plot windows are registered by id; ids lie in 0 .. kPlotWindowIds - 1.
constexpr int kPlotWindowIds = 15;
// Bounds that keep a window's drawing and storage finite: a window plots
// 1 .. kMaxPlotSeries series over 1 .. kMaxPlotCapacity sample slots.
constexpr int kMaxPlotSeries = 256;
constexpr int kMaxPlotCapacity = 10'000'000;
// An answer to the text request holds at most this many characters; longer ones are cut.
constexpr std::size_t kMaxInputText = 999;

// What openwindow asks for. The range is used only when fixedRange is set.
struct PlotWindowRequest {
  int id = 0;
  std::string title;
  int seriesCount = 1;
  int capacity = 1;
  bool fixedRange = false;
  double rangeMinimum = 0.0;
  double rangeMaximum = 0.0;
};

// The outcome of handing a sample or a scalar to the window under an id.
enum class PlotStatus {
  kDone,
  kNoWindow,      // no window was opened under the id
  kWindowFull,    // the window already holds as many samples as its capacity
  kTooFewValues,  // the sample has fewer values than the window has series
};

// The checks every plot window applies to a new sample, whatever draws it.
PlotStatus checkSample(int seriesCount, int capacity, int received, std::size_t values);

class CUserServices {
 public:
  virtual ~CUserServices() = default;

  // Asks for a number with `prompt`, showing `defaultValue`; the answer, or
  // the default when the person cancels.
  virtual double askNumber(CSimpleInterface& log, std::string_view prompt, double defaultValue) = 0;
  // Asks for a text; the answer (at most kMaxInputText characters), or the
  // empty text when the person cancels.
  virtual std::string askText(CSimpleInterface& log, std::string_view prompt) = 0;
  // Shows `text` in a modal box captioned "Message" until it is closed.
  virtual void showMessage(CSimpleInterface& log, std::string_view text) = 0;

  // Opens a window under request.id (0 .. kPlotWindowIds - 1, checked by the
  // caller); a window already under that id stays open but loses the id.
  virtual void openPlot(const PlotWindowRequest& request) = 0;
  // Adds one sample to the window under `id`; only kDone stores it.
  virtual PlotStatus addSample(int id, std::vector<double> values) = 0;
  // Shows `value` as the window's time label; kDone or kNoWindow.
  virtual PlotStatus showScalar(int id, double value) = 0;
};

// The answers given when no person is there (tests, gnxp, the headless
// program): a number request answers its default, a text request the empty
// text, a message goes to the log, each with a log line saying so. Plot
// windows are bare bookkeeping (series, capacity, samples received), so the
// same requests succeed or fail as they would with windows.
// Thread rule: any thread; the bookkeeping is guarded by mutex_.
class CUnattendedServices : public CUserServices {
 public:
  double askNumber(CSimpleInterface& log, std::string_view prompt, double defaultValue) override;
  std::string askText(CSimpleInterface& log, std::string_view prompt) override;
  void showMessage(CSimpleInterface& log, std::string_view text) override;
  void openPlot(const PlotWindowRequest& request) override;
  PlotStatus addSample(int id, std::vector<double> values) override;
  PlotStatus showScalar(int id, double value) override;

 private:
  struct Window {
    bool open = false;
    int seriesCount = 0;
    int capacity = 0;
    int received = 0;
  };
  // REQUIRES: 0 <= id < kPlotWindowIds and mutex_ held.
  Window& windowAt(int id);

  std::mutex mutex_;
  std::array<Window, kPlotWindowIds> windows_;  // guarded by mutex_
};

// Installs `services` for the whole process (borrowed: it must outlive every
// call through it); null restores the process's CUnattendedServices.
void installUserServices(CUserServices* services);
// The installed services, or the process's CUnattendedServices when none are.
CUserServices& userServices();
