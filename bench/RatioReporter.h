#pragma once

// A console reporter that keeps each benchmark's time, so that a benchmark can print its result
// as a ratio against the baseline measured in the same run once the table is done. With
// repetitions it keeps the median of them; a single run stands for itself.
//
// Each ratio comes out as one tab-separated line starting "ROW" (path, ours, baseline, ratio,
// goal, met); bench.sh gathers these lines of every benchmark into one table.

#include <benchmark/benchmark.h>

#include <cstdio>
#include <map>
#include <string>
#include <vector>

class RatioReporter : public benchmark::ConsoleReporter {
public:
    // Plain text: the rows are picked out of the output line by line.
    RatioReporter() : benchmark::ConsoleReporter(OO_Tabular) {}

    void ReportRuns(const std::vector<Run>& runs) override {
        ConsoleReporter::ReportRuns(runs);
        for (const Run& run : runs) {
            const std::string& name = run.run_name.function_name;
            m_units[name] = benchmark::GetTimeUnitString(run.time_unit);
            if (run.run_type == Run::RT_Aggregate) {
                if (run.aggregate_name == "median") {
                    m_times[name] = run.GetAdjustedRealTime();
                    m_median[name] = true;
                }
            } else if (!m_median[name]) {
                m_times[name] = run.GetAdjustedRealTime();
            }
        }
    }

    // The time kept for a benchmark in its own unit; 0 when it did not run.
    double Time(const std::string& name) const {
        const auto it = m_times.find(name);
        return it == m_times.end() ? 0.0 : it->second;
    }

    // time(ours) / time(theirs); goal is an upper bound.
    void PrintRatio(const std::string& path, const std::string& ours, const std::string& theirs,
                    double goal) const {
        double a = 0;
        double b = 0;
        if (!Find(ours, theirs, a, b) || b <= 0)
            return PrintMissing(path, ours, theirs);
        const double ratio = a / b;
        PrintRow(path, ours, theirs, a, b, ratio, "<= " + Fixed(goal) + "x", ratio <= goal, "x");
    }

    // The ratio time(ours) / time(theirs) with the share of a period that one run of ours
    // takes (ours timed in milliseconds) beside it; the goal is an upper bound of that share.
    void PrintRatioOfPeriod(const std::string& path, const std::string& ours,
                            const std::string& theirs, double maxShare, double periodMs) const {
        double a = 0;
        double b = 0;
        if (!Find(ours, theirs, a, b) || b <= 0)
            return PrintMissing(path, ours, theirs);
        const double share = a / periodMs;
        char period[32];
        std::snprintf(period, sizeof period, " of %.0f ms", periodMs);
        const std::string suffix = "x, " + Fixed(share) + period;
        PrintRow(path, ours, theirs, a, b, a / b, "<= " + Fixed(maxShare) + period,
                 share <= maxShare, suffix.c_str());
    }

    // rate(ours) / rate(theirs) = time(theirs) / time(ours); goal is a lower bound.
    void PrintRate(const std::string& path, const std::string& ours, const std::string& theirs,
                   double goal) const {
        double a = 0;
        double b = 0;
        if (!Find(ours, theirs, a, b) || a <= 0)
            return PrintMissing(path, ours, theirs);
        const double ratio = b / a;
        PrintRow(path, ours, theirs, a, b, ratio, ">= " + Fixed(goal) + " of the rate",
                 ratio >= goal, "");
    }

    // time(ours) against a fixed bound in ours' own unit, the baseline shown beside it.
    void PrintWithin(const std::string& path, const std::string& ours, const std::string& theirs,
                     double bound) const {
        double a = 0;
        double b = 0;
        if (!Find(ours, theirs, a, b) || b <= 0)
            return PrintMissing(path, ours, theirs);
        PrintRow(path, ours, theirs, a, b, a / b, "<= " + Fixed(bound) + " " + m_units.at(ours),
                 a <= bound, "x");
    }

private:
    static std::string Fixed(double v) {
        char text[32];
        std::snprintf(text, sizeof text, "%.2f", v);
        return text;
    }

    // Times as the benchmarks report them, in their own unit.
    void PrintRow(const std::string& path, const std::string& oursName,
                  const std::string& theirsName, double ours, double theirs, double ratio,
                  const std::string& goal, bool met, const char* suffix) const {
        std::printf("ROW\t%s\t%.1f %s\t%.1f %s (%s)\t%.2f%s\t%s\t%s\n", path.c_str(), ours,
                    m_units.at(oursName).c_str(), theirs, m_units.at(theirsName).c_str(),
                    theirsName.c_str(), ratio, suffix, goal.c_str(), met ? "met" : "NOT MET");
        std::fflush(stdout);
    }

    static void PrintMissing(const std::string& path, const std::string& ours,
                             const std::string& theirs) {
        std::printf("ROW\t%s\t%s?\t%s?\t-\t-\tNOT MEASURED\n", path.c_str(), ours.c_str(),
                    theirs.c_str());
    }

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
    std::map<std::string, bool> m_median;
    std::map<std::string, std::string> m_units;
};
