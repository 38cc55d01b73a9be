#include "host/library_windows.h"

#include <commctrl.h>

#include <string_view>
#include <utility>

#include "host/host_messages.h"
#include "text/ascii_case.h"

namespace tunora::host {
namespace {

LibraryWindows* activeWindows = nullptr;

// Window texts and class names are compared up to this many characters.
constexpr int kNameCapacity = 100;

std::u16string_view nameOf(const wchar_t* text) {
  return reinterpret_cast<const char16_t*>(text);
}

template <typename Found>
BOOL CALLBACK rememberWindow(HWND window, LPARAM found) {
  auto& windows = *reinterpret_cast<Found*>(found);
  wchar_t text[kNameCapacity] = {};
  GetWindowTextW(window, text, kNameCapacity);
  // A later match replaces an earlier one.
  for (auto [name, slot] :
       {std::pair{u"List1", &windows.list1}, std::pair{u"List3", &windows.list3},
        std::pair{u"List4", &windows.list4}, std::pair{u"Tree1", &windows.tree}})
    if (equalIgnoringAsciiCase(nameOf(text), name)) *slot = window;
  wchar_t className[kNameCapacity] = {};
  RealGetWindowClassW(window, className, kNameCapacity);
  if (equalIgnoringAsciiCase(nameOf(className), u"Shell Embedding")) windows.pane = window;
  return TRUE;
}

HWND windowOf(const std::unique_ptr<WindowSubclass>& subclass) {
  return subclass ? subclass->window() : nullptr;
}

}  // namespace

LibraryWindows::LibraryWindows(HWND frame, std::function<void()> onListClick,
                               std::function<bool()> showMini)
    : frame_(frame), onListClick_(std::move(onListClick)), showMini_(std::move(showMini)) {
  activeWindows = this;
}

LibraryWindows::~LibraryWindows() {
  paneSubclass_.reset();
  listParentSubclass_.reset();
  treeSubclass_.reset();
  activeWindows = nullptr;
}

void LibraryWindows::onFrameMoved() {
  if (list_ == nullptr) find(true);
}

void LibraryWindows::find(bool withTree) {
  found_ = {};
  if (frame_ != nullptr)
    EnumChildWindows(frame_, rememberWindow<Found>, reinterpret_cast<LPARAM>(&found_));
  if (withTree && found_.tree != windowOf(treeSubclass_)) {
    treeSubclass_.reset();
    if (found_.tree != nullptr)
      treeSubclass_ = std::make_unique<WindowSubclass>(found_.tree, treeProcedure);
  }
  if (found_.list4 != list_) {
    listParentSubclass_.reset();
    list_ = found_.list4;
    if (list_ != nullptr)
      listParentSubclass_ = std::make_unique<WindowSubclass>(GetParent(list_), listParentProcedure);
  }
  if (found_.pane != windowOf(paneSubclass_)) {
    paneSubclass_.reset();
    if (found_.pane != nullptr)
      paneSubclass_ = std::make_unique<WindowSubclass>(found_.pane, paneProcedure);
  }
}

LRESULT CALLBACK LibraryWindows::treeProcedure(HWND window, UINT message, WPARAM wParam,
                                               LPARAM lParam) {
  // A click in the tree changes the library's view, and with it the list and
  // the pane; they are there once the mouse moves on.
  if (LibraryWindows* windows = activeWindows) {
    if (message == WM_LBUTTONDOWN) {
      windows->treeClicked_ = true;
    } else if (message == WM_MOUSEMOVE && windows->treeClicked_) {
      windows->treeClicked_ = false;
      windows->find(false);
    }
  }
  return WindowSubclass::callPrevious(window, message, wParam, lParam);
}

LRESULT CALLBACK LibraryWindows::listParentProcedure(HWND window, UINT message, WPARAM wParam,
                                                     LPARAM lParam) {
  LibraryWindows* windows = activeWindows;
  if (windows != nullptr && message == WM_NOTIFY && lParam != 0) {
    const auto* header = reinterpret_cast<const NMHDR*>(lParam);
    if (header->hwndFrom == windows->list_ && header->code == static_cast<UINT>(NM_CLICK) &&
        windows->pane() != nullptr && windows->showMini_() && windows->onListClick_)
      windows->onListClick_();
  }
  return WindowSubclass::callPrevious(window, message, wParam, lParam);
}

LRESULT CALLBACK LibraryWindows::paneProcedure(HWND window, UINT message, WPARAM wParam,
                                               LPARAM lParam) {
  LibraryWindows* windows = activeWindows;
  if (windows != nullptr && message == kLibraryPaneMessage) {
    if (windows->ownNavigation_ || windows->list_ == nullptr) {
      windows->ownNavigation_ = false;
    } else if (windows->showMini_()) {
      // The library would replace the Mini page: it gets no operation.
      message = WM_NULL;
    }
  }
  return WindowSubclass::callPrevious(window, message, wParam, lParam);
}

}  // namespace tunora::host
