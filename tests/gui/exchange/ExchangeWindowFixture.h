#pragma once
// The contacts page with its import and export menus, on the test run's database: the main
// window of ContactsFixture, a group made current, the controller of the menus and the rows
// of a group read back.
#include "ContactsFixture.h"

#include "data/DataSetModel.h"
#include "data/Query.h"
#include "data/Transaction.h"
#include "gui/exchange/ExchangeController.h"
#include "support/ModalAnswer.h"

struct ExchangeWindowFixture : ContactsFixture {
  using ContactsFixture::ContactsFixture;

  ExchangeController &exchange() const {
    auto *c = window->findChild<ExchangeController *>();
    if (!c)
      qFatal("the main window has no import and export controller");
    return *c;
  }

  // A new group, current in the group list.
  int currentGroup(const QString &name = QStringLiteral("Imported")) {
    const int id = addGroup(name);
    selectGroup(id);
    return id;
  }

  // The group's contacts in key order, the chosen columns joined by "|", NULL for NULL.
  QStringList rows(int group, const QString &columns = QStringLiteral("PHONE, NAME")) {
    Transaction tr(module->KyvBase);
    Query q(tr, "SELECT " + columns + " FROM CONTACTS WHERE IDGROUP = :G ORDER BY ID");
    q.setParam("G", group);
    q.open();
    QStringList out;
    while (q.fetch()) {
      QStringList values;
      for (const QVariant &v : q.row())
        values << (v.isNull() ? QStringLiteral("NULL") : v.toString());
      out << values.join(u'|');
    }
    return out;
  }

  // What the contacts grid shows in column field, row by row.
  QStringList gridColumn(const QString &field) const {
    DataSetModel *model = controller().contactsModel();
    model->dataSet()->fetchAll();
    QStringList out;
    for (int r = 0; r < model->rowCount(); ++r)
      out << model->data(model->index(r, model->columnOf(field))).toString();
    return out;
  }
};
