#pragma once
// Line speeds of any value (not only the POSIX table), through the Linux termios2 interface.
// Kept apart because its header clashes with <termios.h>.
#include <QtGlobal>

namespace serial_speed {

// Both return false with errno set when the device refuses.
bool read(int fd, quint32 &baud);
bool write(int fd, quint32 baud);

} // namespace serial_speed
