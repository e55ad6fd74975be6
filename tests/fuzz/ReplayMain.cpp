// Runs every file of the given folders (and files) once through the target's entry, in name
// order, without a fuzzer: a fault found once stays fixed. A finding aborts, which fails the
// test; the name of the input is printed first so the failure names it.
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QStringList>

#include <cstdint>
#include <cstdio>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size);

namespace {

QStringList inputsOf(const QString &path) {
  if (!QFileInfo(path).isDir())
    return {path};
  QStringList files;
  QDirIterator it(path, QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
  while (it.hasNext())
    files.append(it.next());
  files.sort();
  return files;
}

} // namespace

int main(int argc, char **argv) {
  int replayed = 0;
  for (int i = 1; i < argc; ++i) {
    for (const QString &name : inputsOf(QString::fromLocal8Bit(argv[i]))) {
      QFile file(name);
      if (!file.open(QIODevice::ReadOnly)) {
        std::fprintf(stderr, "cannot read %s: %s\n", qPrintable(name), qPrintable(file.errorString()));
        return 1;
      }
      const QByteArray bytes = file.readAll();
      std::printf("%s\n", qPrintable(name));
      std::fflush(stdout);
      LLVMFuzzerTestOneInput(reinterpret_cast<const uint8_t *>(bytes.constData()), size_t(bytes.size()));
      ++replayed;
    }
  }
  if (replayed == 0) {
    std::fprintf(stderr, "no inputs to replay\n");
    return 1;
  }
  std::printf("%d inputs replayed\n", replayed);
  return 0;
}
