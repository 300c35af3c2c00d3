// The loop every kernel runs once per engine sample: over its records from the last down to
// the first, with a plain pointer and the per-record step inlined.
#pragma once

template <class Record, class Step>
inline void ForEachRecordBackward(Record* first, Record* last, Step step) {
  for (Record* record = last + 1; record != first;)
    step(*--record);
}
