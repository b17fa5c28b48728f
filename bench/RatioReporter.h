#pragma once

// A console reporter that keeps each run's time, so that a benchmark can print its result as a
// ratio against the library it is measured against once the table is done.

#include <benchmark/benchmark.h>

#include <cstdio>
#include <map>
#include <string>
#include <vector>

class RatioReporter : public benchmark::ConsoleReporter {
public:
    void ReportRuns(const std::vector<Run>& runs) override {
        ConsoleReporter::ReportRuns(runs);
        for (const Run& run : runs)
            m_times[run.benchmark_name()] = run.GetAdjustedRealTime();
    }

    // Prints time(ours) / time(theirs); a goal above 0 is an upper bound.
    void PrintRatio(const std::string& ours, const std::string& theirs, double goal) const {
        double a = 0;
        double b = 0;
        if (!Find(ours, theirs, a, b) || b <= 0)
            return;
        const double ratio = a / b;
        std::printf("%-28s %.2fx %s", ours.c_str(), ratio, theirs.c_str());
        if (goal > 0)
            std::printf(" (goal <= %.2fx)%s", goal, ratio <= goal ? "" : "  ABOVE GOAL");
        std::printf("\n");
    }

    // Prints rate(ours) / rate(theirs) = time(theirs) / time(ours); a goal above 0 is a lower
    // bound.
    void PrintRate(const std::string& ours, const std::string& theirs, double goal) const {
        double a = 0;
        double b = 0;
        if (!Find(ours, theirs, a, b) || a <= 0)
            return;
        const double ratio = b / a;
        std::printf("%-28s %.2f of the rate of %s", ours.c_str(), ratio, theirs.c_str());
        if (goal > 0)
            std::printf(" (goal >= %.2f)%s", goal, ratio >= goal ? "" : "  BELOW GOAL");
        std::printf("\n");
    }

private:
    bool Find(const std::string& ours, const std::string& theirs, double& a, double& b) const {
        const auto x = m_times.find(ours);
        const auto y = m_times.find(theirs);
        if (x == m_times.end() || y == m_times.end())
            return false;
        a = x->second;
        b = y->second;
        return true;
    }

    std::map<std::string, double> m_times;
};
