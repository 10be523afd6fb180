#!/usr/bin/env python3
"""Quenda.exe against DLL planting.

  pe_hardening.py link-load-config EXE NM
      Points the PE header's load configuration entry at the symbol _load_config_used
      (src/app/load_config.cpp): MinGW's linker (binutils 2.40) leaves the entry empty.
  pe_hardening.py check EXE OBJDUMP
      Fails when EXE imports a DLL outside the allowed list or a function Windows 7 (the oldest
      system the manifest names) lacks, or when its load configuration does not limit its
      imports' own dependencies to the system folder.
"""
import struct
import subprocess
import sys

# Windows maps these from its KnownDLLs list (HKLM\\SYSTEM\\CurrentControlSet\\Control\\Session
# Manager\\KnownDLLs) and never looks for them beside the program. Only those Quenda needs are
# allowed; the rest of that list (combase, rpcrt4, shlwapi, shcore, ...) is not imported.
KNOWN_DLLS = {"advapi32.dll", "comdlg32.dll", "gdi32.dll", "kernel32.dll", "msvcrt.dll",
              "ole32.dll", "oleaut32.dll", "shell32.dll", "user32.dll"}
# No KnownDLL: the manifest's dependency on Microsoft.Windows.Common-Controls 6.0 makes the
# loader take it from the side-by-side store (WinSxS), not from the program's folder.
THROUGH_MANIFEST = {"comctl32.dll"}

