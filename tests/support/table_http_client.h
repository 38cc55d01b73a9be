#pragma once
// An HttpClient that answers GETs from a table of URLs and POSTs with one
// page, recording what it was asked; for the scraper and the dialog's logic.

#include <map>
#include <optional>
#include <string>
#include <vector>

#include "coversearch/http_client.h"

namespace tunora::testing {

class TableHttpClient final : public HttpClient {
 public:
  std::map<std::string, std::string> pages;
  std::optional<std::string> formAnswer;
  std::vector<std::string> asked;

  std::optional<std::vector<std::uint8_t>> postForm(std::string_view host, std::string_view path,
                                                    std::string_view body) override {
    asked.push_back("POST " + std::string(host) + std::string(path) + " " + std::string(body));
    if (!formAnswer) return std::nullopt;
    return std::vector<std::uint8_t>(formAnswer->begin(), formAnswer->end());
  }
  std::map<std::string, ServiceAnswer> serviceAnswers;

  std::optional<ServiceAnswer> getFromService(std::string_view url, std::string_view,
                                              std::size_t) override {
    asked.emplace_back(url);
    const auto answer = serviceAnswers.find(std::string(url));
    if (answer == serviceAnswers.end()) return std::nullopt;
    return answer->second;
  }
  std::optional<std::vector<std::uint8_t>> get(std::string_view url) override {
    asked.emplace_back(url);
    const auto page = pages.find(std::string(url));
    if (page == pages.end()) return std::nullopt;
    return std::vector<std::uint8_t>(page->second.begin(), page->second.end());
  }
};

}  // namespace tunora::testing
