// Callback holders. A holder binds a member function to an object; a holder with nothing bound
// answers every call with a zero value and does nothing, so callers never test it first.
#pragma once

#include <cstdint>
#include <functional>
#include <utility>

template <class Signature>
class TCallback;

template <class R, class... Args>
class TCallback<R(Args...)> {
 public:
  TCallback() = default;
  explicit TCallback(std::function<R(Args...)> target) : target_(std::move(target)) {}

  // Binds `method` of `object`; the object must outlive every call.
  template <class T, class Method>
  static TCallback Bind(T* object, Method method) {
    return TCallback([object, method](Args... args) -> R {
      return (object->*method)(std::forward<Args>(args)...);
    });
  }

  R Call(Args... args) const {
    if (!target_) return R();
    return target_(std::forward<Args>(args)...);
  }
  bool IsBound() const { return static_cast<bool>(target_); }

 private:
  std::function<R(Args...)> target_;
};

using TAMsgAllCallback = TCallback<int(int, int, int)>;
using TAMsgStandardCallback = TCallback<int()>;
using TAMsgMidiCallback = TCallback<void(std::uint8_t, std::uint8_t, std::uint8_t)>;
