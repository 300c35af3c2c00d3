// The work objects that take part in a playing sound, in ascending work type code. One engine
// sample is one ProcessSample call on each of them, in this order, so a work type that reads the
// output of a higher code sees that output's value of the previous sample.
#pragma once

#include <vector>

#include "engine/work_object.h"

using TActiveWorks = std::vector<TWorkBasisklassen*>;

inline void PrepareWorks(const TActiveWorks& works) {
  for (TWorkBasisklassen* work : works)
    work->Prepare();
}

inline void ProcessOneSample(const TActiveWorks& works) {
  for (TWorkBasisklassen* work : works)
    work->ProcessSample();
}
