#include "app/Program.h"

#include "app/TFMain.h"
#include "common/AppPaths.h"
#include "common/Dialogs.h"
#include "common/IniFile.h"
#include "common/LangConstants.h"
#include "data/DatabaseError.h"
#include "data/DbSettings.h"
#include "data/TDModule.h"
#include "gui/base/RowDialogs.h"

Program::Program() = default;

Program::~Program() {
  window_.reset();
  rowDialogs_.reset();
  data_.reset();
}

bool Program::start() {
  // The main window has not loaded its texts yet: the start-up messages take the language
  // kyv.ini names (built-in texts where its file fails).
  LoadLangConst(IniFile(app_paths::besideExecutable("kyv.ini")).readString("params", "Lang", "Russian"));
  const QString location = dbNameSetting();
  if (location.trimmed().isEmpty()) {
    startupError(GetIniText(LangConst().stNoDatabase).arg(dbNameSettingFile()), QString());
    return false;
  }
  data_ = std::make_unique<TDModule>();
  try {
    data_->openAt(location, dbLoginSetting());
  } catch (const DatabaseError &e) {
    const QString &explanation = e.isOpenElsewhere() ? LangConst().stDbInUse : LangConst().stDbOpen;
    startupError(GetIniText(explanation).arg(location), e.text());
    data_.reset();
    return false;
  }
  // The row rules hold for the whole run, whichever pages exist.
  rowDialogs_ = std::make_unique<RowDialogs>(*data_);
  window_ = std::make_unique<TFMain>(data_.get(), rowDialogs_.get());
  return true;
}

void Program::startupError(const QString &explanation, const QString &engineText) {
  // The engine's own words stay below the explanation, for whoever has to look further.
  const QString text = engineText.isEmpty() ? explanation : explanation + QStringLiteral("\n\n") + engineText;
  Dialogs::instance().message(LangConst().stError, text, Dialogs::Icon::Error);
}
