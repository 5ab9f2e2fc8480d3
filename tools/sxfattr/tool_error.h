// ToolError: a failure that ends a command with one line on standard error and an exit status.
//
// The message is the whole line without the program name; main prints "sxfattr: <message>".
// Messages about an input name the file first and, for sections, the byte offset where reading
// failed: "<file>: at byte <n>: <what was wrong>".
#pragma once

#include <stdexcept>
#include <string>

enum ExitStatus : int {
  kExitOk = 0,
  kExitInput = 1,     // an input cannot be read, or an output cannot be written
  kExitUsage = 2,     // the command line is wrong
  kExitProblems = 3,  // check found something to fix, diff found a difference
};

class ToolError : public std::runtime_error {
 public:
  ToolError(int status, const std::string& message) : std::runtime_error(message), status_(status) {}
  int Status() const { return status_; }

 private:
  int status_;
};
