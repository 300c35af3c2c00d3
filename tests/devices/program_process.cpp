#include "program_process.h"

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <fstream>
#include <sstream>
#include <thread>

extern char** environ;

namespace {

using namespace std::chrono_literals;

constexpr auto kStopLimit = 10s;

}  // namespace

TProgramProcess::TProgramProcess(const std::vector<std::string>& arguments,
                                 std::filesystem::path output)
    : TProgramProcess(ZELMAR_PROGRAM, arguments, std::move(output)) {}

TProgramProcess::TProgramProcess(const std::filesystem::path& program,
                                 const std::vector<std::string>& arguments,
                                 std::filesystem::path output, const std::filesystem::path& input)
    : output_(std::move(output)) {
  std::vector<std::string> words{program.string()};
  words.insert(words.end(), arguments.begin(), arguments.end());
  std::vector<char*> argv;
  for (std::string& word : words)
    argv.push_back(word.data());
  argv.push_back(nullptr);

  posix_spawn_file_actions_t files;
  posix_spawn_file_actions_init(&files);
  posix_spawn_file_actions_addopen(&files, STDIN_FILENO, input.c_str(), O_RDONLY, 0);
  posix_spawn_file_actions_addopen(&files, STDOUT_FILENO, output_.c_str(),
                                   O_WRONLY | O_CREAT | O_TRUNC, 0644);
  posix_spawn_file_actions_adddup2(&files, STDOUT_FILENO, STDERR_FILENO);
  if (posix_spawn(&pid_, argv[0], &files, nullptr, argv.data(), environ) != 0) pid_ = -1;
  posix_spawn_file_actions_destroy(&files);
}

TProgramProcess::~TProgramProcess() {
  if (pid_ <= 0 || status_ >= 0) return;
  kill(pid_, SIGKILL);
  waitpid(pid_, nullptr, 0);
}

std::string TProgramProcess::Output() const {
  std::ifstream in(output_);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

bool TProgramProcess::WaitForOutput(const std::string& text, std::chrono::milliseconds limit) {
  const auto deadline = std::chrono::steady_clock::now() + limit;
  while (Output().find(text) == std::string::npos) {
    if (WaitForExit(0ms) >= 0 || std::chrono::steady_clock::now() >= deadline) {
      return Output().find(text) != std::string::npos;
    }
    std::this_thread::sleep_for(10ms);
  }
  return true;
}

int TProgramProcess::WaitForExit(std::chrono::milliseconds limit) {
  if (pid_ <= 0 || status_ >= 0) return status_;
  const auto deadline = std::chrono::steady_clock::now() + limit;
  for (;;) {
    int status = 0;
    if (waitpid(pid_, &status, WNOHANG) == pid_) {
      status_ = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
      return status_;
    }
    if (std::chrono::steady_clock::now() >= deadline) return -1;
    std::this_thread::sleep_for(5ms);
  }
}

int TProgramProcess::Stop(int signal) {
  if (pid_ > 0 && status_ < 0) kill(pid_, signal);
  return WaitForExit(std::chrono::duration_cast<std::chrono::milliseconds>(kStopLimit));
}
