// Language application reads several hundred keys, and every generated message may be
// transliterated, so both are measured beside the straightforward way of doing them:
//  - reads from the parsed, cached language file vs. parsing the file for every read (as
//    the per-call profile functions do);
//  - transliteration through the table's index vs. scanning the rule list for each character.
#include "common/AppPaths.h"
#include "common/IniFile.h"
#include "common/LangConstants.h"
#include "compose/Translit.h"

#include <QElapsedTimer>
#include <QFile>
#include <QStringList>
#include <cstdio>
#include <functional>

namespace {

// Best time of several rounds, in microseconds per call of body.
double bestMicros(int calls, const std::function<void()> &body) {
  double best = 1e300;
  for (int round = 0; round < 5; ++round) {
    QElapsedTimer timer;
    timer.start();
    for (int i = 0; i < calls; ++i)
      body();
    best = std::min(best, double(timer.nsecsElapsed()) / 1000.0 / calls);
  }
  return best;
}

// Every section/key pair of the shipped Russian file: what applying the language reads.
QList<std::pair<QString, QString>> allKeys(const QString &path) {
  QFile file(path);
  file.open(QIODevice::ReadOnly);
  QList<std::pair<QString, QString>> keys;
  QString section;
  for (const QByteArray &raw : file.readAll().split('\n')) {
    const QString line = QString::fromLatin1(raw).trimmed();
    if (line.startsWith('['))
      section = line.mid(1, line.indexOf(']') - 1);
    else if (line.contains('='))
      keys.append({section, line.left(line.indexOf('='))});
  }
  return keys;
}

// The rule lookup without an index: the first rule whose source matches, as the rule list reads.
QString scanTranslit(const TranslitTable &table, const QString &text) {
  const auto fold = [](QChar c) { return (c >= u'A' && c <= u'Z') ? QChar(c.unicode() + 32) : c; };
  QString result;
  for (const QChar c : text) {
    qsizetype found = -1;
    for (qsizetype r = 0; r < table.sources().size() && found < 0; ++r)
      if (fold(table.sources()[r].Name.front()) == fold(c))
        found = r;
    result += found < 0 ? QString(c) : table.replacements()[found].Name;
  }
  return result;
}

} // namespace

int main() {
  app_paths::overrideExecutableDir(QStringLiteral(BL_SOURCE_DIR));
  const QString path = langFilePath(QStringLiteral("Russian"));
  const auto keys = allKeys(path);

  volatile qsizetype sink = 0;
  const double perCallParse = bestMicros(3, [&] {
    for (const auto &[section, key] : keys)
      sink = sink + IniFile(path).readString(section, key).size();
  });
  const double cached = bestMicros(50, [&] {
    for (const auto &[section, key] : keys)
      sink = sink + langText(QStringLiteral("Russian"), section, key).size();
  });
  const double parsedOnce = bestMicros(50, [&] {
    const auto ini = langFile(QStringLiteral("Russian"));
    for (const auto &[section, key] : keys)
      sink = sink + ini->readString(section, key).size();
  });
  std::printf("language reads: %lld keys, parse per read %.1f us, cached per read %.1f us (ratio %.4f), "
              "one file for all reads %.1f us (ratio %.4f)\n",
              static_cast<long long>(keys.size()), perCallParse, cached, cached / perCallParse, parsedOnce,
              parsedOnce / perCallParse);

  LoadTranslit(QStringLiteral("Russian"));
  const QString message = QString::fromUtf8("Уважаемый Иван Петрович! Поздравляем вас с днём рождения и "
                                            "приглашаем в наш магазин: скидка 15% до конца недели. Ждём!");
  if (scanTranslit(translitTable(), message) != Translit(message)) {
    std::printf("the two transliterations differ\n");
    return 1;
  }
  const double scanned =
      bestMicros(2000, [&] { sink = sink + scanTranslit(translitTable(), message).size(); });
  const double indexed = bestMicros(2000, [&] { sink = sink + Translit(message).size(); });
  std::printf("transliteration of %lld characters: rule scan %.2f us, index %.2f us, ratio %.3f\n",
              static_cast<long long>(message.size()), scanned, indexed, indexed / scanned);
  return 0;
}
