#pragma once
// A kernel handle that closes itself: the one wrapper for files, processes and threads.
#include <windows.h>

#include <utility>

namespace win32 {

class UniqueHandle {
 public:
  UniqueHandle() = default;
  // Takes ownership; CreateFileW's INVALID_HANDLE_VALUE and a null handle both mean "none".
  explicit UniqueHandle(HANDLE handle) : m_handle(handle == INVALID_HANDLE_VALUE ? nullptr : handle) {}
  ~UniqueHandle() { reset(); }
  UniqueHandle(UniqueHandle&& other) noexcept : m_handle(std::exchange(other.m_handle, nullptr)) {}
  UniqueHandle& operator=(UniqueHandle&& other) noexcept {
    if (this != &other) {
      reset();
      m_handle = std::exchange(other.m_handle, nullptr);
    }
    return *this;
  }
  UniqueHandle(const UniqueHandle&) = delete;
  UniqueHandle& operator=(const UniqueHandle&) = delete;

  HANDLE get() const { return m_handle; }
  explicit operator bool() const { return m_handle != nullptr; }

  void reset() {
    if (m_handle) CloseHandle(std::exchange(m_handle, nullptr));
  }
  // Closes now and reports whether the close succeeded: for a file written to, a failed close
  // may mean bytes that never reached the disk.
  bool Close() { return m_handle && CloseHandle(std::exchange(m_handle, nullptr)) != 0; }

 private:
  HANDLE m_handle = nullptr;
};

}  // namespace win32
