#include "support/scratch_stream.h"

#include <stdexcept>

#include "io/file.h"

namespace tunora::testing {

// The name is made exclusively, so no other process shares the file.
ScratchStream::ScratchStream() : path_(platform::makeTempFile()) {
  if (!path_.empty()) file_ = std::fopen(path_.c_str(), "w+b");
  if (file_ == nullptr) throw std::runtime_error("no temporary file for a stream: " + path_);
}

ScratchStream::~ScratchStream() {
  std::fclose(file_);
  std::remove(path_.c_str());
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
