#include "platform/device_library_messages.h"

#include <alsa/asoundlib.h>
#include <jack/jack.h>

#include <iostream>
#include <mutex>
#include <streambuf>

namespace {

void IgnoreAlsaMessage(const char*, int, const char*, int, const char*, ...) {}

void IgnoreJackMessage(const char*) {}

// Takes every character and keeps none.
class TDiscardingBuffer : public std::streambuf {
 protected:
  int_type overflow(int_type c) override { return traits_type::not_eof(c); }
  std::streamsize xsputn(const char*, std::streamsize count) override { return count; }
};

TDiscardingBuffer discarded;

}  // namespace

void QuietDeviceLibraries() {
  static std::once_flag quiet;
  std::call_once(quiet, [] {
    snd_lib_error_set_handler(&IgnoreAlsaMessage);
    jack_set_error_function(&IgnoreJackMessage);
    jack_set_info_function(&IgnoreJackMessage);
  });
}

TQuietStandardError::TQuietStandardError() : previous_(std::cerr.rdbuf(&discarded)) {}

TQuietStandardError::~TQuietStandardError() { std::cerr.rdbuf(previous_); }
