#include "engine/midi_file.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <vector>

#include <sys/stat.h>
#include <unistd.h>

#include "engine/wav_file.h"

namespace {

using TBytes = std::vector<std::uint8_t>;

TBytes Header(int format, int tracks, int division) {
  return {'M',
          'T',
          'h',
          'd',
          0,
          0,
          0,
          6,
          0,
          static_cast<std::uint8_t>(format),
          0,
          static_cast<std::uint8_t>(tracks),
          static_cast<std::uint8_t>(division >> 8),
          static_cast<std::uint8_t>(division & 0xFF)};
}

// A track chunk around `events` (delta times and events as raw bytes), with an end of track.
TBytes Track(TBytes events, bool withEnd = true) {
  if (withEnd) {
    for (const std::uint8_t byte : {0x00, 0xFF, 0x2F, 0x00})
      events.push_back(byte);
  }
  TBytes chunk = {'M', 'T', 'r', 'k'};
  const auto size = static_cast<std::uint32_t>(events.size());
  for (int shift = 24; shift >= 0; shift -= 8)
    chunk.push_back(static_cast<std::uint8_t>(size >> shift));
  for (const std::uint8_t byte : events)
    chunk.push_back(byte);
  return chunk;
}

TBytes Join(std::initializer_list<TBytes> parts) {
  TBytes all;
  for (const TBytes& part : parts) {
    for (const std::uint8_t byte : part)
      all.push_back(byte);
  }
  return all;
}

SMidiFile Parse(const TBytes& bytes) {
  SMidiFile file;
  std::string error;
  EXPECT_TRUE(ParseMidiFile(bytes, file, error)) << error;
  return file;
}

TEST(MidiFile, NotesAtTheirSampleTimesWithRunningStatusAndSkippedEvents) {
  // 96 ticks per quarter at the default 120 beats per minute: 96 ticks are half a second.
  const SMidiFile file =
      Parse(Join({Header(0, 1, 96), Track({0x00, 0x90, 69,   100,         // note on A4
                                           0x60, 69,   0,                 // running status: off
                                           0x00, 0xF0, 0x02, 0x01, 0xF7,  // system exclusive
                                           0x00, 0xFF, 0x01, 0x02, 'h',  'i',  // text
                                           0x00, 0xC0, 0x05,                   // program change
                                           0x30, 0xD0, 0x40,                   // channel pressure
                                           0x00, 0xE0, 0x00, 0x40})}));        // pitch bend centre
  EXPECT_EQ(file.events, (std::vector<SMidiInEvent>{{0, 0x90, 69, 100},
                                                    {11025, 0x90, 69, 0},
                                                    {16537, 0xD0, 0x40, 0},
                                                    {16537, 0xE0, 0x00, 0x40}}));
  EXPECT_EQ(file.lengthSamples, 16537);
}

TEST(MidiFile, TempoChangesOfTheFirstTrackTimeEveryTrack) {
  const SMidiFile file = Parse(Join(
      {Header(1, 2, 96), Track({0x60, 0xFF, 0x51, 0x03, 0x03, 0xD0, 0x90}),  // 250000 at tick 96
       Track({0x00, 0x90, 60, 90, 0x60, 0x80, 60, 0, 0x60, 0x90, 62, 90})}));
  ASSERT_EQ(file.events.size(), 3u);
  EXPECT_EQ(file.events[1].sampleIndex, 11025);
  EXPECT_EQ(file.events[2].sampleIndex, 11025 + 5512);
}

TEST(MidiFile, SmpteTime) {
  // 25 frames of 40 ticks: 1000 ticks per second.
  const SMidiFile file = Parse(Join({Header(0, 1, 0xE728), Track({0x83, 0x74, 0x90, 60, 1})}));
  ASSERT_EQ(file.events.size(), 1u);
  EXPECT_EQ(file.events[0].sampleIndex, 11025);
}

TEST(MidiFile, MalformedFilesGiveAnError) {
  const struct {
    const char* what;
    TBytes bytes;
  } cases[] = {
      {"not MIDI", {'R', 'I', 'F', 'F', 0, 0, 0, 6}},
      {"header cut short",
       [] {
         TBytes bytes = Header(0, 1, 96);
         bytes.resize(10);
         return bytes;
       }()},
      {"format 2", Join({Header(2, 1, 96), Track({})})},
      {"missing track", Header(0, 1, 96)},
      {"track longer than the file",
       [] {
         TBytes bytes = Join({Header(0, 1, 96), Track({0x00, 0x90, 60, 1})});
         bytes.resize(bytes.size() - 3);
         return bytes;
       }()},
      {"no end of track", Join({Header(0, 1, 96), Track({0x00, 0x90, 60, 1}, false)})},
      {"data without status", Join({Header(0, 1, 96), Track({0x00, 60, 1})})},
      {"endless delta time", Join({Header(0, 1, 96), Track({0xFF, 0xFF, 0xFF, 0xFF, 0x7F})})},
      {"message cut short", Join({Header(0, 1, 96), Track({0x00, 0x90, 60}, false)})},
      {"zero division", Join({Header(0, 1, 0), Track({})})},
  };
  for (const auto& c : cases) {
    SMidiFile file;
    std::string error;
    EXPECT_FALSE(ParseMidiFile(c.bytes, file, error)) << c.what;
    EXPECT_FALSE(error.empty()) << c.what;
  }
  SMidiFile file;
  std::string error;
  EXPECT_FALSE(ReadMidiFile("/nonexistent/song.mid", file, error));
  EXPECT_NE(error.find("/nonexistent/song.mid"), std::string::npos);
}

TEST(MidiFile, ABadFileIsNamedWithItsFault) {
  const auto folder = std::filesystem::temp_directory_path();
  const struct {
    const char* name;
    TBytes bytes;
    const char* fault;
  } cases[] = {
      {"wave.mid", {'R', 'I', 'F', 'F', 0, 0, 0, 6}, "not a Standard MIDI File"},
      {"format2.mid", Join({Header(2, 1, 96), Track({})}), "format 2 is not supported"},
      {"open.mid", Join({Header(0, 1, 96), Track({0x00, 0x90, 60, 1}, false)}),
       "track 1: the track has no end-of-track event"},
  };
  for (const auto& c : cases) {
    const auto path = folder / c.name;
    std::ofstream(path, std::ios::binary)
        .write(reinterpret_cast<const char*>(c.bytes.data()),
               static_cast<std::streamsize>(c.bytes.size()));
    SMidiFile file;
    std::string error;
    EXPECT_FALSE(ReadMidiFile(path, file, error)) << c.name;
    EXPECT_NE(error.find(path.string()), std::string::npos) << error;
    EXPECT_NE(error.find(c.fault), std::string::npos) << error;
  }
}

TEST(MidiFile, WrittenFilesReadBack) {
  const std::vector<SMidiFileMessage> written = {
      {0, 0x90, 69, 100}, {200, 0x80, 69, 0}, {200, 0xB0, 7, 90}, {20000, 0xD0, 33, 0}};
  const SMidiFile file = Parse(EncodeMidiFile(written, 480, 600000));
  ASSERT_EQ(file.events.size(), written.size());
  // 480 ticks per quarter of 0.6 s: a tick is 1.25 ms.
  EXPECT_EQ(file.events[1], (SMidiInEvent{5512, 0x80, 69, 0}));
  EXPECT_EQ(file.events[3], (SMidiInEvent{551250, 0xD0, 33, 0}));
}

// Folders, pipes and files beyond the limit are refused before anything is read into memory.
TEST(MidiFile, OnlyRegularFilesWithinTheLimitAreRead) {
  namespace fs = std::filesystem;
  const fs::path folder =
      fs::temp_directory_path() / ("zelmar-midi-file-test-" + std::to_string(::getpid()));
  fs::create_directories(folder / "folder.mid");
  ASSERT_EQ(::mkfifo((folder / "pipe.mid").c_str(), 0600), 0);
  // Sparse: it takes no room on the disk.
  std::ofstream(folder / "huge.mid").put('M');
  fs::resize_file(folder / "huge.mid", kMidiMaxReadBytes + 1);
  const struct {
    const char* name;
    const char* reason;
  } cases[] = {
      {"folder.mid", "is a folder"},
      {"pipe.mid", "is not a regular file"},
      {"huge.mid", "is larger than the 64 MB"},
      {"missing.mid", "does not exist"},
  };
  for (const auto& c : cases) {
    SMidiFile file;
    std::string error;
    EXPECT_FALSE(ReadMidiFile(folder / c.name, file, error)) << c.name;
    EXPECT_NE(error.find(c.name), std::string::npos) << error;
    EXPECT_NE(error.find(c.reason), std::string::npos) << error;
    // The recordings' reader follows the same rules.
    SWavContent content;
    EXPECT_FALSE(ReadWavFile(folder / c.name, content, error)) << c.name;
  }
  fs::remove_all(folder);
}

// Notes held at the end of a file are released there, but not before they sounded for the
// shortest held note's time. A file without held notes is left alone.
TEST(MidiFile, NotesHeldAtTheEndAreReleasedThere) {
  constexpr std::int64_t kEnd = 3 * kShortestHeldNote;
  SMidiFile file;
  file.events = {{0, 0x90, 60, 100},  {0, 0x91, 60, 100},       {10, 0x80, 60, 0},
                 {20, 0x90, 64, 100}, {30, 0x90, 67, 0},        {35, 0x92, 50, 100},
                 {40, 0xB2, 123, 0},  {kEnd - 5, 0x90, 72, 100}};
  file.lengthSamples = kEnd;
  ReleaseHeldNotes(file);
  const std::vector<SMidiInEvent> added(file.events.begin() + 8, file.events.end());
  EXPECT_EQ(added, (std::vector<SMidiInEvent>{{kEnd, 0x80, 64, 0},
                                              {kEnd, 0x81, 60, 0},
                                              {kEnd - 5 + kShortestHeldNote, 0x80, 72, 0}}));
  EXPECT_EQ(file.lengthSamples, kEnd - 5 + kShortestHeldNote);

  SMidiFile released;
  released.events = {{0, 0x90, 60, 100}, {5, 0x90, 60, 0}};
  released.lengthSamples = 9;
  ReleaseHeldNotes(released);
  EXPECT_EQ(released.events.size(), 2u);
  EXPECT_EQ(released.lengthSamples, 9);
}

}  // namespace
