// The dispatch timer on the dispatch page: the timer dialog, arming, the countdown in the
// status panel, firing and disarming, with a clock the test moves.
#include "common/LangConstants.h"
#include "dispatch/Worker.h"
#include "gui/dispatch/DispatchPage.h"
#include "gui/dispatch/DispatchTimer.h"
#include "gui/dispatch/StartButton.h"
#include "gui/dispatch/TFSetTimer.h"
#include "support/AppFolder.h"
#include "support/ModalAnswer.h"
#include "support/ScriptedDialogs.h"

#include <QApplication>
#include <QDateEdit>
#include <QGroupBox>
#include <QLabel>
#include <QTimeEdit>
#include <QtTest>

#include <condition_variable>
#include <memory>
#include <mutex>

namespace {

const QDateTime start(QDate(2024, 3, 10), QTime(14, 0, 0));

// A dispatch worker whose run lasts until the test lets it end.
class HeldWorker : public Worker {
public:
  ~HeldWorker() override {
    release();
    while (busy())
      QThread::msleep(1);
  }
  void release() {
    std::lock_guard lock(mutex_);
    released_ = true;
    cv_.notify_all();
  }
  std::atomic<int> runs{0};

protected:
  void job() override {
    ++runs;
    std::unique_lock lock(mutex_);
    cv_.wait(lock, [this] { return released_; });
  }

private:
  std::mutex mutex_;
  std::condition_variable cv_;
  bool released_ = false;
};

// Runs answer on the timer dialog once it is up.
void whenDialogOpens(std::function<void(TFSetTimer &)> answer) {
  whenModalOpens<TFSetTimer>(std::move(answer), "the timer dialog");
}

} // namespace

class TestDispatchTimer : public QObject {
  Q_OBJECT

  std::unique_ptr<AppFolder> folder_; // the shipped language files
  std::unique_ptr<ScriptedDialogs> dialogs_;
  QDateTime now_;
  std::optional<QDateTime> chosen_; // what the scripted dialog answers
  int starts_ = 0;
  std::function<void()> start_;
  std::unique_ptr<DispatchPage> page_;
  std::unique_ptr<QLabel> panel_;
  std::unique_ptr<StartButton> button_;
  std::unique_ptr<DispatchTimer> timer_;

  void make(bool realDialog = false) {
    page_ = std::make_unique<DispatchPage>();
    panel_ = std::make_unique<QLabel>();
    button_ = std::make_unique<StartButton>(*page_->tbStart);
    DispatchTimer::Opener opener;
    if (!realDialog)
      opener = [this](const QDateTime &) { return chosen_; };
    timer_ = std::make_unique<DispatchTimer>(
        *page_, *panel_, *button_, [this] { start_ ? start_() : void(++starts_); }, [this] { return now_; },
        opener);
  }
  void armFor(const QDateTime &target) {
    chosen_ = target;
    QTest::mouseClick(page_->tbTimer, Qt::LeftButton);
  }
  QString result() const { return page_->mmResult->toPlainText(); }

private slots:
  void initTestCase() {
    folder_ = std::make_unique<AppFolder>();
    folder_->copyShippedFiles();
    reloadLangFiles();
    dialogs_ = std::make_unique<ScriptedDialogs>();
    QLocale::setDefault(QLocale(QLocale::Russian, QLocale::Russia));
    LangConstants &texts = LangConst();
    texts.stAutoSend = QStringLiteral(u"Рассылка запланирована на");
    texts.stTime = QStringLiteral(u"До рассылки:");
    texts.stSpan = QStringLiteral(u" дн.");
    texts.stAutoStop = QStringLiteral(u"Рассылка по таймеру отменена.");
    texts.stStop = QStringLiteral(u"Остановить");
  }
  void cleanupTestCase() {
    dialogs_.reset();
    folder_.reset();
  }
  void init() {
    now_ = start;
    chosen_.reset();
    starts_ = 0;
    start_ = nullptr;
  }
  void cleanup() {
    timer_.reset();
    button_.reset();
    panel_.reset();
    page_.reset();
  }

