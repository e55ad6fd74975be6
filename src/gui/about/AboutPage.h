#pragma once
// Page 6: about the program.
#include "gui/base/PageBuilder.h"

class AboutPage : public NotifyingPage {
  Q_OBJECT
public:
  explicit AboutPage(QWidget *parent = nullptr);

  ImageBox *Image8;
  QLabel *lbAbProgram, *lbAbVersion, *lbAbCopy, *lbAbWarn;
};
