#include "common/LangConstants.h"

#include "common/AppPaths.h"

#include <QFile>
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

// A parsed language file, the stamp of the file it was parsed from, and what is wrong with it.
struct CachedFile {
  std::shared_ptr<const IniFile> ini;
  FileStamp stamp;
  TextFileProblem problem;
};

CachedFile parseLangFile(const QString &path, const FileStamp &stamp) {
  CachedFile entry;
  entry.stamp = stamp;
  CheckedTextFile file = text_file_check::read(path);
  entry.problem = file.problem;
  if (!file.problem.ok()) {
    entry.ini = builtinLangFile();
    return entry;
  }
  entry.ini = std::make_shared<const IniFile>(IniFile::fromBytes(file.bytes));
  return entry;
}

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

std::shared_ptr<const IniFile> builtinLangFile() {
  // Parsed once; the resource cannot change while the program runs.
  static const std::shared_ptr<const IniFile> builtin = [] {
    // Registered here, not by static initialisation, which may come after a first use.
    Q_INIT_RESOURCE(builtin_language);
    QFile file(QStringLiteral(":/builtin/Russian.ini"));
    const QByteArray bytes = file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    return std::make_shared<const IniFile>(IniFile::fromBytes(bytes));
  }();
  return builtin;
}

QString builtinLangConstant(const char *key) {
  return builtinLangFile()->readString(QStringLiteral("Constant"), QString::fromLatin1(key));
}

namespace {

// The cached entry of lang's file, parsed again when the file changed on disk.
CachedFile cachedLangFile(const QString &lang) {
  const QString path = langFilePath(lang);
  const FileStamp stamp = stampOf(path);
  QMutexLocker lock(&cache().mutex);
  CachedFile &entry = cache().files[path];
  if (!entry.ini || entry.stamp != stamp)
    entry = parseLangFile(path, stamp);
  return entry;
}

} // namespace

std::shared_ptr<const IniFile> langFile(const QString &lang) {
  return cachedLangFile(lang).ini;
}

TextFileProblem langFileProblem(const QString &lang) {
  return cachedLangFile(lang).problem;
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
  const auto builtin = builtinLangFile();
  const QString section = QStringLiteral("Constant");
  LangConstants &constants = LangConst();
  for (const auto &k : constantKeys) {
    const QString key = QString::fromLatin1(k.key);
    const QString text = ini->readString(section, key);
    constants.*k.member = text.isEmpty() ? builtin->readString(section, key) : text;
  }
}

QString GetIniText(const QString &text) {
  QString result = text;
  result.replace(QChar(4), QChar(13));
  return result;
}
