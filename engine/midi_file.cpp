#include "engine/midi_file.h"

#include <algorithm>
#include <array>
#include <optional>

#include "engine/work_object.h"
#include "persist/input_file.h"

namespace {

constexpr std::uint32_t kDefaultTempo = 500000;  // microseconds per quarter note
constexpr std::int64_t kMicrosecondsPerSecond = 1000000;

// A bounds-checked reader over the file's bytes.
class TByteReader {
 public:
  explicit TByteReader(std::span<const std::uint8_t> bytes) : bytes_(bytes) {}

  bool AtEnd() const { return position_ >= bytes_.size(); }
  std::size_t Left() const { return bytes_.size() - position_; }
  std::optional<std::uint8_t> Byte() {
    if (AtEnd()) return std::nullopt;
    return bytes_[position_++];
  }
  std::optional<std::uint32_t> BigEndian(int count) {
    if (Left() < static_cast<std::size_t>(count)) return std::nullopt;
    std::uint32_t value = 0;
    for (int i = 0; i < count; ++i)
      value = (value << 8) | bytes_[position_++];
    return value;
  }
  // A variable-length quantity: at most four bytes of seven bits.
  std::optional<std::uint32_t> VariableLength() {
    std::uint32_t value = 0;
    for (int i = 0; i < 4; ++i) {
      const auto byte = Byte();
      if (!byte) return std::nullopt;
      value = (value << 7) | (*byte & 0x7Fu);
      if ((*byte & 0x80u) == 0) return value;
    }
    return std::nullopt;
  }
  bool Skip(std::size_t count) {
    if (Left() < count) return false;
    position_ += count;
    return true;
  }
  std::span<const std::uint8_t> Take(std::size_t count) {
    const auto part = bytes_.subspan(position_, count);
    position_ += count;
    return part;
  }

 private:
  std::span<const std::uint8_t> bytes_;
  std::size_t position_ = 0;
};

// One event of one track at its tick; tempo events carry the new tempo, messages their bytes.
struct STimedEvent {
  std::uint64_t tick;
  int track;
  int order;  // position in its track, so equal ticks keep the file's order
  bool isTempo;
  std::uint32_t tempo;
  std::uint8_t status, data1, data2;
  bool isMessage;
};

int DataBytesOf(std::uint8_t status) {
  const std::uint8_t kind = status & 0xF0;
  return kind == 0xC0 || kind == 0xD0 ? 1 : 2;
}

bool Wanted(std::uint8_t status) {
  const std::uint8_t kind = status & 0xF0;
  return kind == 0x80 || kind == 0x90 || kind == 0xB0 || kind == 0xD0 || kind == 0xE0;
}

bool ReadTrack(std::span<const std::uint8_t> bytes, int track, std::vector<STimedEvent>& events,
               std::string& error) {
  TByteReader in(bytes);
  std::uint64_t tick = 0;
  std::uint8_t runningStatus = 0;
  int order = 0;
  const auto fail = [&error, track](const char* what) {
    error = "track " + std::to_string(track + 1) + ": " + what;
    return false;
  };
  while (!in.AtEnd()) {
    const auto delta = in.VariableLength();
    const auto first = in.Byte();
    if (!delta || !first) return fail("an event is cut short");
    tick += *delta;
    STimedEvent event{tick, track, order++, false, 0, 0, 0, 0, false};
    // System-exclusive and meta events end a running status.
    if (*first >= 0xF0) runningStatus = 0;
    if (*first == 0xFF) {
      const auto type = in.Byte();
      const auto length = in.VariableLength();
      if (!type || !length || in.Left() < *length) return fail("a meta event is cut short");
      const auto data = in.Take(*length);
      if (*type == 0x2F) {
        events.push_back(event);
        return true;
      }
      if (*type == 0x51 && data.size() == 3) {
        event.isTempo = true;
        event.tempo = (std::uint32_t{data[0]} << 16) | (std::uint32_t{data[1]} << 8) | data[2];
        if (event.tempo == 0) return fail("a tempo of zero");
        events.push_back(event);
      }
      continue;
    }
    if (*first == 0xF0 || *first == 0xF7) {
      const auto length = in.VariableLength();
      if (!length || !in.Skip(*length)) return fail("a system-exclusive event is cut short");
      continue;
    }
    std::uint8_t status = *first;
    std::optional<std::uint8_t> data1;
    if (status < 0x80) {
      if (runningStatus == 0) return fail("data without a status byte");
      data1 = status;
      status = runningStatus;
    } else if (status >= 0xF0) {
      return fail("a system message inside a track");
    } else {
      runningStatus = status;
      data1 = in.Byte();
    }
    const std::optional<std::uint8_t> data2 =
        DataBytesOf(status) == 2 ? in.Byte() : std::optional<std::uint8_t>(0);
    if (!data1 || !data2) return fail("a channel message is cut short");
    if (!Wanted(status)) continue;
    event.isMessage = true;
    event.status = status;
    event.data1 = *data1 & 0x7F;
    event.data2 = *data2 & 0x7F;
    events.push_back(event);
  }
  return fail("the track has no end-of-track event");
}

// Converts ticks to engine samples while following the tempo changes.
class TTickClock {
 public:
  explicit TTickClock(std::uint16_t division) {
    if (division & 0x8000) {
      // SMPTE time: frames per second (negative in the high byte) times ticks per frame.
      const int framesPerSecond = -static_cast<std::int8_t>(division >> 8);
      smpteTicksPerSecond_ = static_cast<std::uint64_t>(framesPerSecond) * (division & 0xFF);
    } else {
      ticksPerQuarter_ = division;
    }
  }
  bool Valid() const { return ticksPerQuarter_ > 0 || smpteTicksPerSecond_ > 0; }

