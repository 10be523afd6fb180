#pragma once
// Shared helpers for the in-process window tests under Wine.
#include <windows.h>
#include <oleacc.h>
#include <shellapi.h>

#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "core/slot_icon.h"
#include "core/slot_table.h"
#include "core/table_file.h"
#include "platform/file_dialog.h"
#include "platform/handle.h"
#include "platform/prompts.h"
#include "platform/shell.h"
#include "support/fixed_clock.h"

namespace quenda::testing {

// The storage the window tests keep their tables with: the standard library's, as the core's
// tests do; the Win32 storage has tests of its own.
TableStorage& PortableStorage();
// The table the editor tests hand slots from.
SlotTable& EditorTable();
// Writes `table` as the table file in `folder`, as a start would find it.
void WriteTable(const std::filesystem::path& folder, SlotTable& table,
                TableStorage& storage = PortableStorage());

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

// Answers file dialogs from a script (cancelled when none is left) and records each request.
class ScriptedFiles : public FileDialogs {
 public:
  std::optional<std::wstring> Open(HWND, const OpenFileRequest& request) override {
    requests.push_back(request);
    if (answers.empty()) return std::nullopt;
    std::optional<std::wstring> answer = answers.front();
    answers.erase(answers.begin());
    return answer;
  }
  std::vector<std::optional<std::wstring>> answers;
  std::vector<OpenFileRequest> requests;
};

// Records what the shell is asked to open and answers with `result`.
class RecordingShell : public Shell {
 public:
  struct Call {
    HWND owner;
    std::wstring verb, file, parameters, directory;  // empty when not given
    bool has_verb, has_directory;
    int show;
  };
  DWORD Execute(HWND owner, const wchar_t* verb, const std::wstring& file,
                const std::wstring& parameters, const wchar_t* directory, int show) override {
    calls.push_back({owner, verb ? verb : L"", file, parameters, directory ? directory : L"",
                     verb != nullptr, directory != nullptr, show});
    return result;
  }
  std::vector<Call> calls;
  DWORD result = ERROR_SUCCESS;
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

// A press and a release of the left button at a client point of `control`, or at its middle:
// Click sends them, so the click is done on return; PostClick posts them, so they run inside
// whatever message loop runs next (a modal window's too).
void Click(HWND control, int x, int y);
void Click(HWND control);
void PostClick(HWND control, int x, int y);
void PostClick(HWND control);

// Opens the main window's slot popup on `slot_button` as the keyboard's menu key does and
// chooses an item by keys: VK_DOWN the first, VK_UP the last. The menu's command is queued
// when this returns.
void ChooseFromSlotPopup(HWND main, HWND slot_button, UINT key);

// Tells `window` what the system tells it when it moves to a monitor of `dpi`: WM_DPICHANGED
// with a suggested rectangle at the same place that holds `client` inside the present frame.
void SendDpiChanged(HWND window, int dpi, SIZE client);

}  // namespace quenda::testing

namespace quenda::testing {

// A drop as the shell makes one: a DROPFILES block with wide names at a client point.
HDROP MakeDrop(POINT client_point, const std::vector<std::wstring>& files);

// Writes a 32 x 32 icon file: `colour` in the square (8,8)-(24,24), transparent elsewhere.
void WriteIconFile(const std::filesystem::path& path, unsigned colour);

// Whether `picture` holds, at x = `left`, the 32-pixel image of the several-size test icons
// (make_test_icons.py) whole and unscaled: green inside a black edge of one pixel.
bool IsThe32PixelImage(const Picture& picture, int left = 0);

// Writes a shortcut to `target`.
bool WriteShortcut(const std::filesystem::path& link, const std::filesystem::path& target);

// The object a window serves accessibility clients for its client area, asked for through
// WM_GETOBJECT as a client does; null when the window serves none of its own.
using AccessiblePtr = win::ComRef<IAccessible>;
AccessiblePtr AccessibleOf(HWND hwnd);
// The object a client gets for any window, the system's own for a system control.
AccessiblePtr AccessibleOfWindow(HWND hwnd);

// What a client reads of an object itself (CHILDID_SELF).
struct AccessibleReading {
  std::wstring name, description, default_action;
  LONG role = 0;
  DWORD state = 0;
};
AccessibleReading Read(IAccessible* object);
inline VARIANT Self() {
  VARIANT self;
  VariantInit(&self);
  self.vt = VT_I4;
  self.lVal = CHILDID_SELF;
  return self;
}

// Polls the message queue until `done` holds or the deadline passes.
template <class F>
bool PumpUntil(F done, int timeout_ms = 5000) {
  const DWORD start = GetTickCount();
  while (!done()) {
    PumpMessages();
    if (GetTickCount() - start > DWORD(timeout_ms)) return false;
    Sleep(1);
  }
  return true;
}

}  // namespace quenda::testing
