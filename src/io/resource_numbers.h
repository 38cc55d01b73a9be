#pragma once
// The numbers of the resources inside the binaries, written once: the
// resource compiler, the generated resource lists of the build and the C++
// code all include this file, so it holds only what the resource compiler
// reads, plus the C++ names below.

// HTML pages (type 23): the four default templates (UTF-16LE with a
// byte-order mark) and the two fixed pages (8-bit).
#define TUNORA_RESOURCE_SINGLE_TRACK 126
#define TUNORA_RESOURCE_MULTIPLE_TRACKS 114
#define TUNORA_RESOURCE_DIRECTORY 124
#define TUNORA_RESOURCE_MINI 131
#define TUNORA_RESOURCE_NO_SUPPORTED_FILES 128
#define TUNORA_RESOURCE_START_PAGE 123
// The overlay of tunora serve, UTF-16LE with a byte-order mark.
#define TUNORA_RESOURCE_OVERLAY 140

#ifndef RC_INVOKED
namespace tunora {
inline constexpr int kResourceSingleTrack = TUNORA_RESOURCE_SINGLE_TRACK;
inline constexpr int kResourceMultipleTracks = TUNORA_RESOURCE_MULTIPLE_TRACKS;
inline constexpr int kResourceDirectory = TUNORA_RESOURCE_DIRECTORY;
inline constexpr int kResourceMini = TUNORA_RESOURCE_MINI;
inline constexpr int kResourceNoSupportedFiles = TUNORA_RESOURCE_NO_SUPPORTED_FILES;
inline constexpr int kResourceStartPage = TUNORA_RESOURCE_START_PAGE;
inline constexpr int kResourceOverlay = TUNORA_RESOURCE_OVERLAY;
}  // namespace tunora
#endif
