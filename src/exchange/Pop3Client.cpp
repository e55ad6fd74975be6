#include "exchange/Pop3Client.h"

#include "exchange/MailError.h"

#include <curl/curl.h>

#include <QList>

#include <cmath>
#include <mutex>

namespace mail {

namespace {

using Clock = std::chrono::steady_clock;

void ensureCurlInitialised() {
  static std::once_flag once;
  static CURLcode rc = CURLE_OK;
  std::call_once(once, [] { rc = curl_global_init(CURL_GLOBAL_ALL); });
  if (rc != CURLE_OK)
    throw MailError(QStringLiteral("The mail library could not be initialised: %1")
                        .arg(QString::fromUtf8(curl_easy_strerror(rc))));
}

QString seconds(std::chrono::milliseconds span) {
  return QString::number(double(span.count()) / 1000.0);
}

QByteArray withoutLineEnd(const char *data, size_t length) {
  while (length > 0 && (data[length - 1] == '\n' || data[length - 1] == '\r'))
    --length;
  return QByteArray(data, qsizetype(length));
}

} // namespace

// One easy handle with what its callbacks fill. The connection stays open in the handle
// between transfers, so the login is done once; cleaning the handle up sends QUIT.
struct Pop3Client::Session {
  CURL *curl = nullptr;
  char detail[CURL_ERROR_SIZE] = {};
  QList<QByteArray> lines; // server lines of the current transfer, line ends removed
  QByteArray body;
  std::chrono::milliseconds idleLimit{};
  Clock::time_point lastMove{};
  bool idleExpired = false;

  Session() {
    ensureCurlInitialised();
    curl = curl_easy_init();
    if (!curl)
      throw MailError(QStringLiteral("The mail library could not create a connection handle"));
  }
  ~Session() { curl_easy_cleanup(curl); }
  Session(const Session &) = delete;
  Session &operator=(const Session &) = delete;

  template <typename Value> void set(CURLoption option, Value value) {
    const CURLcode rc = curl_easy_setopt(curl, option, value);
    if (rc != CURLE_OK)
      throw MailError(QStringLiteral("The mail library refused an option: %1")
                          .arg(QString::fromUtf8(curl_easy_strerror(rc))));
  }

  static size_t onLine(char *data, size_t size, size_t count, void *target) {
    auto *s = static_cast<Session *>(target);
    s->lines.append(withoutLineEnd(data, size * count));
    s->lastMove = Clock::now();
    return size * count;
  }
  static size_t onBody(char *data, size_t size, size_t count, void *target) {
    auto *s = static_cast<Session *>(target);
    s->body.append(data, qsizetype(size * count));
    s->lastMove = Clock::now();
    return size * count;
  }
  // libcurl calls this at least once a second while a transfer runs, also while it waits.
  static int onProgress(void *target, curl_off_t, curl_off_t, curl_off_t, curl_off_t) {
    auto *s = static_cast<Session *>(target);
    s->idleExpired = Clock::now() - s->lastMove > s->idleLimit;
    return s->idleExpired ? 1 : 0;
  }

  void configure(const MailTimeouts &timeouts) {
    set(CURLOPT_PROTOCOLS_STR, "pop3");
    set(CURLOPT_NOSIGNAL, 1L);
    set(CURLOPT_ERRORBUFFER, detail);
    set(CURLOPT_HEADERFUNCTION, onLine);
    set(CURLOPT_HEADERDATA, this);
    set(CURLOPT_WRITEFUNCTION, onBody);
    set(CURLOPT_WRITEDATA, this);
    set(CURLOPT_XFERINFOFUNCTION, onProgress);
    set(CURLOPT_XFERINFODATA, this);
    set(CURLOPT_NOPROGRESS, 0L);
    set(CURLOPT_CONNECTTIMEOUT_MS, long(timeouts.connect.count()));
    // libcurl's wait for each answer line (QUIT's too, when the session closes), in whole seconds.
    set(CURLOPT_SERVER_RESPONSE_TIMEOUT, long(std::max(1.0, std::ceil(timeouts.idle.count() / 1000.0))));
    idleLimit = timeouts.idle;
  }

  CURLcode perform() {
    lines.clear();
    body.clear();
    detail[0] = '\0';
    idleExpired = false;
    lastMove = Clock::now();
    return curl_easy_perform(curl);
  }

  bool tcpConnected() const {
    curl_off_t connectTime = 0;
    curl_easy_getinfo(curl, CURLINFO_CONNECT_TIME_T, &connectTime);
    return connectTime > 0;
  }

