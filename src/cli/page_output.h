#pragma once
// Where the page goes, written so that a failed run leaves nothing behind:
// the folder is created when missing, the page is first written beside its
// place under a fresh name and moved there only when complete, and a run that
// never commits removes the folders, covers and partial page it made. Nothing
// is written through a link, nor onto what is no regular file.

#include <filesystem>
#include <optional>
#include <string>

#include "htmlcreator/temp_covers.h"
#include "io/text_file.h"
#include "text/text_lines.h"

namespace tunora {

// Where a page named `path` really goes: the file a link to a file points to,
// so that the covers go beside the page; otherwise `path` itself.
std::u16string pagePlace(const std::u16string& path);

struct PageOutputError {
  std::string reason;
  // 2 when `path` names what no page may replace (a folder, device, FIFO or
  // socket), 1 when writing failed.
  int status = 1;
};

class PageOutput {
 public:
  // Nothing when the page cannot go to `path`; `error` then says why.
  // `coverFolder` is where the page's covers go.
  static std::optional<PageOutput> prepare(const std::u16string& path,
                                           const std::u16string& coverFolder,
                                           PageOutputError& error);
  PageOutput(PageOutput&& other) noexcept;
  PageOutput& operator=(PageOutput&&) = delete;
  ~PageOutput();

  // The covers a failed run removes (those of the page being built).
  void attachCovers(const TempCovers& covers) { covers_ = &covers; }

  // Keeps the covers made, for a page that went elsewhere.
  void keepCovers() { committed_ = true; }

  // Puts the page in place; false (with `error`) when it could not be written.
  bool commit(const TextLines& page, TextFileEncoding encoding, std::string& error);

  // Where the page is written before it is put in place.
  const std::u16string& partialPath() const { return partial_; }

 private:
  PageOutput() = default;
  std::filesystem::path page_;
  std::u16string partial_;
  // The outermost folder this run created, to be removed on failure.
  std::optional<std::filesystem::path> createdFolder_;
  bool coverFolderExisted_ = false;
  std::filesystem::path coverFolder_;
  const TempCovers* covers_ = nullptr;
  bool committed_ = false;
  bool owner_ = true;
};

// Puts a tag first into the page's head, or first into the page when the
// template has no head.
void addToHead(TextLines& page, std::u16string_view tag);

}  // namespace tunora
