#include "app/Program.h"

#include "app/TFMain.h"
#include "common/AppPaths.h"
#include "common/Dialogs.h"
#include "common/IniFile.h"
#include "common/LangConstants.h"
#include "data/DatabaseError.h"
#include "data/TDModule.h"
#include "gui/base/RowDialogs.h"

Program::Program() = default;

Program::~Program() {
  window_.reset();
  rowDialogs_.reset();
  data_.reset();
}

bool Program::start() {
  data_ = std::make_unique<TDModule>();
  try {
    data_->open();
  } catch (const DatabaseError &e) {
    // The main window has not loaded its texts yet: take the title from the language file.
    const QString lang =
        IniFile(app_paths::besideExecutable("kyv.ini")).readString("params", "Lang", "Russian");
    Dialogs::instance().message(langText(lang, "Constant", "stError"), e.text(), Dialogs::Icon::Information);
    data_.reset();
    return false;
  }
  // The row rules hold for the whole run, whichever pages exist.
  rowDialogs_ = std::make_unique<RowDialogs>(*data_);
  window_ = std::make_unique<TFMain>(data_.get(), rowDialogs_.get());
  return true;
}
