#include "cli/folder_walk.h"

#include <algorithm>
#include <filesystem>
#include <set>
#include <system_error>

#include "cli/folder_identity.h"
#include "cli/plain_text.h"
#include "io/file.h"
#include "text/conversions.h"
#include "text/natural_order.h"
#include "tracks/track_class.h"

namespace tunora {
namespace {

namespace fs = std::filesystem;

std::string shown(std::u16string_view path) {
  return "'" + escapeControls(convertUTF16ToUTF8(path)) + "'";
}

struct FolderEntries {
  std::vector<std::u16string> files;
  std::vector<std::u16string> folders;
};

class Walk {
 public:
  Walk(bool recursive, const FileTypeSwitches& switches, const WalkNote& note)
      : recursive_(recursive), switches_(switches), note_(note) {}

  FolderListing run(std::u16string_view root) {
    // Folders still to list, the next one last; a stack of our own, so that
    // no depth of folders can exhaust the program's.
    std::vector<std::u16string> pending{std::u16string(root)};
    while (!pending.empty()) {
      const std::u16string folder = std::move(pending.back());
      pending.pop_back();
      const auto identity = folderIdentity(folder);
      if (!identity) {
        unread(folder, "it cannot be read");
        continue;
      }
      if (!listed_.insert(*identity).second) {
        noteSkipped(folder, "a folder listed already");
        continue;
      }
      FolderEntries entries = entriesOf(folder);
      const std::u16string prefix = withSeparator(folder);
      for (const std::u16string& name : entries.files) listing_.files.push_back(prefix + name);
      if (!recursive_) {
        listing_.foldersLeftOut += entries.folders.size();
        continue;
      }
      for (auto name = entries.folders.rbegin(); name != entries.folders.rend(); ++name)
        pending.push_back(prefix + *name);
    }
    return std::move(listing_);
  }

 private:
  // The names in the folder, in natural order; what is left out is named in
  // that order too.
  FolderEntries entriesOf(const std::u16string& folder) {
    struct Entry {
      std::u16string name;
      fs::file_type type;
    };
    std::vector<Entry> found;
    std::error_code failed;
    fs::directory_iterator entry(toFsPath(folder), failed);
    for (; !failed && entry != fs::directory_iterator(); entry.increment(failed)) {
      // The type as a stat call tells it, links followed: nothing is opened.
      std::error_code unknown;
      found.push_back({fromFsPath(entry->path().filename()), entry->status(unknown).type()});
    }
    if (failed) unread(folder, failed.message());
    std::sort(found.begin(), found.end(),
              [](const Entry& a, const Entry& b) { return naturallyBefore(a.name, b.name); });
    FolderEntries entries;
    const std::u16string prefix = withSeparator(folder);
    for (Entry& each : found) {
      if (each.type == fs::file_type::directory) {
        entries.folders.push_back(std::move(each.name));
        continue;
      }
      std::u16string path = prefix + each.name;
      const bool music = chooseTrackClass(path, false, switches_).has_value();
      if (each.type == fs::file_type::regular && !music)
        listing_.otherFiles.push_back(std::move(path));
      else if (!music)
        continue;
      else if (each.type == fs::file_type::regular)
        entries.files.push_back(std::move(each.name));
      else if (each.type == fs::file_type::not_found)
        noteSkipped(path, "a link to nothing");
      else
        noteSkipped(path, kNotRegularFileText);
    }
    return entries;
  }

  void noteSkipped(std::u16string_view path, std::string_view why) {
    if (note_) note_("skipping " + shown(path) + ", " + std::string(why));
  }

  void unread(std::u16string_view folder, const std::string& why) {
    listing_.someUnread = true;
    if (note_) note_("cannot read the folder " + shown(folder) + ": " + why);
  }

  bool recursive_;
  const FileTypeSwitches& switches_;
  const WalkNote& note_;
  std::set<FolderIdentity> listed_;
  FolderListing listing_;
};

}  // namespace

std::u16string withSeparator(std::u16string_view folder) {
  std::u16string path(folder);
  if (!path.empty() && path.back() != u'/' && path.back() != kPathSeparator)
    path += static_cast<char16_t>(kPathSeparator);
  return path;
}

FolderListing musicFilesIn(std::u16string_view folder, bool recursive,
                           const FileTypeSwitches& switches, const WalkNote& note) {
  return Walk(recursive, switches, note).run(folder);
}

}  // namespace tunora
