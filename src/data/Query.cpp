#include "data/Query.h"

#include "common/Cp1251.h"
#include "data/Attachment.h"
#include "data/FbClient.h"
#include "data/Transaction.h"

#include <ibase.h>

#include <QDateTime>
#include <QStringDecoder>
#include <QStringEncoder>

#include <cstring>

using namespace Firebird;

namespace {

constexpr unsigned charsetWin1251 = 52;
constexpr unsigned charsetOctets = 1;
constexpr unsigned charsetUnicodeFss = 3;
constexpr unsigned charsetUtf8 = 4;

// Releases a client interface when the holder goes away.
template <class T> struct Ref {
  T *p = nullptr;
  Ref() = default;
  Ref(const Ref &) = delete;
  Ref &operator=(const Ref &) = delete;
  ~Ref() { reset(); }
  void reset(T *q = nullptr) {
    if (p)
      p->release();
    p = q;
  }
  T *operator->() const { return p; }
  explicit operator bool() const { return p != nullptr; }
};

ColumnType columnType(unsigned sqlType, int scale) {
  switch (sqlType) {
  case SQL_SHORT:
  case SQL_LONG:
    return scale == 0 ? ColumnType::Integer : ColumnType::Double;
  case SQL_INT64:
    return scale == 0 ? ColumnType::BigInt : ColumnType::Double;
  case SQL_FLOAT:
  case SQL_DOUBLE:
  case SQL_D_FLOAT:
    return ColumnType::Double;
  case SQL_TEXT:
  case SQL_VARYING:
    return ColumnType::Text;
  case SQL_TYPE_DATE:
    return ColumnType::Date;
  case SQL_TYPE_TIME:
    return ColumnType::Time;
  case SQL_TIMESTAMP:
    return ColumnType::Timestamp;
  case SQL_BOOLEAN:
    return ColumnType::Boolean;
  default:
    return ColumnType::Other;
  }
}

int bytesPerChar(unsigned charset) {
  return charset == charsetUtf8 ? 4 : charset == charsetUnicodeFss ? 3 : 1;
}

// One converter per thread: making one per value costs more than the conversion.
QString decodeText(const char *bytes, int size, unsigned charset) {
  if (charset == charsetUtf8 || charset == charsetUnicodeFss)
    return QString::fromUtf8(bytes, size);
  thread_local QStringDecoder decoder("windows-1251", QStringConverter::Flag::Stateless);
  return decoder.decode(QByteArrayView(bytes, size));
}

// The cp1251 bytes of text; *bad is the first character cp1251 cannot hold, or -1.
// The converter substitutes such characters, so a round trip shows them.
QByteArray encodeText(const QString &text, qsizetype *bad) {
  thread_local QStringEncoder encoder("windows-1251", QStringConverter::Flag::Stateless);
  QByteArray bytes = encoder.encode(text);
  *bad = -1;
  const QString back = decodeText(bytes.constData(), int(bytes.size()), charsetWin1251);
  if (back == text)
    return bytes;
  if (back.size() != text.size()) {
    *bad = cp1251::firstUnencodable(text);
    return bytes;
  }
  for (qsizetype i = 0; i < text.size(); ++i)
    if (back[i] != text[i]) {
      *bad = i;
      break;
    }
  return bytes;
}

double scaled(qint64 value, int scale) {
  double v = double(value);
  for (int i = 0; i < -scale; ++i)
    v /= 10;
  for (int i = 0; i < scale; ++i)
    v *= 10;
  return v;
}

ISC_DATE encodeDate(const QDate &d) {
  return fb::util()->encodeDate(d.year(), d.month(), d.day());
}

ISC_TIME encodeTime(const QTime &t) {
  return fb::util()->encodeTime(t.hour(), t.minute(), t.second(), t.msec() * 10);
}

QDate decodeDate(ISC_DATE v) {
  unsigned y, m, d;
  fb::util()->decodeDate(v, &y, &m, &d);
  return QDate(int(y), int(m), int(d));
}

QTime decodeTime(ISC_TIME v) {
  unsigned h, m, s, f;
  fb::util()->decodeTime(v, &h, &m, &s, &f);
  return QTime(int(h), int(m), int(s), int(f / 10));
}

// A value's wire form: which type and length its slot in the input message gets.
struct Wire {
  unsigned type = 0; // 0: keep the statement's own (NULL values)
  unsigned length = 0;
  QByteArray text;
  bool operator==(const Wire &o) const { return type == o.type && length == o.length; }
};

bool isNull(const QVariant &v) {
  if (!v.isValid() || v.isNull())
    return true;
  switch (v.typeId()) {
  case QMetaType::QDate:
    return !v.toDate().isValid();
  case QMetaType::QTime:
    return !v.toTime().isValid();
  case QMetaType::QDateTime:
    return !v.toDateTime().isValid();
  default:
    return false;
  }
}

} // namespace

