#include "host/plugin.h"

#include <utility>

#include "host/ansi_text.h"
#include "host/browser_pane.h"
#include "host/host_messages.h"
#include "host/library_list.h"
#include "host/mini_page_file.h"
#include "host/module_file_name.h"
#include "host/player_hotkey.h"
#include "io/file.h"
#include "skin/skin_colours.h"
#include "text/conversions.h"
#include "text/debug_log.h"
#include "text/text_edits.h"

namespace tunora::host {
namespace {

Plugin* activePlugin = nullptr;
// The plug-in from init to quit, and how deep the player's calls into it
// are nested right now.
std::unique_ptr<Plugin> started;
int callDepth = 0;
bool quitPending = false;

// Each call from the player into the plug-in runs inside one of these. A
// dialog of ours runs its loop inside such a call, and the player may quit
// us from within that loop: the plug-in then ends once the outermost call
// has returned, never under a loop that still uses it.
class PlayerCall {
 public:
  PlayerCall() { ++callDepth; }
  ~PlayerCall() {
    if (--callDepth == 0 && quitPending) {
      quitPending = false;
      started.reset();
    }
  }
  PlayerCall(const PlayerCall&) = delete;
  PlayerCall& operator=(const PlayerCall&) = delete;
};

LRESULT CALLBACK mainWindowProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  const PlayerCall call;
  if (Plugin* plugin = Plugin::active())
    return plugin->onMainWindowMessage(window, message, wParam, lParam);
  return WindowSubclass::callPrevious(window, message, wParam, lParam);
}

LRESULT CALLBACK playlistProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  const PlayerCall call;
  if (Plugin* plugin = Plugin::active())
    return plugin->onPlaylistMessage(window, message, wParam, lParam);
  return WindowSubclass::callPrevious(window, message, wParam, lParam);
}

LRESULT CALLBACK libraryFrameProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  const PlayerCall call;
  if (Plugin* plugin = Plugin::active())
    return plugin->onLibraryFrameMessage(window, message, wParam, lParam);
  return WindowSubclass::callPrevious(window, message, wParam, lParam);
}

}  // namespace

Plugin* Plugin::active() {
  return activePlugin;
}

void startPlugin(const PluginRecord& record) {
  started.reset();
  started = std::make_unique<Plugin>(record);
}

void quitPlugin() {
  if (!started) return;
  if (callDepth == 0) {
    started.reset();
    return;
  }
  started->endDialogs();
  // The player may unload us as soon as quit returns, while our calls
  // further up the stack still have to return through this module's code.
  keepThisModuleLoaded();
  quitPending = true;
}

INT_PTR pluginMessage(int message, INT_PTR param1, INT_PTR param2, INT_PTR param3) {
  const PlayerCall call;
  return started && !quitPending ? started->onPluginMessage(message, param1, param2, param3) : 0;
}

void Plugin::endDialogs() {
  if (preferences_) preferences_->close();
  if (coverSearch_) coverSearch_->close();
}

Plugin::Plugin(const PluginRecord& record)
    : mainWindow_(record.hostMainWindow),
      libraryParent_(record.libraryParentWindow),
      module_(record.moduleInstance),
      host_(record.hostMainWindow),
      playerExecutable_(host_.executablePath().value_or(u"")) {
  activePlugin = this;
  playerVersion_ = hostVersion(mainWindow_);
  debugLog("Winamp ver %x\n", static_cast<unsigned>(playerVersion_));
  mainSubclass_ = std::make_unique<WindowSubclass>(mainWindow_, mainWindowProcedure);
  playlistSubclass_ =
      std::make_unique<WindowSubclass>(playlistWindow(mainWindow_), playlistProcedure);
  if (playerVersion_ >= kLibraryPlayerVersion) {
    const HWND frame = libraryParent_ != nullptr ? GetParent(libraryParent_) : nullptr;
    libraryFrameSubclass_ = std::make_unique<WindowSubclass>(frame, libraryFrameProcedure);
    library_ = std::make_unique<LibraryWindows>(
        frame, [this] { showMiniPage(); }, [this] { return globalSettings_.showMini; });
    makeMiniPageFile();
  }
  internet_.emplace();
  storeClient_ = makeHttpClient(internet_->handle());
  coverSearch_ = std::make_unique<CoverSearchDialog>(module_, *storeClient_, settingsStore_);
  toggleCoverSearch = [this] { coverSearch_->toggle(mainWindow_, coverSearchTrack()); };
  openCoverSearch = [this] { coverSearch_->run(mainWindow_, coverSearchTrack()); };

  creator_ = std::make_unique<HtmlCreator>(module_, host_);
  tempCovers_ = std::make_unique<TempCovers>(host_, TempCovers::AtEnd::Delete);
  pageSettings_ = loadPageSettings(settingsStore_, playerExecutable_);
  chooseTemplates(*creator_, pageSettings_);
  refreshSkinColours(host_, skinTable_, colours_);
  show(showStartPage(dispatchContext()));

  globalSettings_ = loadGlobalSettings(settingsStore_);
  if (playerVersion_ >= kLibraryPlayerVersion) postPlayerHotkey(mainWindow_);
  makePreferences();
}