# Every function the program imports, each checked to exist in the DLLs of Windows 7 RTM (x64),
# as the manifest names Windows 7: a function not listed here fails the check until it is looked
# up the same way and added, or called through GetProcAddress with a fallback. Known traps:
# SetDefaultDllDirectories, AddDllDirectory and RemoveDllDirectory came only with update
# KB2533623; GetDpiForWindow and the other *ForDpi functions with Windows 10; CreateFile2 and
# GetSystemTimePreciseAsFileTime with Windows 8.
WINDOWS_7_FUNCTIONS = {
    "comctl32.dll": """DefSubclassProc FlatSB_GetScrollInfo FlatSB_SetScrollInfo
        FlatSB_SetScrollProp InitCommonControlsEx InitializeFlatSB SetWindowSubclass""",
    "comdlg32.dll": "GetOpenFileNameW",
    "gdi32.dll": """BitBlt CreateBitmap CreateCompatibleBitmap CreateCompatibleDC CreateDIBSection
        CreateFontIndirectW CreateSolidBrush DeleteDC DeleteObject EnumFontFamiliesExW GdiFlush
        GetDIBits GetDeviceCaps GetObjectW GetStockObject GetTextExtentPoint32W GetTextMetricsW
        IntersectClipRect RestoreDC SaveDC SelectObject SetBkColor SetBkMode SetStretchBltMode
        SetTextColor StretchBlt""",
    "kernel32.dll": """AddVectoredExceptionHandler CloseHandle CopyFileW CreateDirectoryW CreateEventA CreateEventW CreateFileW
        CreateMutexW CreateSemaphoreA CreateThread DeleteCriticalSection DeleteFileW
        DuplicateHandle EnterCriticalSection FindClose FindCloseChangeNotification FindFirstFileW FindNextFileW
        FindFirstChangeNotificationW FindNextChangeNotification FlushFileBuffers FormatMessageW FreeLibrary
        GetCurrentDirectoryW GetCurrentProcess GetCurrentProcessId GetCurrentThread
        GetComputerNameW GetCurrentThreadId GetDateFormatW GetFileAttributesExW GetFileAttributesW GetFileSizeEx GetFullPathNameW
        GetHandleInformation GetLastError GetLocalTime GetModuleFileNameW GetModuleHandleExW
        GetModuleHandleW GetProcAddress GetProcessAffinityMask
        GetStartupInfoW GetSystemDirectoryW GetSystemTimeAsFileTime GetThreadContext
        GetThreadPriority GetTickCount64 GetTimeFormatW InitializeCriticalSection
        IsDBCSLeadByteEx IsDebuggerPresent LeaveCriticalSection LoadLibraryExW LoadLibraryW
        MoveFileExW MulDiv MultiByteToWideChar OpenProcess OutputDebugStringA RaiseException
        ReadFile ReleaseSemaphore RemoveVectoredExceptionHandler ResetEvent ResumeThread
        RtlCaptureContext RtlLookupFunctionEntry RtlUnwindEx RtlVirtualUnwind SetDllDirectoryW
        SetEvent SetLastError SetProcessAffinityMask SetThreadContext SetThreadPriority
        SetUnhandledExceptionFilter Sleep SuspendThread TlsAlloc TlsGetValue TlsSetValue
        TryEnterCriticalSection VirtualProtect VirtualQuery WaitForMultipleObjects
        WaitForSingleObject WideCharToMultiByte WriteFile __C_specific_handler lstrcpynW
        lstrlenW""",
    "msvcrt.dll": """___lc_codepage_func ___mb_cur_max_func __iob_func __set_app_type
        __setusermatherr __wgetmainargs __winitenv _amsg_exit _beginthreadex _cexit _close
        _commode _endthreadex _errno _fmode _initterm _localtime64 _onexit _read _setjmp _strdup
        _time64 _ultoa _wcmdln abort calloc exit fprintf fputc fputs fputwc free fwprintf fwrite
        localeconv longjmp malloc memchr memcmp memcpy memmove memset printf realloc signal
        strcmp strerror strlen strncmp vfprintf wcscmp wcslen""",
    "ole32.dll": "CoInitializeEx CoTaskMemFree CoUninitialize",
    "oleaut32.dll": "SysAllocStringLen SysFreeString SysStringLen VariantClear VariantInit",
    "shell32.dll": """DragAcceptFiles DragFinish DragQueryFileW DragQueryPoint ExtractIconW
        ILCombine ILFindLastID SHGetDesktopFolder SHGetFileInfoW SHGetFolderLocation SHGetKnownFolderPath
        SHGetPathFromIDListW SHOpenWithDialog ShellExecuteExW""",
    "user32.dll": """AdjustWindowRectEx AppendMenuW BeginPaint CharLowerBuffW
        ChildWindowFromPointEx CreatePopupMenu CreateWindowExW DefWindowProcW DestroyIcon
        DestroyMenu DestroyWindow DispatchMessageW DrawEdge DrawFocusRect DrawIconEx DrawTextW
        EnableWindow EndPaint EnumChildWindows EnumWindows FillRect GetCapture GetClassNameW
        GetClientRect GetCursorPos GetDC GetDlgCtrlID GetFocus GetAncestor GetForegroundWindow
        GetKeyState GetLastActivePopup GetMenuItemCount GetMessageW GetMonitorInfoW GetNextDlgTabItem GetParent GetSysColor
        GetSysColorBrush GetSystemMetrics GetWindow GetWindowLongPtrW GetWindowLongW GetWindowRect
        GetWindowTextLengthW GetWindowTextW GetWindowThreadProcessId InflateRect IntersectRect
        InsertMenuW InvalidateRect IsChild IsDialogMessageW IsIconic IsWindow IsWindowEnabled IsWindowVisible
        KillTimer LoadCursorW LoadIconW LoadImageW LoadMenuW MapWindowPoints MessageBoxW
        MonitorFromWindow NotifyWinEvent OffsetRect PostMessageW PostQuitMessage
        PrivateExtractIconsW PtInRect RedrawWindow RegisterClassExW RegisterHotKey
        ReleaseCapture ReleaseDC ScreenToClient SendMessageTimeoutW SendMessageW
        SetActiveWindow SetCapture SetCursor SetFocus SetForegroundWindow SetTimer
        SetWindowLongPtrW SetWindowLongW SetWindowPos SetWindowTextW ShowWindow SystemParametersInfoW
        TrackMouseEvent TrackPopupMenu TranslateMessage UnregisterHotKey UpdateWindow""",
}
WINDOWS_7_FUNCTIONS = {dll: set(names.split()) for dll, names in WINDOWS_7_FUNCTIONS.items()}

LOAD_CONFIG_ENTRY = 10
DEPENDENT_LOAD_FLAGS_OFFSET = 0x4E  # in IMAGE_LOAD_CONFIG_DIRECTORY64
LOAD_LIBRARY_SEARCH_SYSTEM32 = 0x800


