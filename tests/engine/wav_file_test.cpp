#include "engine/wav_file.h"

#include <gtest/gtest.h>

#include <chrono>
#include <random>

#include "engine/wav_file_in_device.h"
#include "engine/wav_file_out_device.h"
#include "engine/wave_out_driver.h"
#include "tests/engine/wav_test_files.h"

namespace {

void PutU32(std::vector<std::byte>& file, std::size_t at, std::uint32_t value) {
  for (int i = 0; i < 4; ++i)
    file[at + i] = std::byte((value >> (8 * i)) & 0xFF);
}

void PutU16(std::vector<std::byte>& file, std::size_t at, std::uint16_t value) {
  file[at] = std::byte(value & 0xFF);
  file[at + 1] = std::byte(value >> 8);
}

TEST(WavFile, MalformedFilesGiveAClearError) {
  const std::vector<std::byte> good = Wav16(1, 22050, {1, 2, 3, 4});
  struct SCase {
    const char* name;
    std::function<void(std::vector<std::byte>&)> spoil;
    const char* error;
  };
  const SCase cases[] = {
      {"empty", [](auto& f) { f.clear(); }, "not a WAV file"},
      {"truncated header", [](auto& f) { f.resize(20); }, "truncated"},
      {"not RIFF", [](auto& f) { f[0] = std::byte('X'); }, "not a WAV file"},
      {"huge RIFF size", [](auto& f) { PutU32(f, 4, 0xFFFFFFFF); }, "truncated"},
      {"cut data", [](auto& f) { f.resize(f.size() - 3); }, "truncated"},
      {"huge data size", [](auto& f) { PutU32(f, 40, 0xFFFFFFF0); },
       "\"data\" announces 4294967280 bytes"},
      {"huge fmt size", [](auto& f) { PutU32(f, 16, 0x7FFFFFFF); }, "\"fmt \" announces"},
      {"short fmt",
       [](auto& f) {
         PutU32(f, 16, 8);  // the rest of the format is read as a chunk header
       },
       "too short"},
      {"float samples", [](auto& f) { PutU16(f, 20, 3); }, "not plain PCM"},
      {"three channels", [](auto& f) { PutU16(f, 22, 3); }, "mono and stereo"},
      {"24 bits", [](auto& f) { PutU16(f, 34, 24); }, "8- and 16-bit"},
      {"wrong block alignment", [](auto& f) { PutU16(f, 32, 3); }, "contradicts"},
      {"no data chunk", [](auto& f) { std::memcpy(&f[36], "junk", 4); }, "no data chunk"},
      {"no format chunk", [](auto& f) { std::memcpy(&f[12], "junk", 4); }, "no format chunk"},
  };
  for (const SCase& c : cases) {
    std::vector<std::byte> file = good;
    c.spoil(file);
    SWavContent content;
    std::string error;
    EXPECT_FALSE(ParseWav(file, content, error)) << c.name;
    EXPECT_NE(error.find(c.error), std::string::npos) << c.name << ": " << error;
  }
}

TEST(WavFile, DamagedFilesNeverReadOutOfBounds) {
  const std::vector<std::byte> good = Wav16(2, 44100, {1, -2, 3, -4, 5, -6});
  std::mt19937 random(7);
  for (int round = 0; round < 5000; ++round) {
    std::vector<std::byte> file(good);
    const int damage = 1 + static_cast<int>(random() % 4);
    for (int i = 0; i < damage; ++i)
      file[random() % file.size()] = std::byte(random() & 0xFF);
    file.resize(random() % (file.size() + 1));
    // An exact copy of the bytes, so that a read past them is caught by the sanitizers.
    std::unique_ptr<std::byte[]> exact(new std::byte[file.size()]);
    std::memcpy(exact.get(), file.data(), file.size());
    SWavContent content;
    std::string error;
    if (ParseWav({exact.get(), file.size()}, content, error)) {
      EXPECT_EQ(content.samples.size() % content.format.blockAlign, 0u);
    } else {
      EXPECT_FALSE(error.empty());
    }
  }
}

TEST(WavFile, RecordingsAreConvertedTo22050HzMonoOrRefused) {
  struct SCase {
    const char* name;
    std::vector<std::byte> file;
    std::vector<std::int16_t> samples;
    const char* error;  // null: read
  };
  const SCase cases[] = {
      {"as it is", Wav16(1, 22050, {1, -2, 300}), {1, -2, 300}, nullptr},
      {"stereo mixed",
       Wav16(2, 22050, {100, 300, -5, -6, 32767, 32767}),
       {200, -5, 32767},
       nullptr},
      {"44100 Hz halved", Wav16(1, 44100, {10, 20, -7, -8, 99}), {15, -7}, nullptr},
      {"48000 Hz", Wav16(1, 48000, {1, 2}), {}, "48000 Hz"},
      {"damaged", std::vector<std::byte>(30), {}, "not a WAV file"},
  };
  for (const SCase& c : cases) {
    const auto path = WriteTestFile(std::string(c.name) + ".wav", c.file);
    std::vector<std::int16_t> samples;
    std::string error;
    const bool read = LoadRecording(path, samples, error);
    if (c.error) {
      EXPECT_FALSE(read) << c.name;
      EXPECT_NE(error.find(path.string()), std::string::npos) << error;
      EXPECT_NE(error.find(c.error), std::string::npos) << error;
    } else {
      ASSERT_TRUE(read) << c.name << ": " << error;
      EXPECT_EQ(samples, c.samples) << c.name;
    }
  }
}

TEST(WavFile, EightBitRecordingsAreWidened) {
  SWaveFormat format = Pcm16Format(1, 22050);
  format.bitsPerSample = 8;
  format.blockAlign = 1;
  format.averageBytesPerSecond = 22050;
  const std::uint8_t samples[] = {128, 255, 0, 129};
  const auto path = WriteTestFile("eight.wav", WavBytes(format, samples, 4));
  std::vector<std::int16_t> read;
  std::string error;
  ASSERT_TRUE(LoadRecording(path, read, error)) << error;
  EXPECT_EQ(read, (std::vector<std::int16_t>{0, 127 * 256, -128 * 256, 256}));
}

// The device copies played bytes in chunks, but the speaker waits for its buffers: one must come
// back with the frame that ends it, not a chunk later.
TEST(WavFile, ABufferComesBackAsSoonAsItIsPlayedToItsEnd) {
  const auto target = std::filesystem::temp_directory_path() / "zelmar-wav-tests" / "done.wav";
  std::filesystem::create_directories(target.parent_path());
  auto device = std::make_shared<TWavFileOutDevice>(target);
  TWorkWaveOut driver(device);
  ASSERT_EQ(driver.Open(0, 0, false), kWaveNoError);
  for (int i = 0; i < TWorkWaveOut::kBufferCount; ++i)
    driver.QueueBuffer(driver.GetFreeBuffer());
  ASSERT_TRUE(driver.WaitUntilHandedOver(std::chrono::seconds(5)));
  constexpr std::uint32_t kFramesPerBuffer = TWorkWaveOut::kMonoBufferBytes / 2;

  device->Play(kFramesPerBuffer - 1);
  EXPECT_EQ(driver.GetFreeBuffer(), nullptr);
  device->Play(1);
  EXPECT_NE(driver.GetFreeBuffer(), nullptr);
  EXPECT_EQ(driver.Close(), kWaveNoError);
  std::filesystem::remove(target);
}

TEST(WavFile, AFileThatCannotBeCompletedIsReportedAndLeavesNoTemporaryFile) {
  const auto folder = std::filesystem::temp_directory_path() / "zelmar-wav-tests";
  // The target becomes a folder with content while the file is written, so the final rename
  // fails.
  const auto target = folder / "occupied.wav";
  std::filesystem::remove_all(target);
  std::filesystem::create_directories(folder);
  auto device = std::make_shared<TWavFileOutDevice>(target);
  TWorkWaveOut driver(device);
  ASSERT_EQ(driver.Open(0, 0, false), kWaveNoError);
  std::filesystem::create_directories(target / "inside");
  driver.QueueBuffer(driver.GetFreeBuffer());
  device->Play(1000);
  const int closed = driver.Close();
  EXPECT_EQ(closed, kWaveError);
  EXPECT_NE(device->ErrorText(closed).find("cannot take the place"), std::string::npos)
      << device->ErrorText(closed);
  EXPECT_FALSE(std::filesystem::exists(device->TemporaryPath()));
  EXPECT_TRUE(std::filesystem::is_directory(target));

  auto nowhere = std::make_shared<TWavFileOutDevice>(folder / "missing" / "out.wav");
  TWorkWaveOut unopened(nowhere);
  const int opened = unopened.Open(0, 0, false);
  EXPECT_EQ(opened, kWaveError);
  EXPECT_NE(unopened.ErrorText(opened).find("the folder does not exist"), std::string::npos);
  EXPECT_FALSE(unopened.IsOpen());
}

}  // namespace
