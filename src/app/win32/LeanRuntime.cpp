// Pieces of the C++ run-time library replaced by smaller ones of the program's
// own, so that the shipped file stays small. The library's versions would bring
// in its name demangler, its second (reference-counted) string implementation
// with the exception classes built on it, and all of std::string: over 100 KB.
// Each replacement keeps what the program relies on: an error inside a handler
// still reaches the application's error box with the library's message.
#include <windows.h>

#include <pthread.h>

#include <cxxabi.h>

#include <cerrno>
#include <cstdlib>
#include <new>
#include <string>

#include "platform/Errors.h"

namespace __gnu_cxx {
// Only for an exception that nothing caught; the application catches every
// exception of its handlers.
void __verbose_terminate_handler() { std::abort(); }
}  // namespace __gnu_cxx

namespace std {
void __throw_bad_alloc() { throw bad_alloc(); }
void __throw_bad_array_new_length() { throw bad_array_new_length(); }
void __throw_length_error(const char* what) { throw tsaver::Exception(what); }
void __throw_logic_error(const char* what) { throw tsaver::Exception(what); }
void __throw_out_of_range(const char* what) { throw tsaver::Exception(what); }
void __throw_out_of_range_fmt(const char* format, ...) { throw tsaver::Exception(format); }
void __throw_invalid_argument(const char* what) { throw tsaver::Exception(what); }
}  // namespace std

// Each thread's exception state (the C++ ABI's __cxa_eh_globals: the stack of caught
// exceptions and the count of uncaught ones), in Windows' thread-local storage: the
// library's keeps it in emulated thread-local storage, which brings a table with its
// own locks. Allocated zeroed on a thread's first exception; freed with the process.
namespace {

LONG volatile ehGlobalsSlot = -1;

DWORD ehSlot() {
  const LONG known = ehGlobalsSlot;
  if (known != -1) return static_cast<DWORD>(known);
  const DWORD fresh = TlsAlloc();
  if (fresh == TLS_OUT_OF_INDEXES) std::abort();
  const LONG first = InterlockedCompareExchange(&ehGlobalsSlot, static_cast<LONG>(fresh), -1);
  if (first == -1) return fresh;
  TlsFree(fresh);
  return static_cast<DWORD>(first);
}

}  // namespace

namespace __cxxabiv1 {
extern "C" {

__cxa_eh_globals* __cxa_get_globals() noexcept {
  const DWORD slot = ehSlot();
  void* globals = TlsGetValue(slot);
  if (globals == nullptr) {
    // Two pointers' worth more than the two fields need: room for any target's layout.
    globals = HeapAlloc(GetProcessHeap(), HEAP_ZERO_MEMORY, 4 * sizeof(void*));
    if (globals == nullptr || !TlsSetValue(slot, globals)) std::abort();
  }
  return static_cast<__cxa_eh_globals*>(globals);
}

__cxa_eh_globals* __cxa_get_globals_fast() noexcept { return __cxa_get_globals(); }

}  // extern "C"
}  // namespace __cxxabiv1

// The library's own instantiation of std::string is one indivisible object of
// some 30 KB; instantiated here, each member lies in a section of its own and
// the linker keeps only those the program calls.
template class std::__cxx11::basic_string<char>;

// The run-time's exception unwinder asks the POSIX thread library for a once-flag,
// thread-local keys and a lock of statically initialised mutexes, and nothing else
// of it; answered here from Windows' own, the library (some 30 KB of threads,
// conditions and locks) stays out. The program has one thread; these hold for more
// all the same, but a key's destructor is not run when a thread ends, which costs
// only memory that the process's end returns.
extern "C" {

int pthread_once(pthread_once_t* once, void (*init)(void)) {
  enum : long { kNotRun = PTHREAD_ONCE_INIT, kRunning, kDone };
  if (InterlockedCompareExchange(once, kRunning, kNotRun) == kNotRun) {
    init();
    InterlockedExchange(once, kDone);
  } else {
    while (InterlockedCompareExchange(once, kDone, kDone) != kDone) Sleep(0);
  }
  return 0;
}

int pthread_key_create(pthread_key_t* key, void (*)(void*)) {
  const DWORD index = TlsAlloc();
  if (index == TLS_OUT_OF_INDEXES) return EAGAIN;
  *key = index;
  return 0;
}

void* pthread_getspecific(pthread_key_t key) { return TlsGetValue(key); }

int pthread_setspecific(pthread_key_t key, const void* value) {
  return TlsSetValue(key, const_cast<void*>(value)) ? 0 : ENOMEM;
}

// A spin lock: the run-time holds these mutexes for a few instructions (its emergency
// exception memory, its thread-local storage table). Any value but the held one is free.
namespace {
void* const kHeld = reinterpret_cast<void*>(1);
void* const kFree = reinterpret_cast<void*>(PTHREAD_MUTEX_INITIALIZER);
}  // namespace

int pthread_mutex_init(pthread_mutex_t* mutex, const pthread_mutexattr_t*) {
  *reinterpret_cast<void**>(mutex) = kFree;
  return 0;
}

int pthread_mutex_destroy(pthread_mutex_t*) { return 0; }

int pthread_mutex_lock(pthread_mutex_t* mutex) {
  auto* const word = reinterpret_cast<void* volatile*>(mutex);
  for (;;) {
    void* const seen = *word;
    if (seen != kHeld && InterlockedCompareExchangePointer(word, kHeld, seen) == seen) return 0;
    Sleep(0);
  }
}

int pthread_mutex_unlock(pthread_mutex_t* mutex) {
  InterlockedExchangePointer(reinterpret_cast<void* volatile*>(mutex), kFree);
  return 0;
}

}  // extern "C"
