// The profile-file reader on any bytes: every key line it should read gives its value, and no
// value is longer than a read gives.
#include "FuzzCheck.h"
#include "IniLines.h"

#include "common/IniFile.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
  const QByteArray input = fuzz::bytes(data, size);
  const IniFile ini = IniFile::fromBytes(input);
  for (const fuzz::IniEntry &e : fuzz::plainEntries(input, IniFile::MaxValueLength)) {
    FUZZ_CHECK(ini.hasKey(e.section, e.key), e.section + u'/' + e.key);
    const QString value = ini.readString(e.section, e.key, QStringLiteral("\x01missing"));
    FUZZ_CHECK(value == e.value,
               e.section + u'/' + e.key + u'=' + value + QStringLiteral(" expected ") + e.value);
  }
  FUZZ_CHECK(!ini.hasKey(QStringLiteral("\x02no such section"), QStringLiteral("key")), QString());
  return 0;
}
