#pragma once
// Tells a window when a file in a folder changes, so that a table another program wrote is
// noticed while Quenda sits idle, without polling: a thread waits on the system's change
// notification and posts one message a change.
#include <windows.h>

#include <string>

#include "platform/handle.h"

namespace quenda {

class FolderWatch {
 public:
  FolderWatch() = default;
  FolderWatch(const FolderWatch&) = delete;
  FolderWatch& operator=(const FolderWatch&) = delete;
  ~FolderWatch() { Stop(); }

  // Posts `message` to `window` after each change of a file's name, size or time in `folder`;
  // false when the folder cannot be watched (then nothing is posted).
  bool Start(const std::wstring& folder, HWND window, UINT message);
  void Stop();

 private:
  static DWORD WINAPI Run(void* self);

  HANDLE change_ = INVALID_HANDLE_VALUE;
  win::UniqueHandle stop_;
  win::UniqueHandle thread_;
  HWND window_ = nullptr;
  UINT message_ = 0;
};

}  // namespace quenda
