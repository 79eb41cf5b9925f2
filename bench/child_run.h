#pragma once

#include <string>
#include <vector>

namespace bench {

struct ChildRun {
  double seconds = 0;     // from just before the start to the end of the process
  long peak_rss_kib = 0;  // the child's own peak resident set size
  int exit_status = -1;   // -1 when it did not exit normally
};

// Runs `program` with `arguments` (argv[0] included), waits for it and measures it.
ChildRun RunChild(const std::vector<std::string>& arguments);

// The median of `values` (not empty).
double Median(std::vector<double> values);

// The folder that holds the running executable.
std::string OwnFolder();

}  // namespace bench
