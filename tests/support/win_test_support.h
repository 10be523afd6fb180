#pragma once
// Shared helpers for the in-process window tests under Wine.
#include <windows.h>

#include <filesystem>
#include <string>
#include <vector>

#include "main_window/app.h"

namespace quenda::testing {

// Records every message box and answers with a scripted result (IDOK when none is left).
class RecordingPrompts : public Prompts {
 public:
  struct Shown {
    std::wstring text, caption;
    UINT type;
  };
  int Show(HWND, const std::wstring& text, const std::wstring& caption, UINT type) override {
    shown.push_back({text, caption, type});
    if (answers.empty()) return IDOK;
    const int answer = answers.front();
    answers.erase(answers.begin());
    return answer;
  }
  std::vector<Shown> shown;
  std::vector<int> answers;
};

// Installs the recording prompts for the scope of a test.
class ScopedPrompts {
 public:
  ScopedPrompts() { SetPrompts(&prompts); }
  ~ScopedPrompts() { SetPrompts(nullptr); }
  RecordingPrompts prompts;
};

// A fresh folder made current for the test; the previous current folder comes back after.
class ScopedTempDir {
 public:
  ScopedTempDir();
  ~ScopedTempDir();
  const std::filesystem::path& path() const { return path_; }

 private:
  std::filesystem::path path_, previous_;
};

// Dispatches pending messages of this thread.
void PumpMessages();

}  // namespace quenda::testing