struct Query::Impl {
  Transaction &tr;
  QString sql;
  NamedParams parsed;
  QList<QVariant> values; // by name index

  Ref<IStatement> statement;
  Ref<IMessageMetadata> statementIn; // as the statement describes its parameters
  Ref<IMessageMetadata> in;          // as this run sends them
  QList<Wire> inShape;
  Ref<IMessageMetadata> out;
  QByteArray inBuffer, outBuffer;
  bool isSelect = false;
  QList<Column> columns;
  struct Slot {
    unsigned type, offset, nullOffset, charset;
    int scale;
  };
  QList<Slot> outSlots;

  Ref<IResultSet> cursor;
  quint64 cursorGeneration = 0;
  QList<QVariant> row;

  Impl(Transaction &t, const QString &s) : tr(t), sql(s), parsed(parseNamedParams(s)) {
    values.resize(parsed.names.size());
  }

  void prepare() {
    if (statement)
      return;
    IAttachment *att = tr.attachment().handle();
    ITransaction *tra = tr.handle();
    const QByteArray text = cp1251::encode(parsed.sql);
    fb::call([&](ThrowStatusWrapper *st) {
      statement.reset(att->prepare(st, tra, text.size(), text.constData(), SQL_DIALECT_V6,
                                   IStatement::PREPARE_PREFETCH_METADATA));
      const unsigned type = statement->getType(st);
      isSelect = type == isc_info_sql_stmt_select || type == isc_info_sql_stmt_select_for_upd;
      statementIn.reset(statement->getInputMetadata(st));
      out.reset(statement->getOutputMetadata(st));
      describeOutput(st);
    });
  }

  void describeOutput(ThrowStatusWrapper *st) {
    const unsigned n = out->getCount(st);
    outBuffer.fill('\0', int(out->getMessageLength(st)));
    columns.clear();
    outSlots.clear();
    for (unsigned i = 0; i < n; ++i) {
      Column c;
      c.name = QString::fromUtf8(out->getAlias(st, i));
      c.relation = QString::fromUtf8(out->getRelation(st, i));
      const unsigned type = out->getType(st, i);
      const int scale = out->getScale(st, i);
      const unsigned charset = out->getCharSet(st, i);
      c.type = columnType(type, scale);
      c.scale = scale;
      c.nullable = out->isNullable(st, i);
      c.length = int(out->getLength(st, i));
      if (c.type == ColumnType::Text)
        c.length /= bytesPerChar(charset);
      columns.append(c);
      outSlots.append({type, out->getOffset(st, i), out->getNullOffset(st, i), charset, scale});
    }
  }

  Wire wireOf(const QVariant &v, unsigned position, ThrowStatusWrapper *st) {
    Wire w;
    if (isNull(v))
      return w;
    switch (v.typeId()) {
    case QMetaType::Bool:
      return {SQL_BOOLEAN, 1, {}};
    case QMetaType::Int:
    case QMetaType::Short:
    case QMetaType::UShort:
    case QMetaType::Char:
    case QMetaType::SChar:
    case QMetaType::UChar:
      return {SQL_LONG, 4, {}};
    case QMetaType::UInt:
    case QMetaType::Long:
    case QMetaType::ULong:
    case QMetaType::LongLong:
    case QMetaType::ULongLong:
      return {SQL_INT64, 8, {}};
    case QMetaType::Double:
    case QMetaType::Float:
      return {SQL_DOUBLE, 8, {}};
    case QMetaType::QDate:
      return {SQL_TYPE_DATE, 4, {}};
    case QMetaType::QTime:
      return {SQL_TYPE_TIME, 4, {}};
    case QMetaType::QDateTime:
      return {SQL_TIMESTAMP, 8, {}};
    default:
      break;
    }
    const QString text = v.toString();
    qsizetype bad = -1;
    w.text = encodeText(text, &bad);
    if (bad >= 0)
      throw DatabaseError(QStringLiteral("The text for parameter %1 contains the character \"%2\", "
                                         "which the database's Windows Cyrillic code page cannot hold.")
                              .arg(parsed.names[parsed.positions[position]], cp1251::characterAt(text, bad)));
    w.type = SQL_VARYING;
    // Sized to the parameter's own capacity when it has one, so rows of varying text
    // lengths share one message layout.
    unsigned capacity = 0;
    const unsigned declared = statementIn->getType(st, position);
    if (declared == SQL_VARYING || declared == SQL_TEXT)
      capacity = statementIn->getLength(st, position);
    w.length = std::max<unsigned>({capacity, unsigned(w.text.size()), 1});
    return w;
  }

