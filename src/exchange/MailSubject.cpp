#include "exchange/MailSubject.h"

#include "exchange/MailError.h"

#include <gmime/gmime.h>

#include <memory>
#include <mutex>

namespace mail {

namespace {

void ensureGMimeInitialised() {
  static std::once_flag once;
  std::call_once(once, [] { g_mime_init(); });
}

struct ObjectUnref {
  void operator()(gpointer object) const {
    if (object)
      g_object_unref(object);
  }
};
template <typename T> using GObjectPtr = std::unique_ptr<T, ObjectUnref>;

struct OptionsFree {
  void operator()(GMimeParserOptions *options) const { g_mime_parser_options_free(options); }
};

// Only the header block is parsed: the body may be large and is never used.
QByteArray headerBlock(const QByteArray &message) {
  qsizetype end = message.indexOf("\r\n\r\n");
  const qsizetype lfEnd = message.indexOf("\n\n");
  if (end < 0 || (lfEnd >= 0 && lfEnd < end))
    end = lfEnd >= 0 ? lfEnd + 2 : -1;
  else
    end += 4;
  return end < 0 ? message + "\r\n\r\n" : message.left(end);
}

} // namespace

QString messageSubject(const QByteArray &message) {
  ensureGMimeInitialised();
  std::unique_ptr<GMimeParserOptions, OptionsFree> options(g_mime_parser_options_new());
  // Undeclared 8-bit text: UTF-8 when it is valid, else the Windows Cyrillic code page.
  const char *fallback[] = {"UTF-8", "windows-1251", nullptr};
  g_mime_parser_options_set_fallback_charsets(options.get(), fallback);

  const QByteArray header = headerBlock(message);
  GObjectPtr<GMimeStream> stream(
      g_mime_stream_mem_new_with_buffer(header.constData(), size_t(header.size())));
  GObjectPtr<GMimeParser> parser(g_mime_parser_new_with_stream(stream.get()));
  g_mime_parser_set_format(parser.get(), GMIME_FORMAT_MESSAGE);
  GObjectPtr<GMimeMessage> parsed(g_mime_parser_construct_message(parser.get(), options.get()));
  if (!parsed)
    throw MailError(QStringLiteral("The mail library could not read the message header."));
  const char *subject = g_mime_message_get_subject(parsed.get());
  return subject ? QString::fromUtf8(subject) : QString();
}

} // namespace mail
