#include "standin_host.h"

#include <commctrl.h>

#include <utility>

namespace tunora::standin {
namespace {

// The player is an 8-bit program: its windows are ANSI windows, and a
// procedure put in front of theirs with the wide functions gets its texts
// converted by the system.
constexpr char kMainClass[] = "Winamp v1.x";
constexpr char kPlaylistClass[] = "TunoraStandinPlaylist";
constexpr char kLibraryClass[] = "TunoraStandinLibrary";

StandinHost* hostOf(HWND window) {
  return reinterpret_cast<StandinHost*>(GetWindowLongPtrW(window, GWLP_USERDATA));
}

template <LRESULT (StandinHost::*handler)(HWND, UINT, WPARAM, LPARAM)>
LRESULT CALLBACK windowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  StandinHost* host = hostOf(window);
  if (host == nullptr) return DefWindowProcA(window, message, wParam, lParam);
  return (host->*handler)(window, message, wParam, lParam);
}

void registerClass(const char* name, WNDPROC procedure) {
  WNDCLASSA windowClass{};
  windowClass.lpfnWndProc = procedure;
  windowClass.hInstance = GetModuleHandleW(nullptr);
  windowClass.lpszClassName = name;
  RegisterClassA(&windowClass);
}

void registerClasses() {
  static bool registered = false;
  if (registered) return;
  registerClass(kMainClass, windowProc<&StandinHost::onMainMessage>);
  registerClass(kPlaylistClass, windowProc<&StandinHost::onPlaylistMessage>);
  registerClass(kLibraryClass, windowProc<&StandinHost::onLibraryMessage>);
  // The Media Library's window itself answers nothing of ours.
  registerClass("Winamp Gen", DefWindowProcA);
  registerClass("BaseWindow_RootWnd", DefWindowProcA);
  // Its tree, the window that holds its item list, and its browser pane.
  registerClass("TunoraStandinTree", DefWindowProcA);
  registerClass("TunoraStandinListParent", DefWindowProcA);
  registerClass("Shell Embedding", windowProc<&StandinHost::onPaneMessage>);
  registerClass("Shell DocObject View", DefWindowProcA);
  registerClass("Internet Explorer_Server", windowProc<&StandinHost::onBrowserWindowMessage>);
  const INITCOMMONCONTROLSEX controls{sizeof(INITCOMMONCONTROLSEX), ICC_LISTVIEW_CLASSES};
  InitCommonControlsEx(&controls);
  registered = true;
}

HWND createWindow(const char* windowClass, const char* title, DWORD style, HWND parent,
                  StandinHost* host) {
  const HWND window = CreateWindowExA(0, windowClass, title, style, 0, 0, 600, 400, parent, nullptr,
                                      GetModuleHandleW(nullptr), nullptr);
  SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(host));
  return window;
}

}  // namespace

std::wstring programFolder() {
  wchar_t path[MAX_PATH] = {};
  GetModuleFileNameW(nullptr, path, MAX_PATH);
  std::wstring folder = path;
  return folder.substr(0, folder.find_last_of(L'\\') + 1);
}

StandinHost::StandinHost(Layout layout) {
  registerClasses();
  // The player's windows draw their own frames; being popups, they also
  // spare each hide the wait for a window manager that Xvfb lacks.
  mainWindow_ = createWindow(kMainClass, "Winamp", WS_POPUP, nullptr, this);
  if (layout.playlistWindow)
    playlistWindow_ = createWindow(kPlaylistClass, "Playlist Editor", WS_POPUP, nullptr, this);
  switch (layout.library) {
    case LibraryWindow::Gen:
      libraryFrame_ = createWindow("Winamp Gen", "Winamp Library", WS_POPUP, nullptr, nullptr);
      break;
    case LibraryWindow::RootWnd:
      libraryFrame_ =
          createWindow("BaseWindow_RootWnd", "Media Library", WS_POPUP, nullptr, nullptr);
      break;
    case LibraryWindow::None:
      libraryFrame_ = createWindow(kLibraryClass, "", WS_POPUP, nullptr, nullptr);
      break;
  }
  libraryParent_ = createWindow(kLibraryClass, "", WS_CHILD, libraryFrame_, this);
  tree_ = createWindow("TunoraStandinTree", "Tree1", WS_CHILD, libraryParent_, nullptr);
}

StandinHost::~StandinHost() {
  quit();
  if (module_ != nullptr) FreeLibrary(module_);
  closeLibraryView();
  DestroyWindow(tree_);
  DestroyWindow(libraryParent_);
  DestroyWindow(libraryFrame_);
  if (playlistWindow_ != nullptr) DestroyWindow(playlistWindow_);
  DestroyWindow(mainWindow_);
}

bool StandinHost::load() {
  module_ = LoadLibraryW((programFolder() + L"plugins\\ml_tunora.dll").c_str());
  if (module_ == nullptr) return false;
  using Entry = host::PluginRecord*(__cdecl*)();
  // FARPROC is only a placeholder type; go through void* to the real signature.
  const auto entry = reinterpret_cast<Entry>(
      reinterpret_cast<void*>(GetProcAddress(module_, "winampGetMediaLibraryPlugin")));
  record_ = entry != nullptr ? entry() : nullptr;
  return record_ != nullptr;
}

