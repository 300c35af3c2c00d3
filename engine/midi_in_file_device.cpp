#include "engine/midi_in_file_device.h"

#include <limits>

#include <algorithm>

namespace {

std::uint32_t Pack(const SMidiInEvent& event) {
  return event.status | std::uint32_t{event.data1} << 8 | std::uint32_t{event.data2} << 16;
}

}  // namespace

TMidiInFileDevice::TMidiInFileDevice(std::vector<SMidiInEvent> events)
    : events_(std::move(events)) {
  std::stable_sort(events_.begin(), events_.end(),
                   [](const auto& a, const auto& b) { return a.sampleIndex < b.sampleIndex; });
}

int TMidiInFileDevice::Open(TMidiInCallback* callback) {
  if (open_) return kMidiAllocated;
  open_ = true;
  callback_ = callback;
  if (callback_ != nullptr) callback_->MidiInCallback(EMidiInMessage::Open, 0, nullptr);
  return kMidiOk;
}

// A file carries no system-exclusive data, so the buffer is only checked in and out.
int TMidiInFileDevice::Reset() { return IfOpen(); }
int TMidiInFileDevice::PrepareHeader(SMidiInHeader&) { return IfOpen(); }
int TMidiInFileDevice::AddBuffer(SMidiInHeader&) { return IfOpen(); }
int TMidiInFileDevice::UnprepareHeader(SMidiInHeader&) { return IfOpen(); }

int TMidiInFileDevice::Start() {
  started_ = open_;
  return IfOpen();
}

int TMidiInFileDevice::Stop() {
  started_ = false;
  return IfOpen();
}

int TMidiInFileDevice::Close() {
  if (!open_) return kMidiInvalidHandle;
  if (callback_ != nullptr) callback_->MidiInCallback(EMidiInMessage::Close, 0, nullptr);
  open_ = started_ = false;
  callback_ = nullptr;
  return kMidiOk;
}

std::int64_t TMidiInFileDevice::NextEventSample() const {
  return next_ < events_.size() ? events_[next_].sampleIndex
                                : std::numeric_limits<std::int64_t>::max();
}

void TMidiInFileDevice::DeliverUpTo(std::int64_t sampleIndex) {
  for (; next_ < events_.size() && events_[next_].sampleIndex <= sampleIndex; ++next_) {
    if (started_ && callback_ != nullptr) {
      callback_->MidiInCallback(EMidiInMessage::Data, Pack(events_[next_]), nullptr);
    }
  }
}

TOfflineRunner::TSampleHook TMidiInFileDevice::SampleHook() {
  return [this](std::int64_t index) { DeliverUpTo(index); };
}