Plugin::~Plugin() {
  preferences_.reset();
  saveGlobalSettings(settingsStore_, globalSettings_);
  removeMiniPageFiles();
  savePageSettings(settingsStore_, pageSettings_);
  tempCovers_.reset();
  creator_.reset();
  // The store client and the downloaded covers go before the session.
  coverSearch_.reset();
  storeClient_.reset();
  internet_.reset();
  systemHotkey_.unregister();
  library_.reset();
  libraryFrameSubclass_.reset();
  playlistSubclass_.reset();
  mainSubclass_.reset();
  activePlugin = nullptr;
}

INT_PTR Plugin::onPluginMessage(int message, INT_PTR param1, INT_PTR, INT_PTR) {
  // The player's request for the configuration opens the preferences, once;
  // it is answered as done also while they are open.
  if (message != kPlayerMessage || !openPreferences) return 0;
  openPreferences(reinterpret_cast<HWND>(param1));
  return 1;
}

LRESULT Plugin::onMainWindowMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_SETTEXT:
      songChanges_.onTitle(titleOfSetText(lParam));
      break;
    case WM_COMMAND:
      songChanges_.onCommand(wParam);
      break;
    case WM_TIMER:
      if (songChanges_.onTimer(wParam) == SongChangeAction::UpdatePage) onSongSettled();
      break;
    case kPlayerMessage:
      onPlayerMessage(wParam, lParam);
      break;
    case WM_HOTKEY:
      // Our system-wide hotkey does what the player's hotkey for us does.
      if (systemHotkey_.isPress(wParam) && toggleCoverSearch) toggleCoverSearch();
      break;
    default:
      break;
  }
  return WindowSubclass::callPrevious(window, message, wParam, lParam);
}

LRESULT Plugin::onPlaylistMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_INITMENUPOPUP && !menuExtended_) {
    menuExtended_ = addPlaylistMenuItems(reinterpret_cast<HMENU>(wParam));
  } else if (message == WM_COMMAND) {
    switch (LOWORD(wParam)) {
      case kMenuShowSelected:
        showSelected();
        break;
      case kMenuShowDirectory:
        showDirectory();
        break;
      case kMenuCoverSearch:
        if (openCoverSearch) openCoverSearch();
        break;
      default:
        break;
    }
  }
  return WindowSubclass::callPrevious(window, message, wParam, lParam);
}

LRESULT Plugin::onLibraryFrameMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_MOVE && library_) library_->onFrameMoved();
  return WindowSubclass::callPrevious(window, message, wParam, lParam);
}

void Plugin::onSongSettled() {
  if (globalSettings_.autoUpdateEnabled) {
    updatePage({}, false);
    if (globalSettings_.autoShowEnabled && libraryVisible()) notifyPageShown(mainWindow_);
  }
  keepMinibrowserPage();
}

