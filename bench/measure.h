// Clocks, memory figures and the plain file passes the table compares the library with.
//
// Times are the calling thread's CPU time (user and system): the machine is shared, and time
// spent waiting for a core is not the code's cost. A whole process of the tool is timed in wall
// time, what a user waits for; WallSeconds gives the plug-in's own load and save in wall time
// too, shown beside it. The plain passes go through CFile in 64 KiB pieces, as the library's own
// file access does, so a ratio against them shows what the library adds on top of moving the
// bytes.
#pragma once

#include <string>

#include "platform/types.h"

double CpuSeconds();
// Wall-clock seconds from a steady clock, for what a user waits for (a whole process, a first
// load): unlike CpuSeconds it includes time spent waiting for a core or the disk.
double WallSeconds();

// A field of /proc/self/status in KiB ("VmRSS", "VmHWM"); -1 when it cannot be read.
long StatusKib(const char* field);
// Sets the process's peak resident size back to its current resident size, so a later VmHWM
// shows the peak of what runs after the call. False when the kernel does not allow it.
bool ResetPeakResident();

// Reads the whole file in 64 KiB pieces and sums its bytes; returns the CPU seconds taken and
// the sum in *sum.
double RawReadSeconds(const std::string& path, ULONGLONG* sum);
// Writes bytes bytes to a new file at path in 64 KiB pieces; returns the CPU seconds taken.
double RawWriteSeconds(const std::string& path, ULONGLONG bytes);

// FNV-1a over the file's bytes, to tell whether two files hold the same bytes.
ULONGLONG FileFingerprint(const std::string& path, ULONGLONG* bytes);
