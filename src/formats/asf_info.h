#pragma once
// ASF files (WMA): every value comes from the Header Object at the start:
// File Properties (playing time), the first audio Stream Properties (its
// WAVEFORMATEX), and the texts and pictures of the description objects.

#include <string>

#include "formats/format_track_info.h"
#include "text/byte_reader.h"

namespace tunora {

class ASFAttributes;

class ASFInfo : public FormatTrackInfo {
 public:
  ReadResult readFile(const std::u16string& path) override;

 private:
  // The objects of the Header Object's body, or of its Header Extension.
  void readObjects(Bytes objects, ASFAttributes& attributes, bool& audioSeen,
                   bool inExtension = false);
  void readExtension(Bytes body, ASFAttributes& attributes, bool& audioSeen);
  void readFileProperties(Bytes body);
  // True for an audio stream, whose values were taken.
  bool readStreamProperties(Bytes body);
};

}  // namespace tunora
