#pragma once
// COM lifetimes bound to a scope: an owned interface pointer, released once,
// and one CoInitialize paired with its CoUninitialize. Neither can be copied
// (a copy would release or uninitialise twice); both can be moved.
#include <windows.h>
#include <objbase.h>

#include <utility>

namespace tsaver {

template <typename Interface>
class ComPtr {
 public:
  ComPtr() = default;
  ~ComPtr() { reset(); }
  ComPtr(const ComPtr&) = delete;
  ComPtr& operator=(const ComPtr&) = delete;
  ComPtr(ComPtr&& other) noexcept : p_(std::exchange(other.p_, nullptr)) {}
  ComPtr& operator=(ComPtr&& other) noexcept {
    if (this != &other) {
      reset();
      p_ = std::exchange(other.p_, nullptr);
    }
    return *this;
  }

  Interface* get() const { return p_; }
  Interface* operator->() const { return p_; }
  // For an out-parameter: releases what is held, then receives the new pointer.
  void** receive() {
    reset();
    return reinterpret_cast<void**>(&p_);
  }
  void reset() {
    if (p_) std::exchange(p_, nullptr)->Release();
  }

 private:
  Interface* p_ = nullptr;
};

class ScopedCoInitialize {
 public:
  // The result is kept, not judged: even S_FALSE (already initialised) must be
  // balanced, and a failed call must not be.
  ScopedCoInitialize() : result_(CoInitialize(nullptr)) {}
  ~ScopedCoInitialize() {
    if (owns_ && SUCCEEDED(result_)) CoUninitialize();
  }
  ScopedCoInitialize(const ScopedCoInitialize&) = delete;
  ScopedCoInitialize& operator=(const ScopedCoInitialize&) = delete;
  ScopedCoInitialize(ScopedCoInitialize&& other) noexcept
      : result_(other.result_), owns_(std::exchange(other.owns_, false)) {}
  ScopedCoInitialize& operator=(ScopedCoInitialize&&) = delete;

 private:
  HRESULT result_;
  bool owns_ = true;
};

}  // namespace tsaver
