// The procedures of the stand-in player's windows. The message numbers are
// written out here as the player knows them, rather than taken from the
// plug-in's own names, so that a wrong number on the plug-in's side fails.

#include <algorithm>
#include <cstring>
#include <optional>
#include <string_view>
#include <utility>
#include <vector>

#include "standin_host.h"

namespace tunora::standin {
namespace {

constexpr UINT kPlayerMessage = 1024;
constexpr WORD kReportSelection = 40293;
constexpr LPARAM kSelectedEntry = 850;
constexpr UINT kLibraryMessage = 5120;
constexpr LPARAM kRunQuery = 1792;
constexpr LPARAM kFreeQuery = 1797;
constexpr UINT kPaneRequest = 1792;

// What the player hands the plug-in for each selected entry: a record that
// starts with the entry's file name.
struct EntryRecord {
  const char* fileName;
  const char* title;
  int length;
};

struct FileInfoRequest {
  const char* fileName;
  const char* key;
  char* buffer;
  int capacity;
};

struct LibraryQuery {
  const char* query;
  int maxResults;
  const void* firstResult;
  int resultCount;
  int allocated;
};

// The library's query text, as its parser reads it: conditions
// `field = "value"` joined by " AND "; inside a value a quote is written
// twice. Nothing when the text does not follow that form.
std::optional<std::vector<std::pair<std::string, std::string>>> parseLibraryQuery(
    std::string_view query) {
  std::vector<std::pair<std::string, std::string>> conditions;
  std::size_t at = 0;
  while (true) {
    const std::size_t equals = query.find(" = \"", at);
    if (equals == std::string_view::npos) return std::nullopt;
    std::string field(query.substr(at, equals - at));
    std::string value;
    std::size_t i = equals + 4;
    for (;; ++i) {
      if (i >= query.size()) return std::nullopt;
      if (query[i] != '"') {
        value += query[i];
      } else if (i + 1 < query.size() && query[i + 1] == '"') {
        value += '"';
        ++i;
      } else {
        break;
      }
    }
    conditions.emplace_back(std::move(field), std::move(value));
    at = i + 1;
    if (at == query.size()) return conditions;
    if (query.substr(at, 5) != " AND ") return std::nullopt;
    at += 5;
  }
}

// Copies `text` as a careless player would: at most `capacity` bytes, and a
// terminator only where there is room for it.
void copyBounded(std::string_view text, char* buffer, std::size_t capacity) {
  const std::size_t length = std::min(text.size(), capacity);
  std::memcpy(buffer, text.data(), length);
  if (length < capacity) buffer[length] = '\0';
}

}  // namespace

LRESULT StandinHost::onMainMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case kPlayerMessage:
      return answerQuery(wParam, lParam);
    case WM_COMMAND:
      received_.commands.push_back(LOWORD(wParam));
      return 0;
    case WM_SETFOCUS:
      ++received_.focusGained;
      return 0;
    default:
      return DefWindowProcA(window, message, wParam, lParam);
  }
}

LRESULT StandinHost::answerQuery(WPARAM wParam, LPARAM code) {
  // Requests are recorded whatever the player answers.
  switch (code) {
    case 241:
      received_.openedUrls.emplace_back(reinterpret_cast<const char*>(wParam));
      return 0;
    case 248:
      ++received_.keepPageRequests;
      return 0;
    default:
      break;
  }
  if (code == scenario_.hotkeyMessage && code > 65536) {
    received_.hotkeyRecords.push_back(wParam);
    return 0;
  }
  if (scenario_.answersNothing) return 0;
  switch (code) {
    case 0:
      return scenario_.version;
    case 125:
      return scenario_.playingPosition;
    case 126:
      return wParam < scenario_.streamProperties.size() ? scenario_.streamProperties[wParam] : 0;
    case 201:
      copyBounded(scenario_.skinFolder, reinterpret_cast<char*>(wParam), MAX_PATH);
      return 0;
    case 211:
      return wParam < scenario_.playlist.size()
                 ? reinterpret_cast<LRESULT>(scenario_.playlist[wParam].c_str())
                 : 0;
    case 260:
      return reinterpret_cast<LRESULT>(playlistWindow_);
    case 290: {
      // Like the player, which looks the file up on a file system that
      // ignores letter case, the name is compared without it.
      const auto* request = reinterpret_cast<const FileInfoRequest*>(wParam);
      for (const auto& [fileAndKey, value] : scenario_.fileInfo) {
        if (lstrcmpiA(fileAndKey.first.c_str(), request->fileName) != 0 ||
            fileAndKey.second != request->key)
          continue;
        copyBounded(value, request->buffer, static_cast<std::size_t>(request->capacity));
        return 1;
      }
      return 0;
    }
    case 503:
      return reinterpret_cast<LRESULT>(createSkinBitmap());
    case 65536:
      return std::string_view(reinterpret_cast<const char*>(wParam)) == "GenHotkeysAdd"
                 ? scenario_.hotkeyMessage
                 : 0;
    default:
      return 0;
  }
}

