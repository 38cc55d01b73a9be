#include "cli/page_output.h"

#include "io/file.h"
#include "io/text_file.h"

namespace tunora {

namespace fs = std::filesystem;

std::optional<PageOutput> PageOutput::prepare(const std::u16string& path,
                                              const std::u16string& coverFolder,
                                              std::string& error) {
  std::error_code failed;
  PageOutput output;
  output.page_ = fs::absolute(toFsPath(path), failed);
  if (failed || path.empty() || output.page_.filename().empty()) {
    error = "no file name";
    return std::nullopt;
  }
  if (fs::is_directory(output.page_, failed)) {
    error = "it is a folder";
    return std::nullopt;
  }
  fs::path outermost;
  for (fs::path folder = output.page_.parent_path(); !fs::exists(folder, failed);
       folder = folder.parent_path()) {
    outermost = folder;
    if (folder == folder.parent_path()) break;
  }
  if (!outermost.empty()) {
    output.createdFolder_ = outermost;
    fs::create_directories(output.page_.parent_path(), failed);
    if (failed) {
      error = "cannot create its folder: " + failed.message();
      return std::nullopt;
    }
  }
  output.coverFolder_ = toFsPath(coverFolder);
  output.coverFolderExisted_ = fs::exists(output.coverFolder_, failed);
  // Writing the partial page now proves the page can be written before any
  // cover is.
  output.partial_ = output.page_.parent_path() /
                    toFsPath(u"." + fromFsPath(output.page_.filename()) + u".partial");
  if (!File::open(fromFsPath(output.partial_), File::Mode::Write)) {
    error = lastFileError();
    return std::nullopt;
  }
  return output;
}

PageOutput::PageOutput(PageOutput&& other) noexcept
    : page_(std::move(other.page_)),
      partial_(std::move(other.partial_)),
      createdFolder_(std::move(other.createdFolder_)),
      coverFolderExisted_(other.coverFolderExisted_),
      coverFolder_(std::move(other.coverFolder_)),
      covers_(other.covers_),
      committed_(other.committed_) {
  other.owner_ = false;
}

PageOutput::~PageOutput() {
  if (!owner_) return;
  std::error_code ignored;
  fs::remove(partial_, ignored);
  if (!committed_ && covers_) covers_->deleteAll();
  // A cover folder made for covers that none of the files had goes as well
  // (removing a folder that is not empty fails and keeps it).
  if (!coverFolderExisted_) fs::remove(coverFolder_, ignored);
  if (committed_) return;
  if (createdFolder_) fs::remove_all(*createdFolder_, ignored);
}

bool PageOutput::commit(const TextLines& page, TextFileEncoding encoding, std::string& error) {
  if (saveTextFile(page, fromFsPath(partial_), encoding) != 1) {
    error = lastFileError();
    return false;
  }
  std::error_code failed;
  fs::rename(partial_, page_, failed);
  if (failed) {
    error = failed.message();
    return false;
  }
  committed_ = true;
  return true;
}

}  // namespace tunora
