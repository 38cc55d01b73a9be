#pragma once
// The file types the plug-in reads itself, each of which the user can switch
// off.

namespace tunora {

enum class TrackClass { MP3, MP4, AAC, OGG, FLAC, MPC, Opus, WAV, AIFF };

// The per-type switches: a type switched off is described by the player instead.
struct FileTypeSwitches {
  bool mp3 = true;
  bool mp4 = true;
  bool aac = true;
  bool ogg = true;
  bool flac = true;
  bool mpc = true;
  bool opus = true;
  bool wav = true;
  // AIFF and AIFC alike.
  bool aiff = true;
  bool enabled(TrackClass type) const;
};

}  // namespace tunora