  QByteArray lastRefusal() const {
    for (qsizetype i = lines.size() - 1; i >= 0; --i)
      if (lines[i].startsWith("-ERR"))
        return lines[i];
    return {};
  }
};

namespace {

QString where(const Pop3Address &address) {
  return address.host.contains(u':') ? QStringLiteral("[%1]:%2").arg(address.host).arg(address.port)
                                     : QStringLiteral("%1:%2").arg(address.host).arg(address.port);
}

} // namespace

Pop3Client::Pop3Client(const MailTimeouts &timeouts) : timeouts_(timeouts) {}

Pop3Client::~Pop3Client() {
  close();
}

Pop3Client::Opened Pop3Client::open(const Pop3Address &address, const QString &user,
                                    const QString &password) {
  close();
  address_ = address;
  session_ = std::make_unique<Session>();
  Session &s = *session_;
  s.configure(timeouts_);
  const QByteArray url = address.url();
  const QByteArray userBytes = user.toUtf8();
  const QByteArray passwordBytes = password.toUtf8();
  s.set(CURLOPT_URL, url.constData());
  s.set(CURLOPT_USERNAME, userBytes.constData());
  s.set(CURLOPT_PASSWORD, passwordBytes.constData());
  // STAT goes with the login: libcurl logs in as part of its first command.
  s.set(CURLOPT_CUSTOMREQUEST, "STAT");
  s.set(CURLOPT_NOBODY, 1L);

  const CURLcode rc = s.perform();
  if (rc != CURLE_OK) {
    const bool timedOut =
        rc == CURLE_OPERATION_TIMEDOUT || (rc == CURLE_ABORTED_BY_CALLBACK && s.idleExpired);
    const bool greetedBadly = !s.lines.isEmpty() && !s.lines.first().startsWith("+OK");
    const bool hungUp = s.lines.isEmpty() && !timedOut && s.tcpConnected();
    if (greetedBadly || hungUp) {
      session_.reset();
      return Opened::NotReady;
    }
    QString text;
    if (timedOut)
      text = s.lines.isEmpty()
                 ? QStringLiteral("The mail server %1 did not answer within %2 s.")
                       .arg(where(address), seconds(s.idleExpired ? timeouts_.idle : timeouts_.connect))
                 : QStringLiteral("The mail server %1 stopped answering during the login; the connection "
                                  "was abandoned.")
                       .arg(where(address));
    else if (rc == CURLE_LOGIN_DENIED)
      text = QStringLiteral("The mail server %1 refused the login of \"%2\": %3")
                 .arg(where(address), user, QString::fromUtf8(s.lastRefusal()));
    else if (!s.lastRefusal().isEmpty())
      text = QStringLiteral("The mail server %1 refused STAT: %2")
                 .arg(where(address), QString::fromUtf8(s.lastRefusal()));
    else
      text = QStringLiteral("%1 - mail server %2")
                 .arg(s.detail[0] ? QString::fromUtf8(s.detail) : QString::fromUtf8(curl_easy_strerror(rc)),
                      where(address));
    session_.reset();
    throw MailError(text);
  }

  // "+OK count size"
  const QByteArray answer = s.lines.isEmpty() ? QByteArray() : s.lines.last();
  const QList<QByteArray> words = answer.simplified().split(' ');
  bool ok = false;
  const int count = words.size() >= 2 && words[0] == "+OK" ? words[1].toInt(&ok) : 0;
  if (!ok || count < 0) {
    session_.reset();
    throw MailError(
        QStringLiteral("The mail server %1 answered STAT with \"%2\", which holds no message count.")
            .arg(where(address), QString::fromUtf8(answer)));
  }
  count_ = count;
  open_ = true;
  return Opened::Open;
}

QByteArray Pop3Client::retrieve(int number) {
  if (!open_)
    throw MailError(QStringLiteral("The mailbox is not open."));
  Session &s = *session_;
  const QByteArray url = address_.url(QByteArray::number(number));
  s.set(CURLOPT_URL, url.constData());
  s.set(CURLOPT_CUSTOMREQUEST, static_cast<const char *>(nullptr));
  s.set(CURLOPT_NOBODY, 0L);
  const CURLcode rc = s.perform();
  if (rc == CURLE_OK)
    return std::move(s.body);

  QString text;
  // libcurl's own wait for an answer line counts in whole seconds and may end first.
  if ((rc == CURLE_ABORTED_BY_CALLBACK && s.idleExpired) || rc == CURLE_OPERATION_TIMEDOUT)
    text = QStringLiteral("The mail server %1 sent nothing for %2 s while sending message %3; the import "
                          "was abandoned.")
               .arg(where(address_), seconds(timeouts_.idle))
               .arg(number);
  else if (!s.lastRefusal().isEmpty())
    text = QStringLiteral("The mail server %1 refused RETR %2: %3")
               .arg(where(address_))
               .arg(number)
               .arg(QString::fromUtf8(s.lastRefusal()));
  else
    text = QStringLiteral("%1 - mail server %2, message %3")
               .arg(s.detail[0] ? QString::fromUtf8(s.detail) : QString::fromUtf8(curl_easy_strerror(rc)),
                    where(address_))
               .arg(number);
  throw MailError(text);
}

void Pop3Client::close() noexcept {
  session_.reset(); // libcurl says QUIT as it lets the connection go
  open_ = false;
  count_ = 0;
}

} // namespace mail
