#include "gui/about/AboutPage.h"

#include <QStyle>
#include <QVBoxLayout>

AboutPage::AboutPage(QWidget *parent) : NotifyingPage("TS6", parent) {
  Image8 = ui::make<ImageBox>(this, "Image8");
  Image8->setPixmap(style()->standardIcon(QStyle::SP_MessageBoxInformation).pixmap(64, 64));
  lbAbProgram = ui::label(this, "lbAbProgram", "Brisklane");
  QFont bold = lbAbProgram->font();
  bold.setBold(true);
  bold.setPointSizeF(bold.pointSizeF() * 1.5);
  lbAbProgram->setFont(bold);
  lbAbVersion = ui::label(this, "lbAbVersion", "");
  lbAbCopy = ui::label(this, "lbAbCopy", "");
  lbAbWarn = ui::label(this, "lbAbWarn", "");
  lbAbWarn->setWordWrap(true);
  auto *layout = new QVBoxLayout(this);
  layout->addWidget(Image8);
  for (QLabel *l : {lbAbProgram, lbAbVersion, lbAbCopy, lbAbWarn})
    layout->addWidget(l);
  layout->addStretch();
}
