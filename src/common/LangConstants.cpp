#include "common/LangConstants.h"

#include "common/AppPaths.h"

#include <QDateTime>
#include <QFileInfo>
#include <QHash>
#include <QMutex>

namespace {

#define BL_LANG_CONSTANT_ENTRY(name) {#name, &LangConstants::name},
constexpr LangConstantKey constantKeys[] = {BL_LANG_CONSTANT_KEYS(BL_LANG_CONSTANT_ENTRY)};
#undef BL_LANG_CONSTANT_ENTRY

// A parsed language file and the state of the file it was parsed from.
struct CachedFile {
  std::shared_ptr<const IniFile> ini;
  bool exists = false;
  QDateTime modified;
  qint64 size = -1;
};

struct LangFileCache {
  QMutex mutex; // the worker threads may read language texts too
  QHash<QString, CachedFile> files;
};

LangFileCache &cache() {
  static LangFileCache instance;
  return instance;
}

} // namespace

std::span<const LangConstantKey> langConstantKeys() { return constantKeys; }

LangConstants &LangConst() {
  static LangConstants instance;
  return instance;
}

QString &CurrentLang() {
  static QString name = QStringLiteral("Russian");
  return name;
}

QString langFilePath(const QString &lang) {
  return app_paths::findBesideExecutable(QStringLiteral("langs/") + lang + QStringLiteral(".ini"));
}

std::shared_ptr<const IniFile> langFile(const QString &lang) {
  const QString path = langFilePath(lang);
  const QFileInfo info(path);
  const bool exists = info.exists();
  const QDateTime modified = exists ? info.lastModified() : QDateTime();
  const qint64 size = exists ? info.size() : -1;

  QMutexLocker lock(&cache().mutex);
  CachedFile &entry = cache().files[path];
  if (!entry.ini || entry.exists != exists || entry.modified != modified || entry.size != size) {
    entry.ini = std::make_shared<const IniFile>(path);
    entry.exists = exists;
    entry.modified = modified;
    entry.size = size;
  }
  return entry.ini;
}

QString langText(const QString &lang, const QString &section, const QString &key) {
  return langFile(lang)->readString(section, key);
}

void reloadLangFiles() {
  QMutexLocker lock(&cache().mutex);
  cache().files.clear();
}

void LoadLangConst(const QString &lang) {
  const auto ini = langFile(lang);
  LangConstants &constants = LangConst();
  for (const auto &k : constantKeys)
    constants.*k.member = ini->readString(QStringLiteral("Constant"), QString::fromLatin1(k.key));
}

QString GetIniText(const QString &text) {
  QString result = text;
  result.replace(QChar(4), QChar(13));
  return result;
}
