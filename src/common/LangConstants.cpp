#include "common/LangConstants.h"

#include "common/AppPaths.h"

#include <QHash>
#include <QMutex>
#include <filesystem>

namespace {

#define BL_LANG_CONSTANT_ENTRY(name) {#name, &LangConstants::name},
constexpr LangConstantKey constantKeys[] = {BL_LANG_CONSTANT_KEYS(BL_LANG_CONSTANT_ENTRY)};
#undef BL_LANG_CONSTANT_ENTRY

// What tells a changed file: its time stamp (to the nanosecond) and size; -1 when missing.
struct FileStamp {
  std::filesystem::file_time_type modified{};
  std::uintmax_t size = std::uintmax_t(-1);
  bool operator==(const FileStamp &) const = default;
};

FileStamp stampOf(const QString &path) {
  std::error_code error;
  const std::filesystem::path file(path.toStdU16String());
  FileStamp stamp;
  stamp.modified = std::filesystem::last_write_time(file, error);
  if (error)
    return {};
  stamp.size = std::filesystem::file_size(file, error);
  return error ? FileStamp{} : stamp;
}

// A parsed language file and the stamp of the file it was parsed from.
struct CachedFile {
  std::shared_ptr<const IniFile> ini;
  FileStamp stamp;
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

std::span<const LangConstantKey> langConstantKeys() {
  return constantKeys;
}

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
  const FileStamp stamp = stampOf(path);

  QMutexLocker lock(&cache().mutex);
  CachedFile &entry = cache().files[path];
  if (!entry.ini || entry.stamp != stamp) {
    entry.ini = std::make_shared<const IniFile>(path);
    entry.stamp = stamp;
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
