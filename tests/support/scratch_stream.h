#pragma once
// A stream on a file in a temporary folder of its own, both removed when the
// stream goes. The C library's tmpfile() will not do: Wine's picks a name
// that another test process running beside it can be given too, and then one
// of the two gets no stream at all. Nor may the file bear the plug-in's
// temporary names, which other tests count.

#include <cstdio>
#include <string>

#include "support/temp_dir.h"

namespace tunora::testing {

class ScratchStream {
 public:
  ScratchStream();
  ~ScratchStream();
  ScratchStream(const ScratchStream&) = delete;
  ScratchStream& operator=(const ScratchStream&) = delete;

  std::FILE* get() const { return file_; }
  // Everything written to the stream so far.
  std::string contents() const;

 private:
  TempDir folder_;
  std::FILE* file_ = nullptr;
};

}  // namespace tunora::testing
