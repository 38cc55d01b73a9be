#include "support/scratch_stream.h"

#include <stdexcept>

namespace tunora::testing {

ScratchStream::ScratchStream()
    : file_(std::fopen((folder_.path() / "stream").string().c_str(), "w+b")) {
  if (file_ == nullptr)
    throw std::runtime_error("no file for a stream in " + folder_.path().string());
}

// Closed before its folder goes.
ScratchStream::~ScratchStream() {
  std::fclose(file_);
}

std::string ScratchStream::contents() const {
  std::fflush(file_);
  std::rewind(file_);
  std::string text;
  char buffer[4096];
  for (std::size_t n; (n = std::fread(buffer, 1, sizeof buffer, file_)) > 0;)
    text.append(buffer, n);
  return text;
}

}  // namespace tunora::testing
