// A JACK dummy server of a benchmark's own, started at construction by the device tests' own
// script (tests/devices/jack_server.sh, which also frees the registry entries of servers that died
// elsewhere) and ended with the object. Its log is "<state>/<name>.log".
#pragma once

#include <cstdlib>
#include <filesystem>
#include <string>

class TJackDummyServer {
 public:
  TJackDummyServer(std::filesystem::path state, const std::string& name, int rate, int period)
      : state_(std::move(state)), log_(state_ / (name + ".log")) {
    setenv("JACK_PERIOD", std::to_string(period).c_str(), 1);
    setenv("ZELMAR_JACK_RECLAIM", ZELMAR_JACK_RECLAIM, 1);
    ready_ = Script("start " + state_.string() + " " + name + " " + std::to_string(rate));
  }
  ~TJackDummyServer() { Script("stop " + state_.string()); }
  TJackDummyServer(const TJackDummyServer&) = delete;
  TJackDummyServer& operator=(const TJackDummyServer&) = delete;

  bool Ready() const { return ready_; }
  const std::filesystem::path& Log() const { return log_; }

 private:
  static bool Script(const std::string& arguments) {
    const std::string command = "sh " ZELMAR_JACK_SERVER_SCRIPT " " + arguments;
    return std::system(command.c_str()) == 0;
  }

  std::filesystem::path state_;
  std::filesystem::path log_;
  bool ready_ = false;
};
