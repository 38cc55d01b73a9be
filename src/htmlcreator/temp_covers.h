#pragma once
// The temporary cover files of the pages, owned by whoever builds pages for
// as long as they are shown: the plug-in deletes them when it quits; the
// command-line tool keeps them, since its page is opened after it ends.

#include <span>
#include <string>

#include "hostlink/host_link.h"

namespace tunora {

class TempCovers {
 public:
  enum class AtEnd { Delete, Keep };

  TempCovers(const HostLink& host, AtEnd atEnd) : host_(host), atEnd_(atEnd) {}
  ~TempCovers();
  TempCovers(const TempCovers&) = delete;
  TempCovers& operator=(const TempCovers&) = delete;

  // Deletes the group file and every track file in the cover folder, but
  // those named in `kept`.
  void deleteAll(std::span<const std::u16string> kept = {}) const;

 private:
  const HostLink& host_;
  AtEnd atEnd_;
};

}  // namespace tunora
