// The main window's handlers: each hands its click to the area's actions.

#include <QMetaObject>
#include <QThread>

#include "acquisition/screens/measurement_actions.h"
#include "analysis/screens/analysis_actions.h"
#include "ui/device_messages.h"
#include "ui/form1.h"

void DeviceMessageSink(const char* text, const char* caption, int isError, void* context) {
  auto* form = static_cast<TForm1*>(context);
  if (!form) return;
  const QString t = QString::fromUtf8(text ? text : "");
  const QString c = QString::fromUtf8(caption ? caption : "");
  if (QThread::currentThread() == form->thread()) {
    form->presentDeviceMessage(t, c, isError != 0);
  } else {
    QMetaObject::invokeMethod(
        form->deviceMessageInbox(), [form, t, c, isError] { form->presentDeviceMessage(t, c, isError != 0); },
        Qt::QueuedConnection);
  }
}

void TForm1::FormActivate() { measurement_->Activate(); }
void TForm1::Button1Click() { measurement_->Start(); }
void TForm1::Button2Click() { measurement_->Measure(); }
void TForm1::Button8Click() { measurement_->StopAutomatic(); }
void TForm1::Button10Click() { measurement_->StopManual(); }
void TForm1::RadioButton1Click() { measurement_->SwitchMode(false); }
void TForm1::RadioButton2Click() { measurement_->SwitchMode(true); }
void TForm1::Button3Click() { analysis_->Check(); }
void TForm1::RunCalculation() { analysis_->RunCalculation(); }
void TForm1::ShowConclusion() { analysis_->ShowConclusion(); }

bool TForm1::busy() const { return measurement_->busy(); }

QObject* TForm1::deviceMessageInbox() { return measurement_->messageInbox(); }

sfigmo::DeviceLibrary& TForm1::deviceLibrary() { return measurement_->deviceLibrary(); }

void TForm1::presentDeviceMessage(const QString& text, const QString& caption, bool isError) {
  measurement_->presentMessage(text, caption, isError);
}
