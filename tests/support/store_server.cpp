#include <fstream>

#include "support/store_server.h"

namespace tunora::testing {
namespace {

std::string unescape(const std::string& text) {
  std::string plain;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] != '\\' || i + 1 == text.size()) {
      plain += text[i];
      continue;
    }
    const char code = text[++i];
    plain += code == 't' ? '\t' : code == 'r' ? '\r' : code == 'n' ? '\n' : code;
  }
  return plain;
}

}  // namespace

std::string StoreServer::host() const {
  return "127.0.0.1:" + std::to_string(port_);
}

std::vector<RecordedRequest> readRequestLog(const std::filesystem::path& path) {
  std::vector<RecordedRequest> requests;
  std::ifstream log(path, std::ios::binary);
  std::string line;
  while (std::getline(log, line)) {
    std::vector<std::string> fields;
    std::size_t start = 0;
    for (std::size_t tab; (tab = line.find('\t', start)) != std::string::npos; start = tab + 1)
      fields.push_back(unescape(line.substr(start, tab - start)));
    fields.push_back(unescape(line.substr(start)));
    if (fields.size() == 6)
      requests.push_back({fields[0], fields[1], fields[2], fields[3], fields[4], fields[5]});
  }
  return requests;
}

}  // namespace tunora::testing
