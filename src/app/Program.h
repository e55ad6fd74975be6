#pragma once
// The start-up and shutdown order of the program: the data module first (it opens the
// database), then the main window; at the end the main window and then the data module
// are destroyed, which closes the data sets and the connection.
#include <memory>

class RowDialogs;
class TDModule;
class TFMain;

class Program {
public:
  Program();
  ~Program();

  // Opens the database and creates the main window. When the database cannot be opened,
  // the client's error text is shown once (titled with the stError text of the language
  // named in kyv.ini), no window is created, and false is returned.
  bool start();
  TFMain *mainWindow() const { return window_.get(); }

private:
  std::unique_ptr<TDModule> data_;
  std::unique_ptr<RowDialogs> rowDialogs_;
  std::unique_ptr<TFMain> window_;
};
