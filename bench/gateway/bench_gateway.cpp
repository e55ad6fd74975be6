// SendSMS calls per second through the client (a new proxy per message, as the dispatch does)
// against a local gateway that answers at once, beside a bare libcurl loop that posts the
// same bytes to the same server with one handle and fixed options.
//
//   bench_gateway [--rounds R] [--calls N]   rounds of N calls each side, in turns
//   bench_gateway --only client|bare --calls N
//       N calls of one side in the function clientCalls or bareCalls, for counting
//       instructions with callgrind (see count_instructions.sh)
#include "BenchGateway.h"
#include "LocalGateway.h"

#include "gateway/Sms.h"

#include "shared/Median.h"

#include <curl/curl.h>

#include <QCoreApplication>
#include <QStringList>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <vector>

namespace {

const QByteArray answer =
    "<?xml version=\"1.0\" encoding=\"utf-8\"?><soap:Envelope "
    "xmlns:soap=\"http://schemas.xmlsoap.org/soap/envelope/\"><soap:Body><SendSMSResponse "
    "xmlns=\"http://sms.test/ns\"><SendSMSResult><int>57</int><int>0</int><int>2</int></SendSMSResult>"
    "</SendSMSResponse></soap:Body></soap:Envelope>";

const QString message =
    QStringLiteral("Уважаемый Иван Петрович! Поздравляем вас с днём рождения. Ваш магазин");

size_t discard(char *, size_t size, size_t count, void *) {
  return size * count;
}

// The request the client puts on the wire, recorded once by the recording server.
ReceivedRequest recordedRequest() {
  LocalGateway recorder;
  recorder.answerWith({200, "OK", "text/xml; charset=utf-8", answer, false, false});
  CreateGatewayProxy(false, recorder.url())
      ->SendSMS(QStringLiteral("login"), QStringLiteral("secret"), QStringLiteral("+79161234567"), message);
  return recorder.requests().value(0);
}

// The bare loop: one handle, options set once, the recorded header lines and body.
class BareClient {
public:
  BareClient(const ReceivedRequest &request, const QString &url) : body_(request.body), url_(url.toLatin1()) {
    const QByteArray head = request.raw.left(request.raw.indexOf("\r\n\r\n"));
    for (const QByteArray &line : head.split('\n').mid(2)) // after the request line and Host
      if (!line.trimmed().toLower().startsWith("content-length"))
        headers_ = curl_slist_append(headers_, line.trimmed().constData());
    headers_ = curl_slist_append(headers_, "Accept:");
    headers_ = curl_slist_append(headers_, "Expect:");
    curl_ = curl_easy_init();
    curl_easy_setopt(curl_, CURLOPT_URL, url_.constData());
    curl_easy_setopt(curl_, CURLOPT_HTTPHEADER, headers_);
    curl_easy_setopt(curl_, CURLOPT_POSTFIELDS, body_.constData());
    curl_easy_setopt(curl_, CURLOPT_POSTFIELDSIZE_LARGE, curl_off_t(body_.size()));
    curl_easy_setopt(curl_, CURLOPT_WRITEFUNCTION, discard);
    curl_easy_setopt(curl_, CURLOPT_NOSIGNAL, 1L);
  }
  ~BareClient() {
    curl_easy_cleanup(curl_);
    curl_slist_free_all(headers_);
  }
  void call() {
    if (curl_easy_perform(curl_) != CURLE_OK)
      std::abort();
  }

private:
  QByteArray body_;
  QByteArray url_;
  curl_slist *headers_ = nullptr;
  CURL *curl_ = nullptr;
};

__attribute__((noinline)) void bareCalls(BareClient &bare, int calls) {
  for (int i = 0; i < calls; ++i)
    bare.call();
}

__attribute__((noinline)) void clientCalls(const QString &url, int calls) {
  for (int i = 0; i < calls; ++i) {
    const ArrayOfInt items = CreateGatewayProxy(false, url)
                                 ->SendSMS(QStringLiteral("login"), QStringLiteral("secret"),
                                           QStringLiteral("+79161234567"), message);
    if (items.size() != 3)
      std::abort();
  }
}

double cpuSeconds(clockid_t clock) {
  timespec now{};
  clock_gettime(clock, &now);
  return double(now.tv_sec) + double(now.tv_nsec) / 1e9;
}

struct Round {
  double rate;       // calls per second of elapsed time
  double threadCpu;  // CPU time of the calling thread per call, microseconds
  double processCpu; // CPU time of the whole process (server included) per call, microseconds
};

template <typename Calls> Round measure(int calls, Calls run) {
  const auto wall = std::chrono::steady_clock::now();
  const double thread = cpuSeconds(CLOCK_THREAD_CPUTIME_ID);
  const double process = cpuSeconds(CLOCK_PROCESS_CPUTIME_ID);
  run(calls);
  const double elapsed = std::chrono::duration<double>(std::chrono::steady_clock::now() - wall).count();
  return {calls / elapsed, (cpuSeconds(CLOCK_THREAD_CPUTIME_ID) - thread) * 1e6 / calls,
          (cpuSeconds(CLOCK_PROCESS_CPUTIME_ID) - process) * 1e6 / calls};
}

int option(const QStringList &args, const QString &name, int fallback) {
  const qsizetype at = args.indexOf(name);
  return at >= 0 && at + 1 < args.size() ? args[at + 1].toInt() : fallback;
}

} // namespace

