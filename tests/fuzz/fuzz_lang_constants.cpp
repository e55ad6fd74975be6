// A language file as the program reads it from langs/ beside the executable: the message
// constants of [Constant], the display texts (code 4 as a line break) and the list items of a
// [TComboBox] value. What the file gives must be what a reading of its bytes gives.
#include "FuzzCheck.h"

#include "common/AppPaths.h"
#include "common/LangConstants.h"

#include <QDir>
#include <QFile>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
  const QByteArray input = fuzz::bytes(data, size);
  app_paths::overrideExecutableDir(fuzz::scratchDir());
  QDir(fuzz::scratchDir()).mkpath(QStringLiteral("langs"));
  {
    QFile file(fuzz::scratchDir() + QStringLiteral("/langs/Fuzz.ini"));
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) || file.write(input) != input.size())
      fuzz::fail("the language file can be written", file.errorString());
  }
  reloadLangFiles(); // the file may keep its size and time stamp from one input to the next
  LoadLangConst(QStringLiteral("fuzz")); // file names match regardless of case
  const IniFile bytesRead = IniFile::fromBytes(input);
  for (const LangConstantKey &k : langConstantKeys()) {
    const QString &text = LangConst().*k.member;
    FUZZ_CHECK(text == bytesRead.readString(QStringLiteral("Constant"), QString::fromLatin1(k.key)),
               QString::fromLatin1(k.key));
    const QString shown = GetIniText(text);
    FUZZ_CHECK(shown.size() == text.size() && !shown.contains(QChar(4)), QString::fromLatin1(k.key));
  }
  const QString combo =
      langText(QStringLiteral("Fuzz"), QStringLiteral("TComboBox"), QStringLiteral("cbxLang"));
  const QStringList items = combo.split(QChar(4), Qt::SkipEmptyParts);
  FUZZ_CHECK(items.join(QString()) == QString(combo).remove(QChar(4)), combo);
  const QString title =
      langText(QStringLiteral("FUZZ"), QStringLiteral("MainText"), QStringLiteral("ttContacts"));
  FUZZ_CHECK(title == bytesRead.readString(QStringLiteral("MainText"), QStringLiteral("ttContacts")), title);
  return 0;
}
