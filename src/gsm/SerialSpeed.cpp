#include "gsm/SerialSpeed.h"

#include <asm/termbits.h>
#include <sys/ioctl.h>

namespace serial_speed {

bool read(int fd, quint32 &baud) {
  struct termios2 tio {};
  if (ioctl(fd, TCGETS2, &tio) != 0)
    return false;
  baud = tio.c_ospeed;
  return true;
}

bool write(int fd, quint32 baud) {
  struct termios2 tio {};
  if (ioctl(fd, TCGETS2, &tio) != 0)
    return false;
  tio.c_cflag &= ~CBAUD;
  tio.c_cflag |= BOTHER;
  tio.c_cflag &= ~(CBAUD << IBSHIFT); // input speed follows the output speed
  tio.c_ospeed = baud;
  tio.c_ispeed = baud;
  return ioctl(fd, TCSETS2, &tio) == 0;
}

} // namespace serial_speed
