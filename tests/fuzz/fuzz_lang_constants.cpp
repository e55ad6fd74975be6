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
  // A refused file is not read at all; a sound one gives its texts, and a key it lacks or leaves
  // empty keeps its built-in text.
  const bool used = langFileProblem(QStringLiteral("fuzz")).ok();
  const IniFile bytesRead = used ? IniFile::fromBytes(input) : IniFile::fromBytes({});
  for (const LangConstantKey &k : langConstantKeys()) {
    const QString &text = LangConst().*k.member;
    const QString fileText = bytesRead.readString(QStringLiteral("Constant"), QString::fromLatin1(k.key));
    FUZZ_CHECK(text == (fileText.isEmpty() ? builtinLangConstant(k.key) : fileText),
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
  const IniFile &titleSource = used ? bytesRead : *builtinLangFile();
  FUZZ_CHECK(title == titleSource.readString(QStringLiteral("MainText"), QStringLiteral("ttContacts")),
             title);
  return 0;
}
