#pragma once

#include <QString>

#include <functional>

// What the benchmarks share: a program folder filled with many subjects, and a median timer.
namespace BenchSupport {

// Adds subjects with codes 1 … count to the folder's open DABSH.skn, each with all 35 items
// answered at random, in one transaction.
void fillSubjects(const QString& folder, int count);

// Runs the work the given number of times (the run number is passed in) and returns the median
// time of one run in milliseconds.
double medianMilliseconds(int runs, const std::function<void(int)>& work);

} // namespace BenchSupport
