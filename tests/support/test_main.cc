// The main of every test program: the switches of the programs under test
// go to the platform layer first, as each program's own main does.
#include <gtest/gtest.h>

#include "pelixo/app/switches.h"
#include "platform/switches.h"

int main(int argc, char** argv) {
  platform::SetSwitches(pelixo::PelixoSwitches());
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
