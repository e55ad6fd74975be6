#pragma once
// The speed the far side of a pseudo-terminal has set on its line. Kept apart because the
// kernel's termios2 header clashes with <termios.h>.
#include <QtGlobal>

// 0 when the line cannot be read.
quint32 ptyLineSpeed(int fd);