  std::int64_t SampleAt(std::uint64_t tick) {
    elapsed_ += static_cast<unsigned __int128>(tick - lastTick_) *
                (smpteTicksPerSecond_ > 0 ? kMicrosecondsPerSecond : tempo_);
    lastTick_ = tick;
    const unsigned __int128 perSecond =
        static_cast<unsigned __int128>(kMicrosecondsPerSecond) *
        (smpteTicksPerSecond_ > 0 ? smpteTicksPerSecond_ : ticksPerQuarter_);
    return static_cast<std::int64_t>(elapsed_ * kEngineSampleRate / perSecond);
  }
  void SetTempo(std::uint32_t tempo) { tempo_ = tempo; }

 private:
  std::uint64_t ticksPerQuarter_ = 0;
  std::uint64_t smpteTicksPerSecond_ = 0;
  std::uint32_t tempo_ = kDefaultTempo;
  std::uint64_t lastTick_ = 0;
  // Microseconds times ticks per quarter (or times ticks per second in SMPTE time).
  unsigned __int128 elapsed_ = 0;
};

}  // namespace

namespace {

void PutBigEndian(std::vector<std::uint8_t>& bytes, std::uint32_t value, int count) {
  for (int shift = 8 * (count - 1); shift >= 0; shift -= 8) {
    bytes.push_back(static_cast<std::uint8_t>(value >> shift));
  }
}

void PutVariableLength(std::vector<std::uint8_t>& bytes, std::uint32_t value) {
  std::uint8_t groups[5];
  int count = 0;
  do {
    groups[count++] = value & 0x7F;
    value >>= 7;
  } while (value != 0);
  while (count-- > 0)
    bytes.push_back(static_cast<std::uint8_t>(groups[count] | (count > 0 ? 0x80 : 0)));
}

}  // namespace

std::vector<std::uint8_t> EncodeMidiFile(const std::vector<SMidiFileMessage>& messages,
                                         std::uint16_t ticksPerQuarter, std::uint32_t tempo) {
  std::vector<std::uint8_t> track;
  PutVariableLength(track, 0);
  for (const std::uint8_t byte : {0xFF, 0x51, 0x03})
    track.push_back(byte);
  PutBigEndian(track, tempo, 3);
  std::uint32_t tick = 0;
  for (const SMidiFileMessage& message : messages) {
    PutVariableLength(track, message.tick - tick);
    tick = message.tick;
    track.push_back(message.status);
    track.push_back(message.data1);
    if (DataBytesOf(message.status) == 2) track.push_back(message.data2);
  }
  PutVariableLength(track, 0);
  for (const std::uint8_t byte : {0xFF, 0x2F, 0x00})
    track.push_back(byte);

  std::vector<std::uint8_t> bytes = {'M', 'T', 'h', 'd'};
  PutBigEndian(bytes, 6, 4);
  PutBigEndian(bytes, 0, 2);  // format 0
  PutBigEndian(bytes, 1, 2);  // one track
  PutBigEndian(bytes, ticksPerQuarter, 2);
  for (const std::uint8_t byte : {'M', 'T', 'r', 'k'})
    bytes.push_back(byte);
  PutBigEndian(bytes, static_cast<std::uint32_t>(track.size()), 4);
  for (const std::uint8_t byte : track)
    bytes.push_back(byte);
  return bytes;
}

