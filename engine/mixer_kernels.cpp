#include "engine/mixer_kernels.h"

#include <cstddef>
#include <cstdint>

namespace {

// Address distance in bytes, without subtracting pointers into different records.
std::ptrdiff_t ByteDistance(const std::int32_t* from, const std::int32_t* to) {
  return static_cast<std::ptrdiff_t>(reinterpret_cast<std::uintptr_t>(to) -
                                     reinterpret_cast<std::uintptr_t>(from));
}

}  // namespace

std::int32_t EvenSourceSpacing(const std::int32_t* const* sources, std::int32_t count) {
  if (sources == nullptr || count < 2) return 0;
  const std::ptrdiff_t bytes = ByteDistance(sources[0], sources[1]);
  constexpr auto kValueBytes = static_cast<std::ptrdiff_t>(sizeof(std::int32_t));
  const std::ptrdiff_t values = bytes / kValueBytes;
  if (bytes % kValueBytes != 0 || values == 0 || values > INT32_MAX || values < -INT32_MAX) {
    return 0;
  }
  for (std::int32_t i = 2; i < count; ++i) {
    if (ByteDistance(sources[i - 1], sources[i]) != bytes) return 0;
  }
  return static_cast<std::int32_t>(values);
}

void TWorkAddierer::Prepare() {
  TWorkKernel::Prepare();
  ForEachRecordBackward(firstRecord, lastRecord, [](SAddiererRecord& r) {
    r.SourceSpacing = EvenSourceSpacing(r.Sources, r.Count);
  });
}
