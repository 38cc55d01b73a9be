#pragma once
// Replacing and trimming, on 8-bit and 16-bit text alike.

#include <string>
#include <string_view>

namespace tunora {

// Replaces the first occurrence, or all of them; the search resumes after the
// inserted replacement, so a replacement that contains the search text is not
// replaced again. An empty search text does nothing. Gives the count.
int replaceText(std::string& text, std::string_view search, std::string_view replacement, bool all);
int replaceText(std::u16string& text, std::u16string_view search, std::u16string_view replacement,
                bool all);

// Without leading and trailing blanks (0x20 only).
std::string trimBlanks(std::string_view text);
std::u16string trimBlanks(std::u16string_view text);

}  // namespace tunora
