#pragma once
// The Media Library's child windows that the Mini page lives in: the tree
// ("Tree1"), the item list ("List4", with "List1" and "List3" beside it)
// and the web-browser pane (class "Shell Embedding"). The library replaces
// its list and pane when the user picks another view in the tree, so they
// are searched again after each tree click, and our procedures follow the
// windows found: a click in the list shows the item's Mini page, and the
// library's own request to the pane is dropped while the Mini page is ours.

#include <windows.h>

#include <functional>
#include <memory>

#include "host/window_subclass.h"

namespace tunora::host {

class LibraryWindows {
 public:
  // `frame` is the window whose descendants are searched. `onListClick`
  // shows the Mini page of the clicked item; `showMini` tells whether the
  // Mini page is switched on.
  LibraryWindows(HWND frame, std::function<void()> onListClick, std::function<bool()> showMini);
  // Every window gets its own procedure back.
  ~LibraryWindows();
  LibraryWindows(const LibraryWindows&) = delete;
  LibraryWindows& operator=(const LibraryWindows&) = delete;

  // The frame moved: the first time, the windows are searched.
  void onFrameMoved();
  // Searches the frame's descendants again; the tree's procedure follows the
  // tree only `withTree`.
  void find(bool withTree);

  // The list and pane carrying our procedures; null when there is none.
  HWND list() const { return list_; }
  HWND pane() const { return paneSubclass_ ? paneSubclass_->window() : nullptr; }
  // Set just before we navigate the pane ourselves.
  bool& ownNavigation() { return ownNavigation_; }

 private:
  static LRESULT CALLBACK treeProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
  static LRESULT CALLBACK listParentProcedure(HWND window, UINT message, WPARAM wParam,
                                              LPARAM lParam);
  static LRESULT CALLBACK paneProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

  struct Found {
    HWND list1 = nullptr;
    HWND list3 = nullptr;
    HWND list4 = nullptr;
    HWND tree = nullptr;
    HWND pane = nullptr;
  };

  HWND frame_;
  std::function<void()> onListClick_;
  std::function<bool()> showMini_;
  Found found_;
  HWND list_ = nullptr;
  bool treeClicked_ = false;
  bool ownNavigation_ = false;
  std::unique_ptr<WindowSubclass> treeSubclass_;
  std::unique_ptr<WindowSubclass> listParentSubclass_;
  std::unique_ptr<WindowSubclass> paneSubclass_;
};

}  // namespace tunora::host
