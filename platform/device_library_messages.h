// The sound and MIDI libraries print their own messages on the standard error: on a machine
// without a sound card ALSA writes a screenful while the device lists look for cards, and JACK
// a few lines when no server runs. The program reports device problems in its own words (the
// device errors), so those messages are silenced before the first library call.
#pragma once

#include <iosfwd>

// Idempotent and safe from any thread.
void QuietDeviceLibraries();

// RtMidi writes to std::cerr while an input is being built, before an error callback can be
// installed; this object holds such writes back while it lives. Nothing else of the program
// writes to std::cerr once it runs, so no other message is lost.
class TQuietStandardError {
 public:
  TQuietStandardError();
  ~TQuietStandardError();
  TQuietStandardError(const TQuietStandardError&) = delete;
  TQuietStandardError& operator=(const TQuietStandardError&) = delete;

 private:
  std::streambuf* previous_;
};
