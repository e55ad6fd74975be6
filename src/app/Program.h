#pragma once
// The start-up and shutdown order of the program: the data module first (it opens the
// database), then the main window; at the end the main window and then the data module
// are destroyed, which closes the data sets and the connection.
#include <QString>

#include <memory>

class RowDialogs;
class TDModule;
class TFMain;

class Program {
public:
  Program();
  ~Program();

  // Opens the database and creates the main window. When no database is set, or it cannot
  // be opened, one message says so and what to do (with the client's own error text below),
  // titled with the stError text of the language named in kyv.ini; no window is created,
  // and false is returned.
  bool start();
  TFMain *mainWindow() const { return window_.get(); }
  TDModule *dataModule() const { return data_.get(); }

private:
  static void startupError(const QString &explanation, const QString &engineText);

  std::unique_ptr<TDModule> data_;
  std::unique_ptr<RowDialogs> rowDialogs_;
  std::unique_ptr<TFMain> window_;
};
