// JACK clients of the tests' own, standing for what is plugged into the program: a recorder on a
// speaker output, a player feeding a microphone, a keyboard sending MIDI. Their process
// callbacks work in memory allocated beforehand and hand over through atomics and a ring queue.
#pragma once

#include <jack/jack.h>

#include <array>
#include <atomic>
#include <chrono>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "engine/fifo.h"

// True when `condition` holds within `limit` (polled every millisecond).
bool WaitUntil(const std::function<bool()>& condition, std::chrono::milliseconds limit);
// The threads of this process.
int ThreadCount();
// The threads of this process once a sanitizer's helper thread, which starts with the first
// thread the process creates, is running.
int SettledThreadCount();
// "base-<process id>": a client name no test process running beside this one uses.
std::string OwnClientName(const std::string& base);

// Whether `recorded` holds, from its first sound on, `pattern` (a function of the sample index
// repeating every `cycle` samples) in order, within 1. It may move on by whole periods of
// `period` samples (counted from the first recorded sample) that the server dropped under load,
// at most one period in four, but never skip or change a sample within one.
::testing::AssertionResult HoldsPatternInPeriods(const std::vector<int>& recorded,
                                                 std::size_t period,
                                                 const std::function<int(std::size_t)>& pattern,
                                                 std::size_t cycle);

// The number under which the program lists the device called `name`; -1 when it is not listed.
int DeviceNumber(const std::vector<std::string>& names, const std::string& name);

// The log of a fixture server, read from its end at construction on: the server's own verdict on
// each period that ended late, in which it names the clients it found unfinished, each with its
// state: "Triggered" when it had not been run yet, "Running" when it was still inside its
// callback. A period can end late without any client's fault (a busy machine keeping the
// server's threads waiting); then it names none, or every client at once.
class TJackServerLog {
 public:
  struct SLateClient {
    std::string name;
    std::string state;
  };

  explicit TJackServerLog(std::filesystem::path path);
  // The clients named, one list per late period that named any, in order.
  std::vector<std::vector<SLateClient>> LatePeriods() const;

 private:
  std::filesystem::path path_;
  std::uintmax_t from_ = 0;
};

using TLatePeriod = std::vector<TJackServerLog::SLateClient>;

// Whether the server named the client `name` in a late period.
bool NamesClient(const TLatePeriod& clients, const std::string& name);
// The late periods in which the server found the program (its speaker's or its MIDI input's
// client) still inside its callback, while `reference`, a client that does nothing, had
// finished: the server ran on time and the program's work did not fit the period. A callback
// that the system never ran in time ("Triggered") is the busy machine's doing.
std::vector<TLatePeriod> ProgramsLatePeriods(const std::vector<TLatePeriod>& periods,
                                             const std::string& reference);
// The late periods as " (client state ...) (...)".
std::string Joined(const std::vector<TLatePeriod>& periods);

// The fixture's server at `rate` Hz, 48000 or 32000; the tests run on the 44100 Hz one by
// default.
std::string JackServerAt(unsigned rate);
// Points the JACK clients this process opens at server `name` while it lives.
class TJackServerChoice {
 public:
  explicit TJackServerChoice(const std::string& name);
  ~TJackServerChoice();
  TJackServerChoice(const TJackServerChoice&) = delete;
  TJackServerChoice& operator=(const TJackServerChoice&) = delete;

 private:
  std::string previous_;
};

class TJackTestClient {
 public:
  TJackTestClient(const TJackTestClient&) = delete;
  TJackTestClient& operator=(const TJackTestClient&) = delete;
  virtual ~TJackTestClient();

  bool IsOpen() const { return client_ != nullptr; }
  // The name JACK gave the client.
  std::string name() const;

 protected:
  // Opens the client without starting a server; IsOpen tells whether one answered.
  explicit TJackTestClient(const std::string& name);
  jack_port_t* Register(const std::string& port, const char* type, unsigned long flags);
  // Before Activate: `count` goes up by one for every xrun the server reports.
  void CountXruns(std::atomic<int>& count);
  void Activate();
  // Every final class closes in its destructor, before the members its Process uses go.
  void Close();
  // JACK's process thread.
  virtual void Process(jack_nframes_t frames) = 0;

 private:
  static int OnProcess(jack_nframes_t frames, void* self);
  static int OnXrun(void* count);
  jack_client_t* client_ = nullptr;
};

// Records its input ports ("in_1", "in_2", ...) from activation on, up to its capacity.
class TJackRecorder final : public TJackTestClient {
 public:
  TJackRecorder(const std::string& name, int channels, std::size_t capacityFrames);
  ~TJackRecorder() override { Close(); }

  std::size_t Recorded() const { return recorded_.load(std::memory_order_acquire); }
  // The first `frames` frames of `channel` (frames below Recorded()) as 16-bit sample values.
  std::vector<int> Samples(int channel, std::size_t frames) const;

 private:
  void Process(jack_nframes_t frames) override;

  std::vector<jack_port_t*> ports_;
  std::vector<std::vector<float>> samples_;
  std::atomic<std::size_t> recorded_{0};
};

// Plays 16-bit sample values on its output port "out" once, from the start of the first period
// after Play; silence before and after.
class TJackPlayer final : public TJackTestClient {
 public:
  TJackPlayer(const std::string& name, const std::vector<std::int16_t>& samples);
  ~TJackPlayer() override { Close(); }

  void Play() { playing_.store(true, std::memory_order_release); }

 private:
  void Process(jack_nframes_t frames) override;

  jack_port_t* port_ = nullptr;
  std::vector<float> samples_;
  std::size_t next_ = 0;  // process thread only
  std::atomic<bool> playing_{false};
};

// Counts the xruns the server reports from activation on: periods in which some client, the
// program's included, did not finish in time. Late makes its own next period take `late` longer
// than it may, which the server must count.
class TJackXrunCounter final : public TJackTestClient {
 public:
  explicit TJackXrunCounter(const std::string& name);
  ~TJackXrunCounter() override { Close(); }

  int Xruns() const { return xruns_.load(std::memory_order_relaxed); }
  void Late(std::chrono::milliseconds late) { lateMs_.store(late.count()); }

 private:
  void Process(jack_nframes_t frames) override;

  std::atomic<int> xruns_{0};
  std::atomic<std::int64_t> lateMs_{0};
};

// Sends MIDI events on its output port "out".
class TJackKeyboard final : public TJackTestClient {
 public:
  explicit TJackKeyboard(const std::string& name);
  ~TJackKeyboard() override { Close(); }

  // The bytes go out as one event at the start of the next period. False when they do not fit.
  bool Send(const std::vector<std::uint8_t>& bytes);
  // True once a period ran with the port connected. A connection made while a period runs takes
  // effect at the next one: an event sent before that reaches no one.
  bool WaitUntilConnected(std::chrono::milliseconds limit) const;

 private:
  struct SEvent {
    std::array<std::uint8_t, 16> bytes;
    std::size_t size;
  };
  void Process(jack_nframes_t frames) override;

  jack_port_t* port_ = nullptr;
  TFIFO<SEvent, 16> events_;
  std::atomic<bool> connected_{false};  // in the last period the process thread ran
};
