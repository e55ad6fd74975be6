#pragma once
// The interface language: the current language name, the message texts of section
// [Constant] of its language file, and cached reads of any language-file value.
#include "common/IniFile.h"

#include <QString>
#include <memory>
#include <span>

// Every key of section [Constant], in one list: the struct members, the loader and the
// key checks of the language files are all generated from it.
// clang-format off
#define BL_LANG_CONSTANT_KEYS(X)                                                                             \
  X(stNew) X(stwNew) X(stEdit) X(stDel) X(stDelGroup) X(stDelContact) X(stDelTemplate) X(stDelFilter)        \
  X(stDelAllGroup) X(stAuto) X(stError) X(stParamFilter) X(pmBreak) X(stBirthDay) X(erFindPort)             \
  X(erPortFalse) X(erSetState) X(stAutoSend) X(stTime) X(stSpan) X(stAutoStop) X(stStop) X(stASendStop)     \
  X(stSuccOp) X(stCountSMS) X(stEmail) X(stServerError) X(stQueryOutlook) X(stFormatError) X(stContact)       \
  X(stCsvCharset) X(stNoGroup) X(stNoExportFields) X(stFilterEmpty) X(stFilterLong) X(stFilterGone)          \
  X(stSheetNotOpened)
// clang-format on

// The message texts of the current language, exactly as the file gives them (a multi-line
// text such as stDelAllGroup still holds its code-4 separators: pass it through GetIniText).
struct LangConstants {
#define BL_LANG_CONSTANT_MEMBER(name) QString name;
  BL_LANG_CONSTANT_KEYS(BL_LANG_CONSTANT_MEMBER)
#undef BL_LANG_CONSTANT_MEMBER
};

struct LangConstantKey {
  const char *key;
  QString LangConstants::*member;
};
// The [Constant] keys with their members, in the order above.
std::span<const LangConstantKey> langConstantKeys();

// The process-wide message texts, owned for the main window; filled by LoadLangConst.
LangConstants &LangConst();
// The process-wide current language name; "Russian" until the settings file names another.
QString &CurrentLang();

// The language file of lang: "langs/<lang>.ini" beside the executable.
QString langFilePath(const QString &lang);
// The parsed language file of lang. Each file is parsed once and kept until it changes on
// disk (time or size) or reloadLangFiles() is called; a missing file gives an empty one.
std::shared_ptr<const IniFile> langFile(const QString &lang);
// One value of the language file of lang; empty when the file, section or key is missing.
QString langText(const QString &lang, const QString &section, const QString &key);
// Forgets every parsed language file, so the next read parses again.
void reloadLangFiles();

// Reads every [Constant] key of lang's file into LangConst(); missing keys become empty.
void LoadLangConst(const QString &lang);
// Turns a language-file text into display text: each character with code 4 becomes a
// carriage return (code 13), the line break of [MainText] values and stDelAllGroup.
QString GetIniText(const QString &text);
