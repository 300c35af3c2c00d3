// What a module sees of the engine while it is bound: the voice count, the rate, the waveform
// tables, typed and checked access to records and kernels, and the memory of the binding (see
// bind_arena.h). Binding runs on the GUI thread before the engine thread starts.
#pragma once

#include <cstddef>
#include <cstdint>
#include <limits>
#include <memory>
#include <type_traits>

#include "engine/bind_arena.h"
#include "engine/engine_module.h"
#include "engine/work_object.h"

class TKlangEngine;

class TBindContext {
 public:
  TBindContext(const TKlangEngine& engine, TBindArena& arena) : engine_(engine), arena_(arena) {}

  int CountVoices() const;
  int SampleRate() const;
  // The one-cycle table of a wave code (EWaveCode), or null; SampleRate() entries.
  const std::int32_t* WaveTable(int waveCode) const;

  // The record of `module` for `voice` when the work object of its work type keeps records of
  // type `Record`; null otherwise (no such type, the module not laid out, another record type).
  template <class Record>
  Record* RecordOf(const TEngineModule& module, int voice) const {
    auto* work = dynamic_cast<TWorkRecords<Record>*>(Work(module.GetWorkType()));
    return work != nullptr ? static_cast<Record*>(work->GetRecord(&module, voice)) : nullptr;
  }
  // The work object of `code` when it is a `Kernel`; null otherwise.
  template <class Kernel>
  Kernel* KernelOf(int code) const {
    return dynamic_cast<Kernel*>(Work(code));
  }

  // `count` zero-filled values of the binding's memory, alive while any engine thread of this
  // binding may run; null when the memory cannot be had.
  template <class T>
  T* Allocate(std::size_t count) {
    static_assert(std::is_trivially_copyable_v<T> && std::is_trivially_destructible_v<T>);
    if (count > std::numeric_limits<std::size_t>::max() / sizeof(T)) return nullptr;
    return static_cast<T*>(arena_.Allocate(count * sizeof(T)));
  }
  // Keeps `share` alive while any engine thread of this binding may run.
  void Keep(std::shared_ptr<const void> share) { arena_.Keep(std::move(share)); }

 private:
  TWorkBasisklassen* Work(int code) const;

  const TKlangEngine& engine_;
  TBindArena& arena_;
};
