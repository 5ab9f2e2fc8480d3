// The measurements of the performance table, each run in a process of its own.
//
// A case prints its results on standard output as lines "key value" (see report.h) and its
// progress on standard error; it returns the process exit code, non-zero when the library did
// not do what was asked (a failed load or save, figures missing after a load), so that a number
// in the table is never the time of a failure.
#pragma once

#include <string>

#include "platform/types.h"

struct LoadCaseOptions {
  int samples = 1;
  bool resave = false;  // write the loaded drawing again and print the file's fingerprint
  bool copy = false;    // measure a copy with targets after the commit
};

// Builds the drawing of n figures and saves it to path (kept for the load cases); times the
// save and a plain write of as many bytes. Prints save_s, save_wall_s (the fastest save in wall
// time), raw_write_s, file_bytes.
int RunSaveCase(DWORD n, const std::string& path, int samples);

// Loads path into drawings of n plain records; times the load, a plain read of the file, and
// then, on the last drawing loaded, a commit of every 10th record deleted and (with copy) a copy
// of every 10th record with targets. The first load of the process is what a user waits for
// when a program opens a drawing: it runs in fresh memory and pays its page faults, so it is
// reported on its own (first_load_s, and first_load_wall_s in wall time) beside the best of all
// samples (load_s), and it gives the peak resident memory a load adds. Prints load_s,
// first_load_s, first_load_wall_s, raw_read_s, mem_added_kib, commit_s, commit_marked, copy_s,
// copy_count and resave_fp.
int RunLoadCase(DWORD n, const std::string& path, const LoadCaseOptions& options);

// Runs the sxfattr program tool as a whole process on path, a drawing file of n figures that
// the save case wrote: "dump --summary path" (checking that it shows every figure) and
// "convert path path.converted", samples times each. Prints dump_wall_s, dump_cpu_s,
// dump_peak_kib and the same for convert: the fastest times and the largest peak resident size.
int RunToolCase(const std::string& tool, DWORD n, const std::string& path, int samples);

// Single operations with Google Benchmark at 1k and 1M entries. Prints op_<name>_<entries> in
// nanoseconds per operation.
int RunOpsCase(int argc, char** argv);
