#include "ui/status_echo.h"

#include <QPlainTextEdit>
#include <cstdio>

#include "ui/form1.h"

namespace sfigmo {

void EchoStatusWhenAsked(TForm1& form) {
  if (qEnvironmentVariableIsEmpty("SFIGMO_ECHO_STATUS")) return;
  QPlainTextEdit* memo = form.Memo1;
  QObject::connect(memo, &QPlainTextEdit::textChanged, memo, [memo] {
    std::fputs(memo->toPlainText().toUtf8().constData(), stdout);
    std::fputc('\n', stdout);
    std::fflush(stdout);
  });
}

}  // namespace sfigmo
