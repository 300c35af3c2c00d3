#include "persist/output_file.h"

#include <gtest/gtest.h>

#include <cstring>
#include <fstream>
#include <sstream>

#include <fcntl.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <sys/un.h>
#include <unistd.h>

#include "support/folder_entries.h"
#include "support/scratch_folder.h"

namespace {

namespace fs = std::filesystem;

class OutputFile : public TScratchFolderTest {
 protected:
  static std::string Read(const fs::path& file) {
    std::ifstream in(file, std::ios::binary);
    std::ostringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
  }
  static void Put(const fs::path& file, const std::string& text) {
    std::ofstream(file, std::ios::binary) << text;
  }
  static bool Write(const fs::path& file, const std::string& text, std::string& error) {
    return WriteOutputFile(file, std::as_bytes(std::span(text)), error);
  }
  std::vector<fs::path> Entries() const { return SortedEntries(folder); }
};

TEST_F(OutputFile, FilesAreReplacedWholeAndLinksWrittenThrough) {
  const fs::path file = folder / "sound.zmr";
  Put(file, "old");
  fs::permissions(file, fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
  // A file of the user's that has the name an older writer used for its temporary file.
  Put(folder / "sound.zmr.part", "mine");
  fs::create_symlink("sound.zmr", folder / "link.zmr");
  fs::create_symlink("later.zmr", folder / "dangling.zmr");

  std::string error;
  ASSERT_TRUE(Write(file, "new", error)) << error;
  EXPECT_EQ(Read(file), "new");
  EXPECT_EQ(fs::status(file).permissions() & fs::perms::all,
            fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
  EXPECT_EQ(Read(folder / "sound.zmr.part"), "mine");

  ASSERT_TRUE(Write(folder / "link.zmr", "through", error)) << error;
  EXPECT_TRUE(fs::is_symlink(folder / "link.zmr"));
  EXPECT_EQ(Read(file), "through");
  ASSERT_TRUE(Write(folder / "dangling.zmr", "made", error)) << error;
  EXPECT_TRUE(fs::is_symlink(folder / "dangling.zmr"));
  EXPECT_EQ(Read(folder / "later.zmr"), "made");

  // Nothing but what the test made: no temporary file is left behind.
  EXPECT_EQ(Entries(), (std::vector<fs::path>{"dangling.zmr", "later.zmr", "link.zmr", "sound.zmr",
                                              "sound.zmr.part"}));
}

TEST_F(OutputFile, AnAbandonedWriteLeavesTheOldFile) {
  const fs::path file = folder / "take.wav";
  Put(file, "old");
  {
    TOutputFile output(file);
    std::string error;
    ASSERT_TRUE(output.Open(error)) << error;
    EXPECT_FALSE(output.IsStream());
    EXPECT_EQ(output.TemporaryPath().parent_path(), folder);
    std::fputs("half", output.File());
    EXPECT_TRUE(fs::exists(output.TemporaryPath()));
  }
  EXPECT_EQ(Read(file), "old");
  EXPECT_EQ(Entries(), std::vector<fs::path>{"take.wav"});
}

TEST_F(OutputFile, WhatIsNoFileIsRefusedAndLeftAsItWas) {
  fs::create_directories(folder / "folder");
  const fs::path socketPath = folder / "socket";
  const int listening = ::socket(AF_UNIX, SOCK_STREAM, 0);
  sockaddr_un address{};
  address.sun_family = AF_UNIX;
  std::strncpy(address.sun_path, socketPath.c_str(), sizeof address.sun_path - 1);
  ASSERT_EQ(::bind(listening, reinterpret_cast<sockaddr*>(&address), sizeof address), 0);
  ASSERT_EQ(::mkfifo((folder / "unread").c_str(), 0600), 0);
  const struct {
    fs::path path;
    const char* reason;
  } cases[] = {
      {folder / "folder", "is a folder"},
      {folder / "folder" / "", "names a folder"},
      {folder / "missing" / "x.wav", "the folder does not exist"},
      {socketPath, "neither a file nor a stream"},
      {folder / "unread", "no program reads"},
  };
  for (const auto& c : cases) {
    std::string error;
    EXPECT_FALSE(CheckOutputPath(c.path, error) && Write(c.path, "bytes", error)) << c.path;
    EXPECT_NE(error.find(c.reason), std::string::npos) << error;
  }
  EXPECT_TRUE(fs::is_directory(folder / "folder"));
  EXPECT_TRUE(fs::is_empty(folder / "folder"));
  EXPECT_TRUE(fs::is_socket(socketPath));
  EXPECT_TRUE(fs::is_fifo(folder / "unread"));
  ::close(listening);
}

TEST_F(OutputFile, PipesAndDevicesAreWrittenAsStreams) {
  const fs::path pipe = folder / "pipe";
  ASSERT_EQ(::mkfifo(pipe.c_str(), 0600), 0);
  // The reader opens first, as a program at the other end of a pipe would.
  const int reader = ::open(pipe.c_str(), O_RDONLY | O_NONBLOCK);
  ASSERT_GE(reader, 0);
  std::string error;
  ASSERT_TRUE(Write(pipe, "streamed", error)) << error;
  char received[16] = {};
  EXPECT_EQ(::read(reader, received, sizeof received), 8);
  EXPECT_STREQ(received, "streamed");
  ::close(reader);
  EXPECT_TRUE(fs::is_fifo(pipe));

  // A node like /dev/null, made here rather than used from /dev; only root may make one.
  const fs::path null = folder / "null";
  if (::mknod(null.c_str(), S_IFCHR | 0666, makedev(1, 3)) != 0) GTEST_SKIP() << "not root";
  ASSERT_TRUE(Write(null, "discarded", error)) << error;
  EXPECT_TRUE(fs::is_character_file(null));
}

TEST_F(OutputFile, OutputsAreKeptApartFromInputsAndEachOther) {
  const fs::path sound = folder / "sound.zmr";
  Put(sound, "sound");
  fs::create_symlink("sound.zmr", folder / "link.wav");
  fs::create_hard_link(sound, folder / "hard.wav");
  fs::create_directories(folder / "sub");
  const struct {
    std::vector<fs::path> outputs;
    const char* reason;  // none: apart
  } cases[] = {
      {{sound}, "is the input"},
      {{folder / "link.wav"}, "is the input"},
      {{folder / "hard.wav"}, "is the input"},
      {{folder / "." / "sound.zmr"}, "is the input"},
      {{folder / "a.wav", folder / "sub" / ".." / "a.wav"}, "same file as the output"},
      {{folder / "a.wav", folder / "b.wav"}, nullptr},
  };
  for (const auto& c : cases) {
    std::string error;
    const bool apart = CheckOutputsApart(c.outputs, {sound, {}}, error);
    EXPECT_EQ(apart, c.reason == nullptr) << c.outputs[0];
    if (c.reason) {
      EXPECT_NE(error.find(c.reason), std::string::npos) << error;
    }
  }
  EXPECT_EQ(Read(sound), "sound");
}

}  // namespace
