#pragma once
// A session bus address that leads nowhere, for the length of one test: the
// commands that follow players then end at once.

#include <gtest/gtest.h>

#include <cstdlib>
#include <optional>
#include <string>

#include "support/temp_dir.h"

namespace tunora::testing {

class NoSessionBus : public ::testing::Test {
 protected:
  NoSessionBus() {
    if (const char* address = std::getenv("DBUS_SESSION_BUS_ADDRESS")) saved = address;
    setenv("DBUS_SESSION_BUS_ADDRESS", "unix:path=/nonexistent/bus", 1);
  }
  ~NoSessionBus() override {
    if (saved)
      setenv("DBUS_SESSION_BUS_ADDRESS", saved->c_str(), 1);
    else
      unsetenv("DBUS_SESSION_BUS_ADDRESS");
  }
  std::optional<std::string> saved;
  TempDir dir;
};

}  // namespace tunora::testing
