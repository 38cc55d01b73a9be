#include "coversearch/store_fronts.h"

#include "text/ascii_case.h"

namespace tunora {
namespace {

constexpr std::string_view kUsHostValue = "StoreHostUS";
constexpr std::string_view kGermanHostValue = "StoreHostDE";

void readHost(const SettingsReader& reader, std::string_view name, std::string& host) {
  auto text = reader.readText(name, kStoreHostMaxLength + 1);
  if (text && !text->empty()) host = std::move(*text);
}

}  // namespace

StoreVariant StoreHosts::variantOf(std::string_view hostText) const {
  if (equalIgnoringAsciiCase(hostText, german)) return StoreVariant::German;
  if (equalIgnoringAsciiCase(hostText, us)) return StoreVariant::Us;
  return StoreVariant::None;
}

StoreHosts loadStoreHosts(const SettingsStore& store) {
  StoreHosts hosts;
  if (const auto reader = store.openForReading()) {
    readHost(*reader, kUsHostValue, hosts.us);
    readHost(*reader, kGermanHostValue, hosts.german);
  }
  return hosts;
}

void saveStoreHosts(SettingsStore& store, const StoreHosts& hosts) {
  if (const auto writer = store.createForWriting()) {
    writer->writeText(kUsHostValue, hosts.us);
    writer->writeText(kGermanHostValue, hosts.german);
  }
}

SearchForm searchFormOf(StoreVariant variant) {
  constexpr std::string_view path = "/exec/obidos/search-handle-form/";
  constexpr std::string_view prefix = "size=10&field-keywords=";
  switch (variant) {
    case StoreVariant::Us:
      return {path, prefix, "&url=index%3Dmusic"};
    case StoreVariant::German:
      return {path, prefix, "&url=index%3Dpop-music-de"};
    case StoreVariant::None:
      break;
  }
  return {};
}

}  // namespace tunora
