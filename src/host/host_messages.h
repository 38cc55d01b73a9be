#pragma once
// Everything the plug-in asks of the player, and tells it, travels as window
// messages. They are named here once, and each is sent to the window that
// answers it: most go to the main window the player names in the plug-in
// record; the minibrowser's keep-page request, the stream properties, the
// extended file information and the system hotkey go to the top-level window
// of class "Winamp v1.x". The player's 8-bit texts are converted with the
// ANSI code page both ways (host/ansi_text.h).

#include <windows.h>

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "host/gdi_objects.h"
#include "hostlink/host_link.h"

namespace tunora::host {

// The message of the player's queries and requests; the code is in lParam.
inline constexpr UINT kPlayerMessage = WM_USER;

inline constexpr LPARAM kCodeVersion = 0;
inline constexpr LPARAM kCodePlayingPosition = 125;
inline constexpr LPARAM kCodeStreamProperty = 126;
inline constexpr LPARAM kCodeSkinFolder = 201;
inline constexpr LPARAM kCodePlaylistFileName = 211;
inline constexpr LPARAM kCodeOpenInMinibrowser = 241;
inline constexpr LPARAM kCodeKeepMinibrowserPage = 248;
inline constexpr LPARAM kCodePlaylistWindow = 260;
inline constexpr LPARAM kCodeExtendedFileInfo = 290;
inline constexpr LPARAM kCodeGenericSkinBitmap = 503;
inline constexpr LPARAM kCodeRegisteredMessage = 65536;
// The player's own codes end here: a registered message number is above it.
inline constexpr LPARAM kHighestPlayerCode = 65536;
// Arrives at the main window once per selected playlist entry while the
// playlist window answers kCommandReportSelection (low 16 bits of lParam).
inline constexpr LPARAM kCodeSelectedEntry = 850;
// wParam and lParam of the player's hotkey message that toggles the cover
// search, and of the request that toggles the preferences.
inline constexpr int kCoverSearchToggle = 100;
inline constexpr int kPreferencesToggle = 101;

// The name the player's hotkey service registers its message under.
inline constexpr char kHotkeyServiceName[] = "GenHotkeysAdd";

// The 8-bit buffer the skin folder is written into: 259 bytes and the
// terminator.
inline constexpr std::size_t kPathBufferSize = 260;
// The buffer an extended file information answer is written into; the
// player is told one byte less, so that the answer stays terminated.
inline constexpr std::size_t kFileInfoBufferSize = 4096;

// WM_COMMAND identifiers: we send kCommandPageShown to the main window after
// showing a page, and kCommandReportSelection to the playlist window to learn
// its selection. The command and timers of a song change are the tracker's
// (hostlink/player_names.h).
inline constexpr WORD kCommandReportSelection = 40293;
inline constexpr WORD kCommandPageShown = 40364;

// The Media Library's message to the library parent window, with the
// operation in lParam, and the message the library sends its browser pane.
inline constexpr UINT kLibraryMessage = 0x1400;
inline constexpr LPARAM kLibraryRunQuery = 1792;
inline constexpr LPARAM kLibraryFreeQuery = 1797;
inline constexpr UINT kLibraryPaneMessage = 0x700;

// wParam of kCodeExtendedFileInfo: four 32-bit fields.
struct ExtendedFileInfoRequest {
  const char* fileName;
  const char* key;
  char* buffer;
  int capacity;
};

// The first field of what wParam of kCodeSelectedEntry points to, and of a
// library result record; the player's records go on, we read only the name.
struct FileNameRecord {
  const char* fileName;
};

// wParam of kLibraryMessage: the query and the results the library fills in.
struct LibraryQueryRecord {
  const char* query;
  int maxResults;
  const FileNameRecord* firstResult;
  int resultCount;
  int allocated;
};

#if defined(_WIN32) && !defined(_WIN64)
static_assert(sizeof(ExtendedFileInfoRequest) == 16);
static_assert(sizeof(LibraryQueryRecord) == 20);
static_assert(offsetof(LibraryQueryRecord, firstResult) == 8);
#endif

// The top-level window of class "Winamp v1.x", whatever its title; null
// when there is none.
HWND findPlayerWindow();
// The Media Library's window: class "Winamp Gen" titled "Winamp Library",
// else class "BaseWindow_RootWnd" titled "Media Library"; null when neither.
HWND findLibraryWindow();
bool libraryVisible();

// Queries of the record's main window. Each answers 0 or nothing when
// `main` is null.
int hostVersion(HWND main);
HWND playlistWindow(HWND main);
int playingPosition(HWND main);
// The name of the playlist entry at `position`; nothing when the player
// gives none.
std::optional<std::u16string> playlistFileName(HWND main, int position);
// The folder of the current skin; empty for the default skin.
std::optional<std::u16string> skinFolder(HWND main);
// The generic skin bitmap, which the caller owns; empty when there is none.
UniqueBitmap genericSkinBitmap(HWND main);
// The number of the message that registers a hotkey with the player's
// hotkey service; nothing when the player has no such service.
std::optional<UINT> hotkeyMessageNumber(HWND main);

// Requests to the record's main window and the playlist window.
void openInMinibrowser(HWND main, std::u16string_view url);
void notifyPageShown(HWND main);
// The playlist window answers before this returns, with one
// kCodeSelectedEntry message to the main window per selected entry.
void requestSelectedEntries(HWND playlist);

// Queries and requests of the "Winamp v1.x" window.
void keepMinibrowserPage();
// 0 when unknown or without a player.
std::uint32_t streamProperty(StreamProperty which);
// The player's information `key` of `file`: its text, which may be empty,
// when the player filled the buffer; nothing otherwise.
std::optional<std::u16string> extendedFileInfo(std::u16string_view file, std::string_view key);
bool registerSystemHotkey(int id, UINT modifiers, UINT key);
void unregisterSystemHotkey(int id);

// What the player sends to the main window.
bool isSelectedEntry(UINT message, LPARAM lParam);
// The file name in the record of a kCodeSelectedEntry message.
std::optional<std::u16string> selectedEntryFileName(WPARAM record);
// The title of a WM_SETTEXT that reached a Unicode window procedure, in the
// player's 8-bit form; empty for none.
std::string titleOfSetText(LPARAM text);

// Asks the Media Library for the one file that `query` finds; nothing when
// it finds none or more than one. The library's results are always freed.
std::optional<std::u16string> queryLibraryFile(HWND libraryParent, std::u16string_view query);

}  // namespace tunora::host
