// The scope kernel (work type 16) records the first samples of its input after every binding
// into the scope module's capture block and counts each capture once when the block is full.
#pragma once

#include <atomic>
#include <cstdint>

#include "engine/work_object.h"

// Shared by the scope module and the engine threads of the bindings it was given to. The painter
// reads the samples on the GUI thread while the kernel writes them, so each sample is an atomic
// (relaxed: a picture shows whatever has arrived).
struct SScopeCapture {
  std::uint32_t capacity = 0;  // samples
  std::atomic<std::int32_t>* samples = nullptr;
  // Samples written by the capture under way; the scope window repaints when it grows.
  std::atomic<std::uint32_t> written{0};
  // Captures completed; the kernel counts up (release), the module's poll reads.
  std::atomic<std::uint32_t> completed{0};
};

struct SSehenRecord {
  const std::int32_t* input = nullptr;
  SScopeCapture* capture = nullptr;
  std::uint8_t done = 0;  // the module clears it (and the count) to arm a new capture
  std::uint32_t count = 0;
};

class TWorkSehen : public TWorkRecords<SSehenRecord> {
 public:
  void ProcessSample() override;
};
