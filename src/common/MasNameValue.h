#pragma once
#include <QList>
#include <QString>

// An ordered, growable list of (integer, text) pairs: the placeholder table and the
// two transliteration lists.
struct TNameValue {
  qint32 Value = 0;
  QString Name;
};
using TMasNameValue = QList<TNameValue>;

// One generated message and the list of them.
struct TRecSMS {
  QString Text;
  QString Phone;
  qint32 Id = 0;
};
using TMasSMS = QList<TRecSMS>;
