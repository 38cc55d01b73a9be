#include "standin_host.h"

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
}

StandinHost::~StandinHost() {
  quit();
  if (module_ != nullptr) FreeLibrary(module_);
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

void StandinHost::pumpMessages() {
  MSG message;
  while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
    TranslateMessage(&message);
    DispatchMessageA(&message);
  }
}

}  // namespace tunora::standin
