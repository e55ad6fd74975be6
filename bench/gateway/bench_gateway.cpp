// SendSMS calls per second through the client (a new proxy per message, as the dispatch does)
// against a local gateway that answers at once, beside a bare libcurl loop that posts the
// same bytes to the same server with one handle. Both run in turns in the same process.
#include "LocalGateway.h"

#include "gateway/Sms.h"

#include <curl/curl.h>

#include <QCoreApplication>

#include <algorithm>
#include <chrono>
#include <cstdio>
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

struct Rates {
  double wall; // calls per second of elapsed time
  double cpu;  // calls per second of process CPU time
};

size_t discard(char *, size_t size, size_t count, void *) {
  return size * count;
}

double seconds(std::chrono::nanoseconds span) {
  return std::chrono::duration<double>(span).count();
}

// Wall time and the CPU time of the whole process (client and server threads alike); on a
// shared machine the second is the steadier measure of what a call costs.
struct Span {
  std::chrono::steady_clock::time_point wall = std::chrono::steady_clock::now();
  timespec cpu = cpuNow();

  static timespec cpuNow() {
    timespec now{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &now);
    return now;
  }
  Rates rates(int calls) const {
    const timespec end = cpuNow();
    const double cpuSeconds = double(end.tv_sec - cpu.tv_sec) + double(end.tv_nsec - cpu.tv_nsec) / 1e9;
    return {calls / seconds(std::chrono::steady_clock::now() - wall), calls / cpuSeconds};
  }
};

Rates clientRates(const QString &url, int calls) {
  const Span span;
  for (int i = 0; i < calls; ++i) {
    const ArrayOfInt items = CreateGatewayProxy(false, url)
                                 ->SendSMS(QStringLiteral("login"), QStringLiteral("secret"),
                                           QStringLiteral("+79161234567"), message);
    if (items.size() != 3)
      std::abort();
  }
  return span.rates(calls);
}

// The same request, recorded from the client, posted with one handle and fixed options.
Rates bareRates(const ReceivedRequest &request, const QString &url, int calls) {
  CURL *curl = curl_easy_init();
  const QByteArray address = url.toLatin1();
  curl_slist *headers = nullptr;
  for (const QByteArray &line : request.raw.left(request.raw.indexOf("\r\n\r\n")).split('\n').mid(2))
    if (!line.trimmed().toLower().startsWith("content-length"))
      headers = curl_slist_append(headers, line.trimmed().constData());
  headers = curl_slist_append(headers, "Accept:");
  headers = curl_slist_append(headers, "Expect:");
  curl_easy_setopt(curl, CURLOPT_URL, address.constData());
  curl_easy_setopt(curl, CURLOPT_HTTPHEADER, headers);
  curl_easy_setopt(curl, CURLOPT_POSTFIELDS, request.body.constData());
  curl_easy_setopt(curl, CURLOPT_POSTFIELDSIZE_LARGE, curl_off_t(request.body.size()));
  curl_easy_setopt(curl, CURLOPT_WRITEFUNCTION, discard);
  curl_easy_setopt(curl, CURLOPT_NOSIGNAL, 1L);
  const Span span;
  for (int i = 0; i < calls; ++i)
    if (curl_easy_perform(curl) != CURLE_OK)
      std::abort();
  const Rates rates = span.rates(calls);
  curl_slist_free_all(headers);
  curl_easy_cleanup(curl);
  return rates;
}

double median(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  return values[values.size() / 2];
}

} // namespace

int main(int argc, char **argv) {
  QCoreApplication app(argc, argv);
  qputenv("no_proxy", "127.0.0.1");
  qputenv("NO_PROXY", "127.0.0.1");
  LocalGateway server;
  server.answerWith({200, "OK", "text/xml; charset=utf-8", answer, false, false});
  const QString url = server.url();

  clientRates(url, 200); // warm-up, and a request to copy for the bare loop
  const ReceivedRequest request = server.requests().last();
  bareRates(request, url, 200);

  // Short rounds in turns, so that both sides meet the same load of the machine.
  constexpr int calls = 1000;
  constexpr int rounds = 15;
  std::vector<double> clientWall, bareWall, clientCpu, bareCpu;
  for (int round = 0; round < rounds; ++round) {
    server.clearRequests();
    const Rates bare = bareRates(request, url, calls);
    server.clearRequests();
    const Rates client = clientRates(url, calls);
    bareWall.push_back(bare.wall);
    bareCpu.push_back(bare.cpu);
    clientWall.push_back(client.wall);
    clientCpu.push_back(client.cpu);
  }
  const double bestBare = *std::max_element(bareWall.begin(), bareWall.end());
  const double bestClient = *std::max_element(clientWall.begin(), clientWall.end());
  std::printf("bench_gateway: %d rounds of %d SendSMS calls each side, in turns\n", rounds, calls);
  std::printf("| benchmark | baseline | measured | ratio |\n|---|---|---|---|\n");
  std::printf("| gateway SendSMS calls/s, best round (client vs bare libcurl loop) | %.0f | %.0f | %.2f |\n",
              bestBare, bestClient, bestClient / bestBare);
  std::printf(
      "| gateway SendSMS calls per CPU-second, median (client vs bare libcurl loop) | %.0f | %.0f | %.2f |\n",
      median(bareCpu), median(clientCpu), median(clientCpu) / median(bareCpu));
  return 0;
}
