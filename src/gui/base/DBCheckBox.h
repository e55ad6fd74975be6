#pragma once
// A check box bound to a column of a data set (the options row's GSMLOG): ticked stores "1",
// clear stores "0". Addressed by the language files under [TDBCheckBox], not [TCheckBox].
#include <QCheckBox>

class DBCheckBox : public QCheckBox {
  Q_OBJECT
public:
  using QCheckBox::QCheckBox;
};
