#pragma once

#include <string>
#include <vector>

// Our program and a reference measured in turns (ours, reference, ours, ...),
// each run into a fresh target, so that a disk or a machine whose speed drifts
// during the run slows both sides alike. Every pair gives its own ratio.
namespace Turns {

double now();     // wall clock, seconds
double cpuNow();  // CPU time of this process, seconds
std::string load(); // the three load averages of /proc/loadavg

// Starts a program (searched in PATH) with its standard output on outFd
// (-1 keeps ours); returns its process id, or -1.
int start(const std::vector<std::string>& argv, int outFd = -1);
// Waits for a started program; true when it exited with 0. cpuSeconds, when
// given, receives the CPU time the program used, peakKilobytes its largest
// resident size.
bool finish(int pid, double* cpuSeconds = nullptr, long* peakKilobytes = nullptr);
inline bool run(const std::vector<std::string>& argv, double* cpuSeconds = nullptr)
{
    return finish(start(argv), cpuSeconds);
}

double median(std::vector<double> values);

// One measure taken in pairs. The ratio of a pair is ours ÷ reference.
struct Log
{
    std::string measure;
    std::string unit;
    std::string goal; // e.g. ">= 0.80"; "" when there is none
    std::vector<double> ours;
    std::vector<double> reference;
    std::string loadBefore;

    void add(double ourValue, double referenceValue);
    std::vector<double> ratios() const;
    double medianRatio() const { return median(ratios()); }
    // Every pair, the medians and the load before and after.
    void print(bool everyPair = true) const;
};

} // namespace Turns
