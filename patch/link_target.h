// What a consumer hands back along a wire when it is bound: either the address of an input field
// (an audio or control link) or a MIDI listener (a MIDI link). The two kinds are told apart by
// construction, never by a port type a file names, so that a wire between ports of the wrong
// kinds links nothing instead of making one kind of link read as the other.
#pragma once

#include <cstdint>

#include "persist/callbacks.h"

class TLinkTarget {
 public:
  // The input field `*field` will read the source's value.
  static TLinkTarget Signal(const std::int32_t** field) { return TLinkTarget(field, nullptr); }
  // The source's MIDI messages go to `listener`.
  static TLinkTarget Midi(TAMsgMidiCallback& listener) { return TLinkTarget(nullptr, &listener); }

  // A signal source: points the input field at `value`; a MIDI link ignores it.
  void Connect(const std::int32_t* value) const {
    if (field_ != nullptr) *field_ = value;
  }
  // A MIDI source: the listener to file, or null for a signal link.
  TAMsgMidiCallback* MidiListener() const { return listener_; }

 private:
  TLinkTarget(const std::int32_t** field, TAMsgMidiCallback* listener)
      : field_(field), listener_(listener) {}

  const std::int32_t** field_;
  TAMsgMidiCallback* listener_;
};
