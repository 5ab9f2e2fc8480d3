// Runs a program as a child process and measures it whole: wall time, CPU time and peak
// resident size, as a user who starts the program would see them.
//
// The figures come from wait4 for that one child, so they cover its whole life from fork to
// exit. The kernel starts a child's peak resident size from what the calling process held when
// it forked (exec keeps the larger of the two), so the caller should be a small process: the
// table runs its tool case in a process of its own that holds no drawing.
#pragma once

#include <string>
#include <vector>

struct ChildRun {
  bool started = false;    // false: fork failed; the program itself not found gives exit code 127
  int exitCode = -1;       // the child's exit status; -1 when it was killed by a signal
  double wallSeconds = 0;  // fork to exit, steady clock
  double cpuSeconds = 0;   // user and system time of the child
  long peakKib = 0;        // the child's peak resident size (ru_maxrss)
};

// Runs argv[0] (searched on PATH when it has no slash) with argv, standard output going to the
// file stdoutPath (created or truncated; "/dev/null" to drop it). Standard error is the
// caller's.
ChildRun RunChild(const std::vector<std::string>& argv, const std::string& stdoutPath);
