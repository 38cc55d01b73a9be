// The search answer of the MusicBrainz web service, read with a JSON library
// and checked field by field: a hostile answer gives nothing, never a throw.

#include <nlohmann/json.hpp>
#include <unordered_set>

#include "coversearch/musicbrainz.h"

namespace tunora {
namespace {

using Json = nlohmann::json;

// The library's parser recurses once per level: refuse deep nesting first.
constexpr int kMaxDepth = 32;

bool nestedTooDeep(std::string_view json) {
  int depth = 0;
  bool inString = false;
  for (std::size_t i = 0; i < json.size(); ++i) {
    const char c = json[i];
    if (inString) {
      if (c == '\\')
        ++i;
      else if (c == '"')
        inString = false;
    } else if (c == '"') {
      inString = true;
    } else if (c == '[' || c == '{') {
      if (++depth > kMaxDepth) return true;
    } else if (c == ']' || c == '}') {
      --depth;
    }
  }
  return false;
}

std::string stringField(const Json& object, const char* key) {
  const auto field = object.find(key);
  return field != object.end() && field->is_string() ? field->get<std::string>() : std::string();
}

// The credited names with their join phrases: "Simon & Garfunkel".
std::string artistOf(const Json& release) {
  std::string artist;
  const auto credits = release.find("artist-credit");
  if (credits == release.end() || !credits->is_array()) return artist;
  for (const Json& credit : *credits)
    if (credit.is_object())
      artist += stringField(credit, "name") + stringField(credit, "joinphrase");
  return artist;
}

// Each format once, in the order of first appearance: "CD+DVD". A set of
// those seen keeps a release of many media linear.
std::string formatsOf(const Json& release) {
  std::string formats;
  const auto media = release.find("media");
  if (media == release.end() || !media->is_array()) return formats;
  std::unordered_set<std::string> seen;
  for (const Json& medium : *media) {
    if (!medium.is_object()) continue;
    const std::string format = stringField(medium, "format");
    if (format.empty() || !seen.insert(format).second) continue;
    if (!formats.empty()) formats += '+';
    formats += format;
  }
  return formats;
}

std::string describe(const Json& release) {
  std::string details;
  for (const std::string& part : {stringField(release, "date").substr(0, 4),
                                  stringField(release, "country"), formatsOf(release)})
    if (!part.empty()) details += (details.empty() ? "" : ", ") + part;
  std::string text = artistOf(release);
  text += (text.empty() ? "" : " - ") + stringField(release, "title");
  if (!details.empty()) text += " (" + details + ")";
  return text;
}

}  // namespace

std::optional<std::vector<FoundRelease>> parseReleaseSearch(std::string_view json) {
  if (nestedTooDeep(json)) return std::nullopt;
  const Json answer = Json::parse(json.begin(), json.end(), nullptr, false);
  if (!answer.is_object()) return std::nullopt;
  const auto releases = answer.find("releases");
  if (releases == answer.end() || !releases->is_array()) return std::nullopt;
  std::vector<FoundRelease> found;
  for (const Json& release : *releases) {
    if (!release.is_object()) continue;
    std::string id = stringField(release, "id");
    if (!id.empty()) found.push_back({std::move(id), describe(release)});
  }
  return found;
}

}  // namespace tunora
