#include "shared/LargeGroup.h"

#include "data/Query.h"
#include "data/Transaction.h"

#include <algorithm>

void fillLargeGroup(Transaction &tr, int group, int size) {
  Query(tr, QString("INSERT INTO CONTACTS (ID, IDGROUP) VALUES (GEN_ID(GEN_CONTACTS_ID, 1), %1)").arg(group))
      .execute();
  for (int have = 1; have < size; have *= 2)
    Query(
        tr,
        QString("INSERT INTO CONTACTS (ID, IDGROUP) SELECT GEN_ID(GEN_CONTACTS_ID, 1), IDGROUP FROM CONTACTS "
                "WHERE IDGROUP = %1 ROWS %2")
            .arg(group)
            .arg(std::min(have, size - have)))
        .execute();
  Query(tr, QString("UPDATE CONTACTS SET PHONE = '+7900' || LPAD(ID, 7, '0'), NAME = 'Контакт ' || ID, "
                    "BIRTHDATE = DATEADD(MOD(ID, 20000) DAY TO DATE '1950-01-01'), DFIELD = 'Поле ' || ID, "
                    "SEND = MOD(ID, 4), FERROR = MOD(ID, 2) WHERE IDGROUP = %1")
                .arg(group))
      .execute();
}