  // Builds the input message for the current values.
  void bind() {
    prepare();
    const int n = int(parsed.positions.size());
    if (n == 0)
      return;
    fb::call([&](ThrowStatusWrapper *st) {
      QList<Wire> shape(n);
      for (int i = 0; i < n; ++i)
        shape[i] = wireOf(values[parsed.positions[i]], unsigned(i), st);
      if (!in || shape != inShape) {
        Ref<IMetadataBuilder> builder;
        builder.reset(statementIn->getBuilder(st));
        for (int i = 0; i < n; ++i) {
          const Wire &w = shape[i];
          if (w.type == 0)
            continue;
          builder->setType(st, i, w.type | 1);
          builder->setLength(st, i, w.length);
          builder->setScale(st, i, 0);
          if (w.type == SQL_VARYING)
            builder->setCharSet(st, i, charsetWin1251);
        }
        in.reset(builder->getMetadata(st));
        inShape = shape;
        inBuffer.fill('\0', int(in->getMessageLength(st)));
      }
      char *buf = inBuffer.data();
      for (int i = 0; i < n; ++i) {
        const QVariant &v = values[parsed.positions[i]];
        const Wire &w = shape[i];
        auto *nullFlag = reinterpret_cast<short *>(buf + in->getNullOffset(st, i));
        char *p = buf + in->getOffset(st, i);
        *nullFlag = w.type == 0 ? -1 : 0;
        switch (w.type) {
        case 0:
          break;
        case SQL_BOOLEAN: {
          const FB_BOOLEAN b = v.toBool() ? FB_TRUE : FB_FALSE;
          std::memcpy(p, &b, 1);
          break;
        }
        case SQL_LONG: {
          const ISC_LONG x = v.toInt();
          std::memcpy(p, &x, sizeof x);
          break;
        }
        case SQL_INT64: {
          const ISC_INT64 x = v.toLongLong();
          std::memcpy(p, &x, sizeof x);
          break;
        }
        case SQL_DOUBLE: {
          const double x = v.toDouble();
          std::memcpy(p, &x, sizeof x);
          break;
        }
        case SQL_TYPE_DATE: {
          const ISC_DATE x = encodeDate(v.toDate());
          std::memcpy(p, &x, sizeof x);
          break;
        }
        case SQL_TYPE_TIME: {
          const ISC_TIME x = encodeTime(v.toTime());
          std::memcpy(p, &x, sizeof x);
          break;
        }
        case SQL_TIMESTAMP: {
          const QDateTime dt = v.toDateTime();
          ISC_TIMESTAMP x{encodeDate(dt.date()), encodeTime(dt.time())};
          std::memcpy(p, &x, sizeof x);
          break;
        }
        case SQL_VARYING: {
          const ISC_USHORT len = ISC_USHORT(w.text.size());
          std::memcpy(p, &len, sizeof len);
          std::memcpy(p + sizeof len, w.text.constData(), len);
          break;
        }
        }
      }
    });
  }

  IMessageMetadata *inMeta() const { return parsed.positions.isEmpty() ? nullptr : in.p; }
  void *inData() { return parsed.positions.isEmpty() ? nullptr : inBuffer.data(); }

  void readRow() {
    const char *buf = outBuffer.constData();
    row.resize(outSlots.size());
    for (int i = 0; i < outSlots.size(); ++i) {
      const Slot &s = outSlots[i];
      short nullFlag;
      std::memcpy(&nullFlag, buf + s.nullOffset, sizeof nullFlag);
      if (nullFlag) {
        row[i] = QVariant();
        continue;
      }
      const char *p = buf + s.offset;
      row[i] = decode(s, p, i);
    }
  }

  QVariant decode(const Slot &s, const char *p, int column) {
    switch (s.type) {
    case SQL_SHORT: {
      ISC_SHORT x;
      std::memcpy(&x, p, sizeof x);
      return s.scale ? QVariant(scaled(x, s.scale)) : QVariant(int(x));
    }
    case SQL_LONG: {
      ISC_LONG x;
      std::memcpy(&x, p, sizeof x);
      return s.scale ? QVariant(scaled(x, s.scale)) : QVariant(int(x));
    }
    case SQL_INT64: {
      ISC_INT64 x;
      std::memcpy(&x, p, sizeof x);
      return s.scale ? QVariant(scaled(x, s.scale)) : QVariant(qlonglong(x));
    }
    case SQL_FLOAT: {
      float x;
      std::memcpy(&x, p, sizeof x);
      return double(x);
    }
    case SQL_DOUBLE:
    case SQL_D_FLOAT: {
      double x;
      std::memcpy(&x, p, sizeof x);
      return x;
    }
    case SQL_TEXT:
      if (s.charset == charsetOctets)
        return QByteArray(p, columns[column].length);
      return decodeText(p, int(columns[column].length * bytesPerChar(s.charset)), s.charset);
    case SQL_VARYING: {
      ISC_USHORT len;
      std::memcpy(&len, p, sizeof len);
      if (s.charset == charsetOctets)
        return QByteArray(p + sizeof len, len);
      return decodeText(p + sizeof len, len, s.charset);
    }
    case SQL_TYPE_DATE: {
      ISC_DATE x;
      std::memcpy(&x, p, sizeof x);
      return decodeDate(x);
    }
    case SQL_TYPE_TIME: {
      ISC_TIME x;
      std::memcpy(&x, p, sizeof x);
      return decodeTime(x);
    }
    case SQL_TIMESTAMP: {
      ISC_TIMESTAMP x;
      std::memcpy(&x, p, sizeof x);
      return QDateTime(decodeDate(x.timestamp_date), decodeTime(x.timestamp_time));
    }
    case SQL_BOOLEAN:
      return *reinterpret_cast<const FB_BOOLEAN *>(p) != FB_FALSE;
    default:
      throw DatabaseError(QStringLiteral("Column %1 has a type this program cannot read (%2).")
                              .arg(columns[column].name)
                              .arg(s.type));
    }
  }

