#pragma once

#include <QString>

#include <functional>

// What the benchmarks share: a program folder filled with many subjects, and a median timer.
namespace BenchSupport {

// Benchmarks run on the offscreen platform unless one is chosen.
void useOffscreenUnlessSet();

// Adds subjects with codes 1 … count to the folder's open DABSH.skn, each with all 35 items
// answered at random, in one transaction. False when the file refused them.
bool fillSubjects(const QString& folder, int count);

// Opens the folder's database files and fills them with subjects as above.
bool openFilledFolder(const QString& folder, int count);

// Gives the filled subjects the variety of a clinic's file: 5,000 last names, 300 first names,
// groups A to F with 10,000 subjects in group G (all of them in a smaller file), the printed
// group, and every tenth subject scored. False when the file refused the change.
bool varySubjects(const QString& folder, int count);

// Runs the work the given number of times (the run number is passed in) and returns the median
// time of one run in milliseconds.
double medianMilliseconds(int runs, const std::function<void(int)>& work);

} // namespace BenchSupport
