#include <gtest/gtest.h>

#include <windows.h>

#include <cstring>
#include <map>

#include "dialog_driver.h"
#include "host/host_messages.h"
#include "standin_host.h"

namespace tunora::standin {
namespace {

TEST(PluginLifecycle, RecordIsWhatTheHostExpects) {
  StandinHost host;
  ASSERT_NE(host.mainWindow(), nullptr);
  ASSERT_TRUE(host.load());
  host::PluginRecord* record = host.record();
  EXPECT_EQ(record->version, 0x15);
  EXPECT_STREQ(record->description, "Tunora-Plugin v0.6");
  ASSERT_NE(record->init, nullptr);
  ASSERT_NE(record->quit, nullptr);
  ASSERT_NE(record->messageProc, nullptr);
  // The host fields stay empty until the host fills them.
  EXPECT_EQ(record->hostMainWindow, nullptr);
  EXPECT_EQ(record->moduleInstance, nullptr);
}

TEST(PluginLifecycle, InitAndQuitKeepTheHostFields) {
  StandinHost host;
  ASSERT_TRUE(host.load());
  EXPECT_EQ(host.init(), 0);
  EXPECT_EQ(host.record()->hostMainWindow, host.mainWindow());
  EXPECT_EQ(host.record()->libraryParentWindow, host.libraryParent());
  EXPECT_EQ(host.record()->moduleInstance, host.module());
  EXPECT_EQ(host.record()->messageProc(0x1234, 0, 0, 0), 0);
  host.quit();
  EXPECT_EQ(host.record()->hostMainWindow, host.mainWindow());
}

LONG_PTR procedureOf(HWND window) {
  return GetWindowLongPtrW(window, GWLP_WNDPROC);
}

// Another plug-in's procedure, put in front of ours after init by setting
// the window's procedure itself.
std::map<HWND, WNDPROC> beforeOther;
int otherCalls = 0;
LRESULT CALLBACK otherPluginProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  ++otherCalls;
  return CallWindowProcW(beforeOther.at(window), window, message, wParam, lParam);
}

// Unloaded with or without another plug-in's procedure in front of ours:
// every window still works, and the DLL is only kept where a window still
// leads into it.
TEST(PluginLifecycle, AnotherPluginInFrontOfOursKeepsEveryWindowWorkingAfterTheUnload) {
  for (const bool otherInFront : {false, true}) {
    SCOPED_TRACE(otherInFront);
    StandinHost host;
    ASSERT_TRUE(host.load());
    ASSERT_EQ(host.init(), 0);
    const HWND windows[] = {host.mainWindow(), host.playlistWindow(), host.libraryWindow()};
    beforeOther.clear();
    for (const HWND window : windows)
      if (otherInFront)
        beforeOther[window] = reinterpret_cast<WNDPROC>(SetWindowLongPtrW(
            window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(otherPluginProcedure)));
    host.unload();
    EXPECT_EQ(GetModuleHandleW(L"ml_tunora.dll") != nullptr, otherInFront);
    otherCalls = 0;
    for (const HWND window : windows) SendMessageW(window, WM_NULL, 0, 0);
    SendMessageA(host.mainWindow(), WM_COMMAND, MAKEWPARAM(40001, 0), 0);
    EXPECT_EQ(otherCalls, otherInFront ? 4 : 0);
    ASSERT_FALSE(host.received().commands.empty());
    EXPECT_EQ(host.received().commands.back(), 40001);
    for (const auto& [window, procedure] : beforeOther)
      SetWindowLongPtrW(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(procedure));
  }
}

// The player quits and unloads us from within a dialog's loop: the dialog
// ends, and the plug-in goes once the loop has returned.
struct ModalDialog {
  const char* title;
  void (*open)(StandinHost& host);
};
const ModalDialog kModalDialogs[] = {
    {"Cover-Search",
     [](StandinHost& host) {
       SendMessageA(host.mainWindow(), host::kPlayerMessage, host::kCoverSearchToggle,
                    host::kCoverSearchToggle);
     }},
    {"Tunora-Plugin Configuration",
     [](StandinHost& host) {
       host.record()->messageProc(host::kPlayerMessage,
                                  reinterpret_cast<INT_PTR>(host.mainWindow()), 0, 0);
     }},
};

TEST(PluginLifecycle, QuitFromWithinAModalDialogEndsItBeforeThePluginGoes) {
  for (const ModalDialog& dialog : kModalDialogs) {
    SCOPED_TRACE(dialog.title);
    StandinHost host;
    const LONG_PTR mainProcedure = procedureOf(host.mainWindow());
    ASSERT_TRUE(host.load());
    ASSERT_EQ(host.init(), 0);
    bool endedAtOnce = false;
    const auto quit = [&](HWND window) {
      host.unload();
      endedAtOnce = !IsWindowVisible(window);
    };
    EXPECT_TRUE(whileDialogOpen(dialog.title, quit, [&] { dialog.open(host); }).found);
    EXPECT_TRUE(endedAtOnce);
    EXPECT_EQ(FindWindowA("#32770", dialog.title), nullptr);
    // The plug-in is gone and gave the player's window its procedure back.
    EXPECT_EQ(procedureOf(host.mainWindow()), mainProcedure);
  }
}

}  // namespace
}  // namespace tunora::standin