int StandinHost::init() {
  record_->hostMainWindow = mainWindow_;
  record_->libraryParentWindow = libraryParent_;
  record_->moduleInstance = module_;
  initialised_ = true;
  return record_->init();
}

void StandinHost::quit() {
  if (!initialised_) return;
  initialised_ = false;
  record_->quit();
}

void StandinHost::unload() {
  quit();
  if (module_ != nullptr) FreeLibrary(std::exchange(module_, nullptr));
  record_ = nullptr;
}

void StandinHost::setTitle(const std::string& title) {
  SendMessageA(mainWindow_, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(title.c_str()));
}

void StandinHost::fireTimer(UINT_PTR id) {
  SendMessageA(mainWindow_, WM_TIMER, id, 0);
}

void StandinHost::resetSongChange() {
  SendMessageA(mainWindow_, WM_COMMAND, MAKEWPARAM(40047, 0), 0);
}

void StandinHost::showLibrary(bool visible) {
  ShowWindow(libraryFrame_, visible ? SW_SHOWNA : SW_HIDE);
}

void StandinHost::closeLibraryView() {
  for (HWND* window : {&listParent_, &otherLists_[0], &otherLists_[1], &pane_}) {
    if (*window != nullptr) DestroyWindow(*window);
    *window = nullptr;
  }
  list_ = nullptr;
  browser_.pane = nullptr;
}

void StandinHost::openLibraryView(const LibraryView& view) {
  closeLibraryView();
  // The library's other lists carry the texts the plug-in must not take.
  otherLists_[0] = createWindow(WC_LISTVIEWA, "List1", WS_CHILD, libraryParent_, nullptr);
  otherLists_[1] = createWindow(WC_LISTVIEWA, "List3", WS_CHILD, libraryParent_, nullptr);
  listParent_ = createWindow("TunoraStandinListParent", "", WS_CHILD, libraryParent_, nullptr);
  list_ =
      CreateWindowExA(0, WC_LISTVIEWA, "List4", WS_CHILD | LVS_REPORT, 0, 0, 400, 300, listParent_,
                      reinterpret_cast<HMENU>(1001), GetModuleHandleW(nullptr), nullptr);
  for (std::size_t i = 0; i < view.columns.size(); ++i) {
    LVCOLUMNA column{};
    column.mask = LVCF_TEXT | LVCF_WIDTH;
    column.cx = 100;
    column.pszText = const_cast<char*>(view.columns[i].c_str());
    SendMessageA(list_, LVM_INSERTCOLUMNA, i, reinterpret_cast<LPARAM>(&column));
  }
  for (std::size_t row = 0; row < view.items.size(); ++row) {
    for (std::size_t i = 0; i < view.items[row].size(); ++i) {
      LVITEMA item{};
      item.mask = LVIF_TEXT;
      item.iItem = static_cast<int>(row);
      item.iSubItem = static_cast<int>(i);
      item.pszText = const_cast<char*>(view.items[row][i].c_str());
      SendMessageA(list_, i == 0 ? LVM_INSERTITEMA : LVM_SETITEMTEXTA, row,
                   reinterpret_cast<LPARAM>(&item));
    }
  }
  pane_ = createWindow("Shell Embedding", "", WS_CHILD, libraryParent_, this);
  if (view.paneChildren) {
    const HWND docView = createWindow("Shell DocObject View", "", WS_CHILD, pane_, nullptr);
    createWindow("Internet Explorer_Server", "", WS_CHILD, docView, this);
  }
  browser_.pane = pane_;
}

void StandinHost::moveLibrary() {
  RECT rect{};
  GetWindowRect(libraryFrame_, &rect);
  MoveWindow(libraryFrame_, rect.left + 10, rect.top + 10, 600, 400, FALSE);
}

void StandinHost::clickTree() {
  SendMessageA(tree_, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
  SendMessageA(tree_, WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
  SendMessageA(tree_, WM_MOUSEMOVE, 0, MAKELPARAM(6, 6));
}

void StandinHost::clickLibraryItem(std::optional<int> selected) {
  LVITEMA state{};
  state.stateMask = LVIS_SELECTED;
  SendMessageA(list_, LVM_SETITEMSTATE, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(&state));
  if (selected) {
    state.state = LVIS_SELECTED;
    SendMessageA(list_, LVM_SETITEMSTATE, *selected, reinterpret_cast<LPARAM>(&state));
  }
  NMHDR click{list_, 1001, static_cast<UINT>(NM_CLICK)};
  SendMessageA(listParent_, WM_NOTIFY, 1001, reinterpret_cast<LPARAM>(&click));
  if (pane_ != nullptr) SendMessageA(pane_, 0x700, 0, 0);
}

void StandinHost::pumpMessages() {
  MSG message;
  while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
    TranslateMessage(&message);
    DispatchMessageA(&message);
  }
}

}  // namespace tunora::standin
