#include "tests/plugin/lv2_test_host.h"

#include <lv2/atom/util.h>
#include <lv2/midi/midi.h>
#include <lv2/patch/patch.h>

#include <algorithm>
#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

constexpr std::size_t kControlBytes = 1 << 16;
constexpr std::size_t kLargestBlock = 1 << 16;

}  // namespace

TLv2World& TLv2World::Get() {
  static TLv2World world;
  return world;
}

void UseTheBuildsBundle() { setenv("LV2_PATH", ZELMAR_LV2_FOLDER, 1); }

TLv2World::TLv2World() {
  UseTheBuildsBundle();
  world_ = lilv_world_new();
  map_ = {this, [](LV2_URID_Map_Handle self, const char* uri) {
            return static_cast<TLv2World*>(self)->Map(uri);
          }};
  unmap_ = {this, [](LV2_URID_Unmap_Handle self, LV2_URID urid) {
              return static_cast<TLv2World*>(self)->Unmap(urid);
            }};
  lilv_world_load_all(world_);
  LilvNode* uri = lilv_new_uri(world_, kPluginUri);
  plugin_ = lilv_plugins_get_by_uri(lilv_world_get_all_plugins(world_), uri);
  lilv_node_free(uri);
}

LV2_URID TLv2World::Map(const char* uri) {
  const std::lock_guard lock(lock_);
  const auto found = std::find(uris_.begin(), uris_.end(), uri);
  if (found != uris_.end()) return static_cast<LV2_URID>(found - uris_.begin() + 1);
  uris_.emplace_back(uri);
  return static_cast<LV2_URID>(uris_.size());
}

const char* TLv2World::Unmap(LV2_URID urid) {
  const std::lock_guard lock(lock_);
  return urid >= 1 && urid <= uris_.size() ? uris_[urid - 1].c_str() : nullptr;
}

TTestInstrument::TTestInstrument(double rate)
    : world_(TLv2World::Get()),
      featureList_{{{LV2_URID__map, world_.MapFeature()},
                    {LV2_WORKER__schedule, &schedule_},
                    {LV2_LOG__log, &log_}}},
      features_{&featureList_[0], &featureList_[1], &featureList_[2], nullptr},
      control_(kControlBytes / sizeof(std::uint64_t)),
      left_(kLargestBlock),
      right_(kLargestBlock) {
  faders_.fill(0.5F);
  lv2_atom_forge_init(&forge_, world_.MapFeature());
  if (world_.Plugin() == nullptr) return;
  instance_ = lilv_plugin_instantiate(world_.Plugin(), rate, features_.data());
  if (instance_ == nullptr) return;
  worker_ = static_cast<const LV2_Worker_Interface*>(
      lilv_instance_get_extension_data(instance_, LV2_WORKER__interface));
  lilv_instance_connect_port(instance_, 0, control_.data());
  lilv_instance_connect_port(instance_, 1, left_.data());
  lilv_instance_connect_port(instance_, 2, right_.data());
  for (std::uint32_t i = 0; i < faders_.size(); ++i)
    lilv_instance_connect_port(instance_, 3 + i, &faders_[i]);
  lilv_instance_activate(instance_);
}

TTestInstrument::~TTestInstrument() {
  if (instance_ == nullptr) return;
  lilv_instance_deactivate(instance_);
  // Sounds still on their way to or from the worker are disposed of as the plugin asks.
  DoWork();
  lilv_instance_free(instance_);
}

void TTestInstrument::Midi(std::size_t frame, std::uint8_t status, std::uint8_t data1,
                           std::uint8_t data2) {
  const allocation_count::TPause pause;
  events_.push_back({frame, {status, data1, data2}, {}});
}

void TTestInstrument::ChooseFile(const std::string& path) {
  const allocation_count::TPause pause;
  events_.push_back({0, {}, path});
}

void TTestInstrument::WriteEvents(std::size_t from, std::size_t frames) {
  lv2_atom_forge_set_buffer(&forge_, reinterpret_cast<std::uint8_t*>(control_.data()),
                            kControlBytes);
  LV2_Atom_Forge_Frame sequence;
  lv2_atom_forge_sequence_head(&forge_, &sequence, 0);
  for (const SEvent& event : events_) {
    if (event.frame < from || event.frame >= from + frames) continue;
    lv2_atom_forge_frame_time(&forge_, static_cast<std::int64_t>(event.frame - from));
    if (!event.midi.empty()) {
      lv2_atom_forge_atom(&forge_, static_cast<std::uint32_t>(event.midi.size()),
                          world_.Map(LV2_MIDI__MidiEvent));
      lv2_atom_forge_write(&forge_, event.midi.data(),
                           static_cast<std::uint32_t>(event.midi.size()));
      continue;
    }
    LV2_Atom_Forge_Frame object;
    lv2_atom_forge_object(&forge_, &object, 0, world_.Map(LV2_PATCH__Set));
    lv2_atom_forge_key(&forge_, world_.Map(LV2_PATCH__property));
    lv2_atom_forge_urid(&forge_, world_.Map("urn:zelmar:instrument#soundFile"));
    lv2_atom_forge_key(&forge_, world_.Map(LV2_PATCH__value));
    lv2_atom_forge_path(&forge_, event.path.c_str(), static_cast<std::uint32_t>(event.path.size()));
    lv2_atom_forge_pop(&forge_, &object);
  }
  lv2_atom_forge_pop(&forge_, &sequence);
}

