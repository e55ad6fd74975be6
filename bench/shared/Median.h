#pragma once
// The median of repeated measurements: one round in a shared machine's bad minute must not
// move the figure.
#include <QElapsedTimer>

#include <algorithm>
#include <functional>
#include <vector>

inline double median(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  const size_t middle = values.size() / 2;
  return values.size() % 2 ? values[middle] : (values[middle - 1] + values[middle]) / 2;
}

// The median wall-clock time of `rounds` runs of work, in milliseconds.
inline double medianMs(int rounds, const std::function<void()> &work) {
  std::vector<double> times;
  for (int i = 0; i < rounds; ++i) {
    QElapsedTimer t;
    t.start();
    work();
    times.push_back(double(t.nsecsElapsed()) / 1e6);
  }
  return median(times);
}
