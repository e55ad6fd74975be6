#pragma once
// The interface language: the current language name, the message texts of section
// [Constant] of its language file, and cached reads of any language-file value.
#include "common/IniFile.h"
#include "common/TextFileCheck.h"

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
  X(stCsvCharset) X(stNoGroup) X(stNoExportFields) X(stFilterEmpty) X(stFilterLong) X(stFilterGone)        \
  X(stFileMissing) X(stFileUnreadable) X(stFileUtf8) X(stFileNotText) X(stFileLongLine)                      \
  X(stTranslitRule) X(stLangFile) X(stTranslitFile) X(stCharField) X(stCharTemplate) X(stRequired) X(stCut)  \
  X(stNoDatabase) X(stDbInUse) X(stDbOpen) X(stSheetNotOpened)
// clang-format on

// The built-in text of a [Constant] key: the Russian language file the program was built
// with. Empty only for a key that file lacks.
QString builtinLangConstant(const char *key);

// The message texts of the current language, exactly as the file gives them (a multi-line
// text such as stDelAllGroup still holds its code-4 separators: pass it through GetIniText).
// A key the file lacks, or gives no text, has its built-in text, so no question or message
// is ever shown blank; a new object holds the built-in texts.
struct LangConstants {
#define BL_LANG_CONSTANT_MEMBER(name) QString name = builtinLangConstant(#name);
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
// The Russian language file built into the program.
std::shared_ptr<const IniFile> builtinLangFile();
// The parsed language file of lang. Each file is parsed once and kept until it changes on
// disk (time or size) or reloadLangFiles() is called. A file that is missing, unreadable or
// not cp1251 text is not used at all: the built-in file answers in its place.
std::shared_ptr<const IniFile> langFile(const QString &lang);
// Why lang's file is not used (it is missing, unreadable or not cp1251 text); ok() when it
// is used. A sound file may still lack keys: those get the built-in texts.
TextFileProblem langFileProblem(const QString &lang);
// One value of the language file of lang; empty when the section or key is missing.
QString langText(const QString &lang, const QString &section, const QString &key);
// Forgets every parsed language file, so the next read parses again.
void reloadLangFiles();

// Reads every [Constant] key of lang's file into LangConst(); a key the file lacks or leaves
// empty gets its built-in text.
void LoadLangConst(const QString &lang);
// Turns a language-file text into display text: each character with code 4 becomes a
// carriage return (code 13), the line break of [MainText] values and stDelAllGroup.
QString GetIniText(const QString &text);
