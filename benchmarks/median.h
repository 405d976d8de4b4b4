#pragma once
// Medians of timed runs, in milliseconds, for the benchmark programs.
#include <QElapsedTimer>
#include <algorithm>
#include <vector>

inline double Median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

template <typename F>
double MedianMs(int runs, F&& work)
{
    std::vector<double> times;
    for (int i = 0; i < runs; ++i) {
        QElapsedTimer t;
        t.start();
        work();
        times.push_back(static_cast<double>(t.nsecsElapsed()) / 1e6);
    }
    return Median(std::move(times));
}
