// Program start: the main window first (it is the application's main
// window), then the results dialog, the phone SMS window and the print
// window, which the main window's actions show modally. All of them show
// numbers and scale by the one DisplaySettings made here.

#include <QApplication>
#include <QFont>

#include "analysis/screens/signal_warning_lines.h"
#include "draw/canvas.h"
#include "draw/display_settings.h"
#include "draw/scaled_widgets.h"

#include "messaging/screens/form3.h"
#include "report/screens/form4.h"
#include "results/screens/pages_dlg.h"
#include "ui/decimal_separator.h"
#include "ui/form1.h"
#include "ui/qt_translations.h"
#include "ui/status_echo.h"

int main(int argc, char* argv[]) {
  QApplication app(argc, argv);
  // Every window, the dialogs and message boxes included, uses the layout's
  // 8-point face ("parent font"), not the desktop's larger default.
  QApplication::setFont(QFont(sfigmo::WindowFontFamily(), 8));
  // File, print and message-box dialogs speak the program's language.
  sfigmo::InstallProgramQtTranslations(&app);
  // Qt's own dialogs and menus take the scaled font of the window they open over.
  sfigmo::DialogFontFollower dialogFonts;
  app.installEventFilter(&dialogFonts);
  const sfigmo::DisplaySettings display = sfigmo::UserDisplaySettings();
  TForm1Options mainOptions;
  mainOptions.display = display;
  TForm1 form1(mainOptions);
  sfigmo::EchoStatusWhenAsked(form1);
  TPagesDlg pagesDlg(&form1, display);
  form1.PagesDlg = &pagesDlg;
  TForm3 form3(&form1, display);
  form1.Form3 = &form3;
  TForm4Options printOptions;
  printOptions.display = display;
  TForm4 form4(&form1, printOptions);
  form4.ExtraConclusionLines = sfigmo::SignalWarningLines;
  form1.PrintForm = &form4;
  form1.show();
  return app.exec();
}
