#include "child_process.h"

#include <fcntl.h>
#include <sys/resource.h>
#include <sys/time.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>

#include "measure.h"

namespace {

double Seconds(const timeval& t) {
  return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_usec) * 1e-6;
}

}  // namespace

ChildRun RunChild(const std::vector<std::string>& argv, const std::string& stdoutPath) {
  ChildRun run;
  if (argv.empty()) return run;
  // Everything the child needs is made before the fork: between fork and exec only
  // async-signal-safe calls are allowed.
  std::vector<char*> args;
  for (const std::string& a : argv) args.push_back(const_cast<char*>(a.c_str()));
  args.push_back(nullptr);
  const int out = open(stdoutPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
  if (out < 0) return run;

  const double start = WallSeconds();
  const pid_t pid = fork();
  if (pid == 0) {
    if (dup2(out, STDOUT_FILENO) < 0) _exit(127);
    execvp(args[0], args.data());
    _exit(127);
  }
  close(out);
  if (pid < 0) return run;
  run.started = true;

  int status = 0;
  rusage usage{};
  pid_t waited;
  do {
    waited = wait4(pid, &status, 0, &usage);
  } while (waited < 0 && errno == EINTR);
  run.wallSeconds = WallSeconds() - start;
  if (waited != pid) return run;
  run.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  run.cpuSeconds = Seconds(usage.ru_utime) + Seconds(usage.ru_stime);
  run.peakKib = usage.ru_maxrss;
  return run;
}
