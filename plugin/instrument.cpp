#include "plugin/instrument.h"

#include <lv2/atom/util.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <fstream>
#include <iterator>
#include <sstream>

#include "engine/work_object.h"
#include "plugin/plugin_sound.h"
#include "plugin/state_text.h"

namespace {

// Larger files are no sound of this program.
constexpr std::streamoff kLongestSoundFile = 64 << 20;
// Paths longer than this from a patch message are ignored.
constexpr std::uint32_t kLongestPath = 4096;

enum class EWork : std::uint32_t { kLoadFile, kDispose };

struct SDisposeWork {
  EWork kind;
  TPluginSound* sound;
};

// The worker's answer: the sound it loaded.
struct SLoadedSound {
  TPluginSound* sound;
};

bool ReadWholeFile(const std::string& path, std::string& text, std::string& error) {
  std::ifstream file(path, std::ios::binary | std::ios::ate);
  if (!file) {
    error = "it cannot be opened";
    return false;
  }
  if (file.tellg() > kLongestSoundFile) {
    error = "it is far larger than any sound";
    return false;
  }
  file.seekg(0);
  text.assign(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
  if (file.bad()) {
    error = "it cannot be read";
    return false;
  }
  return true;
}

// The text of a state value: an atom:String (its size counts the closing zero; a plain string
// literal in a state file gives one too), or an atom:Literal, whose datatype and language come
// first (a literal with a language tag, as a state written by hand may hold).
bool StateText(const void* value, std::size_t size, std::uint32_t type, const SInstrumentUris& uris,
               std::string& text) {
  const char* chars = static_cast<const char*>(value);
  if (type == uris.atomLiteral) {
    if (size < sizeof(LV2_Atom_Literal_Body)) return false;
    chars += sizeof(LV2_Atom_Literal_Body);
    size -= sizeof(LV2_Atom_Literal_Body);
  } else if (type != uris.atomString) {
    return false;
  }
  text.assign(chars, strnlen(chars, size));
  return true;
}

}  // namespace

TInstrument::TInstrument(double rate, const std::string& bundlePath, const SHostFeatures& host)
    : rate_(static_cast<unsigned>(std::lround(rate))), bundlePath_(bundlePath), host_(host) {
  std::unique_ptr<TPluginSound> sound;
  if (LoadFile(bundlePath_ + kDefaultSound, sound)) sound_.store(sound.release());
}

TInstrument::~TInstrument() {
  Dispose(sound_.load());
  for (TPluginSound* waiting : waitingDisposals_)
    Dispose(waiting);
}

void TInstrument::ConnectPort(std::uint32_t port, void* data) {
  if (port == kControlPort) {
    control_ = static_cast<const LV2_Atom_Sequence*>(data);
  } else if (port == kLeftPort) {
    left_ = static_cast<float*>(data);
  } else if (port == kRightPort) {
    right_ = static_cast<float*>(data);
  } else if (port >= kFirstFaderPort && port < kFirstFaderPort + kFaderControls) {
    faders_[port - kFirstFaderPort] = static_cast<const float*>(data);
  }
}

bool TInstrument::LoadFile(const std::string& path, std::unique_ptr<TPluginSound>& sound) {
  std::string text;
  std::string error;
  std::string notes;
  if (ReadWholeFile(path, text, error)) sound = LoadPluginSound(text, rate_, error, notes);
  if (!notes.empty())
    lv2_log_warning(&host_.logger, "zelmar: %s: %s\n", path.c_str(), notes.c_str());
  if (sound == nullptr) {
    lv2_log_error(&host_.logger, "zelmar: %s: %s; the sound that played plays on\n", path.c_str(),
                  error.c_str());
    return false;
  }
  if (sound->SpeakerCount() == 0)
    lv2_log_warning(&host_.logger, "zelmar: %s: no speaker plays, so the sound is silent\n",
                    path.c_str());
  return true;
}

void TInstrument::Run(std::uint32_t frames) {
  HandOverDisposals();
  if (const TPluginSound* sound = sound_.load(std::memory_order_relaxed))
    lead_ = std::max(lead_, sound->SamplesComputed() - EngineSampleAt(hostFrames_));
  ReadControl(frames);
  MoveFaders();
  if (TPluginSound* sound = sound_.load(std::memory_order_relaxed)) {
    sound->Play(left_, right_, frames, midi_);
    hostFrames_ += frames;
  } else {
    std::fill_n(left_, frames, 0.0F);
    std::fill_n(right_, frames, 0.0F);
  }
}

// The first engine sample heard at or after the host's frame.
std::int64_t TInstrument::EngineSampleAt(std::int64_t hostFrame) const {
  return static_cast<std::int64_t>(
      std::ceil(static_cast<double>(hostFrame) * kEngineSampleRate / static_cast<double>(rate_)));
}

void TInstrument::ReadControl(std::uint32_t frames) {
  if (control_ == nullptr) return;
  LV2_ATOM_SEQUENCE_FOREACH(control_, event) {
    if (event->body.type == host_.uris.midiEvent) {
      ReadMidi(*event, frames);
    } else if (event->body.type == host_.uris.atomObject) {
      ReadPatch(*reinterpret_cast<const LV2_Atom_Object*>(&event->body));
    }
  }
}

void TInstrument::ReadMidi(const LV2_Atom_Event& event, std::uint32_t frames) {
  const auto* bytes = reinterpret_cast<const std::uint8_t*>(&event + 1);
  const std::uint32_t size = event.body.size;
  // Channel messages only; system messages mean nothing to the sound's modules.
  if (size == 0 || bytes[0] < 0x80 || bytes[0] >= 0xF0) return;
  const std::int64_t frame = std::clamp<std::int64_t>(event.time.frames, 0, frames);
  midi_.Add({EngineSampleAt(hostFrames_ + frame) + lead_, bytes[0],
             static_cast<std::uint8_t>(size > 1 ? bytes[1] & 0x7F : 0),
             static_cast<std::uint8_t>(size > 2 ? bytes[2] & 0x7F : 0)});
}

void TInstrument::ReadPatch(const LV2_Atom_Object& object) {
  const SInstrumentUris& uris = host_.uris;
  if (object.body.otype != uris.patchSet) return;
  const LV2_Atom* property = nullptr;
  const LV2_Atom* value = nullptr;
  lv2_atom_object_get(&object, uris.patchProperty, &property, uris.patchValue, &value, 0);
  if (property == nullptr || property->type != uris.atomUrid ||
      reinterpret_cast<const LV2_Atom_URID*>(property)->body != uris.soundFile) {
    return;
  }
  if (value == nullptr || value->type != uris.atomPath || value->size > kLongestPath) return;
  // The kind, then the path's characters without the closing zero.
  std::array<char, sizeof(EWork) + kLongestPath> message{};
  const EWork kind = EWork::kLoadFile;
  std::memcpy(message.data(), &kind, sizeof kind);
  const char* path = reinterpret_cast<const char*>(value + 1);
  const std::size_t length = strnlen(path, value->size);
  std::memcpy(message.data() + sizeof kind, path, length);
  host_.worker->schedule_work(host_.worker->handle,
                              static_cast<std::uint32_t>(sizeof kind + length), message.data());
}

void TInstrument::MoveFaders() {
  TPluginSound* sound = sound_.load(std::memory_order_relaxed);
  for (int i = 0; i < kFaderControls; ++i) {
    const float* port = faders_[static_cast<std::size_t>(i)];
    if (port == nullptr || !std::isfinite(*port)) continue;
    float& position = faderPositions_[static_cast<std::size_t>(i)];
    if (*port == position && !fadersChanged_) continue;
    position = *port;
    if (sound != nullptr) sound->SetFader(i, position);
  }
  fadersChanged_ = false;
}

LV2_Worker_Status TInstrument::Work(LV2_Worker_Respond_Function respond,
                                    LV2_Worker_Respond_Handle handle, std::uint32_t size,
                                    const void* data) {
  EWork kind{};
  if (size < sizeof kind) return LV2_WORKER_ERR_UNKNOWN;
  std::memcpy(&kind, data, sizeof kind);
  if (kind == EWork::kDispose && size == sizeof(SDisposeWork)) {
    SDisposeWork work{};
    std::memcpy(&work, data, sizeof work);
    Dispose(work.sound);
    return LV2_WORKER_SUCCESS;
  }
  if (kind != EWork::kLoadFile) return LV2_WORKER_ERR_UNKNOWN;
  const std::string path(static_cast<const char*>(data) + sizeof kind, size - sizeof kind);
  std::unique_ptr<TPluginSound> sound;
  if (!LoadFile(path, sound)) return LV2_WORKER_SUCCESS;
  const SLoadedSound loaded{sound.get()};
  if (respond(handle, sizeof loaded, &loaded) != LV2_WORKER_SUCCESS) {
    lv2_log_error(&host_.logger, "zelmar: %s: the host took no answer from its worker\n",
                  path.c_str());
    DisposePluginSound(std::move(sound));
    return LV2_WORKER_ERR_NO_SPACE;
  }
  static_cast<void>(sound.release());  // the audio thread owns it now
  return LV2_WORKER_SUCCESS;
}

LV2_Worker_Status TInstrument::WorkResponse(std::uint32_t size, const void* data) {
  SLoadedSound loaded{};
  if (size != sizeof loaded) return LV2_WORKER_ERR_UNKNOWN;
  std::memcpy(&loaded, data, sizeof loaded);
  // The replaced sound goes to the worker.
  DisposeLater(Swap(loaded.sound));
  return LV2_WORKER_SUCCESS;
}

// `sound` plays from the next block on, counting its time from 0; returns the sound it replaces.
TPluginSound* TInstrument::Swap(TPluginSound* sound) {
  midi_.Clear();
  hostFrames_ = 0;
  lead_ = 0;
  fadersChanged_ = true;
  return sound_.exchange(sound, std::memory_order_acq_rel);
}

void TInstrument::DisposeLater(TPluginSound* sound) {
  if (sound == nullptr) return;
  for (TPluginSound*& waiting : waitingDisposals_) {
    if (waiting == nullptr) {
      waiting = sound;
      break;
    }
  }
  HandOverDisposals();
}

void TInstrument::HandOverDisposals() {
  for (TPluginSound*& waiting : waitingDisposals_) {
    if (waiting == nullptr) continue;
    const SDisposeWork work{EWork::kDispose, waiting};
    if (host_.worker->schedule_work(host_.worker->handle, sizeof work, &work) !=
        LV2_WORKER_SUCCESS) {
      return;
    }
    waiting = nullptr;
  }
}

void TInstrument::Dispose(TPluginSound* sound) {
  if (sound == nullptr) return;
  const std::lock_guard lock(soundLock_);
  DisposePluginSound(std::unique_ptr<TPluginSound>(sound));
}

LV2_State_Status TInstrument::Save(LV2_State_Store_Function store, LV2_State_Handle handle) {
  const std::lock_guard lock(soundLock_);
  const TPluginSound* sound = sound_.load(std::memory_order_acquire);
  if (sound == nullptr) return LV2_STATE_SUCCESS;
  const std::string text = StateTextOfSound(sound->Text());
  return store(handle, host_.uris.sound, text.c_str(), text.size() + 1, host_.uris.atomString,
               LV2_STATE_IS_POD | LV2_STATE_IS_PORTABLE);
}

LV2_State_Status TInstrument::Restore(LV2_State_Retrieve_Function retrieve,
                                      LV2_State_Handle handle) {
  std::size_t size = 0;
  std::uint32_t type = 0;
  std::uint32_t flags = 0;
  const void* value = retrieve(handle, host_.uris.sound, &size, &type, &flags);
  std::unique_ptr<TPluginSound> sound;
  if (value == nullptr) {
    if (!LoadFile(bundlePath_ + kDefaultSound, sound)) return LV2_STATE_ERR_UNKNOWN;
    Play(std::move(sound));
    return LV2_STATE_SUCCESS;
  }
  std::string text;
  if (!StateText(value, size, type, host_.uris, text)) {
    lv2_log_error(&host_.logger,
                  "zelmar: the state's sound is no text; the sound that played plays on\n");
    return LV2_STATE_ERR_BAD_TYPE;
  }
  std::string error;
  std::string notes;
  sound = LoadPluginSound(SoundOfStateText(text), rate_, error, notes);
  if (!notes.empty())
    lv2_log_warning(&host_.logger, "zelmar: the state's sound: %s\n", notes.c_str());
  if (sound == nullptr) {
    lv2_log_error(&host_.logger, "zelmar: the state's sound: %s; the sound that played plays on\n",
                  error.c_str());
    return LV2_STATE_ERR_UNKNOWN;
  }
  Play(std::move(sound));
  return LV2_STATE_SUCCESS;
}

// Restore only, while nothing else runs on the instance: the replaced sound goes at once.
void TInstrument::Play(std::unique_ptr<TPluginSound> sound) { Dispose(Swap(sound.release())); }
