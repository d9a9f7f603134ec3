// The occupancy picture of a run: the mean number of tokens in each of the
// busiest places against the step, one line per place in the plot windows'
// colours, its 95% confidence band shaded, the places named in a legend and
// the end of the warm-up marked; drawn offscreen with the plot windows'
// drawing code and written as PNG.
// Thread rule: the thread that owns the process's GUI application (gnxp's main thread).
#pragma once

#include <string>
#include <vector>

class OccupancyBins;

// A run is drawn with at most this many points per place.
constexpr int kPlotPoints = 500;
// At most this many places are drawn: the busiest (the largest mean number of tokens).
constexpr int kPlottedPlaces = 8;

// Steps per point for a run of `steps` steps.
int plotBinWidth(int steps);

// Writes the picture of `occupancy` (places named `places`, UTF-8) to `path`.
// False with `error` set when the file cannot be written or there is nothing to draw.
bool writeOccupancyPlot(const std::string& path, const OccupancyBins& occupancy, const std::vector<std::string>& places,
                        int warmup, std::string& error);
