#include "host/host_messages.h"

#include <array>
#include <span>
#include <vector>

#include "host/ansi_text.h"

namespace tunora::host {
namespace {

LRESULT ask(HWND window, WPARAM wParam, LPARAM code) {
  return window != nullptr ? SendMessageW(window, kPlayerMessage, wParam, code) : 0;
}

void command(HWND window, WORD id) {
  if (window != nullptr) SendMessageW(window, WM_COMMAND, MAKEWPARAM(id, 0), 0);
}

// A text the player keeps in its own memory, up to its terminator.
std::optional<std::u16string> playerText(const char* text) {
  if (text == nullptr) return std::nullopt;
  return ansiToWide(text);
}

// The text in a buffer the player wrote into. Its last byte is made the
// terminator, so that a player that fills it to the end is not read past it.
std::u16string terminatedText(std::span<char> buffer) {
  buffer.back() = '\0';
  return ansiToWide(std::string_view(buffer.data(), buffer.size()));
}

}  // namespace

HWND findPlayerWindow() {
  return FindWindowW(L"Winamp v1.x", nullptr);
}

HWND findLibraryWindow() {
  const HWND window = FindWindowW(L"Winamp Gen", L"Winamp Library");
  return window != nullptr ? window : FindWindowW(L"BaseWindow_RootWnd", L"Media Library");
}

bool libraryVisible() {
  const HWND library = findLibraryWindow();
  return library != nullptr && IsWindowVisible(library);
}

int hostVersion(HWND main) {
  return static_cast<int>(ask(main, 0, kCodeVersion));
}

HWND playlistWindow(HWND main) {
  return reinterpret_cast<HWND>(ask(main, 1, kCodePlaylistWindow));
}

int playingPosition(HWND main) {
  return static_cast<int>(ask(main, 0, kCodePlayingPosition));
}

std::optional<std::u16string> playlistFileName(HWND main, int position) {
  if (main == nullptr) return std::nullopt;
  return playerText(reinterpret_cast<const char*>(
      ask(main, static_cast<WPARAM>(position), kCodePlaylistFileName)));
}

std::optional<std::u16string> skinFolder(HWND main) {
  if (main == nullptr) return std::nullopt;
  std::array<char, kPathBufferSize> buffer{};
  ask(main, reinterpret_cast<WPARAM>(buffer.data()), kCodeSkinFolder);
  return terminatedText(buffer);
}

UniqueBitmap genericSkinBitmap(HWND main) {
  return UniqueBitmap(reinterpret_cast<HBITMAP>(ask(main, 0, kCodeGenericSkinBitmap)));
}

std::optional<UINT> hotkeyMessageNumber(HWND main) {
  const LRESULT number =
      ask(main, reinterpret_cast<WPARAM>(kHotkeyServiceName), kCodeRegisteredMessage);
  if (number <= kHighestPlayerCode) return std::nullopt;
  return static_cast<UINT>(number);
}

void openInMinibrowser(HWND main, std::u16string_view url) {
  const std::string ansi = wideToAnsi(url);
  ask(main, reinterpret_cast<WPARAM>(ansi.c_str()), kCodeOpenInMinibrowser);
}

void notifyPageShown(HWND main) {
  command(main, kCommandPageShown);
}

void requestSelectedEntries(HWND playlist) {
  command(playlist, kCommandReportSelection);
}

void keepMinibrowserPage() {
  ask(findPlayerWindow(), 1, kCodeKeepMinibrowserPage);
}

std::uint32_t streamProperty(StreamProperty which) {
  const LRESULT value = ask(findPlayerWindow(), static_cast<WPARAM>(which), kCodeStreamProperty);
  return value > 0 ? static_cast<std::uint32_t>(value) : 0;
}

std::optional<std::u16string> extendedFileInfo(std::u16string_view file, std::string_view key) {
  const HWND player = findPlayerWindow();
  if (player == nullptr) return std::nullopt;
  const std::string fileName = wideToAnsi(file);
  const std::string keyName(key);
  std::vector<char> buffer(kFileInfoBufferSize, '\0');
  ExtendedFileInfoRequest request{fileName.c_str(), keyName.c_str(), buffer.data(),
                                  static_cast<int>(kFileInfoBufferSize - 1)};
  if (ask(player, reinterpret_cast<WPARAM>(&request), kCodeExtendedFileInfo) != 1)
    return std::nullopt;
  return terminatedText(buffer);
}

bool registerSystemHotkey(int id, UINT modifiers, UINT key) {
  return RegisterHotKey(findPlayerWindow(), id, modifiers, key) != FALSE;
}

void unregisterSystemHotkey(int id) {
  UnregisterHotKey(findPlayerWindow(), id);
}

bool isSelectedEntry(UINT message, LPARAM lParam) {
  return message == kPlayerMessage && LOWORD(lParam) == kCodeSelectedEntry;
}

std::optional<std::u16string> selectedEntryFileName(WPARAM record) {
  if (record == 0) return std::nullopt;
  return playerText(reinterpret_cast<const FileNameRecord*>(record)->fileName);
}

std::string titleOfSetText(LPARAM text) {
  if (text == 0) return {};
  return wideToAnsi(reinterpret_cast<const char16_t*>(text));
}

std::optional<std::u16string> queryLibraryFile(HWND libraryParent, std::u16string_view query) {
  if (libraryParent == nullptr) return std::nullopt;
  const std::string ansi = wideToAnsi(query);
  LibraryQueryRecord record{ansi.c_str(), 1, nullptr, 0, 0};
  const auto wParam = reinterpret_cast<WPARAM>(&record);
  std::optional<std::u16string> found;
  if (SendMessageW(libraryParent, kLibraryMessage, wParam, kLibraryRunQuery) == 1 &&
      record.resultCount == 1 && record.firstResult != nullptr)
    found = playerText(record.firstResult->fileName);
  SendMessageW(libraryParent, kLibraryMessage, wParam, kLibraryFreeQuery);
  return found;
}

}  // namespace tunora::host