  void closeCursor() {
    if (!cursor)
      return;
    IResultSet *rs = cursor.p;
    cursor.p = nullptr;
    if (tr.generation() == cursorGeneration && tr.isActive()) {
      try {
        fb::call([&](ThrowStatusWrapper *st) { rs->close(st); }); // releases on success
        return;
      } catch (const DatabaseError &) {
      }
    }
    rs->release();
  }
};

Query::Query(Transaction &transaction, const QString &sql) : d(std::make_unique<Impl>(transaction, sql)) {}

Query::~Query() {
  d->closeCursor();
}

Transaction &Query::transaction() const {
  return d->tr;
}
const QString &Query::sql() const {
  return d->sql;
}
const QStringList &Query::paramNames() const {
  return d->parsed.names;
}

bool Query::hasParam(const QString &name) const {
  return d->parsed.names.contains(name.toUpper());
}

void Query::setParams(const QVariantMap &values) {
  for (auto it = values.begin(); it != values.end(); ++it)
    setParam(it.key(), it.value());
}

void Query::setParam(const QString &name, const QVariant &value) {
  const qsizetype i = d->parsed.names.indexOf(name.toUpper());
  if (i < 0)
    throw DatabaseError(QStringLiteral("The statement has no parameter %1.").arg(name));
  d->values[i] = value;
}

QVariant Query::param(const QString &name) const {
  const qsizetype i = d->parsed.names.indexOf(name.toUpper());
  return i < 0 ? QVariant() : d->values[i];
}

void Query::execute() {
  close();
  d->prepare();
  if (d->isSelect) {
    open();
    if (!fetch())
      d->row.clear();
    close();
    return;
  }
  d->bind();
  ITransaction *tra = d->tr.handle();
  fb::call([&](ThrowStatusWrapper *st) {
    const bool hasOutput = !d->outSlots.isEmpty();
    d->statement->execute(st, tra, d->inMeta(), d->inData(), hasOutput ? d->out.p : nullptr,
                          hasOutput ? d->outBuffer.data() : nullptr);
  });
  if (!d->outSlots.isEmpty())
    d->readRow();
}

void Query::open() {
  close();
  d->bind();
  ITransaction *tra = d->tr.handle();
  fb::call([&](ThrowStatusWrapper *st) {
    d->cursor.reset(d->statement->openCursor(st, tra, d->inMeta(), d->inData(), d->out.p, 0));
  });
  d->cursorGeneration = d->tr.generation();
  d->row.clear();
}

bool Query::fetch() {
  if (!d->cursor)
    return false;
  if (d->tr.generation() != d->cursorGeneration)
    throw DatabaseError(QStringLiteral("The rows can no longer be read: their transaction has ended."));
  const int result =
      fb::call([&](ThrowStatusWrapper *st) { return d->cursor->fetchNext(st, d->outBuffer.data()); });
  if (result != IStatus::RESULT_OK) {
    d->closeCursor();
    return false;
  }
  d->readRow();
  return true;
}

void Query::close() {
  d->closeCursor();
}
bool Query::isOpen() const {
  return bool(d->cursor);
}

const QList<Column> &Query::columns() {
  d->prepare();
  return d->columns;
}

int Query::columnIndex(const QString &name) const {
  d->prepare();
  const QList<Column> &cols = d->columns;
  for (int i = 0; i < cols.size(); ++i)
    if (cols[i].name.compare(name, Qt::CaseInsensitive) == 0)
      return i;
  return -1;
}

const QList<QVariant> &Query::row() const {
  return d->row;
}

QVariant Query::value(int column) const {
  return column >= 0 && column < d->row.size() ? d->row[column] : QVariant();
}

QVariant Query::value(const QString &name) const {
  return value(columnIndex(name));
}
