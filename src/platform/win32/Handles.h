#pragma once
// Owned Win32 resources, each closed once by its own function: a file HANDLE
// (CloseHandle), a process or event HANDLE (CloseHandle; NULL when missing), a
// FindFirstFile handle (FindClose), a mapped view (UnmapViewOfFile), an HKEY (RegCloseKey) and a shell PIDL (CoTaskMemFree). None can be copied (a copy would close twice);
// all can be moved, leaving the source empty.
#include <windows.h>
#include <objbase.h>
#include <shlobj.h>

#include <utility>

namespace tsaver {

template <typename Traits>
class UniqueResource {
 public:
  using Type = typename Traits::Type;

  UniqueResource() = default;
  explicit UniqueResource(Type value) : value_(value) {}
  ~UniqueResource() { reset(); }
  UniqueResource(const UniqueResource&) = delete;
  UniqueResource& operator=(const UniqueResource&) = delete;
  UniqueResource(UniqueResource&& other) noexcept : value_(other.release()) {}
  UniqueResource& operator=(UniqueResource&& other) noexcept {
    if (this != &other) reset(other.release());
    return *this;
  }

  Type get() const { return value_; }
  bool valid() const { return value_ != Traits::invalid(); }
  explicit operator bool() const { return valid(); }
  Type release() { return std::exchange(value_, Traits::invalid()); }
  void reset(Type value = Traits::invalid()) {
    if (valid()) Traits::close(value_);
    value_ = value;
  }
  // For an out-parameter: closes what is held, then receives the new value.
  Type* receive() {
    reset();
    return &value_;
  }

 private:
  Type value_ = Traits::invalid();
};

// CreateFileA reports failure as INVALID_HANDLE_VALUE, not NULL.
struct FileHandleTraits {
  using Type = HANDLE;
  static Type invalid() { return INVALID_HANDLE_VALUE; }
  static void close(Type handle) { CloseHandle(handle); }
};

// OpenProcess, CreateEventA and OpenEventA report failure as NULL.
struct KernelHandleTraits {
  using Type = HANDLE;
  static Type invalid() { return nullptr; }
  static void close(Type handle) { CloseHandle(handle); }
};

struct FindHandleTraits {
  using Type = HANDLE;
  static Type invalid() { return INVALID_HANDLE_VALUE; }
  static void close(Type handle) { FindClose(handle); }
};

struct RegKeyTraits {
  using Type = HKEY;
  static Type invalid() { return nullptr; }
  static void close(Type key) { RegCloseKey(key); }
};

struct PidlTraits {
  using Type = LPITEMIDLIST;
  static Type invalid() { return nullptr; }
  static void close(Type pidl) { CoTaskMemFree(pidl); }
};

// A view of a file mapping (MapViewOfFile; NULL when it failed).
struct MappedViewTraits {
  using Type = const void*;
  static Type invalid() { return nullptr; }
  static void close(Type view) { UnmapViewOfFile(view); }
};

using UniqueFileHandle = UniqueResource<FileHandleTraits>;
using UniqueHandle = UniqueResource<KernelHandleTraits>;
using UniqueFindHandle = UniqueResource<FindHandleTraits>;
using UniqueRegKey = UniqueResource<RegKeyTraits>;
using UniquePidl = UniqueResource<PidlTraits>;
using UniqueMappedView = UniqueResource<MappedViewTraits>;

}  // namespace tsaver
