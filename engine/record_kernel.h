// A work class whose kernel applies one step function to every record, last to first. The step
// is a template argument, so it is inlined into the loop and a sample costs one virtual call per
// work type, not per record.
#pragma once

#include "engine/work_kernel.h"
#include "engine/work_object.h"

template <class Record, void (*Step)(Record&)>
class TWorkKernel : public TWorkRecords<Record> {
 public:
  void ProcessSample() override {
    // A lambda rather than the function pointer itself, so the step is inlined for certain.
    ForEachRecordBackward(this->firstRecord, this->lastRecord,
                          [](Record& record) { Step(record); });
  }
};
