// Plays Screen Saver Settings for `drawing.scr /p`: makes a small top-level
// window, starts the saver on it and checks that the saver puts a child
// window over the whole client area, that keys and mouse moves do not end
// it, that it opens no window of its own, takes no focus and leaves the
// display mode alone; then destroys the window and checks that the saver
// ends with status 0 within a second. Prints what it saw; exit status 0
// when all held. (Wine does not show what a process paints into a child of
// another process's window, so the pixels are checked in-process, by
// tests/platform/hosts/preview/win32_preview_test.cpp.)
#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#include <windows.h>

#include <cstdint>
#include <cstdio>
#include <string>

namespace {

constexpr int kWidth = 152;
constexpr int kHeight = 112;

int Fail(const char* what) {
  std::printf("FAIL: %s\n", what);
  return 1;
}

void Pump() {
  MSG msg{};
  while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE) != FALSE) {
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
}

// Pumps messages for `milliseconds`.
void PumpFor(DWORD milliseconds) {
  const DWORD start = GetTickCount();
  while (GetTickCount() - start < milliseconds) {
    Pump();
    Sleep(10);
  }
}

struct VisibleWindowsOf {
  DWORD process;
  int count = 0;
};

BOOL CALLBACK CountVisible(HWND window, LPARAM context) {
  auto* search = reinterpret_cast<VisibleWindowsOf*>(context);
  DWORD owner = 0;
  GetWindowThreadProcessId(window, &owner);
  if (owner == search->process && IsWindowVisible(window) != FALSE) {
    ++search->count;
  }
  return TRUE;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  if (argc != 2) {
    std::printf("usage: scr_preview_probe PATH-TO-drawing.scr\n");
    return 2;
  }
  WNDCLASSEXW windowClass{};
  windowClass.cbSize = sizeof(windowClass);
  windowClass.lpfnWndProc = DefWindowProcW;
  windowClass.hInstance = GetModuleHandleW(nullptr);
  windowClass.hbrBackground = static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH));
  windowClass.lpszClassName = L"preview probe";
  RegisterClassExW(&windowClass);
  const HWND parent =
      CreateWindowExW(0, windowClass.lpszClassName, L"preview probe", WS_POPUP | WS_VISIBLE, 40, 30,
                      kWidth, kHeight, nullptr, nullptr, windowClass.hInstance, nullptr);
  if (parent == nullptr) {
    return Fail("cannot make the parent window");
  }
  SetForegroundWindow(parent);
  PumpFor(300);
  DEVMODEW modeBefore{};
  modeBefore.dmSize = sizeof(modeBefore);
  EnumDisplaySettingsW(nullptr, ENUM_CURRENT_SETTINGS, &modeBefore);

  std::wstring command = L"\"" + std::wstring(argv[1]) + L"\" /p " +
                         std::to_wstring(reinterpret_cast<uintptr_t>(parent));
  STARTUPINFOW startup{};
  startup.cb = sizeof(startup);
  PROCESS_INFORMATION saver{};
  if (CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                     &startup, &saver) == FALSE) {
    return Fail("cannot start drawing.scr");
  }

  // The child appears, owned by the saver, over the parent's whole client
  // area. It is made hidden and shown a moment later, so wait for both.
  HWND child = nullptr;
  DWORD childProcess = 0;
  for (int wait = 0; wait < 200; ++wait) {
    PumpFor(50);
    child = GetWindow(parent, GW_CHILD);
    childProcess = 0;
    GetWindowThreadProcessId(child, &childProcess);
    if (childProcess == saver.dwProcessId && IsWindowVisible(child) != FALSE) {
      break;
    }
  }
  if (childProcess != saver.dwProcessId) {
    return Fail("drawing.scr made no child window in the parent");
  }
  RECT parentArea{};
  RECT childArea{};
  GetClientRect(parent, &parentArea);
  GetClientRect(child, &childArea);
  std::printf("child %ldx%ld in a client area of %ldx%ld\n", childArea.right, childArea.bottom,
              parentArea.right, parentArea.bottom);
  if (IsWindowVisible(child) == FALSE || childArea.right != parentArea.right ||
      childArea.bottom != parentArea.bottom) {
    return Fail("the child window does not cover the client area");
  }

  // Input of the user's goes to the focused window, not to the preview.
  INPUT events[3]{};
  events[0].type = INPUT_KEYBOARD;
  events[0].ki.wVk = 'A';
  events[1].type = INPUT_KEYBOARD;
  events[1].ki.wVk = 'A';
  events[1].ki.dwFlags = KEYEVENTF_KEYUP;
  events[2].type = INPUT_MOUSE;
  events[2].mi.dx = 40;
  events[2].mi.dy = 40;
  events[2].mi.dwFlags = MOUSEEVENTF_MOVE;
  SendInput(3, events, sizeof(INPUT));
  PumpFor(1500);
  if (WaitForSingleObject(saver.hProcess, 0) == WAIT_OBJECT_0) {
    return Fail("drawing.scr ended while its window was there");
  }

  VisibleWindowsOf own{saver.dwProcessId};
  EnumWindows(CountVisible, reinterpret_cast<LPARAM>(&own));
  if (own.count != 0) {
    return Fail("drawing.scr showed a top-level window of its own");
  }
  if (GetForegroundWindow() != parent) {
    return Fail("drawing.scr took the focus");
  }
  DEVMODEW modeAfter{};
  modeAfter.dmSize = sizeof(modeAfter);
  EnumDisplaySettingsW(nullptr, ENUM_CURRENT_SETTINGS, &modeAfter);
  if (modeAfter.dmPelsWidth != modeBefore.dmPelsWidth ||
      modeAfter.dmPelsHeight != modeBefore.dmPelsHeight ||
      modeAfter.dmBitsPerPel != modeBefore.dmBitsPerPel) {
    return Fail("the display mode changed");
  }

  // Gone once DestroyWindow returns. (Wine without a window manager first
  // waits up to two seconds for the X server to withdraw the window.)
  DestroyWindow(parent);
  const DWORD destroyed = GetTickCount();
  while (WaitForSingleObject(saver.hProcess, 10) == WAIT_TIMEOUT &&
         GetTickCount() - destroyed < 5000) {
    Pump();
  }
  const DWORD ended = GetTickCount() - destroyed;
  DWORD status = STILL_ACTIVE;
  GetExitCodeProcess(saver.hProcess, &status);
  std::printf("ended %lu ms after its window, status %lu\n", static_cast<unsigned long>(ended),
              static_cast<unsigned long>(status));
  if (status == STILL_ACTIVE) {
    TerminateProcess(saver.hProcess, 1);
    return Fail("drawing.scr goes on without its window");
  }
  if (status != 0 || ended > 1000) {
    return Fail("drawing.scr did not end with status 0 within a second");
  }
  std::printf("PASS\n");
  return 0;
}