int main(int argc, char **argv) {
  QCoreApplication app(argc, argv);
  qputenv("no_proxy", "127.0.0.1");
  qputenv("NO_PROXY", "127.0.0.1");
  const QStringList args = app.arguments();
  const int rounds = option(args, QStringLiteral("--rounds"), 21);
  const int calls = option(args, QStringLiteral("--calls"), 1000);
  const QString only = args.indexOf(QStringLiteral("--only")) >= 0
                           ? args.value(args.indexOf(QStringLiteral("--only")) + 1)
                           : QString();

  const ReceivedRequest request = recordedRequest();
  BenchGateway server(answer);
  const QString url = server.url();
  BareClient bare(request, url);
  bareCalls(bare, 1); // warm-up outside the counted functions: connections, first allocations
  clientCalls(url, 1);
  if (only == QLatin1String("bare")) {
    bareCalls(bare, calls);
    return 0;
  }
  if (only == QLatin1String("client")) {
    clientCalls(url, calls);
    return 0;
  }
  bareCalls(bare, 200);
  clientCalls(url, 200);

  // Rounds in turns, the side going first alternating, so that both meet the same load.
  std::vector<double> bareRate, clientRate, ratio, bareThread, clientThread, bareProcess, clientProcess;
  for (int r = 0; r < rounds; ++r) {
    Round b{}, c{};
    if (r % 2) {
      c = measure(calls, [&](int n) { clientCalls(url, n); });
      b = measure(calls, [&](int n) { bareCalls(bare, n); });
    } else {
      b = measure(calls, [&](int n) { bareCalls(bare, n); });
      c = measure(calls, [&](int n) { clientCalls(url, n); });
    }
    bareRate.push_back(b.rate);
    clientRate.push_back(c.rate);
    ratio.push_back(c.rate / b.rate);
    bareThread.push_back(b.threadCpu);
    clientThread.push_back(c.threadCpu);
    bareProcess.push_back(b.processCpu);
    clientProcess.push_back(c.processCpu);
  }
  std::printf("bench_gateway: %d rounds of %d SendSMS calls each side, in turns\n", rounds, calls);
  std::printf("| measure | bare libcurl loop | client | ratio |\n|---|---|---|---|\n");
  std::printf("| calls/s, median round | %.0f /s | %.0f /s | %.2f |\n", median(bareRate), median(clientRate),
              median(clientRate) / median(bareRate));
  std::printf("| calls/s, median of the per-round ratios | | | %.2f |\n", median(ratio));
  std::printf("| calls/s, best round | %.0f /s | %.0f /s | %.2f |\n",
              *std::max_element(bareRate.begin(), bareRate.end()),
              *std::max_element(clientRate.begin(), clientRate.end()),
              *std::max_element(clientRate.begin(), clientRate.end()) /
                  *std::max_element(bareRate.begin(), bareRate.end()));
  std::printf("| CPU of the calling thread per call, median | %.1f us | %.1f us | %.2f |\n",
              median(bareThread), median(clientThread), median(bareThread) / median(clientThread));
  std::printf("| CPU of the process per call (server too), median | %.1f us | %.1f us | %.2f |\n",
              median(bareProcess), median(clientProcess), median(bareProcess) / median(clientProcess));
  return 0;
}