HBITMAP StandinHost::createSkinBitmap() {
  if (!scenario_.skinBitmap) return nullptr;
  const SkinBitmap& source = *scenario_.skinBitmap;
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof(info.bmiHeader);
  info.bmiHeader.biWidth = source.width;
  info.bmiHeader.biHeight = -source.height;  // top-down: row 0 first
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  void* bits = nullptr;
  const HBITMAP bitmap = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  if (bitmap == nullptr) return nullptr;
  // A 32-bit DIB pixel is 0x00RRGGBB; a colour value is 0x00BBGGRR.
  auto* pixels = static_cast<DWORD*>(bits);
  for (std::size_t i = 0; i < source.pixels.size(); ++i) {
    const COLORREF colour = source.pixels[i];
    pixels[i] = RGB(GetBValue(colour), GetGValue(colour), GetRValue(colour));
  }
  lastSkinBitmap_ = bitmap;
  return bitmap;
}

LRESULT StandinHost::onPlaylistMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message != WM_COMMAND || LOWORD(wParam) != kReportSelection || scenario_.answersNothing)
    return DefWindowProcA(window, message, wParam, lParam);
  for (const int position : scenario_.selection) {
    if (position < 0 || static_cast<std::size_t>(position) >= scenario_.playlist.size()) continue;
    const std::string& name = scenario_.playlist[static_cast<std::size_t>(position)];
    const EntryRecord record{name.c_str(), name.c_str(), 0};
    SendMessageA(mainWindow_, kPlayerMessage, reinterpret_cast<WPARAM>(&record), kSelectedEntry);
  }
  return 0;
}

LRESULT StandinHost::onLibraryMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message != kLibraryMessage) return DefWindowProcA(window, message, wParam, lParam);
  auto* query = reinterpret_cast<LibraryQuery*>(wParam);
  if (lParam == kFreeQuery) {
    ++received_.libraryQueriesFreed;
    libraryResults_.clear();
    query->firstResult = nullptr;
    query->resultCount = query->allocated = 0;
    return 1;
  }
  if (lParam != kRunQuery || scenario_.answersNothing) return 0;
  received_.libraryQueries.emplace_back(query->query);
  const auto known = scenario_.libraryFiles.find(query->query);
  if (known != scenario_.libraryFiles.end()) {
    libraryFound_ = known->second;
  } else if (!scenario_.library.empty()) {
    libraryFound_ = findInLibrary(query->query);
  } else {
    return 0;
  }
  libraryResults_.clear();
  for (const std::string& file : libraryFound_) {
    if (query->maxResults > 0 && libraryResults_.size() >= std::size_t(query->maxResults) &&
        !scenario_.libraryIgnoresMaximum)
      break;
    libraryResults_.push_back({file.c_str(), nullptr, nullptr, nullptr});
  }
  query->firstResult = libraryResults_.empty() ? nullptr : libraryResults_.data();
  query->resultCount = query->allocated = static_cast<int>(libraryResults_.size());
  return 1;
}

}  // namespace tunora::standin

namespace tunora::standin {

std::vector<std::string> StandinHost::findInLibrary(std::string_view query) const {
  const auto conditions = parseLibraryQuery(query);
  if (!conditions) return {};
  std::vector<std::string> files;
  for (const LibraryTrack& track : scenario_.library) {
    bool matches = true;
    for (const auto& [field, value] : *conditions) {
      const std::string* actual = field == "artist"  ? &track.artist
                                  : field == "album" ? &track.album
                                  : field == "title" ? &track.title
                                                     : nullptr;
      matches = matches && actual != nullptr && *actual == value;
    }
    if (matches) files.push_back(track.file);
  }
  return files;
}

LRESULT StandinHost::onPaneMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == kPaneRequest) ++received_.paneRequests;
  if (message == WM_NULL) ++received_.paneNoOperations;
  return DefWindowProcA(window, message, wParam, lParam);
}

LRESULT StandinHost::onBrowserWindowMessage(HWND window, UINT message, WPARAM wParam,
                                            LPARAM lParam) {
  static const UINT documentRequest = RegisterWindowMessageA("WM_HTML_GETOBJECT");
  if (message == documentRequest) return document_.objectFor(wParam);
  return DefWindowProcA(window, message, wParam, lParam);
}

}  // namespace tunora::standin