  void armingShowsTheTargetAndTheStopFace() {
    make();
    page_->mmResult->setPlainText("an earlier run");
    page_->pbSend->setMaximum(10);
    page_->pbSend->setValue(7);
    armFor(QDateTime(QDate(2024, 3, 11), QTime(16, 0, 0)));
    QVERIFY(timer_->armed());
    QCOMPARE(timer_->TimerTarget(), QDateTime(QDate(2024, 3, 11), QTime(16, 0, 0)));
    QCOMPARE(result(), QStringLiteral(u"Рассылка запланирована на 11.03.2024 16:00:00"));
    QCOMPARE(page_->pbSend->value(), 0);
    QCOMPARE(page_->tbStart->text(), QStringLiteral(u"Остановить"));
    QVERIFY(timer_->timer().isActive());
    QCOMPARE(timer_->timer().interval(), 1000);
    QCOMPARE(starts_, 0);
  }

  void countdownInTheStatusPanel_data() {
    QTest::addColumn<qint64>("ahead");      // seconds
    QTest::addColumn<QStringList>("shown"); // after the first and the second tick
    QTest::newRow("26 hours") << qint64(26 * 3600)
                              << QStringList{QStringLiteral(u"До рассылки: 1 дн., 02:00:00"),
                                             QStringLiteral(u"До рассылки: 1 дн., 01:59:59")};
    QTest::newRow("30 minutes") << qint64(30 * 60)
                                << QStringList{QStringLiteral(u"До рассылки: 00:30:00"),
                                               QStringLiteral(u"До рассылки: 00:29:59")};
  }
  void countdownInTheStatusPanel() {
    QFETCH(qint64, ahead);
    QFETCH(QStringList, shown);
    make();
    armFor(start.addSecs(ahead));
    QVERIFY(panel_->text().isEmpty());
    QStringList seen;
    for (int tick = 0; tick < 2; ++tick) {
      timer_->TimerTimer();
      seen << panel_->text();
      now_ = now_.addSecs(1);
    }
    QCOMPARE(seen, shown);
    QCOMPARE(starts_, 0);
  }

  void firingStartsTheDispatchOnce() {
    make();
    const QDateTime target = start.addSecs(3);
    armFor(target);
    for (int tick = 0; tick < 3; ++tick) {
      timer_->TimerTimer();
      now_ = now_.addSecs(1);
    }
    QCOMPARE(starts_, 0);
    QVERIFY(!panel_->text().isEmpty());
    page_->pbSend->setValue(50);
    timer_->TimerTimer(); // now == target
    QCOMPARE(starts_, 1);
    QVERIFY(!timer_->armed());
    QVERIFY(!timer_->timer().isActive());
    QVERIFY(panel_->text().isEmpty());
    QCOMPARE(page_->pbSend->value(), 0);
    // One-shot: later ticks and the start button find it off.
    now_ = now_.addSecs(5);
    timer_->TimerTimer();
    QCOMPARE(starts_, 1);
    QVERIFY(!timer_->disarmIfArmed());
  }

  void pastTargetFiresAtTheFirstTick() {
    make();
    armFor(start.addSecs(-600));
    timer_->TimerTimer();
    QCOMPARE(starts_, 1);
  }

  void firingWhileARunGoesStartsNoSecondRun() {
    make();
    HeldWorker worker;
    start_ = [&worker] { worker.wake(); };
    QVERIFY(worker.wake()); // a run is going
    QTRY_COMPARE(worker.runs.load(), 1);
    armFor(start.addSecs(60));
    now_ = now_.addSecs(60);
    timer_->TimerTimer();
    QVERIFY(!timer_->armed());
    QVERIFY(!timer_->timer().isActive());
    worker.release();
    QTRY_VERIFY(!worker.busy());
    QCOMPARE(worker.runs.load(), 1);
  }

