// nqueens-workbench: the application object and the main window, then the event loop.
#include <QApplication>

#include "app/QueensMain.h"

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  zp::app::TForm1 form;
  form.show();
  return app.exec();
}
