#include "data/TDModule.h"

#include "data/DatabaseError.h"
#include "data/DbSettings.h"

const QString TDModule::groupsSelectSql = QStringLiteral("SELECT ID, NAME\n  FROM LISTGROUPS");
const QString TDModule::contactsSelectSql = QStringLiteral("SELECT * FROM CONTACTS\nWHERE IDGROUP = :ID");
const QString TDModule::fieldsSelectSql =
    QStringLiteral("select FORTEMP, FTYPE, FVISIBLE, FWIDTH, ID, NAMEDISP, NAMEDS, TEMPL\nFROM RB_FIELDS");
const QString TDModule::templateSelectSql = QStringLiteral("select FTEXT, ID, NAME\nfrom TEMPLATE");
const QString TDModule::optionsSelectSql =
    QStringLiteral("select GSMLOG, GSMTIME, ID, LOGFILE, SHBLANCE, SHFROM, SHLOGIN, SHPASSWORD, COMBIT, "
                   "COMCONTROL, COMPARITY, COMRATE, COMSTOPBIT, EMLOGIN, EMPASS, EMPOP\nfrom RB_OPTIONS");
const QString TDModule::operSelectSql = QStringLiteral("select FTYPE, ID, NAME\nfrom RB_OPER");
const QString TDModule::filterSelectSql = QStringLiteral("select FILT, ID, NAME\nfrom LISTFILT");

namespace {
QStringList columnsOf(const QString &list) {
  return list.split(QStringLiteral(", "));
}
} // namespace

TDModule::TDModule(QObject *parent) : QObject(parent) {
  configure();
}

TDModule::~TDModule() {
  try {
    close();
  } catch (const DatabaseError &) {
    // Shutting down: nothing is left to report the failure to.
  }
}

void TDModule::configure() {
  IBGroups.setStoredSelectSql(groupsSelectSql);
  IBGroups.setTable(QStringLiteral("LISTGROUPS"), columnsOf(QStringLiteral("ID, NAME")));
  IBGroups.setGenerator(QStringLiteral("GEN_LISTGROUPS_ID"));
  IBGroups.setEndOnClose(Transaction::Ending::CommitRetaining);

  IBContacts.setStoredSelectSql(contactsSelectSql);
  IBContacts.setTable(
      QStringLiteral("CONTACTS"),
      columnsOf(QStringLiteral("PHONE, NAME, BIRTHDATE, DFIELD, EFIELD, FFIELD, GFIELD, SEND, "
                               "DATESEND, TIMESEND, PARTSEND, FERROR, ID, IDGROUP, IDMESSAGE")));
  IBContacts.setGenerator(QStringLiteral("GEN_CONTACTS_ID"));
  IBContacts.setEndOnClose(Transaction::Ending::CommitRetaining);
  IBContacts.setMaster(&IBGroups);
  IBContacts.onNewRecord = [this](DataSet &contacts) {
    contacts.setValue(QStringLiteral("IDGROUP"), IBGroups.value(QStringLiteral("ID")));
  };

  IBFields.setStoredSelectSql(fieldsSelectSql);
  IBFields.setTable(
      QStringLiteral("RB_FIELDS"),
      columnsOf(QStringLiteral("FORTEMP, FTYPE, FVISIBLE, FWIDTH, ID, NAMEDISP, NAMEDS, TEMPL")));
  IBFields.setRefreshAfterPost(true);
  IBFields.setEndOnClose(Transaction::Ending::Commit);

  IBTemplate.setStoredSelectSql(templateSelectSql);
  IBTemplate.setTable(QStringLiteral("TEMPLATE"), columnsOf(QStringLiteral("FTEXT, ID, NAME")));
  IBTemplate.setGenerator(QStringLiteral("GEN_TEMPLATE_ID"));

  IBOptions.setStoredSelectSql(optionsSelectSql);
  IBOptions.setTable(QStringLiteral("RB_OPTIONS"),
                     columnsOf(optionsSelectSql.mid(7, optionsSelectSql.indexOf(u'\n') - 7)));
  IBOptions.setGenerator(QStringLiteral("GEN_RB_OPTIONS_ID"));

  IBOper.setStoredSelectSql(operSelectSql);
  IBOper.setTable(QStringLiteral("RB_OPER"), columnsOf(QStringLiteral("FTYPE, ID, NAME")));

  IBFilter.setStoredSelectSql(filterSelectSql);
  IBFilter.setTable(QStringLiteral("LISTFILT"), columnsOf(QStringLiteral("FILT, ID, NAME")));
  IBFilter.setGenerator(QStringLiteral("GEN_LISTFILT_ID"));
  IBFilter.beforePost = [this](DataSet &filters) {
    if (filters.value(QStringLiteral("FILT")).isNull())
      filters.setValue(QStringLiteral("FILT"), PendingFilter);
  };
}

void TDModule::open() {
  openAt(dbNameSetting(), dbLoginSetting());
}

void TDModule::openAt(const QString &location, const DbLogin &login) {
  close();
  KyvBase.open(location, login);
  try {
    for (DataSet *ds : {&IBGroups, &IBContacts, &IBFields, &IBTemplate, &IBOptions, &IBOper, &IBFilter})
      ds->open();
  } catch (const DatabaseError &) {
    try {
      close();
    } catch (const DatabaseError &) {
    }
    throw;
  }
}

void TDModule::close() {
  // Every step runs even when an earlier one fails; the first failure is reported.
  std::optional<DatabaseError> failure;
  for (DataSet *ds : {&IBContacts, &IBGroups, &IBFields, &IBTemplate, &IBOptions, &IBOper, &IBFilter}) {
    try {
      ds->close();
    } catch (const DatabaseError &e) {
      if (!failure)
        failure = e;
    }
  }
  try {
    KyvBase.close();
  } catch (const DatabaseError &e) {
    if (!failure)
      failure = e;
  }
  if (failure)
    throw *failure;
}