  void disarmAfterArmingTwice() {
    make();
    QCOMPARE(page_->tbStart->text(), QStringLiteral(u"Старт"));
    armFor(start.addSecs(3600));
    armFor(start.addSecs(7200)); // the second arming replaces the target
    QCOMPARE(timer_->TimerTarget(), start.addSecs(7200));
    timer_->TimerTimer();
    QVERIFY(!panel_->text().isEmpty());
    page_->pbSend->setValue(3);
    QVERIFY(timer_->disarmIfArmed());
    QCOMPARE(page_->tbStart->text(), QStringLiteral(u"Старт"));
    QCOMPARE(result().count(QStringLiteral(u"Рассылка по таймеру отменена.")), 1);
    QVERIFY(result().endsWith(QStringLiteral(u"\nРассылка по таймеру отменена.")));
    QVERIFY(panel_->text().isEmpty());
    QVERIFY(!timer_->timer().isActive());
    QCOMPARE(page_->pbSend->value(), 0);
    QVERIFY(!timer_->disarmIfArmed()); // a second press is the start button's again
    QCOMPARE(result().count(QStringLiteral(u"Рассылка по таймеру отменена.")), 1);
    now_ = now_.addSecs(7200);
    timer_->TimerTimer();
    QCOMPARE(starts_, 0);
  }

  void dialogCancelChangesNothing() {
    make(true);
    page_->mmResult->setPlainText("an earlier run");
    whenDialogOpens([](TFSetTimer &dialog) { QTest::mouseClick(dialog.butCancel, Qt::LeftButton); });
    timer_->tbTimerClick();
    QVERIFY(!timer_->armed());
    QCOMPARE(result(), QStringLiteral("an earlier run"));
    QCOMPARE(page_->tbStart->text(), QStringLiteral(u"Старт"));
    QVERIFY(dialogs_->shown.isEmpty());
  }

  void dialogOkArmsForTheChosenMoment() {
    make(true);
    QDate shownDate;
    QTime shownTime;
    whenDialogOpens([&](TFSetTimer &dialog) {
      shownDate = dialog.DateTimePicker1->date();
      shownTime = dialog.DateTimePicker2->time();
      dialog.DateTimePicker1->setDate(QDate(2024, 3, 12));
      dialog.DateTimePicker2->setTime(QTime(8, 15, 30));
      QTest::mouseClick(dialog.butOK, Qt::LeftButton);
    });
    now_ = start.addMSecs(250);
    timer_->tbTimerClick();
    QCOMPARE(shownDate, start.date()); // the pickers open at the moment now
    QCOMPARE(shownTime, start.time());
    QVERIFY(timer_->armed());
    QCOMPARE(timer_->TimerTarget(), QDateTime(QDate(2024, 3, 12), QTime(8, 15, 30)));
    QCOMPARE(result(), QStringLiteral(u"Рассылка запланирована на 12.03.2024 08:15:30"));
  }

  void dialogTextsComeFromTheLanguageFile() {
    CurrentLang() = QStringLiteral("English");
    TFSetTimer dialog(start);
    CurrentLang() = QStringLiteral("Russian");
    QCOMPARE(dialog.objectName(), QStringLiteral("FSetTimer"));
    QCOMPARE(dialog.windowTitle(), QStringLiteral("Scheduled dispatch"));
    QCOMPARE(dialog.gbxTimePar->title(), QStringLiteral("Dispatch start time"));
    QCOMPARE(dialog.lbDateTimer->text(), QStringLiteral("Date:"));
    QCOMPARE(dialog.lbTimeTimer->text(), QStringLiteral("Time:"));
    QCOMPARE(dialog.butCancel->text(), QStringLiteral("Cancel"));
    QVERIFY(dialog.butOK->isDefault());
    QVERIFY(dialog.isModal());
  }
};

QTEST_MAIN(TestDispatchTimer)
#include "test_dispatch_timer.moc"
