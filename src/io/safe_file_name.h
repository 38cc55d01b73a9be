#pragma once
// Names built from tags (artist, album) become file names. Windows takes
// some names for devices in every folder, "CON" or "nul.jpg" opening the
// console or nothing instead of a file, and drops dots and spaces at a
// name's end, so that "R.E.M." would save as "R.E.M".

#include <string>
#include <string_view>

namespace tunora {

// Whether the file systems here reserve device names.
#ifdef _WIN32
inline constexpr bool kDeviceNamesReserved = true;
#else
inline constexpr bool kDeviceNamesReserved = false;
#endif

// True for CON, PRN, AUX, NUL, CONIN$, CONOUT$, COM1 to COM9 and LPT1 to
// LPT9 in any letter case, alone or before an extension ("nul.tar.gz"), with
// the spaces Windows ignores before the extension.
bool isDeviceName(std::u16string_view name);
bool isDeviceName(std::string_view name);

// The name as Windows keeps it: a device name gets "_" after its first part
// ("CON.jpg" becomes "CON_.jpg"), dots and spaces at the end become "_".
// Other names stay as they are.
std::u16string windowsSafeName(std::u16string_view name);
std::string windowsSafeName(std::string_view name);

}  // namespace tunora
