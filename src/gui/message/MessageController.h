#pragma once
// The behaviour of the message page and the preview page: the field and template menus, the
// sample message, the full preview and the message count, over the recipient scope and the
// filter in force that the RecipientSelection holds (its boxes are kept elsewhere). The pages
// only hold the controls; every handler here reads its inputs anew when it runs and throws
// on failure, so the general error report tells the operator and the outputs keep what
// they showed.
#include "common/MasNameValue.h"
#include "compose/RecipientQuery.h"

#include <QObject>
#include <QPointer>

class RecipientSelection;
class MessagePage;
class PreviewPage;
class RowDialogs;
class TDModule;
class QAction;
class QLabel;
class TemplateEditorStatus;
class ChunkedTextFill;
class TranslitTable;

class MessageController : public QObject {
  Q_OBJECT
public:
  // Without a data module (no database open) every handler that needs one says so.
  MessageController(MessagePage *page, PreviewPage *preview, TDModule *data, RowDialogs *rowDialogs,
                    const RecipientSelection &selection, QObject *parent = nullptr);
  ~MessageController() override;

  // Start-up step: the placeholder table and the field menu, built once.
  void buildFieldMenu();

  void DymanicClick(QAction *item);
  void PMTemplatePopup();
  void TemplateClick(QAction *item);
  void N4Click();
  void N5Click();

  void TS3Show();
  void butPrRefClick();
  void butCountClick();
  void cbTranslitClick();

  // What the dispatch reads too: the ticked scope box and the chosen group.
  RecipientScope scope() const;
  // The recipients' query of the current scope and the filter in force.
  QString recipientQueryText() const;
  // FormText over query with the current template, placeholder table and translit box.
  TMasSMS generate(const QString &query) const;

  // True while the full preview is still being filled in.
  bool previewFilling() const;

  // The transliteration box follows the table: while the table is refused (its file is
  // missing or damaged) the box is cleared and disabled, its tool tip saying why.
  void showTranslitAvailability() const;

signals:
  void previewFilled();

private:
  TDModule &data() const;
  // The table to transliterate with when the box is ticked; throws while it is refused.
  const TranslitTable *translitInUse() const;
  void showPreviewLines(const TMasSMS &messages);

  MessagePage *page_;
  PreviewPage *preview_;
  QPointer<TDModule> data_;
  RowDialogs *rowDialogs_;
  const RecipientSelection &selection_;
  TemplateEditorStatus *status_ = nullptr;
  ChunkedTextFill *fill_ = nullptr;
};
