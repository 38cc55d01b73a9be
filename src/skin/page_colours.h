#pragma once
// The four colours of a page, as the template language names them:
// "<$clnormal$>", "<$clnormalbg$>", "<$clcurrent$>", "<$clselectedbg$>".

#include <string>

namespace tunora {

// "#RRGGBB" texts; the defaults are the classic player's playlist colours.
struct PageColours {
  std::u16string normal = u"#00FF00";
  std::u16string normalBackground = u"#000000";
  std::u16string current = u"#FFFFFF";
  std::u16string selectedBackground = u"#0000FF";
};

}  // namespace tunora
