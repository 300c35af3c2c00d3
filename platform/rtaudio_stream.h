// Opening an RtAudio stream on a listed device, shared by the wave-output and wave-input
// devices. It turns every refusal into a result code of the multimedia numbering and a
// sentence the user can act on. Only the platform layer sees RtAudio.
#pragma once

#include <RtAudio.h>

#include <memory>
#include <string>
#include <vector>

#include "platform/audio_device_list.h"

// Null when RtAudio was built without the system.
std::unique_ptr<RtAudio> NewRtAudio(EDeviceApi api);

struct SAudioStreamRequest {
  EAudioDirection direction = EAudioDirection::Output;
  unsigned channels = 1;
  std::vector<unsigned> rates;  // frames per second the caller can work with, preferred first
  RtAudioCallback callback = nullptr;
  void* userData = nullptr;
  // An output stream only: the listed name of an input device recorded in the same callback,
  // one mono channel; empty for none.
  std::string inputName;
};

struct SOpenedAudioStream {
  std::unique_ptr<RtAudio> audio;  // the open stream, not yet started
  unsigned rate = 0;               // the rate of `rates` it runs at
  std::string name;                // the device's listed name
};

// Opens a 16-bit interleaved stream on device `device` of the list over `apis`. Returns 0, or
// 2 (no such device, or it vanished), 32 (it does not run at any of the rates, or has too few
// channels), 7 (no memory), 1 (the system refused, for instance a device in use), with the
// reason in `error`. An input to record as well must be a JACK device like the output (one
// client of the same server serves both); otherwise the result is 2.
int OpenAudioStream(const std::vector<EDeviceApi>& apis, int device,
                    const SAudioStreamRequest& request, SOpenedAudioStream& opened,
                    std::string& error);

// Starts the stream; 0, or 1 with the reason in `error`.
int StartAudioStream(RtAudio& audio, std::string& error);
// Stops the stream at once, without playing out what the device holds; safe on a stopped or
// closed stream. 0, or 1 with the reason in `error`.
int StopAudioStream(RtAudio& audio, std::string& error);
// Stops and closes the stream; after it the callback is never called again.
int CloseAudioStream(RtAudio& audio, std::string& error);
