// A simulated modem in a process of its own, for the test that kills it in the middle of a
// run: prints the pseudo-terminal's path, then answers until it is killed or its input ends.
#include "ModemSimulator.h"

#include <cstdio>

int main() {
  ModemSimulator modem;
  std::printf("%s\n", modem.devicePath().toLocal8Bit().constData());
  std::fflush(stdout);
  while (std::getchar() != EOF) {
  }
  return 0;
}
