// A work object of one kernel with its records in a vector, laid out as a sound start would:
// one mono module per record, the sample rate set, Prepare called.
#pragma once

#include <cstdint>
#include <vector>

#include "engine/work_object.h"

template <class Work, class Record>
class TKernelRig {
 public:
  explicit TKernelRig(std::vector<Record> records) : records_(std::move(records)) {
    work_.SetSampleRate(kEngineSampleRate);
    for (std::size_t i = 0; i < records_.size(); ++i)
      work_.RegisterModule(ModuleKey(i), 1);
    work_.records = reinterpret_cast<std::byte*>(records_.data());
    work_.Prepare();
  }

  void Run(int samples) {
    for (int i = 0; i < samples; ++i)
      work_.ProcessSample();
  }
  // Runs one sample at a time and collects record `index`'s output after each.
  std::vector<std::int32_t> Outputs(int samples, std::size_t index = 0) {
    std::vector<std::int32_t> outputs;
    for (int i = 0; i < samples; ++i) {
      work_.ProcessSample();
      outputs.push_back(records_[index].output);
    }
    return outputs;
  }

  Record& operator[](std::size_t index) { return records_[index]; }
  Work& work() { return work_; }

 private:
  static const TEngineModule* ModuleKey(std::size_t i) {
    return reinterpret_cast<const TEngineModule*>((i + 1) * 64);
  }

  Work work_;
  std::vector<Record> records_;
};
