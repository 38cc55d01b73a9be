#include <gtest/gtest.h>

#include <cstring>

#include "standin_host.h"

namespace tunora::standin {
namespace {

TEST(PluginLifecycle, RecordIsWhatTheHostExpects) {
  StandinHost host;
  ASSERT_NE(host.mainWindow(), nullptr);
  ASSERT_TRUE(host.load());
  host::PluginRecord* record = host.record();
  EXPECT_EQ(record->version, 0x15);
  EXPECT_STREQ(record->description, "Tunora-Plugin v0.6");
  ASSERT_NE(record->init, nullptr);
  ASSERT_NE(record->quit, nullptr);
  ASSERT_NE(record->messageProc, nullptr);
  // The host fields stay empty until the host fills them.
  EXPECT_EQ(record->hostMainWindow, nullptr);
  EXPECT_EQ(record->moduleInstance, nullptr);
}

TEST(PluginLifecycle, InitAndQuitKeepTheHostFields) {
  StandinHost host;
  ASSERT_TRUE(host.load());
  EXPECT_EQ(host.init(), 0);
  EXPECT_EQ(host.record()->hostMainWindow, host.mainWindow());
  EXPECT_EQ(host.record()->libraryParentWindow, host.libraryParent());
  EXPECT_EQ(host.record()->moduleInstance, host.module());
  EXPECT_EQ(host.record()->messageProc(0x1234, 0, 0, 0), 0);
  host.quit();
  EXPECT_EQ(host.record()->hostMainWindow, host.mainWindow());
}

}  // namespace
}  // namespace tunora::standin