SStereo TTestInstrument::Run(std::size_t frames, std::size_t block) {
  SStereo played;
  if (instance_ == nullptr) return played;
  {
    const allocation_count::TPause pause;
    played.left.reserve(frames);
    played.right.reserve(frames);
    // A sequence holds its events in time order.
    std::stable_sort(events_.begin(), events_.end(),
                     [](const SEvent& a, const SEvent& b) { return a.frame < b.frame; });
  }
  for (std::size_t done = 0; done < frames;) {
    const std::size_t count = std::min({block, frames - done, kLargestBlock});
    {
      // The events are the host's own work, done before the plugin runs.
      const allocation_count::TPause pause;
      WriteEvents(done, count);
    }
    lilv_instance_run(instance_, static_cast<std::uint32_t>(count));
    played.left.insert(played.left.end(), left_.begin(), left_.begin() + count);
    played.right.insert(played.right.end(), right_.begin(), right_.begin() + count);
    DoWork();
    done += count;
  }
  const allocation_count::TPause pause;
  events_.clear();
  return played;
}

void TTestInstrument::DoWork() {
  if (worker_ == nullptr) return;
  std::vector<std::vector<std::uint8_t>> jobs;
  jobs.swap(jobs_);
  std::vector<std::vector<std::uint8_t>> responses;
  {
    // The worker's thread may allocate; the audio thread's answers (below) may not.
    const allocation_count::TPause pause;
    for (const auto& job : jobs)
      worker_->work(lilv_instance_get_handle(instance_), Respond, this,
                    static_cast<std::uint32_t>(job.size()), job.data());
    responses.swap(responses_);
  }
  for (const auto& response : responses)
    worker_->work_response(lilv_instance_get_handle(instance_),
                           static_cast<std::uint32_t>(response.size()), response.data());
  if (worker_->end_run != nullptr) worker_->end_run(lilv_instance_get_handle(instance_));
  // What the plugin scheduled while answering (sounds to dispose of) is done at once.
  if (!jobs_.empty()) DoWork();
}

LV2_Worker_Status TTestInstrument::Schedule(LV2_Worker_Schedule_Handle handle, std::uint32_t size,
                                            const void* data) {
  const allocation_count::TPause pause;
  const auto* bytes = static_cast<const std::uint8_t*>(data);
  static_cast<TTestInstrument*>(handle)->jobs_.emplace_back(bytes, bytes + size);
  return LV2_WORKER_SUCCESS;
}

LV2_Worker_Status TTestInstrument::Respond(LV2_Worker_Respond_Handle handle, std::uint32_t size,
                                           const void* data) {
  const auto* bytes = static_cast<const std::uint8_t*>(data);
  static_cast<TTestInstrument*>(handle)->responses_.emplace_back(bytes, bytes + size);
  return LV2_WORKER_SUCCESS;
}

int TTestInstrument::LogPrintf(LV2_Log_Handle handle, LV2_URID type, const char* format, ...) {
  va_list args;
  va_start(args, format);
  const int written = LogVprintf(handle, type, format, args);
  va_end(args);
  return written;
}

int TTestInstrument::LogVprintf(LV2_Log_Handle handle, LV2_URID, const char* format, va_list args) {
  char text[2048];
  const int written = std::vsnprintf(text, sizeof text, format, args);
  auto* self = static_cast<TTestInstrument*>(handle);
  const std::lock_guard lock(self->logLock_);
  self->logText_ += text;
  return written;
}

std::string TTestInstrument::Log() {
  const std::lock_guard lock(logLock_);
  return logText_;
}

LilvState* TTestInstrument::Save() {
  return lilv_state_new_from_instance(world_.Plugin(), instance_, world_.MapFeature(), nullptr,
                                      nullptr, nullptr, nullptr, nullptr, nullptr, 0,
                                      features_.data());
}

void TTestInstrument::Restore(const LilvState* state) {
  lilv_state_restore(state, instance_, nullptr, nullptr, 0, features_.data());
}
