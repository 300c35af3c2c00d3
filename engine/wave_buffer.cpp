#include "engine/wave_buffer.h"

#include <new>

bool TWorkWaveInOutBuffer::Allocate(std::uint32_t bytes) {
  Release();
  header_.reset(new (std::nothrow) SWaveHeader{});
  if (!header_) return false;
  data_.reset(new (std::nothrow) std::byte[bytes]{});
  if (!data_) {
    header_.reset();
    return false;
  }
  header_->data = data_.get();
  header_->bufferLength = bytes;
  header_->written.store(bytes, std::memory_order_relaxed);
  return true;
}

void TWorkWaveInOutBuffer::Release() {
  header_.reset();
  data_.reset();
}
