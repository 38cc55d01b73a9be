#pragma once
// The page must never take the place of a file the run reads: a music file,
// the cover file beside one, or the template. Files are compared by identity,
// so another spelling of the same path (or a hard link) is caught as well.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tunora {

// The file that writing the page to `output` would destroy, or nothing when
// `output` names none of them. `coverName` is the cover pattern (%a, %b, %y
// and their upper-case forms stand for any text).
std::optional<std::u16string> fileReadAtOutput(const std::u16string& output,
                                               const std::vector<std::u16string>& inputs,
                                               const std::optional<std::u16string>& templatePath,
                                               std::u16string_view coverName);

// True when the pattern matches the name, its tokens standing for any text.
bool matchesCoverPattern(std::u16string_view name, std::u16string_view pattern);

}  // namespace tunora
