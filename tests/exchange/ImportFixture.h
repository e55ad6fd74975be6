#pragma once
// A fresh contact database with two groups, the dialogs answered by script, and the contact
// rows read back the way the imports must leave them.
#include "data/Attachment.h"
#include "support/ScriptedDialogs.h"
#include "support/TestDatabase.h"

#include "common/LangConstants.h"

#include <QStringList>

struct ImportFixture {
  ImportFixture();

  TestDatabase database;
  Attachment db;
  ScriptedDialogs dialogs;
  LangConstants texts;
  int group = 0;      // the group the imports fill
  int otherGroup = 0; // must stay empty
  int refreshes = 0;
  std::function<void()> refresh = [this] { ++refreshes; };

  // The contacts of group in the order of their ID, one text each:
  // "PHONE|NAME|BIRTHDATE|DFIELD|EFIELD|FFIELD|GFIELD|SEND|DATESEND|TIMESEND|PARTSEND|FERROR"
  // with NULL for a NULL value, so an empty text and NULL differ.
  QStringList contacts(int group) const;
  // The same with only PHONE and NAME.
  QStringList phonesAndNames(int group) const;
};
