#include "PtyLineSpeed.h"

#include <asm/termbits.h>
#include <sys/ioctl.h>

quint32 ptyLineSpeed(int fd) {
  struct termios2 tio {};
  return ioctl(fd, TCGETS2, &tio) == 0 ? tio.c_ospeed : 0;
}
