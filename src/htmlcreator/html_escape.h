#pragma once
// Values that come from music files or their names are text, never markup:
// the page is opened from the local disk, where a script in a title would run.

#include <string>
#include <string_view>

#include "text/text_lines.h"

namespace tunora {

// "&", "<", ">", "\"" and "'" as character references.
std::u16string escapeHtml(std::u16string_view text);

// The lines escaped, each followed by the markup "<br>" (comments, lyrics).
std::u16string joinEscapedWithBreaks(const TextLines& lines);

}  // namespace tunora
