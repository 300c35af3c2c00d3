#include "jack_test_clients.h"

#include <jack/midiport.h>
#include <unistd.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <regex>
#include <thread>

namespace {

constexpr char kServerVariable[] = "JACK_DEFAULT_SERVER";
// 16-bit sample values to JACK's floats and back.
constexpr float kFullScale = 32768.0F;

}  // namespace

bool WaitUntil(const std::function<bool()>& condition, std::chrono::milliseconds limit) {
  const auto deadline = std::chrono::steady_clock::now() + limit;
  while (!condition()) {
    if (std::chrono::steady_clock::now() >= deadline) return false;
    std::this_thread::sleep_for(std::chrono::milliseconds(1));
  }
  return true;
}

int ThreadCount() {
  const std::filesystem::directory_iterator tasks("/proc/self/task");
  return static_cast<int>(std::distance(begin(tasks), end(tasks)));
}

int SettledThreadCount() {
  std::thread([] {}).join();
  return ThreadCount();
}

namespace {

bool Near(int a, int b) { return std::abs(a - b) <= 1; }

}  // namespace

::testing::AssertionResult HoldsPatternInPeriods(const std::vector<int>& recorded,
                                                 std::size_t period,
                                                 const std::function<int(std::size_t)>& pattern,
                                                 std::size_t cycle) {
  const auto sound =
      std::find_if(recorded.begin(), recorded.end(), [](int value) { return std::abs(value) > 1; });
  if (sound == recorded.end()) return ::testing::AssertionFailure() << "only silence";
  const auto first = static_cast<std::size_t>(sound - recorded.begin());
  std::size_t next = 0;  // the pattern index the next sample should hold
  std::size_t entries = 0;
  for (std::size_t i = first; i < recorded.size(); ++i) {
    if (!Near(recorded[i], pattern(next)) && (i == first || i % period == 0)) {
      next = 0;
      while (next + 1 < cycle && !Near(recorded[i], pattern(next)))
        ++next;
      ++entries;
    }
    if (!Near(recorded[i], pattern(next)))
      return ::testing::AssertionFailure() << "sample " << i << " is " << recorded[i];
    next = (next + 1) % cycle;
  }
  const std::size_t periods = recorded.size() / period;
  if (entries > 1 + periods / 4)
    return ::testing::AssertionFailure() << entries - 1 << " of " << periods << " periods lost";
  return ::testing::AssertionSuccess();
}

std::string OwnClientName(const std::string& base) { return base + "-" + std::to_string(getpid()); }

TJackServerLog::TJackServerLog(std::filesystem::path path) : path_(std::move(path)) {
  std::error_code ignored;
  const std::uintmax_t size = std::filesystem::file_size(path_, ignored);
  from_ = size == static_cast<std::uintmax_t>(-1) ? 0 : size;
}

std::vector<std::vector<TJackServerLog::SLateClient>> TJackServerLog::LatePeriods() const {
  std::ifstream log(path_);
  log.seekg(static_cast<std::streamoff>(from_));
  // The server writes one line per unfinished client, and then another line, for each period.
  const std::regex late("client = (.+) was not finished, state = (\\w+)");
  std::vector<std::vector<SLateClient>> periods;
  bool inPeriod = false;
  std::smatch match;
  for (std::string line; std::getline(log, line);) {
    const bool named = std::regex_search(line, match, late);
    if (named && !inPeriod) periods.emplace_back();
    if (named) periods.back().push_back({match[1], match[2]});
    inPeriod = named;
  }
  return periods;
}

bool NamesClient(const TLatePeriod& clients, const std::string& name) {
  return std::ranges::any_of(clients, [&](const auto& client) { return client.name == name; });
}

std::vector<TLatePeriod> ProgramsLatePeriods(const std::vector<TLatePeriod>& periods,
                                             const std::string& reference) {
  std::vector<TLatePeriod> program;
  std::ranges::copy_if(periods, std::back_inserter(program), [&](const TLatePeriod& clients) {
    return !NamesClient(clients, reference) && std::ranges::any_of(clients, [](const auto& client) {
      return client.name.starts_with("Zelmar") && client.state == "Running";
    });
  });
  return program;
}

std::string Joined(const std::vector<TLatePeriod>& periods) {
  std::string joined;
  for (const TLatePeriod& clients : periods) {
    joined += " (";
    for (const auto& client : clients)
      joined += (joined.back() == '(' ? "" : " ") + client.name + " " + client.state;
    joined += ")";
  }
  return joined;
}

std::string JackServerAt(unsigned rate) {
  const char* server = std::getenv(kServerVariable);
  return std::string(server != nullptr ? server : "default") + "-" + std::to_string(rate);
}

TJackServerChoice::TJackServerChoice(const std::string& name) {
  const char* previous = std::getenv(kServerVariable);
  previous_ = previous != nullptr ? previous : "";
  setenv(kServerVariable, name.c_str(), 1);
}

TJackServerChoice::~TJackServerChoice() {
  if (previous_.empty()) {
    unsetenv(kServerVariable);
  } else {
    setenv(kServerVariable, previous_.c_str(), 1);
  }
}

TJackTestClient::TJackTestClient(const std::string& name) {
  client_ = jack_client_open(name.c_str(), JackNoStartServer, nullptr);
  if (client_ != nullptr) jack_set_process_callback(client_, &OnProcess, this);
}