bool ParseMidiFile(std::span<const std::uint8_t> bytes, SMidiFile& file, std::string& error) {
  file = SMidiFile();
  TByteReader in(bytes);
  const auto magic = in.BigEndian(4);
  const auto headerLength = in.BigEndian(4);
  if (!magic || *magic != 0x4D546864 || !headerLength || *headerLength < 6) {
    error = "not a Standard MIDI File";
    return false;
  }
  const auto format = in.BigEndian(2);
  const auto trackCount = in.BigEndian(2);
  const auto division = in.BigEndian(2);
  if (!format || !trackCount || !division || !in.Skip(*headerLength - 6)) {
    error = "the file header is cut short";
    return false;
  }
  if (*format > 1) {
    error = "MIDI file format " + std::to_string(*format) + " is not supported (only 0 and 1)";
    return false;
  }
  TTickClock clock(static_cast<std::uint16_t>(*division));
  if (!clock.Valid()) {
    error = "the file header gives no time division";
    return false;
  }
  std::vector<STimedEvent> events;
  for (int track = 0; track < static_cast<int>(*trackCount); ++track) {
    const auto type = in.BigEndian(4);
    const auto length = in.BigEndian(4);
    if (!type || !length || in.Left() < *length) {
      error = "track " + std::to_string(track + 1) + " is missing or cut short";
      return false;
    }
    const auto data = in.Take(*length);
    if (*type != 0x4D54726B) {  // chunks of unknown types are skipped
      --track;
      continue;
    }
    if (!ReadTrack(data, track, events, error)) return false;
  }
  std::stable_sort(events.begin(), events.end(), [](const STimedEvent& a, const STimedEvent& b) {
    if (a.tick != b.tick) return a.tick < b.tick;
    return a.track != b.track ? a.track < b.track : a.order < b.order;
  });
  for (const STimedEvent& event : events) {
    const std::int64_t sample = clock.SampleAt(event.tick);
    if (event.isTempo) clock.SetTempo(event.tempo);
    if (event.isMessage) file.events.push_back({sample, event.status, event.data1, event.data2});
    file.lengthSamples = std::max(file.lengthSamples, sample);
  }
  return true;
}

void ReleaseHeldNotes(SMidiFile& file) {
  constexpr std::int64_t kUp = -1;
  // The sample each note of each channel started at, while it is held.
  std::array<std::int64_t, 16 * 128> heldSince;
  heldSince.fill(kUp);
  for (const SMidiInEvent& event : file.events) {
    const int kind = event.status & 0xF0;
    const int channel = event.status & 0x0F;
    const bool allOff = kind == 0xB0 && (event.data1 == 120 || event.data1 == 123);
    if (allOff) std::fill_n(heldSince.begin() + 128 * channel, 128, kUp);
    if (kind == 0x90 || kind == 0x80) {
      heldSince[128 * channel + event.data1] =
          kind == 0x90 && event.data2 > 0 ? event.sampleIndex : kUp;
    }
  }
  std::vector<SMidiInEvent> releases;
  for (std::size_t i = 0; i < heldSince.size(); ++i) {
    if (heldSince[i] == kUp) continue;
    const std::int64_t at = std::max(file.lengthSamples, heldSince[i] + kShortestHeldNote);
    releases.push_back(
        {at, static_cast<std::uint8_t>(0x80 | (i / 128)), static_cast<std::uint8_t>(i % 128), 0});
  }
  std::stable_sort(
      releases.begin(), releases.end(),
      [](const SMidiInEvent& a, const SMidiInEvent& b) { return a.sampleIndex < b.sampleIndex; });
  for (const SMidiInEvent& release : releases) {
    file.events.push_back(release);
    file.lengthSamples = std::max(file.lengthSamples, release.sampleIndex);
  }
}

bool ReadMidiFile(const std::filesystem::path& path, SMidiFile& file, std::string& error) {
  std::vector<std::byte> bytes;
  std::string reason;
  if (!ReadInputFile(path, kMidiMaxReadBytes, bytes, reason)) {
    error = path.string() + ": " + reason;
    return false;
  }
  const std::span<const std::uint8_t> octets(reinterpret_cast<const std::uint8_t*>(bytes.data()),
                                             bytes.size());
  if (!ParseMidiFile(octets, file, error)) {
    error = path.string() + ": " + error;
    return false;
  }
  return true;
}
