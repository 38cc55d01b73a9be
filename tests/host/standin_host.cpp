#include "standin_host.h"

namespace tunora::standin {
namespace {

constexpr wchar_t kMainClass[] = L"Winamp v1.x";
constexpr wchar_t kLibraryClass[] = L"TunoraStandinLibrary";

LRESULT CALLBACK mainWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  return DefWindowProcW(window, message, wParam, lParam);
}

void registerClasses() {
  static bool registered = false;
  if (registered) return;
  WNDCLASSW windowClass{};
  windowClass.lpfnWndProc = mainWindowProc;
  windowClass.hInstance = GetModuleHandleW(nullptr);
  windowClass.lpszClassName = kMainClass;
  RegisterClassW(&windowClass);
  windowClass.lpszClassName = kLibraryClass;
  RegisterClassW(&windowClass);
  registered = true;
}

}  // namespace

std::wstring programFolder() {
  wchar_t path[MAX_PATH] = {};
  GetModuleFileNameW(nullptr, path, MAX_PATH);
  std::wstring folder = path;
  return folder.substr(0, folder.find_last_of(L'\\') + 1);
}

StandinHost::StandinHost() {
  registerClasses();
  const HINSTANCE instance = GetModuleHandleW(nullptr);
  mainWindow_ = CreateWindowExW(0, kMainClass, L"Winamp", WS_OVERLAPPEDWINDOW, 0, 0, 275, 116,
                                nullptr, nullptr, instance, nullptr);
  libraryFrame_ = CreateWindowExW(0, kLibraryClass, L"Winamp Library", WS_OVERLAPPEDWINDOW, 0, 0,
                                  600, 400, nullptr, nullptr, instance, nullptr);
  libraryParent_ = CreateWindowExW(0, kLibraryClass, L"", WS_CHILD, 0, 0, 600, 400, libraryFrame_,
                                   nullptr, instance, nullptr);
}

StandinHost::~StandinHost() {
  quit();
  if (module_ != nullptr) FreeLibrary(module_);
  DestroyWindow(libraryParent_);
  DestroyWindow(libraryFrame_);
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

}  // namespace tunora::standin
