#pragma once
// The preferences dialog's resource and control numbers, written once: the
// resource compiler reads the defines, the C++ code the names below.

#define TUNORA_DIALOG_PREFERENCES 115

#define TUNORA_PREFS_SINGLE_PATH 1066
#define TUNORA_PREFS_SINGLE_SELECT 1064
#define TUNORA_PREFS_SINGLE_EDIT 1065
#define TUNORA_PREFS_MULTIPLE_PATH 1068
#define TUNORA_PREFS_MULTIPLE_SELECT 1067
#define TUNORA_PREFS_MULTIPLE_EDIT 1069
#define TUNORA_PREFS_DIRECTORY_PATH 1071
#define TUNORA_PREFS_DIRECTORY_SELECT 1070
#define TUNORA_PREFS_DIRECTORY_EDIT 1072
#define TUNORA_PREFS_MINI_PATH 1083
#define TUNORA_PREFS_MINI_SELECT 1056
#define TUNORA_PREFS_MINI_EDIT 1084
#define TUNORA_PREFS_AUTO_UPDATE 1051
#define TUNORA_PREFS_AUTO_SHOW 1052
#define TUNORA_PREFS_SET_FOCUS 1073
#define TUNORA_PREFS_SHOW_MINI 1085
#define TUNORA_PREFS_MP3 1058
#define TUNORA_PREFS_MP4 1059
#define TUNORA_PREFS_AAC 1062
#define TUNORA_PREFS_FLAC 1063
#define TUNORA_PREFS_OGG 1061
#define TUNORA_PREFS_MPC 1060
#define TUNORA_PREFS_OPUS 1086
#define TUNORA_PREFS_WAV 1087
#define TUNORA_PREFS_AIFF 1088
#define TUNORA_PREFS_WAVPACK 1089
#define TUNORA_PREFS_APE 1090
#define TUNORA_PREFS_WMA 1091
#define TUNORA_PREFS_COVER_NAME 1053
#define TUNORA_PREFS_HOTKEY 1082

#ifndef RC_INVOKED
namespace tunora::host {
inline constexpr int kPreferencesDialog = TUNORA_DIALOG_PREFERENCES;
inline constexpr int kPrefsAutoUpdate = TUNORA_PREFS_AUTO_UPDATE;
inline constexpr int kPrefsAutoShow = TUNORA_PREFS_AUTO_SHOW;
inline constexpr int kPrefsSetFocus = TUNORA_PREFS_SET_FOCUS;
inline constexpr int kPrefsShowMini = TUNORA_PREFS_SHOW_MINI;
inline constexpr int kPrefsMp3 = TUNORA_PREFS_MP3;
inline constexpr int kPrefsMp4 = TUNORA_PREFS_MP4;
inline constexpr int kPrefsAac = TUNORA_PREFS_AAC;
inline constexpr int kPrefsFlac = TUNORA_PREFS_FLAC;
inline constexpr int kPrefsOgg = TUNORA_PREFS_OGG;
inline constexpr int kPrefsMpc = TUNORA_PREFS_MPC;
inline constexpr int kPrefsOpus = TUNORA_PREFS_OPUS;
inline constexpr int kPrefsWav = TUNORA_PREFS_WAV;
inline constexpr int kPrefsAiff = TUNORA_PREFS_AIFF;
inline constexpr int kPrefsWavPack = TUNORA_PREFS_WAVPACK;
inline constexpr int kPrefsApe = TUNORA_PREFS_APE;
inline constexpr int kPrefsWma = TUNORA_PREFS_WMA;
inline constexpr int kPrefsCoverName = TUNORA_PREFS_COVER_NAME;
inline constexpr int kPrefsHotkey = TUNORA_PREFS_HOTKEY;

// The path shown, the "Select" and the "Edit" button of one template slot.
struct TemplateControls {
  int path;
  int select;
  int edit;
};
// In the order of the template slots: single, multiple, directory, Mini.
inline constexpr TemplateControls kTemplateControls[] = {
    {TUNORA_PREFS_SINGLE_PATH, TUNORA_PREFS_SINGLE_SELECT, TUNORA_PREFS_SINGLE_EDIT},
    {TUNORA_PREFS_MULTIPLE_PATH, TUNORA_PREFS_MULTIPLE_SELECT, TUNORA_PREFS_MULTIPLE_EDIT},
    {TUNORA_PREFS_DIRECTORY_PATH, TUNORA_PREFS_DIRECTORY_SELECT, TUNORA_PREFS_DIRECTORY_EDIT},
    {TUNORA_PREFS_MINI_PATH, TUNORA_PREFS_MINI_SELECT, TUNORA_PREFS_MINI_EDIT},
};
}  // namespace tunora::host
#endif
