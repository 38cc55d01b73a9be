#include "host/cover_search_dialog.h"

#include <shellapi.h>

#include <utility>

#include "coversearch/cover_saving.h"
#include "host/cover_search_dialog_ids.h"
#include "host/picture_bitmap.h"
#include "host/save_file_dialog.h"
#include "io/file.h"
#include "text/ascii_case.h"
#include "text/path_parts.h"

namespace tunora::host {
namespace {

constexpr int kPictureSize = 241;
constexpr int kKeywordsMaxLength = 1024;
// Posted by the worker when its part is done.
constexpr UINT kWorkDone = WM_APP + 0x71;

std::string controlText(HWND dialog, int id, std::size_t maxLength) {
  std::string text(maxLength + 1, '\0');
  text.resize(GetDlgItemTextA(dialog, id, text.data(), static_cast<int>(text.size())));
  return text;
}

}  // namespace

CoverSearchDesktop systemDesktop() {
  return {askSaveFileName, [](const char* verb, const std::string& target) {
            ShellExecuteA(nullptr, verb, target.c_str(), nullptr, nullptr, SW_SHOWNORMAL);
          }};
}

CoverSearchDialog::CoverSearchDialog(HINSTANCE module, HttpClient& client, SettingsStore& settings,
                                     CoverSearchDesktop desktop,
                                     std::chrono::milliseconds musicBrainzSpacing)
    : module_(module),
      client_(client),
      settingsStore_(settings),
      musicBrainzSpacing_(musicBrainzSpacing),
      desktop_(std::move(desktop)) {}

CoverSearchDialog::~CoverSearchDialog() {
  stopWork();
}

void CoverSearchDialog::run(HWND owner, const CoverSearchTrack& track) {
  if (open_) return;
  open_ = true;
  track_ = track;
  settings_ = loadCoverSearchSettings(settingsStore_);
  search_.emplace(client_, settings_.hosts, settings_.musicBrainz, musicBrainzSpacing_);
  DialogBoxParamA(module_, MAKEINTRESOURCEA(TUNORA_DIALOG_COVER_SEARCH), owner, procedure,
                  reinterpret_cast<LPARAM>(this));
  // Also when the dialog could not be made or was ended from elsewhere.
  stopWork();
  open_ = false;
  window_ = nullptr;
  search_.reset();
}

void CoverSearchDialog::close() {
  open_ = false;
  // A save dialog's loop runs inside ours: it ends first.
  endSaveFileDialog();
  if (window_ != nullptr)
    SendMessageA(window_, WM_COMMAND, MAKEWPARAM(TUNORA_COVER_EXIT, BN_CLICKED), 0);
}

void CoverSearchDialog::toggle(HWND owner, const CoverSearchTrack& track) {
  if (open_)
    close();
  else
    run(owner, track);
}

INT_PTR CALLBACK CoverSearchDialog::procedure(HWND window, UINT message, WPARAM wParam,
                                              LPARAM lParam) {
  if (message == WM_INITDIALOG) {
    SetWindowLongPtrA(window, DWLP_USER, lParam);
    reinterpret_cast<CoverSearchDialog*>(lParam)->onInit(window);
    // The keyword edit has the focus already.
    return FALSE;
  }
  auto* dialog = reinterpret_cast<CoverSearchDialog*>(GetWindowLongPtrA(window, DWLP_USER));
  if (dialog == nullptr) return FALSE;
  switch (message) {
    case WM_CLOSE:
      dialog->onExit();
      return TRUE;
    case WM_COMMAND:
      dialog->onCommand(LOWORD(wParam), HIWORD(wParam));
      return TRUE;
    case kWorkDone:
      dialog->onWorkDone();
      return TRUE;
    default:
      return FALSE;
  }
}

void CoverSearchDialog::onInit(HWND window) {
  window_ = window;
  SetFocus(GetDlgItem(window, TUNORA_COVER_KEYWORDS));
  suggestedName_ = makeCoverFileName(track_.coverNamePattern, track_.artist, track_.album);
  SetDlgItemTextA(window, TUNORA_COVER_KEYWORDS, (track_.artist + " " + track_.album).c_str());
  const HWND stores = GetDlgItem(window, TUNORA_COVER_STORE);
  for (const std::string& source : search_->sourceNames())
    SendMessageA(stores, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(source.c_str()));
  // The source last searched, else the first store front.
  const auto last = SendMessageA(stores, CB_FINDSTRINGEXACT, static_cast<WPARAM>(-1),
                                 reinterpret_cast<LPARAM>(settings_.lastSource.c_str()));
  SendMessageA(stores, CB_SETCURSEL, settings_.lastSource.empty() || last == CB_ERR ? 0 : last, 0);
  EnableWindow(GetDlgItem(window, TUNORA_COVER_OPEN_PAGE), FALSE);
  enableCoverButtons(false);
  if (equalIgnoringAsciiCase(track_.fileName, "Unknown"))
    startFolder_.reset();
  else
    startFolder_ = folderOf(track_.fileName);
  SendDlgItemMessageA(window, TUNORA_COVER_KEYWORDS, EM_SETSEL, 0, -1);
}

void CoverSearchDialog::onCommand(WORD id, WORD code) {
  // While the worker runs, only Exit is taken: the search it works on is
  // not to be touched from here.
  if (isBusy() && id != TUNORA_COVER_EXIT && id != IDCANCEL) return;
  switch (id) {
    case TUNORA_COVER_SEARCH:
      onSearch();
      break;
    case TUNORA_COVER_RESULTS:
      if (code == LBN_SELCHANGE) onSelectionChange();
      break;
    case TUNORA_COVER_OPEN_PAGE:
      onOpenPage();
      break;
    case TUNORA_COVER_SAVE_EDIT:
      onSave(true);
      break;
    case TUNORA_COVER_SAVE:
      onSave(false);
      break;
    case TUNORA_COVER_EXIT:
    case IDCANCEL:  // Escape
      onExit();
      break;
    default:
      break;
  }
}

void CoverSearchDialog::onSearch() {
  EnableWindow(GetDlgItem(window_, TUNORA_COVER_OPEN_PAGE), FALSE);
  enableCoverButtons(false);
  // The covers of the previous results are gone with them.
  showPicture(nullptr);
  SendDlgItemMessageA(window_, TUNORA_COVER_RESULTS, LB_RESETCONTENT, 0, 0);
  std::string keywords = controlText(window_, TUNORA_COVER_KEYWORDS, kKeywordsMaxLength);
  settings_.lastSource = storeText();
  startWork([this, store = settings_.lastSource,
             keywords = std::move(keywords)] { searchStatus_ = search_->search(store, keywords); },
            [this] {
              setStatus(searchStatus_);
              const CoverResults& results = search_->results();
              for (std::size_t i = 0; i < results.size(); ++i)
                SendDlgItemMessageA(window_, TUNORA_COVER_RESULTS, LB_ADDSTRING, 0,
                                    reinterpret_cast<LPARAM>(results[i].text.c_str()));
              EnableWindow(GetDlgItem(window_, TUNORA_COVER_OPEN_PAGE), results.size() > 0);
            });
}

void CoverSearchDialog::onSelectionChange() {
  const auto index =
      static_cast<int>(SendDlgItemMessageA(window_, TUNORA_COVER_RESULTS, LB_GETCURSEL, 0, 0));
  startWork([this, store = storeText(), index] { selection_ = search_->select(store, index); },
            [this] {
              const CoverSearch::Selection selection = std::exchange(selection_, {});
              // Without a cover the picture of another result would stand
              // beside this one's status.
              showPicture(selection.picture ? &*selection.picture : nullptr);
              setStatus(selection.status);
              enableCoverButtons(search_->coverShown());
            });
}

void CoverSearchDialog::startWork(std::function<void()> work, std::function<void()> done) {
  enableSearching(false);
  whenDone_ = std::move(done);
  const HWND window = window_;
  worker_ = std::thread([work = std::move(work), window] {
    work();
    PostMessageA(window, kWorkDone, 0, 0);
  });
}

void CoverSearchDialog::onWorkDone() {
  if (!isBusy()) return;
  worker_.join();
  enableSearching(true);
  if (auto done = std::exchange(whenDone_, {})) done();
}

void CoverSearchDialog::stopWork() {
  if (!isBusy()) return;
  client_.setCancelled(true);
  worker_.join();
  client_.setCancelled(false);
  whenDone_ = {};
  selection_ = {};
}

void CoverSearchDialog::enableSearching(bool enable) {
  EnableWindow(GetDlgItem(window_, TUNORA_COVER_SEARCH), enable);
  EnableWindow(GetDlgItem(window_, TUNORA_COVER_RESULTS), enable);
}

void CoverSearchDialog::onOpenPage() {
  const auto url = search_->selectedPageUrl(storeText());
  if (!url) {
    setStatus(coverstatus::kNoItemSelected);
    return;
  }
  desktop_.shellExecute("open", *url);
}

void CoverSearchDialog::onSave(bool thenEdit) {
  if (!search_->canSave()) {
    setStatus(coverstatus::kNoCoverSelected);
    return;
  }
  const auto target = desktop_.askSaveFileName(startFolder_, suggestedName_);
  const std::string status = search_->save(target);
  setStatus(status);
  if (thenEdit && status == coverstatus::kCoverSaved) desktop_.shellExecute("edit", *target);
}

void CoverSearchDialog::onExit() {
  open_ = false;
  stopWork();
  search_->close();
  saveCoverSearchSettings(settingsStore_, settings_);
  showPicture(nullptr);
  startFolder_.reset();
  suggestedName_.clear();
  const HWND window = window_;
  window_ = nullptr;
  EndDialog(window, 0);
}

std::string CoverSearchDialog::storeText() const {
  return controlText(window_, TUNORA_COVER_STORE, kStoreHostMaxLength);
}

void CoverSearchDialog::setStatus(std::string_view text) {
  SetDlgItemTextA(window_, TUNORA_COVER_STATUS, std::string(text).c_str());
}

void CoverSearchDialog::enableCoverButtons(bool enable) {
  EnableWindow(GetDlgItem(window_, TUNORA_COVER_SAVE), enable);
  EnableWindow(GetDlgItem(window_, TUNORA_COVER_SAVE_EDIT), enable);
}

// No picture takes the shown one away.
void CoverSearchDialog::showPicture(const DecodedPicture* cover) {
  UniqueBitmap picture;
  if (cover != nullptr) picture = stretchedBitmap(*cover, kPictureSize, kPictureSize);
  SendDlgItemMessageA(window_, TUNORA_COVER_PICTURE, STM_SETIMAGE, IMAGE_BITMAP,
                      reinterpret_cast<LPARAM>(picture.get()));
  picture_ = std::move(picture);
}

}  // namespace tunora::host