void Plugin::onPlayerMessage(WPARAM wParam, LPARAM lParam) {
  if (collecting_ && isSelectedEntry(kPlayerMessage, lParam)) {
    if (auto name = selectedEntryFileName(wParam)) collected_.push_back(std::move(*name));
  } else if (LOWORD(wParam) == kCoverSearchToggle && LOWORD(lParam) == kCoverSearchToggle) {
    if (toggleCoverSearch) toggleCoverSearch();
  } else if (LOWORD(wParam) == kPreferencesToggle && LOWORD(lParam) == kPreferencesToggle) {
    if (togglePreferences) togglePreferences();
  }
}

CoverSearchTrack coverSearchTrackOf(const CoverSearchStart& start, std::u16string_view coverName) {
  return {wideToAnsi(start.artist), wideToAnsi(start.album), wideToAnsi(start.fileName),
          wideToAnsi(coverName)};
}

CoverSearchTrack Plugin::coverSearchTrack() const {
  return coverSearchTrackOf(coverSearchStart_.value_or(CoverSearchStart{}),
                            pageSettings_.coverName);
}

void Plugin::updatePage(std::vector<std::u16string> files, bool directoryMode) {
  buildAndShow(
      [&] { return tunora::showFiles(dispatchContext(), std::move(files), directoryMode); });
}

void Plugin::showSelected() {
  std::vector<std::u16string> collected = collectSelection();
  buildAndShow([&] { return tunora::showSelected(dispatchContext(), std::move(collected)); });
  notifyPageShown(mainWindow_);
}

void Plugin::showDirectory() {
  const std::vector<std::u16string> collected = collectSelection();
  if (!collected.empty())
    buildAndShow([&] { return tunora::showDirectory(dispatchContext(), collected); });
  notifyPageShown(mainWindow_);
}

void Plugin::showMiniPage() {
  // Without its own file the Mini page would overwrite the minibrowser's.
  if (!library_ || !miniPageFile_) return;
  const HWND list = library_->list();
  const std::optional<int> item = clickedLibraryItem(list);
  if (!item) return;
  const std::optional<std::u16string> query = libraryQueryText(libraryItemValues(list, *item));
  if (!query) return;
  const std::optional<std::u16string> file = host::queryLibraryFile(libraryParent_, *query);
  if (!file) return;
  refreshSkinColours(host_, skinTable_, colours_);
  show(createPage(dispatchContext(), {trimBlanks(*file)}, miniPageFile_, TemplateSlot::Mini));
  navigatePane(library_->pane(), *miniPageFile_, library_->ownNavigation());
}

void Plugin::buildAndShow(const std::function<PageResult()>& build) {
  refreshSkinColours(host_, skinTable_, colours_);
  show(build());
  if (pageSettings_.setFocus) SetFocus(mainWindow_);
}

DispatchContext Plugin::dispatchContext() const {
  return {*creator_, pageSettings_, colours_, host_, playerExecutable_};
}

void Plugin::show(const PageResult& page) {
  if (page.coverSearch) coverSearchStart_ = page.coverSearch;
  if (page.minibrowserUrl) openInMinibrowser(mainWindow_, *page.minibrowserUrl);
}

std::vector<std::u16string> Plugin::collectSelection() {
  collected_.clear();
  collecting_ = true;
  requestSelectedEntries(playlistSubclass_ ? playlistSubclass_->window() : nullptr);
  collecting_ = false;
  return std::exchange(collected_, {});
}

void Plugin::makePreferences() {
  preferences_ = std::make_unique<PreferencesDialog>(
      module_,
      PreferencesTargets{*creator_, pageSettings_, globalSettings_, settingsStore_, systemHotkey_},
      systemTemplateFileActions(module_));
  openPreferences = [this](HWND owner) { preferences_->run(owner); };
  togglePreferences = [this] {
    if (preferences_->isOpen())
      preferences_->close();
    else
      preferences_->run(mainWindow_);
  };
}

void Plugin::makeMiniPageFile() {
  auto files = makeMiniPageFiles();
  if (!files) return;
  miniPageReservation_ = std::move(files->reservation);
  miniPageFile_ = std::move(files->page);
}

void Plugin::removeMiniPageFiles() {
  for (const auto& file : {miniPageReservation_, miniPageFile_})
    if (file) deleteFile(*file);
  miniPageReservation_.reset();
  miniPageFile_.reset();
}

}  // namespace tunora::host
