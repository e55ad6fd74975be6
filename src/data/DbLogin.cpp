#include "data/DbLogin.h"

DbLogin DbLogin::defaults() {
  return {QStringLiteral("SYSDBA"), QStringLiteral("quillpost")};
}
