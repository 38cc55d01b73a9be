// tunora_library_bench generate FOLDER [--count N] [--mix mp3=1] [--seed N]
// tunora_library_bench run FOLDER [--runs N]
//
// "run" reads the library once to warm the cache, then times the floor,
// Tunora and TagLib in turn, several times each, and prints the medians and
// the two ratios (targets: Tunora <= 1.5 x floor, TagLib >= 4 x Tunora).
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "library_generator.h"
#include "library_readers.h"

namespace {

using namespace tunora::bench;

struct Contender {
  const char* name;
  ReadTotals (*read)(const std::vector<std::string>&);
  std::vector<double> milliseconds;
  ReadTotals totals;
};

std::vector<std::string> filesOf(const std::filesystem::path& folder) {
  std::vector<std::string> files;
  for (const auto& entry : std::filesystem::directory_iterator(folder))
    if (entry.is_regular_file()) files.push_back(entry.path().string());
  std::sort(files.begin(), files.end());
  return files;
}

double median(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  const auto middle = values.size() / 2;
  return values.size() % 2 ? values[middle] : (values[middle - 1] + values[middle]) / 2;
}

std::string option(int argc, char** argv, const std::string& name, const std::string& fallback) {
  for (int i = 3; i + 1 < argc; ++i)
    if (argv[i] == name) return argv[i + 1];
  return fallback;
}

int generate(const std::filesystem::path& folder, int argc, char** argv) {
  std::vector<FormatShare> mix;
  std::string error;
  if (!parseMix(option(argc, argv, "--mix", "mp3=1"), mix, error)) {
    std::fprintf(stderr, "%s\n", error.c_str());
    return 2;
  }
  const auto count = std::stoul(option(argc, argv, "--count", "2000"));
  const auto seed = static_cast<std::uint32_t>(std::stoul(option(argc, argv, "--seed", "1")));
  if (!generateLibrary(folder, count, mix, seed)) {
    std::fprintf(stderr, "cannot write into %s\n", folder.string().c_str());
    return 1;
  }
  std::printf("%lu files in %s\n", count, folder.string().c_str());
  return 0;
}

int run(const std::filesystem::path& folder, int argc, char** argv) {
  const auto files = filesOf(folder);
  const int runs = std::stoi(option(argc, argv, "--runs", "7"));
  std::vector<Contender> contenders{
      {"floor", &readFloor, {}, {}},
      {"tunora", &readWithTunora, {}, {}},
      {"taglib", &readWithTagLib, {}, {}},
  };
  readFloor(files);  // warms the cache
  for (int run = 0; run < runs; ++run) {
    for (auto& contender : contenders) {
      const auto start = std::chrono::steady_clock::now();
      contender.totals = contender.read(files);
      const std::chrono::duration<double, std::milli> took =
          std::chrono::steady_clock::now() - start;
      contender.milliseconds.push_back(took.count());
    }
  }
  std::printf("%zu files, %d runs, median wall time:\n", files.size(), runs);
  for (const auto& contender : contenders)
    std::printf("  %-7s %9.1f ms   files %llu, titled %llu, covers %llu (%llu bytes)\n",
                contender.name, median(contender.milliseconds),
                static_cast<unsigned long long>(contender.totals.files),
                static_cast<unsigned long long>(contender.totals.titled),
                static_cast<unsigned long long>(contender.totals.covered),
                static_cast<unsigned long long>(contender.totals.coverBytes));
  const double floor = median(contenders[0].milliseconds);
  const double tunora = median(contenders[1].milliseconds);
  const double taglib = median(contenders[2].milliseconds);
  std::printf("tunora / floor  = %.2f (target <= 1.5)\n", tunora / floor);
  std::printf("taglib / tunora = %.2f (target >= 4)\n", taglib / tunora);
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 3) {
    std::fprintf(stderr,
                 "usage: %s generate FOLDER [--count N] [--mix mp3=1] [--seed N]\n"
                 "       %s run FOLDER [--runs N]\n"
                 "formats: %s\n",
                 argv[0], argv[0], knownFormats().c_str());
    return 2;
  }
  const std::string command = argv[1];
  const std::filesystem::path folder = argv[2];
  if (command == "generate") return generate(folder, argc, argv);
  if (command == "run") return run(folder, argc, argv);
  std::fprintf(stderr, "unknown command %s\n", command.c_str());
  return 2;
}
