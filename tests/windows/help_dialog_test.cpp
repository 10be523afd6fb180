#include "windows/help_dialog.h"

#include <gtest/gtest.h>

#include <fstream>

#include "platform/prompts.h"
#include "platform/shell.h"
#include "resources/help_dialog_layout.h"
#include "support/win_test_support.h"

namespace quenda {
namespace {

using testing::PostClick;
using testing::RecordingShell;

TEST(HelpDialog, ShowsItsTextsAndTheLinkOpensTheHomePageWhileTheDialogStays) {
  RecordingShell shell;
  SetShell(&shell);
  HelpDialog help;
  ASSERT_TRUE(help.Create(nullptr));
  EXPECT_EQ(win::GetText(help.hwnd()), L"ヘルプ");
  RECT client;
  GetClientRect(help.hwnd(), &client);
  EXPECT_EQ(client.right, kHelpDialogSize.width);
  EXPECT_EQ(client.bottom, kHelpDialogSize.height);
  EXPECT_EQ(win::GetText(help.Control(help_ids::Heading)), L"操作説明に付いて");
  EXPECT_EQ(win::GetText(help.Control(help_ids::Note)),
            L"当プログラムの操作説明はホームページをご覧下さい。　m(_　_)m");
  const std::wstring link = win::GetText(help.Control(help_ids::Link));
  EXPECT_EQ(link, HomePageTarget(kHomePage, kHomePageAddress, ProgramFolder()));
  // "Ver　", the version in full-width digits, "β".
  const std::wstring version = win::GetText(help.Control(help_ids::Version));
  ASSERT_GT(version.size(), 5u);
  EXPECT_EQ(version.substr(0, 4), L"Ver　");
  EXPECT_EQ(version.back(), L'β');
  EXPECT_EQ(version.substr(4, version.size() - 5).find_first_not_of(L"０１２３４５６７８９．"),
            std::wstring::npos)
      << "in " << version.size();
  EXPECT_EQ(win::GetText(help.Control(help_ids::OkButton)), L"OK");

  // The link is clicked inside the modal loop; the dialog is still modal afterwards, and OK
  // ends it.
  bool modal_after_link = false;
  struct Probe {
    HelpDialog* help;
    bool* modal_after_link;
  } probe{&help, &modal_after_link};
  PostClick(help.Control(help_ids::Link), 3, 3);
  // Once the link's messages are handled, record the modal state and press OK.
  PostThreadMessageW(GetCurrentThreadId(), WM_APP, 0, reinterpret_cast<LPARAM>(&probe));
  HHOOK hook = SetWindowsHookExW(
      WH_GETMESSAGE,
      [](int code, WPARAM w, LPARAM l) -> LRESULT {
        auto* msg = reinterpret_cast<MSG*>(l);
        if (code >= 0 && msg->message == WM_APP && msg->hwnd == nullptr && msg->lParam) {
          auto* p = reinterpret_cast<Probe*>(msg->lParam);
          *p->modal_after_link = p->help->InModal();
          PostClick(p->help->Control(help_ids::OkButton), 3, 3);
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
  EXPECT_EQ(shell.calls[0].file, link);
  EXPECT_FALSE(shell.calls[0].has_directory);
  EXPECT_EQ(shell.calls[0].show, SW_SHOW);
}

TEST(HelpDialog, ALinkThatDoesNotOpenSaysWhy) {
  testing::ScopedPrompts prompts;
  RecordingShell shell;
  shell.result = ERROR_NO_ASSOCIATION;
  SetShell(&shell);
  HelpDialog help;
  ASSERT_TRUE(help.Create(nullptr));
  help.OpenHomePage();
  SetShell(nullptr);
  ASSERT_EQ(prompts.prompts.shown.size(), 1u);
  EXPECT_EQ(prompts.prompts.shown[0].text,
            win::GetText(help.Control(help_ids::Link)) +
                L" を開けません。\n関連づけられたアプリケーションがありません。");
  EXPECT_EQ(prompts.prompts.shown[0].type, UINT(MB_OK | MB_ICONERROR));
}

// The manual beside the program wins; without it the configured address; without that the
// manual's place all the same, so that opening it says what is missing. The link shows what
// opens.
TEST(HelpDialog, TheLinkOpensTheManualBesideTheProgramOrElseTheConfiguredAddress) {
  const std::filesystem::path folder = std::filesystem::path(ProgramPath()).parent_path();
  const std::filesystem::path manual = folder / L"Quenda-manual-test.html";
  const std::wstring web = L"https://quenda.invalid/manual/";
  struct Row {
    const char* name;
    bool manual_there;
    std::wstring page, address, opened;
  } rows[] = {
      {"manual there", true, manual.filename().wstring(), web, manual.wstring()},
      {"manual missing", false, manual.filename().wstring(), web, web},
      {"manual missing, no address", false, manual.filename().wstring(), L"", manual.wstring()},
      {"an address as home page", true, web, L"https://other.invalid/", web},
      {"a full path as home page, missing", false, manual.wstring(), web, manual.wstring()},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    if (row.manual_there) std::ofstream(manual) << "<!DOCTYPE html>";
    RecordingShell shell;
    SetShell(&shell);
    HelpDialog help(row.page, row.address);
    ASSERT_TRUE(help.Create(nullptr));
    EXPECT_EQ(win::GetText(help.Control(help_ids::Link)), row.opened);
    help.OpenHomePage();
    SetShell(nullptr);
    std::filesystem::remove(manual);
    ASSERT_EQ(shell.calls.size(), 1u);
    EXPECT_EQ(shell.calls[0].verb, L"OPEN");
    EXPECT_EQ(shell.calls[0].file, row.opened);
  }
}

}  // namespace
}  // namespace quenda
