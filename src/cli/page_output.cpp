#include "cli/page_output.h"

#include "io/file.h"
#include "io/text_file.h"
#include "text/conversions.h"

namespace tunora {

namespace fs = std::filesystem;

namespace {

// Where the page goes when the user names `page`: a link to a file is
// followed, so that the link stays a link and its file gets the page;
// anything else that is no file is refused.
std::optional<fs::path> pageTarget(const fs::path& page, PageOutputError& error) {
  std::error_code failed;
  const fs::file_status own = fs::symlink_status(page, failed);
  if (failed && failed != std::errc::no_such_file_or_directory) {
    error = {failed.message(), 1};
    return std::nullopt;
  }
  // What is there but no file is no place for a page.
  error.status = 2;
  fs::path target = page;
  fs::file_type kind = own.type();
  if (kind == fs::file_type::symlink) {
    target = fs::canonical(page, failed);
    if (failed) {
      error.reason = "it is a link to nothing";
      return std::nullopt;
    }
    kind = fs::status(target, failed).type();
  }
  if (kind == fs::file_type::directory) {
    error.reason = "it is a folder";
    return std::nullopt;
  }
  if (kind != fs::file_type::regular && kind != fs::file_type::not_found) {
    error.reason = kNotRegularFileText;
    return std::nullopt;
  }
  error.status = 1;
  return target;
}

}  // namespace

std::u16string pagePlace(const std::u16string& path) {
  PageOutputError ignored;
  const auto target = pageTarget(toFsPath(path), ignored);
  std::error_code failed;
  const bool link = fs::is_symlink(fs::symlink_status(toFsPath(path), failed));
  return target && link ? fromFsPath(*target) : path;
}

std::optional<PageOutput> PageOutput::prepare(const std::u16string& path,
                                              const std::u16string& coverFolder,
                                              PageOutputError& error) {
  std::error_code failed;
  PageOutput output;
  const fs::path named = fs::absolute(toFsPath(path), failed);
  if (failed || path.empty() || named.filename().empty()) {
    error = {"no file name", 2};
    return std::nullopt;
  }
  auto target = pageTarget(named, error);
  if (!target) return std::nullopt;
  output.page_ = std::move(*target);
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
      error.reason = "cannot create its folder: " + failed.message();
      return std::nullopt;
    }
  }
  output.coverFolder_ = toFsPath(coverFolder);
  output.coverFolderExisted_ = fs::exists(fs::symlink_status(output.coverFolder_, failed));
  // Covers are replaced and deleted by name: in a folder that someone else
  // controls, those names could lead anywhere.
  if (output.coverFolderExisted_ && !isOwnFolder(coverFolder)) {
    error.reason = "its cover folder '" + convertUTF16ToUTF8(coverFolder) +
                   "' is a link, no folder or another user's; remove it or choose another -o";
    return std::nullopt;
  }
  // A fresh file beside the page proves it can be written before any cover
  // is, and holds what is built before it is complete.
  auto partial = createFreshFile(fromFsPath(output.page_.parent_path()) +
                                 static_cast<char16_t>(kPathSeparator));
  if (!partial) {
    error.reason = lastFileError();
    return std::nullopt;
  }
  output.partial_ = std::move(*partial);
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
  removeFreshFile(partial_);
  if (!committed_ && covers_) covers_->deleteAll();
  // A cover folder made for covers that none of the files had goes as well
  // (removing a folder that is not empty fails and keeps it).
  if (!coverFolderExisted_) fs::remove(coverFolder_, ignored);
  if (committed_) return;
  if (createdFolder_) fs::remove_all(*createdFolder_, ignored);
}

bool PageOutput::commit(const TextLines& page, TextFileEncoding encoding, std::string& error) {
  if (!writeWholeFile(fromFsPath(page_), encodeTextFile(page, encoding))) {
    error = lastFileError();
    return false;
  }
  committed_ = true;
  return true;
}

void addToHead(TextLines& page, std::u16string_view tag) {
  for (const std::u16string_view head : {u"<head>", u"<HEAD>", u"<Head>"})
    if (page.replaceAll(head, std::u16string(head) + std::u16string(tag), false) > 0) return;
  TextLines withTag;
  withTag.setUnicode(page.isUnicode());
  withTag.appendLine(std::u16string(tag));
  withTag.appendLines(page);
  page.assign(withTag);
}

}  // namespace tunora
