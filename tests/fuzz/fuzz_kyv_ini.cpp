// The settings file kyv.ini as the program reads and writes it: the language and the modem
// choice of [params], the gateway's [gateway] keys. Writing a value keeps every other value
// the file holds, and the value reads back as written (or the write is refused with a clear
// error and the file is left as it was).
#include "FuzzCheck.h"
#include "IniLines.h"

#include "common/AppPaths.h"
#include "common/IniFile.h"
#include "gateway/GatewaySettings.h"

#include <QFile>

namespace {

QByteArray fileBytes(const QString &path) {
  QFile file(path);
  return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void writeFile(const QString &path, const QByteArray &bytes) {
  QFile file(path);
  if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) || file.write(bytes) != bytes.size())
    fuzz::fail("the settings file can be written", file.errorString());
}

// Every value the file held before, but the one written, reads the same afterwards.
void checkKept(const QByteArray &before, const IniFile &after, const QString &section, const QString &key) {
  for (const fuzz::IniEntry &e : fuzz::plainEntries(before, IniFile::MaxValueLength)) {
    if (e.section == section.toCaseFolded() && e.key == key.toCaseFolded())
      continue;
    FUZZ_CHECK(after.readString(e.section, e.key, QStringLiteral("\x01missing")) == e.value,
               e.section + u'/' + e.key + QStringLiteral(" was ") + e.value);
  }
}

void write(const QString &path, const QString &section, const QString &key, const QString &value) {
  const QByteArray before = fileBytes(path);
  IniFile ini(path);
  try {
    ini.writeString(section, key, value);
  } catch (const IniFileError &) {
    FUZZ_CHECK(fileBytes(path) == before, QStringLiteral("a refused write changed the file"));
    return;
  }
  const IniFile after(path);
  FUZZ_CHECK(after.readString(section, key) == value,
             QStringLiteral("wrote ") + value + QStringLiteral(" read ") + after.readString(section, key));
  FUZZ_CHECK(ini.readString(section, key) == value, QStringLiteral("the writer's own reading differs"));
  checkKept(before, after, section, key);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
  const QByteArray input = fuzz::bytes(data, size);
  app_paths::overrideExecutableDir(fuzz::scratchDir());
  const QString path = app_paths::besideExecutable(QStringLiteral("kyv.ini"));
  writeFile(path, input);

  const IniFile ini(path);
  const QString lang =
      ini.readString(QStringLiteral("params"), QStringLiteral("Lang"), QStringLiteral("Russian"));
  const gateway::GatewaySettings gatewaySettings = gateway::readGatewaySettings();
  FUZZ_CHECK(!gatewaySettings.endpointUrl.isEmpty() && !gatewaySettings.serviceNamespace.isEmpty(),
             QString());
  const QString url = ini.readString(QStringLiteral("gateway"), QStringLiteral("Url"));
  FUZZ_CHECK(gatewaySettings.endpointUrl ==
                 (url.isEmpty() ? QString::fromUtf16(gateway::defaultEndpointUrl) : url),
             gatewaySettings.endpointUrl);

  // The modem choice as the main window stores it, then a language name taken from the input.
  write(path, QStringLiteral("params"), QStringLiteral("GSM"), QStringLiteral("1"));
  const qsizetype cut = input.lastIndexOf('\n');
  write(path, QStringLiteral("params"), QStringLiteral("Lang"), cp1251::decode(input.mid(cut + 1)));
  write(path, QStringLiteral("params"), QStringLiteral("Lang"), lang);
  return 0;
}
