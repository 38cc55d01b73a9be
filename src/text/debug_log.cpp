#include "text/debug_log.h"

#include <algorithm>
#include <array>
#include <cstdarg>
#include <string>

#include "text/conversions.h"

namespace tunora {
namespace {

std::FILE* logStream = stdout;
DebugLogConsole logConsole = nullptr;

int emit(std::string_view text) {
  if ((logConsole == nullptr || !logConsole(text)) && logStream != nullptr) {
    std::fwrite(text.data(), 1, text.size(), logStream);
    std::fflush(logStream);
  }
  return static_cast<int>(text.size());
}

}  // namespace

bool debugLogWanted() {
  return logConsole != nullptr || logStream != nullptr;
}

int debugLog(const char* format, ...) {
  if (!debugLogWanted()) return 0;
  std::array<char, kDebugLogLineLimit + 1> buffer;
  va_list args;
  va_start(args, format);
  const int wanted = std::vsnprintf(buffer.data(), buffer.size(), format, args);
  va_end(args);
  if (wanted < 0) return 0;
  return emit({buffer.data(), std::min<std::size_t>(wanted, kDebugLogLineLimit)});
}

int debugLogText(std::u16string_view text) {
  text = text.substr(0, std::min(text.size(), kDebugLogLineLimit));
  if (!debugLogWanted()) return static_cast<int>(text.size());
  emit(convertUTF16ToUTF8(text));
  return static_cast<int>(text.size());
}

void setDebugLogStream(std::FILE* stream) {
  logStream = stream;
}

void setDebugLogConsole(DebugLogConsole console) {
  logConsole = console;
}

}  // namespace tunora
