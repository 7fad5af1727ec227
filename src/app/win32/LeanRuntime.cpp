// Pieces of the C++ run-time library replaced by smaller ones of the program's
// own, so that the shipped file stays small. The library's versions would bring
// in its name demangler, its second (reference-counted) string implementation
// with the exception classes built on it, and all of std::string: over 100 KB.
// Each replacement keeps what the program relies on: an error inside a handler
// still reaches the application's error box with the library's message.
#include <windows.h>

#include <pthread.h>

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

// The library's own instantiation of std::string is one indivisible object of
// some 30 KB; instantiated here, each member lies in a section of its own and
// the linker keeps only those the program calls.
template class std::__cxx11::basic_string<char>;

// The run-time's exception unwinder asks the POSIX thread library for a once-flag
// and thread-local keys, and nothing else of it; answered here from Windows' own,
// the library (some 30 KB of threads, conditions and locks) stays out. The program
// has one thread; these hold for more all the same, but a key's destructor is not
// run when a thread ends, which costs only memory that the process's end returns.
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

}  // extern "C"
