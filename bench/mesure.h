#pragma once
// What the benchmarks time a step with: milliseconds on the steady clock,
// and the median of several runs (the machine is shared: the median is the
// figure, the slowest run says how much the load moved it).

#include <algorithm>
#include <chrono>
#include <functional>
#include <vector>

inline double mesurer(const std::function<void()>& f)
{
    const auto t0 = std::chrono::steady_clock::now();
    f();
    return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - t0).count();
}

inline double mediane(std::vector<double> v)
{
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}
