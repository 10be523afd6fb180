#include "platform/folder_watch.h"

namespace quenda {

bool FolderWatch::Start(const std::wstring& folder, HWND window, UINT message) {
  Stop();
  change_ = FindFirstChangeNotificationW(
      folder.c_str(), FALSE,
      FILE_NOTIFY_CHANGE_FILE_NAME | FILE_NOTIFY_CHANGE_SIZE | FILE_NOTIFY_CHANGE_LAST_WRITE);
  if (change_ == INVALID_HANDLE_VALUE) return false;
  window_ = window;
  message_ = message;
  stop_ = win::UniqueHandle(CreateEventW(nullptr, TRUE, FALSE, nullptr));
  if (stop_) thread_ = win::UniqueHandle(CreateThread(nullptr, 0, &FolderWatch::Run, this, 0, nullptr));
  if (!thread_) {
    Stop();
    return false;
  }
  return true;
}

void FolderWatch::Stop() {
  if (thread_) {
    SetEvent(stop_.get());
    WaitForSingleObject(thread_.get(), INFINITE);
    thread_.reset();
  }
  stop_.reset();
  if (change_ != INVALID_HANDLE_VALUE) FindCloseChangeNotification(change_);
  change_ = INVALID_HANDLE_VALUE;
}

DWORD WINAPI FolderWatch::Run(void* self) {
  auto* watch = static_cast<FolderWatch*>(self);
  const HANDLE waits[] = {watch->stop_.get(), watch->change_};
  while (WaitForMultipleObjects(2, waits, FALSE, INFINITE) == WAIT_OBJECT_0 + 1) {
    // Watching again before the window looks: a save signals as its temporary file appears, and
    // its rename, had it come after the look but before a later re-arm, could go unseen.
    if (!FindNextChangeNotification(watch->change_)) break;
    PostMessageW(watch->window_, watch->message_, 0, 0);
  }
  return 0;
}

}  // namespace quenda
