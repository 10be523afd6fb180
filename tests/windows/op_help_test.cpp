#include "windows/op_help.h"

#include <gtest/gtest.h>

#include "platform/shell.h"
#include "resources/op_help_layout.h"
#include "support/win_test_support.h"

namespace quenda {
namespace {

using testing::PostClick;
using testing::RecordingShell;

TEST(HelpDialog, ShowsItsTextsAndTheLinkOpensTheHomePageWhileTheDialogStays) {
  RecordingShell shell;
  SetShell(&shell);
  TOpHelp help;
  ASSERT_TRUE(help.Create(nullptr));
  EXPECT_EQ(win::GetText(help.hwnd()), L"ヘルプ");
  RECT client;
  GetClientRect(help.hwnd(), &client);
  EXPECT_EQ(client.right, 393);
  EXPECT_EQ(client.bottom, 114);
  EXPECT_EQ(win::GetText(help.Control(help_ids::Label1)), L"操作説明に付いて");
  EXPECT_EQ(win::GetText(help.Control(help_ids::Label2)),
            L"当プログラムの操作説明はホームページをご覧下さい。　m(_　_)m");
  EXPECT_EQ(win::GetText(help.Control(help_ids::StaticText1)), kHomePage);
  EXPECT_EQ(win::GetText(help.Control(help_ids::Label3)), L"Ver　１．０β");
  EXPECT_EQ(win::GetText(help.Control(help_ids::SpeedButton1)), L"OK");

  // The link is clicked inside the modal loop; the dialog is still modal afterwards, and OK
  // ends it.
  bool modal_after_link = false;
  struct Probe {
    TOpHelp* help;
    bool* modal_after_link;
  } probe{&help, &modal_after_link};
  PostClick(help.Control(help_ids::StaticText1), 3, 3);
  // Once the link's messages are handled, record the modal state and press OK.
  PostThreadMessageW(GetCurrentThreadId(), WM_APP, 0, reinterpret_cast<LPARAM>(&probe));
  HHOOK hook = SetWindowsHookExW(
      WH_GETMESSAGE,
      [](int code, WPARAM w, LPARAM l) -> LRESULT {
        auto* msg = reinterpret_cast<MSG*>(l);
        if (code >= 0 && msg->message == WM_APP && msg->hwnd == nullptr && msg->lParam) {
          auto* p = reinterpret_cast<Probe*>(msg->lParam);
          *p->modal_after_link = p->help->InModal();
          PostClick(p->help->Control(help_ids::SpeedButton1), 3, 3);
          msg->lParam = 0;
        }
        return CallNextHookEx(nullptr, code, w, l);
      },
      nullptr, GetCurrentThreadId());
  help.ShowModal(nullptr);
  UnhookWindowsHookEx(hook);
  SetShell(nullptr);

  EXPECT_TRUE(modal_after_link);
  EXPECT_FALSE(help.InModal());
  EXPECT_FALSE(IsWindowVisible(help.hwnd()));
  ASSERT_EQ(shell.calls.size(), 1u);
  EXPECT_EQ(shell.calls[0].owner, nullptr);
  EXPECT_EQ(shell.calls[0].verb, L"OPEN");
  EXPECT_EQ(shell.calls[0].file, kHomePage);
  EXPECT_FALSE(shell.calls[0].has_directory);
  EXPECT_EQ(shell.calls[0].show, SW_SHOW);
}

TEST(HelpDialog, ALinkThatDoesNotOpenSaysWhy) {
  testing::ScopedPrompts prompts;
  RecordingShell shell;
  shell.result = ERROR_NO_ASSOCIATION;
  SetShell(&shell);
  TOpHelp help;
  ASSERT_TRUE(help.Create(nullptr));
  help.StaticText1Click();
  SetShell(nullptr);
  ASSERT_EQ(prompts.prompts.shown.size(), 1u);
  EXPECT_EQ(prompts.prompts.shown[0].text,
            std::wstring(kHomePage) +
                L" を開けません。\n関連づけられたアプリケーションがありません。");
  EXPECT_EQ(prompts.prompts.shown[0].type, UINT(MB_OK | MB_ICONERROR));
}

}  // namespace
}  // namespace quenda
