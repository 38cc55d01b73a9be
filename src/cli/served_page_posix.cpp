#include "cli/served_page_posix.h"

#include <stdlib.h>

#include <cerrno>
#include <cinttypes>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <functional>
#include <set>

#include "cli/page_output.h"
#include "io/file.h"
#include "io/text_file.h"
#include "text/conversions.h"

namespace tunora {
namespace {

constexpr std::u16string_view kPendingCover = u"/cover/pending/";

// Browsers without scripts reload this often.
constexpr std::u16string_view kNoScriptRefresh =
    u"<noscript><meta http-equiv=\"refresh\" content=\"10\"></noscript>";

// On each version that differs from the one shown, the page is fetched and
// its root element takes the place of this one: no reload, so the document,
// its time origin and the event stream stay. Scripts of the fetched page do
// not run (the parser marks them), so this one runs once.
constexpr std::u16string_view kLiveScript =
    u"<script id=\"tunora-live\" data-version=\"@VERSION@\">\n"
    u"(function () {\n"
    u"  if (window.tunoraLive || !window.EventSource || !window.fetch) return;\n"
    u"  window.tunoraLive = true;\n"
    u"  var shown = document.getElementById(\"tunora-live\").dataset.version;\n"
    u"  var events = new EventSource(\"/events\");\n"
    u"  events.onmessage = function (event) {\n"
    u"    if (event.data === shown) return;\n"
    u"    fetch(\"/\", { cache: \"no-store\" }).then(function (answer) {\n"
    u"      return answer.text();\n"
    u"    }).then(function (text) {\n"
    u"      var next = new DOMParser().parseFromString(text, \"text/html\");\n"
    u"      var script = next.getElementById(\"tunora-live\");\n"
    u"      if (!script) return;\n"
    u"      shown = script.dataset.version;\n"
    u"      document.replaceChild(document.adoptNode(next.documentElement),\n"
    u"                            document.documentElement);\n"
    u"    }).catch(function () {});\n"
    u"  };\n"
    u"})();\n"
    u"</script>";

std::string contentName(const std::vector<std::uint8_t>& bytes, bool& png) {
  static constexpr std::uint8_t kPngSignature[] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
  png = bytes.size() >= sizeof kPngSignature &&
        std::equal(std::begin(kPngSignature), std::end(kPngSignature), bytes.begin());
  // A hash of every byte: the name stands for these bytes alone, as browsers
  // keep what they fetched under it.
  const std::uint64_t hash = std::hash<std::string_view>{}(
      std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size()));
  char name[32];
  std::snprintf(name, sizeof name, "%016" PRIx64 ".%s", hash, png ? "png" : "jpg");
  return name;
}

}  // namespace

std::optional<ServedCoverFolder> ServedCoverFolder::create(std::optional<std::u16string> skinFolder,
                                                           std::string& error) {
  std::error_code failed;
  std::filesystem::path base = std::filesystem::temp_directory_path(failed);
  if (failed) base = "/tmp";
  std::string pattern = (base / "tunora-serve-XXXXXX").string();
  if (mkdtemp(pattern.data()) == nullptr) {
    error = "cannot make a folder for the covers in " + base.string() + ": " + std::strerror(errno);
    return std::nullopt;
  }
  std::u16string folder;
  convertUTF8ToUTF16(pattern, folder);
  // The player names its skin folder without a trailing separator.
  while (skinFolder && skinFolder->size() > 1 && skinFolder->back() == u'/') skinFolder->pop_back();
  return ServedCoverFolder(folder + u"/", std::move(skinFolder));
}

ServedCoverFolder::ServedCoverFolder(ServedCoverFolder&& other) noexcept
    : folder_(std::exchange(other.folder_, u"")), skinFolder_(std::move(other.skinFolder_)) {}

ServedCoverFolder::~ServedCoverFolder() {
  if (folder_.empty()) return;
  std::error_code ignored;
  std::filesystem::remove_all(toFsPath(folder_), ignored);
}

std::optional<std::u16string> ServedCoverFolder::coverLink(std::u16string_view coverPath) const {
  if (folder_.empty() || !coverPath.starts_with(folder_)) return std::nullopt;
  return std::u16string(kPendingCover) + std::u16string(coverPath.substr(folder_.size()));
}

ServedCovers ServedCoverFolder::takeCovers(TextLines& page,
                                           const std::vector<std::u16string>& coverFiles) const {
  ServedCovers covers;
  for (const std::u16string& file :
       std::set<std::u16string>(coverFiles.begin(), coverFiles.end())) {
    const auto link = coverLink(file);
    auto bytes = readWholeFile(file);
    deleteFile(file);
    if (!link || !bytes) continue;
    bool png = false;
    const std::string name = contentName(*bytes, png);
    std::u16string servedLink;
    convertUTF8ToUTF16("/cover/" + name, servedLink);
    page.replaceAll(*link, servedLink);
    covers.emplace(
        name, std::make_shared<const ServedCover>(ServedCover{
                  png ? "image/png" : "image/jpeg", std::string(bytes->begin(), bytes->end())}));
  }
  return covers;
}

std::string servedPageText(TextLines page, std::uint64_t version) {
  std::u16string script(kLiveScript);
  std::u16string number;
  convertUTF8ToUTF16(std::to_string(version), number);
  script.replace(script.find(u"@VERSION@"), 9, number);
  // The page goes out as UTF-8, whatever the template says.
  page.replaceAll(u"charset=utf-16", u"charset=utf-8");
  addToHead(page, std::u16string(kNoScriptRefresh) + script);
  const auto bytes = encodeTextFile(page, TextFileEncoding::Utf8);
  return std::string(bytes.begin(), bytes.end());
}

TextLines waitingPage() {
  TextLines page;
  page.appendText(
      u"<!DOCTYPE html>\n<html>\n<head>\n<meta charset=\"utf-8\">\n<title>Tunora</title>\n"
      u"<style>html, body { background: transparent; }</style>\n</head>\n<body>\n</body>\n"
      u"</html>\n");
  return page;
}

}  // namespace tunora