class Pe:
    def __init__(self, data):
        self.data = data
        pe = struct.unpack_from("<I", data, 0x3C)[0]
        if data[pe:pe + 4] != b"PE\0\0":
            raise SystemExit("not a PE file")
        sections, optional_size = struct.unpack_from("<H12xH", data, pe + 6)
        self.optional = pe + 24
        if struct.unpack_from("<H", data, self.optional)[0] != 0x20B:
            raise SystemExit("not a 64-bit PE file")
        self.image_base = struct.unpack_from("<Q", data, self.optional + 24)[0]
        table = self.optional + optional_size
        self.sections = [struct.unpack_from("<8xIIII", data, table + 40 * i)
                         for i in range(sections)]  # virtual size, address, raw size, raw offset

    def directory_offset(self, entry):
        return self.optional + 112 + 8 * entry

    def file_offset(self, rva):
        for size, address, raw_size, raw in self.sections:
            if address <= rva < address + min(size, raw_size):
                return raw + rva - address
        raise SystemExit(f"RVA {rva:#x} lies in no section's file data")


def link_load_config(exe, nm):
    symbols = subprocess.run([nm, exe], check=True, capture_output=True, text=True).stdout
    found = [int(line.split()[0], 16) for line in symbols.splitlines()
             if line.endswith(" _load_config_used")]
    if len(found) != 1:
        raise SystemExit(f"{exe}: no single _load_config_used symbol")
    data = bytearray(open(exe, "rb").read())
    pe = Pe(data)
    rva = found[0] - pe.image_base
    size = struct.unpack_from("<I", data, pe.file_offset(rva))[0]
    struct.pack_into("<II", data, pe.directory_offset(LOAD_CONFIG_ENTRY), rva, size)
    open(exe, "wb").write(data)


def check(exe, objdump):
    problems = []
    dump = subprocess.run([objdump, "-p", exe], check=True, capture_output=True, text=True).stdout
    imports, functions, dll = [], [], None
    for line in dump.splitlines():
        fields = line.split()
        if line.strip().startswith("DLL Name:"):
            dll = line.split(":", 1)[1].strip()
            imports.append(dll)
        elif line[:1].strip():  # a heading: the import tables are over
            dll = None
        elif dll and len(fields) == 3 and fields[1].isdigit():  # "vma  hint  name"
            functions.append((dll, fields[2]))
    if not imports or not functions:
        problems.append("no imports found")
    for dll in imports:
        if dll.lower() not in KNOWN_DLLS | THROUGH_MANIFEST:
            problems.append(f"imports {dll}, which Windows would look for beside the program")
    for dll, name in functions:
        if name not in WINDOWS_7_FUNCTIONS.get(dll.lower(), set()):
            problems.append(f"imports {name} from {dll}, not known to exist on Windows 7")
    pe = Pe(open(exe, "rb").read())
    rva, size = struct.unpack_from("<II", pe.data, pe.directory_offset(LOAD_CONFIG_ENTRY))
    if size <= DEPENDENT_LOAD_FLAGS_OFFSET:
        problems.append("no load configuration with DependentLoadFlags")
    else:
        flags = struct.unpack_from("<H", pe.data,
                                   pe.file_offset(rva) + DEPENDENT_LOAD_FLAGS_OFFSET)[0]
        if flags != LOAD_LIBRARY_SEARCH_SYSTEM32:
            problems.append(f"DependentLoadFlags is {flags:#x}, not {LOAD_LIBRARY_SEARCH_SYSTEM32:#x}")
    for problem in problems:
        print(f"{exe}: {problem}")
    if problems:
        return 1
    print(f"{exe}: imports {', '.join(imports)}; DependentLoadFlags {LOAD_LIBRARY_SEARCH_SYSTEM32:#x}")
    return 0


if __name__ == "__main__":
    if len(sys.argv) == 4 and sys.argv[1] == "link-load-config":
        link_load_config(sys.argv[2], sys.argv[3])
    elif len(sys.argv) == 4 and sys.argv[1] == "check":
        sys.exit(check(sys.argv[2], sys.argv[3]))
    else:
        raise SystemExit(__doc__)
