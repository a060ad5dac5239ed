#pragma once
// A kernel handle that closes itself: the one wrapper for files, processes and threads.
#include <windows.h>

#include <utility>

namespace win32 {

class UniqueHandle {
 public:
  UniqueHandle() = default;
  // Takes ownership; CreateFileW's INVALID_HANDLE_VALUE and a null handle both mean "none".
  explicit UniqueHandle(HANDLE handle) : handle_(handle == INVALID_HANDLE_VALUE ? nullptr : handle) {}
  ~UniqueHandle() { reset(); }
  UniqueHandle(UniqueHandle&& other) noexcept : handle_(std::exchange(other.handle_, nullptr)) {}
  UniqueHandle& operator=(UniqueHandle&& other) noexcept {
    if (this != &other) {
      reset();
      handle_ = std::exchange(other.handle_, nullptr);
    }
    return *this;
  }
  UniqueHandle(const UniqueHandle&) = delete;
  UniqueHandle& operator=(const UniqueHandle&) = delete;

  HANDLE get() const { return handle_; }
  explicit operator bool() const { return handle_ != nullptr; }

  void reset() {
    if (handle_) CloseHandle(std::exchange(handle_, nullptr));
  }
  // Closes now and reports whether the close succeeded: for a file written to, a failed close
  // may mean bytes that never reached the disk.
  bool Close() { return handle_ && CloseHandle(std::exchange(handle_, nullptr)) != 0; }

 private:
  HANDLE handle_ = nullptr;
};

}  // namespace win32
