#include "platform/announcer.h"

#include <oleauto.h>
#include <unknwn.h>

#include "core/replaceable.h"
#include "platform/handle.h"

namespace quenda {

namespace {

// Not in every SDK's headers: the values UiaRaiseNotificationEvent takes.
constexpr int kNotificationKindActionCompleted = 2;
constexpr int kNotificationProcessingImportantMostRecent = 1;

// The provider is an IRawElementProviderSimple; only passed on and released here.
using HostProviderFromHwnd = HRESULT(WINAPI*)(HWND, IUnknown**);
using RaiseNotificationEvent = HRESULT(WINAPI*)(IUnknown*, int, int, BSTR, BSTR);

// uiautomationcore.dll is no import: Windows 7 lacks the notification, and a copy planted
// beside the program must not be loaded. Kept for the process once loaded.
struct AutomationCore {
  win::UniqueLibrary module;
  HostProviderFromHwnd host_provider = nullptr;
  RaiseNotificationEvent raise_notification = nullptr;

  AutomationCore() {
    // Without the flag (an unpatched Windows 7) there is no notification either.
    module.reset(LoadLibraryExW(L"uiautomationcore.dll", nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32));
    if (!module) return;
    host_provider = reinterpret_cast<HostProviderFromHwnd>(
        reinterpret_cast<void*>(GetProcAddress(module.get(), "UiaHostProviderFromHwnd")));
    raise_notification = reinterpret_cast<RaiseNotificationEvent>(
        reinterpret_cast<void*>(GetProcAddress(module.get(), "UiaRaiseNotificationEvent")));
  }
};

Replaceable<Announcer> g_announcer;

}  // namespace

void Announcer::Announce(HWND window, const std::wstring& text, const wchar_t* activity) {
  static const AutomationCore core;
  if (!core.host_provider || !core.raise_notification) return;
  IUnknown* provider = nullptr;
  if (FAILED(core.host_provider(window, &provider)) || !provider) return;
  const win::Bstr display(text), id(activity);
  if (display.get() && id.get()) {
    (void)core.raise_notification(provider, kNotificationKindActionCompleted,
                                  kNotificationProcessingImportantMostRecent, display.get(),
                                  id.get());
  }
  provider->Release();
}

Announcer& CurrentAnnouncer() { return g_announcer.Current(); }
void SetAnnouncer(Announcer* announcer) { g_announcer.Replace(announcer); }

}  // namespace quenda
