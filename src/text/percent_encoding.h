#pragma once
// Percent-encoding of 8-bit text: letters and digits stay, every other byte
// becomes "%XX". As a URL component "-._~" stay too; as a form value
// ("application/x-www-form-urlencoded") "-._*" stay and a blank becomes "+".

#include <string>
#include <string_view>

namespace tunora {

enum class PercentEncoding { UrlComponent, FormValue };
std::string percentEncode(std::string_view text, PercentEncoding encoding);

// The value as one URL component: its UTF-8 bytes, each but letters, digits
// and "-._~" written as "%XX". The result needs no HTML escaping.
std::u16string encodeUrlComponent(std::u16string_view text);

}  // namespace tunora
