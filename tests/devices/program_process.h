// The program (or a host of its plugin) run as a process of its own, as a user starts it, with its
// standard output and error together in a file the test reads while it runs. Every wait is bounded,
// and a program still running when the object goes is killed.
#pragma once

#include <sys/types.h>

#include <chrono>
#include <csignal>
#include <filesystem>
#include <string>
#include <vector>

class TProgramProcess {
 public:
  // Starts ZELMAR_PROGRAM with `arguments`; it inherits the environment of the test.
  TProgramProcess(const std::vector<std::string>& arguments, std::filesystem::path output);
  // Starts another program (a plugin host) the same way, its standard input read from `input`.
  TProgramProcess(const std::filesystem::path& program, const std::vector<std::string>& arguments,
                  std::filesystem::path output, const std::filesystem::path& input = "/dev/null");
  ~TProgramProcess();
  TProgramProcess(const TProgramProcess&) = delete;
  TProgramProcess& operator=(const TProgramProcess&) = delete;

  bool Started() const { return pid_ > 0; }
  pid_t Pid() const { return pid_; }
  // Everything the program wrote so far.
  std::string Output() const;
  // True once the output holds `text`; false when the program ended or `limit` passed first.
  bool WaitForOutput(const std::string& text, std::chrono::milliseconds limit);
  // The exit status once the program ended (128 + the signal that ended it), or -1 when it did
  // not end within `limit`.
  int WaitForExit(std::chrono::milliseconds limit);
  // Sends `signal` and waits up to 10 s for the exit status (-1: it did not end).
  int Stop(int signal = SIGTERM);

 private:
  pid_t pid_ = -1;
  int status_ = -1;
  std::filesystem::path output_;
};
