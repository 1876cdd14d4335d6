#include "Turns.h"

#include <algorithm>
#include <cstdio>
#include <ctime>
#include <fstream>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

namespace Turns {

namespace {

double seconds(clockid_t clock)
{
    timespec t{};
    clock_gettime(clock, &t);
    return double(t.tv_sec) + double(t.tv_nsec) * 1e-9;
}

} // namespace

double now()
{
    return seconds(CLOCK_MONOTONIC);
}

double cpuNow()
{
    return seconds(CLOCK_PROCESS_CPUTIME_ID);
}

std::string load()
{
    std::ifstream in("/proc/loadavg");
    std::string one, five, fifteen;
    in >> one >> five >> fifteen;
    return one + " " + five + " " + fifteen;
}

int start(const std::vector<std::string>& argv, int outFd)
{
    // posix_spawn: the least a reference program can cost us to start.
    std::vector<char*> args;
    for (const std::string& a : argv)
        args.push_back(const_cast<char*>(a.c_str()));
    args.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    if (outFd >= 0)
        posix_spawn_file_actions_adddup2(&actions, outFd, STDOUT_FILENO);
    pid_t pid = -1;
    const int error = posix_spawnp(&pid, args[0], &actions, nullptr, args.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    return error == 0 ? pid : -1;
}

bool finish(int pid, double* cpuSeconds, long* peakKilobytes)
{
    if (pid <= 0)
        return false;
    int status = 0;
    rusage usage{};
    const bool ok = wait4(pid, &status, 0, &usage) == pid && WIFEXITED(status) && WEXITSTATUS(status) == 0;
    if (cpuSeconds) {
        const auto seconds = [](const timeval& t) { return double(t.tv_sec) + double(t.tv_usec) * 1e-6; };
        *cpuSeconds = seconds(usage.ru_utime) + seconds(usage.ru_stime);
    }
    if (peakKilobytes)
        *peakKilobytes = usage.ru_maxrss;
    return ok;
}

double median(std::vector<double> values)
{
    if (values.empty())
        return 0;
    std::sort(values.begin(), values.end());
    const std::size_t mid = values.size() / 2;
    return values.size() % 2 ? values[mid] : (values[mid - 1] + values[mid]) / 2;
}

void Log::add(double ourValue, double referenceValue)
{
    if (ours.empty())
        loadBefore = load();
    ours.push_back(ourValue);
    reference.push_back(referenceValue);
}

std::vector<double> Log::ratios() const
{
    std::vector<double> r;
    for (std::size_t i = 0; i < ours.size() && i < reference.size(); ++i)
        r.push_back(reference[i] > 0 ? ours[i] / reference[i] : 0);
    return r;
}

void Log::print(bool everyPair) const
{
    const std::vector<double> r = ratios();
    std::printf("\n%s, in turns with the reference (%s):\n", measure.c_str(), unit.c_str());
    if (everyPair) {
        for (std::size_t i = 0; i < r.size(); ++i)
            std::printf("  pair %2zu: ours %9.2f  reference %9.2f  ratio %.2f\n", i + 1, ours[i],
                        reference[i], r[i]);
    }
    const auto [low, high] = std::minmax_element(r.begin(), r.end());
    std::printf("  median: ours %.2f  reference %.2f  ratio %.2f (pairs %.2f..%.2f)%s%s\n",
                median(ours), median(reference), medianRatio(), r.empty() ? 0 : *low,
                r.empty() ? 0 : *high, goal.empty() ? "" : ", goal ", goal.c_str());
    std::printf("  load average before %s, after %s\n", loadBefore.c_str(), load().c_str());
}

} // namespace Turns
