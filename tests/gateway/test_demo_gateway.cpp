// The demo gateway through the program's own client: every message accepted with a number of
// its own and its part count, delivered once the delay has passed, and what it prints.
#include "DemoGateway.h"
#include "GatewayTestFiles.h"
#include "LocalGateway.h"

#include "gateway/Sms.h"

#include <QtTest>

class TestDemoGateway : public QObject {
  Q_OBJECT

  std::chrono::steady_clock::time_point now_{};
  QStringList printed_;
  std::unique_ptr<DemoGateway> demo_;
  std::unique_ptr<LocalGateway> server_;

  std::unique_ptr<GatewayProxy> proxy() {
    return std::make_unique<GatewayProxy>(server_->url(), false, QStringLiteral("http://sms.test/ns"));
  }

private slots:
  void initTestCase() { keepTrafficLocal(); }
  void init() {
    printed_.clear();
    demo_ = std::make_unique<DemoGateway>(
        std::chrono::seconds(5), [this](const QString &line) { printed_ << line; }, [this] { return now_; });
    server_ = std::make_unique<LocalGateway>();
    server_->setResponder([this](const ReceivedRequest &r) { return demo_->answer(r); });
  }
  void cleanup() {
    server_.reset();
    demo_.reset();
  }

  void acceptsEveryMessage() {
    QCOMPARE(proxy()->SendSMS("shop", "pw", "+79001234501", QStringLiteral(u"Привет, Анна & Co")),
             (ArrayOfInt{1, 0, 1}));
    QCOMPARE(proxy()->SendSMS("shop", "pw", "79001234502", QString(300, QLatin1Char('a'))),
             (ArrayOfInt{2, 0, 3}));
    QCOMPARE(printed_.value(0),
             QStringLiteral(u"SendSMS #1 to +79001234501 (login \"shop\", 1 part(s)): Привет, "
                            u"Анна & Co"));
    QVERIFY(printed_.value(1).startsWith(
        QStringLiteral("SendSMS #2 to 79001234502 (login \"shop\", 3 part(s)): ")));
  }

  void deliveredAfterTheDelay() {
    proxy()->SendSMS("shop", "pw", "79001234501", "Hi");
    QCOMPARE(proxy()->VerifySMSStatus(1), (ArrayOfAnyType{"1", "st_send"}));
    now_ += std::chrono::seconds(5);
    QCOMPARE(proxy()->VerifySMSStatus(1), (ArrayOfAnyType{"1", "st_deliver"}));
    QCOMPARE(proxy()->VerifySMSStatus(7), (ArrayOfAnyType{"7", "st_unknown"}));
    QCOMPARE(printed_.mid(1), (QStringList{"VerifySMSStatus #1: st_send", "VerifySMSStatus #1: st_deliver",
                                           "VerifySMSStatus #7: st_unknown"}));
  }

  void refusesWhatItDoesNotOffer() {
    QVERIFY_THROWS_EXCEPTION(GatewayError, proxy()->SendSeveralSMS("shop", "pw", {{"79001234501", "Hi"}}));
    QCOMPARE(printed_, QStringList{"refused SendSeveralSMS: the demo gateway does not offer it"});
  }
};

QTEST_GUILESS_MAIN(TestDemoGateway)
#include "test_demo_gateway.moc"
