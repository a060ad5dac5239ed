#pragma once
// A file handle that closes itself.
#include <windows.h>

#include <memory>
#include <type_traits>

namespace bpcalc::win {

struct HandleCloser {
  void operator()(HANDLE handle) const { CloseHandle(handle); }
};
using UniqueHandle = std::unique_ptr<std::remove_pointer_t<HANDLE>, HandleCloser>;

// Empty when CreateFileW failed.
inline UniqueHandle AdoptFileHandle(HANDLE handle) {
  return UniqueHandle(handle == INVALID_HANDLE_VALUE ? nullptr : handle);
}

}  // namespace bpcalc::win
