#include "settings/file_type_switches.h"

namespace tunora {

bool FileTypeSwitches::enabled(TrackClass type) const {
  switch (type) {
    case TrackClass::MP3:
      return mp3;
    case TrackClass::MP4:
      return mp4;
    case TrackClass::AAC:
      return aac;
    case TrackClass::OGG:
      return ogg;
    case TrackClass::FLAC:
      return flac;
    case TrackClass::MPC:
      return mpc;
    case TrackClass::Opus:
      return opus;
    case TrackClass::WAV:
      return wav;
    case TrackClass::AIFF:
      return aiff;
  }
  return false;
}

}  // namespace tunora