TJackTestClient::~TJackTestClient() { Close(); }

std::string TJackTestClient::name() const {
  return client_ != nullptr ? jack_get_client_name(client_) : "";
}

jack_port_t* TJackTestClient::Register(const std::string& port, const char* type,
                                       unsigned long flags) {
  return client_ != nullptr ? jack_port_register(client_, port.c_str(), type, flags, 0) : nullptr;
}

void TJackTestClient::CountXruns(std::atomic<int>& count) {
  if (client_ != nullptr) jack_set_xrun_callback(client_, &OnXrun, &count);
}

int TJackTestClient::OnXrun(void* count) {
  static_cast<std::atomic<int>*>(count)->fetch_add(1, std::memory_order_relaxed);
  return 0;
}

void TJackTestClient::Activate() {
  if (client_ != nullptr && jack_activate(client_) != 0) Close();
}

void TJackTestClient::Close() {
  if (client_ == nullptr) return;
  jack_client_close(client_);
  client_ = nullptr;
}

int TJackTestClient::OnProcess(jack_nframes_t frames, void* self) {
  static_cast<TJackTestClient*>(self)->Process(frames);
  return 0;
}

TJackRecorder::TJackRecorder(const std::string& name, int channels, std::size_t capacityFrames)
    : TJackTestClient(name), samples_(channels, std::vector<float>(capacityFrames)) {
  for (int channel = 1; channel <= channels; ++channel)
    ports_.push_back(
        Register("in_" + std::to_string(channel), JACK_DEFAULT_AUDIO_TYPE, JackPortIsInput));
  Activate();
}

void TJackRecorder::Process(jack_nframes_t frames) {
  const std::size_t recorded = recorded_.load(std::memory_order_relaxed);
  const std::size_t count = std::min<std::size_t>(frames, samples_[0].size() - recorded);
  for (std::size_t channel = 0; channel < ports_.size(); ++channel) {
    const auto* in = static_cast<const float*>(jack_port_get_buffer(ports_[channel], frames));
    std::copy_n(in, count, samples_[channel].begin() + static_cast<std::ptrdiff_t>(recorded));
  }
  recorded_.store(recorded + count, std::memory_order_release);
}

std::vector<int> TJackRecorder::Samples(int channel, std::size_t frames) const {
  std::vector<int> values(std::min(frames, Recorded()));
  for (std::size_t i = 0; i < values.size(); ++i)
    values[i] =
        static_cast<int>(std::lround(samples_[static_cast<std::size_t>(channel)][i] * kFullScale));
  return values;
}

TJackPlayer::TJackPlayer(const std::string& name, const std::vector<std::int16_t>& samples)
    : TJackTestClient(name), samples_(samples.size()) {
  std::transform(samples.begin(), samples.end(), samples_.begin(),
                 [](std::int16_t value) { return static_cast<float>(value) / kFullScale; });
  port_ = Register("out", JACK_DEFAULT_AUDIO_TYPE, JackPortIsOutput);
  Activate();
}

void TJackPlayer::Process(jack_nframes_t frames) {
  auto* out = static_cast<float*>(jack_port_get_buffer(port_, frames));
  std::fill_n(out, frames, 0.0F);
  if (!playing_.load(std::memory_order_acquire)) return;
  const std::size_t count = std::min<std::size_t>(frames, samples_.size() - next_);
  std::copy_n(samples_.begin() + static_cast<std::ptrdiff_t>(next_), count, out);
  next_ += count;
}

TJackXrunCounter::TJackXrunCounter(const std::string& name) : TJackTestClient(name) {
  CountXruns(xruns_);
  Activate();
}

void TJackXrunCounter::Process(jack_nframes_t /*frames*/) {
  // A test client may wait in its callback: it stands for a program that misses its period.
  if (const std::int64_t late = lateMs_.exchange(0); late > 0)
    std::this_thread::sleep_for(std::chrono::milliseconds(late));
}

TJackKeyboard::TJackKeyboard(const std::string& name) : TJackTestClient(name) {
  port_ = Register("out", JACK_DEFAULT_MIDI_TYPE, JackPortIsOutput);
  Activate();
}

bool TJackKeyboard::Send(const std::vector<std::uint8_t>& bytes) {
  SEvent event{};
  if (bytes.size() > event.bytes.size()) return false;
  std::copy(bytes.begin(), bytes.end(), event.bytes.begin());
  event.size = bytes.size();
  return events_.Push(event);
}

bool TJackKeyboard::WaitUntilConnected(std::chrono::milliseconds limit) const {
  return WaitUntil([this] { return connected_.load(std::memory_order_acquire); }, limit);
}

void TJackKeyboard::Process(jack_nframes_t frames) {
  connected_.store(jack_port_connected(port_) > 0, std::memory_order_release);
  void* buffer = jack_port_get_buffer(port_, frames);
  jack_midi_clear_buffer(buffer);
  SEvent event{};
  while (events_.Pop(event))
    jack_midi_event_write(buffer, 0, event.bytes.data(), event.size);
}

int DeviceNumber(const std::vector<std::string>& names, const std::string& name) {
  const auto found = std::ranges::find(names, name);
  return found == names.end() ? -1 : static_cast<int>(found - names.begin());
}
