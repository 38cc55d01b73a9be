#pragma once
// Values that come from music files or their names are text, never markup:
// the page is opened from the local disk, where a script in a title would run.

#include <string>
#include <string_view>

#include "text/percent_encoding.h"
#include "text/text_lines.h"

namespace tunora {

// "&", "<", ">", "\"" and "'" as character references.
std::u16string escapeHtml(std::u16string_view text);

// The lines escaped, each followed by the markup "<br>" (comments, lyrics).
std::u16string joinEscapedWithBreaks(const TextLines& lines);

// Puts a value in place of its token "<$name$>" (HTML-escaped) and of
// "<$url:name$>" (encoded as a URL component, for links).
void replaceValueToken(TextLines& section, std::u16string_view token, std::u16string_view value);

}  // namespace tunora
