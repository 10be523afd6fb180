#include "support/win_test_support.h"

namespace quenda::testing {

ScopedTempDir::ScopedTempDir() {
  previous_ = std::filesystem::current_path();
  wchar_t name[32];
  static int counter = 0;
  swprintf(name, 32, L"quenda-%lu-%d", GetCurrentProcessId(), ++counter);
  path_ = std::filesystem::temp_directory_path() / name;
  std::filesystem::remove_all(path_);
  std::filesystem::create_directories(path_);
  std::filesystem::current_path(path_);
}

ScopedTempDir::~ScopedTempDir() {
  std::error_code ec;
  std::filesystem::current_path(previous_, ec);
  std::filesystem::remove_all(path_, ec);
}

void PumpMessages() {
  MSG msg;
  while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
}

}  // namespace quenda::testing
