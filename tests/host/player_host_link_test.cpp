#include "host/player_host_link.h"

#include <gtest/gtest.h>

#include "standin_host.h"
#include "text/helpers.h"

namespace tunora::standin {
namespace {

TEST(PlayerHostLink, CoverFolderIsBesideThePlayersExecutable) {
  StandinHost player;
  const auto folder = host::PlayerHostLink().coverFolder();
  ASSERT_TRUE(folder.has_value());
  const std::wstring program = programFolder();
  const std::u16string expected =
      toLowerAscii(std::u16string(program.begin(), program.end())) + u"plugins\\ml_tunora\\";
  EXPECT_EQ(*folder, expected);
}

}  // namespace
}  // namespace tunora::standin
