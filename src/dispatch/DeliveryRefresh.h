#pragma once
// One delivery refresh pass: every contact's last gateway message is asked about, and the
// contacts the gateway reports delivered get SEND 3. Nothing else of a row changes, and a
// contact is never moved away from 3 here.
//
// The pass uses a transaction of its own on the program's connection. Each mark is committed
// at once, so a dispatch writing the same rows beside the pass never meets a lock that the
// pass would otherwise hold until its end.
#include "gateway/Sms.h"

#include <QString>

#include <atomic>

class Attachment;

class DeliveryRefresh {
public:
  struct Outcome {
    int asked = 0;            // contacts whose status was asked for
    int marked = 0;           // contacts set to delivered (committed)
    int failedCalls = 0;      // calls that failed; those contacts keep their status
    QString databaseError;    // the database's text when an error ended the pass early
    bool interrupted = false; // the program was closing
  };

  explicit DeliveryRefresh(Attachment &connection) : connection_(connection) {}

  // The pass stops before the next contact once stop is true (the program is closing).
  void setStopFlag(const std::atomic<bool> *stop) { stop_ = stop; }

  // Runs one pass over every contact, in the database's order, through a gateway proxy of
  // its own. A failed gateway call affects only its contact; a database error ends the pass,
  // keeping what was committed.
  Outcome run();

  // Item 1 of the answer is the delivery state; only "st_deliver", exactly, means delivered.
  static bool isDelivered(const ArrayOfAnyType &answer);

private:
  Attachment &connection_;
  const std::atomic<bool> *stop_ = nullptr;
};
