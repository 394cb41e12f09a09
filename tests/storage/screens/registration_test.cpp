// "Реги&c" and "Со&хр" inside the main window.
#include <QAction>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>

#include "archive_window.h"
#include "draw/canvas.h"
#include "draw/session.h"
#include "draw/trace_area.h"
#include "screen_checks.h"

namespace sfigmo::test {
namespace {

class Registering : public ArchiveWindow {
 protected:
  void SetUp() override {
    ArchiveWindow::SetUp();
    form->Results.PULS = 71.5;
    form->Results.VRKI = 0.125;
    form->Results.Reserved = 3.0;  // never stored
    form->session().setConclusionShown(true);
    form->Regis_->setEnabled(true);  // as the conclusion leaves it
  }
  // A last measurement of another patient, as an earlier save left it.
  void PutLast() {
    auto r = WaveRecord(1);
    SetShortString(r->PatientName, "Петров");
    SetShortString(r->PatientAge, "45");
    SetShortString(r->PatientSex, "Ж");
    SetShortString(r->GeneralInfo, "строка 1\r\nстрока 2");
    Put(last() / "Петров45Ж26_12_06_08_00_00.pul", *r);
  }
  void Type(const QString& name, const QString& age, const QString& sex) {
    form->Edit1->setText(name);
    form->Edit2->setText(age);
    form->Edit3->setText(sex);
  }
  Canvas& trace() { return form->traceCanvas(); }
};

TEST_F(Registering, WithoutConclusionNothingChanges) {
  form->session().setConclusionShown(false);
  PutLast();
  const std::string before = Bytes(*form->CurrentRecord);
  form->Regis_->trigger();
  EXPECT_FALSE(form->Save_->isEnabled());
  EXPECT_TRUE(form->Edit1->isHidden());
  EXPECT_TRUE(form->Memo3->isHidden());
  EXPECT_EQ(Bytes(*form->CurrentRecord), before);
  EXPECT_TRUE(TraceIsBlank());
  EXPECT_EQ(form->LastRecordRead, 1);  // the last measurement was read all the same
}

TEST_F(Registering, EmptyLastFolderGivesTheDefaultsAndNoDate) {
  form->Regis_->trigger();
  EXPECT_EQ(form->Edit1->text(), QStringLiteral("МЛТ"));
  EXPECT_EQ(form->Edit2->text(), QStringLiteral("67"));
  EXPECT_EQ(form->Edit3->text(), QStringLiteral("М"));
  const QString note = QStringLiteral(
      "   ОБЩИЕ СВЕДЕНИЯ \n   Самочувствие -  удовлетворительное\n   Рост (см)- 172\n"
      "   Вес (кг)- 85\n   Артнриальное давление - 140/_95\n   Жалобы-  нет жалоб");
  EXPECT_EQ(form->Memo3->toPlainText(), note);
  for (QWidget* w :
       std::initializer_list<QWidget*>{form->Edit1, form->Edit2, form->Edit3, form->Memo3,
                                       form->StaticText1, form->StaticText2, form->StaticText3}) {
    EXPECT_TRUE(w->isVisible()) << w->objectName().toStdString();
  }
  EXPECT_TRUE(TraceIsBlank());
  EXPECT_TRUE(form->Save_->isEnabled());
  EXPECT_EQ(form->LastRecordRead, 0);
  EXPECT_EQ(GetShortString(form->CurrentRecord->GeneralInfo),
            QString(note).replace(QLatin1Char('\n'), QStringLiteral("\r\n")).toStdString());
  SaveScreen(QStringLiteral("registration-defaults"));
}

TEST_F(Registering, LastMeasurementFillsTheFieldsAndTheHeaderShowsDateAndTime) {
  PutLast();
  form->Regis_->trigger();
  EXPECT_EQ(form->Edit1->text(), QStringLiteral("Петров"));
  EXPECT_EQ(form->Edit2->text(), QStringLiteral("45"));
  EXPECT_EQ(form->Edit3->text(), QStringLiteral("Ж"));
  EXPECT_EQ(form->Memo3->toPlainText(), QStringLiteral("строка 1\nстрока 2"));
  EXPECT_EQ(form->LastRecordRead, 1);
  EXPECT_TRUE(TextAt(trace(), 200, 40, QStringLiteral("ДАТА")));
  EXPECT_TRUE(TextAt(trace(), 240, 40, QStringLiteral("07.12.2026")));
  EXPECT_TRUE(TextAt(trace(), 360, 40, QStringLiteral("ВРЕМЯ")));
  EXPECT_TRUE(TextAt(trace(), 410, 40, QStringLiteral("9:05:03")));
  EXPECT_EQ(GetShortString(form->CurrentRecord->DateText), "07.12.2026");
  EXPECT_EQ(GetShortString(form->CurrentRecord->TimeText), "9:05:03");
  EXPECT_EQ(GetShortString(form->CurrentRecord->PatientName), "Петров");
  SaveScreen(QStringLiteral("registration"));
}

class RegisteringAt1920 : public Registering {
 protected:
  void SetUp() override {
    screenWidth = 1920;
    Registering::SetUp();
  }
};

TEST_F(RegisteringAt1920, TheHeaderIsDrawnAtTheScaledPlaces) {
  PutLast();
  form->Regis_->trigger();
  ASSERT_DOUBLE_EQ(trace().layout().scale(), 2.4);
  EXPECT_TRUE(TextAt(trace(), 200, 40, QStringLiteral("ДАТА")));
  EXPECT_TRUE(TextAt(trace(), 240, 40, QStringLiteral("07.12.2026")));
  EXPECT_TRUE(TextAt(trace(), 410, 40, QStringLiteral("9:05:03")));
  SaveScreen(QStringLiteral("registration-1920"));
}

TEST_F(Registering, RepaintKeepsTypedTextAndDrawsTheHeaderAgain) {
  PutLast();
  form->Regis_->trigger();
  Type(QStringLiteral("Сидоров"), QStringLiteral("50"), QStringLiteral("М"));
  form->Memo3->setPlainText(QStringLiteral("новая заметка"));
  now = At(9, 6, 10);
  form->FormPaint();
  EXPECT_EQ(form->Edit1->text(), QStringLiteral("Сидоров"));
  EXPECT_EQ(form->Memo3->toPlainText(), QStringLiteral("новая заметка"));
  EXPECT_TRUE(TextAt(trace(), 410, 40, QStringLiteral("9:06:10")));
  // Only a new registration refills them.
  form->Regis_->trigger();
  EXPECT_EQ(form->Edit1->text(), QStringLiteral("Петров"));
}

TEST_F(Registering, SaveWritesTheArchiveAndLeavesOnlyTheNewLastMeasurement) {
  PutLast();
  form->Regis_->trigger();
  const bool regisEnabled = form->Regis_->isEnabled();
  Type(QStringLiteral("МЛТ"), QStringLiteral("67"), QStringLiteral("М"));
  form->Save_->trigger();
  ASSERT_TRUE(messages.isEmpty()) << messages.join('\n').toStdString();
  const std::string name = "МЛТ67М26_12_07_09_05_03.pul";
  EXPECT_EQ(FilesIn(last()), std::vector<std::string>{name});
  const auto files = Snapshot();
  EXPECT_EQ(files.at("DataMLT/" + name), Bytes(*form->CurrentRecord));
  EXPECT_EQ(files.at("DataMLT/DatInt/" + name), Bytes(*form->CurrentRecord));
  AnalysisResults stored = form->Results;
  stored.Reserved = 0.0;
  EXPECT_EQ(form->CurrentRecord->Results, stored);
  EXPECT_EQ(GetShortString(form->CurrentRecord->DateText), "26_12_07_");
  EXPECT_EQ(GetShortString(form->CurrentRecord->TimeText), "09_05_03");
  EXPECT_EQ(form->session().ConclusionShown(), 0);
  EXPECT_FALSE(form->Save_->isEnabled());
  EXPECT_EQ(form->Regis_->isEnabled(), regisEnabled);
  EXPECT_TRUE(form->Edit1->isHidden());
  EXPECT_TRUE(form->StaticText1->isHidden());
  EXPECT_TRUE(form->Memo3->isHidden());
}

TEST_F(Registering, ARecordingTheSensorCutShortIsSavedSayingSo) {
  *form->CurrentRecord = *WaveRecord(1);
  form->RecordingCutShort = true;
  form->Regis_->trigger();
  Type(QStringLiteral("МЛТ"), QStringLiteral("67"), QStringLiteral("М"));
  form->Save_->trigger();
  ASSERT_EQ(messages.size(), 1);
  EXPECT_TRUE(messages.front().startsWith(
      QStringLiteral("ЗАПИСЬ ПРЕРВАНА: датчик перестал отвечать, записано только ")))
      << messages.front().toStdString();
  EXPECT_TRUE(messages.front().contains(QStringLiteral("Сохраняется прерванная запись")));
  EXPECT_EQ(FilesIn(last()), std::vector<std::string>{"МЛТ67М26_12_07_09_05_03.pul"});
}

TEST_F(Registering, NameTimeAndTruncationInTheFileName) {
  const struct {
    QString name;
    QDateTime when;
    const char* file;
  } cases[] = {
      {QStringLiteral("МЛТ"), At(10, 0, 0), "МЛТ67М26_12_07_10_00_00.pul"},
      {QStringLiteral("АБВГДЕЖЗИЙКЛМНОПРСТУФХЦЧШЩЪЫЬЭ"), At(9, 5, 3),
       "АБВГДЕЖЗИЙКЛМНОПРСТУФХЦЧШЩЪЫЬЭ67М26_12_07_09_05_03.pul"},  // 30: the field's room
  };
  for (const auto& c : cases) {
    form->session().setConclusionShown(true);
    form->Regis_->trigger();
    Type(c.name, QStringLiteral("67"), QStringLiteral("М"));
    now = c.when;
    form->Save_->trigger();
    EXPECT_TRUE(fs::exists(archive() / c.file)) << c.file;
    EXPECT_EQ(FilesIn(last()), std::vector<std::string>{c.file});
  }
  EXPECT_EQ(GetShortString(form->CurrentRecord->PatientName), "АБВГДЕЖЗИЙКЛМНОПРСТУФХЦЧШЩЪЫЬЭ");
}

// A text longer than its field is not cut without a word: the save is
// refused, saying how long the field may be.
TEST_F(Registering, TooLongFieldsAreRefusedBeforeSaving) {
  const struct {
    int field;  // 1 name, 2 age, 3 sex
    QString text;
    const char* says;
  } cases[] = {
      {1, QStringLiteral("АБВГДЕЖЗИЙКЛМНОПРСТУФХЦЧШЩЪЫЬЭЮЯабв"),
       "Поле «ПАЦИЕНТ»: не более 30 знаков, введено 35"},
      {2, QStringLiteral("12345678901"), "Поле «ВОЗРАСТ»: не более 10 знаков, введено 11"},
      {3, QStringLiteral("мужской"), "Поле «ПОЛ»: не более 5 знаков, введено 7"},
  };
  for (const auto& c : cases) {
    form->session().setConclusionShown(true);
    form->Regis_->trigger();
    Type(QStringLiteral("МЛТ"), QStringLiteral("67"), QStringLiteral("М"));
    (c.field == 1 ? form->Edit1 : c.field == 2 ? form->Edit2 : form->Edit3)->setText(c.text);
    const auto before = Snapshot();
    messages.clear();
    form->Save_->trigger();
    ASSERT_EQ(messages.size(), 1) << c.says;
    EXPECT_TRUE(messages[0].contains(QString::fromUtf8(c.says))) << messages[0].toStdString();
    EXPECT_EQ(Snapshot(), before) << c.says;
    EXPECT_TRUE(form->Save_->isEnabled());
  }
}

TEST_F(Registering, TwoSavesInOneSecondOverwriteOneFile) {
  for (int i = 0; i < 2; ++i) {
    form->session().setConclusionShown(true);
    form->Regis_->trigger();
    form->Save_->trigger();
  }
  EXPECT_EQ(FilesIn(archive()),
            (std::vector<std::string>{"DatInt", "МЛТ67М26_12_07_09_05_03.pul"}));
}

TEST_F(Registering, HostileNamesAreRefusedWithNothingWritten) {
  PutLast();
  const QString hostile[] = {QStringLiteral("../../x"), QStringLiteral("a/b"),
                             QStringLiteral("x") + QChar(0) + QStringLiteral("y"),
                             QStringLiteral("Zoë ☺")};
  for (const QString& name : hostile) {
    form->session().setConclusionShown(true);
    form->Regis_->trigger();
    const auto before = Snapshot();
    const std::string record = Bytes(*form->CurrentRecord);
    messages.clear();
    form->Edit1->setText(name);
    form->Save_->trigger();
    EXPECT_EQ(messages.size(), 1) << name.toStdString();
    EXPECT_EQ(Snapshot(), before) << name.toStdString();
    EXPECT_EQ(Bytes(*form->CurrentRecord), record);
    EXPECT_EQ(form->session().ConclusionShown(), 1);
    EXPECT_TRUE(form->Save_->isEnabled());
    EXPECT_TRUE(form->Edit1->isVisible());
  }
  EXPECT_FALSE(fs::exists(root().parent_path().parent_path() / "x67М26_12_07_09_05_03.pul"));
  EXPECT_FALSE(fs::exists(root().parent_path() / "x67М26_12_07_09_05_03.pul"));
}

TEST_F(Registering, FullDiskAtTheLastCopyKeepsTheOldLastMeasurement) {
  PutLast();
  const auto lastBefore = Snapshot().at("DataMLT/DatInt/Петров45Ж26_12_06_08_00_00.pul");
  form->Regis_->trigger();
  Type(QStringLiteral("МЛТ"), QStringLiteral("67"), QStringLiteral("М"));
  int writes = 0;
  actions->context().writeFault = [&](WriteStep s) {
    if (s == WriteStep::CreateTemporary) ++writes;
    return writes == 2 && s == WriteStep::Write ? ENOSPC : 0;
  };
  form->Save_->trigger();
  ASSERT_EQ(messages.size(), 1);
  EXPECT_TRUE(messages[0].contains(QStringLiteral("МЛТ67М26_12_07_09_05_03.pul")));
  EXPECT_TRUE(messages[0].contains(QStringLiteral("нет места на диске")));
  // The archive now holds a measurement that registration and SMS do not use.
  EXPECT_TRUE(messages[0].contains(QStringLiteral("архив и последнее измерение расходятся")))
      << messages[0].toStdString();
  EXPECT_TRUE(fs::exists(archive() / "МЛТ67М26_12_07_09_05_03.pul"));
  EXPECT_EQ(FilesIn(last()), std::vector<std::string>{"Петров45Ж26_12_06_08_00_00.pul"});
  EXPECT_EQ(Snapshot().at("DataMLT/DatInt/Петров45Ж26_12_06_08_00_00.pul"), lastBefore);
  EXPECT_EQ(form->session().ConclusionShown(), 1);
  EXPECT_TRUE(form->Save_->isEnabled());
}

TEST_F(Registering, FullDiskAtTheArchiveCopyClaimsNoDisagreement) {
  PutLast();
  form->Regis_->trigger();
  Type(QStringLiteral("МЛТ"), QStringLiteral("67"), QStringLiteral("М"));
  actions->context().writeFault = [](WriteStep s) { return s == WriteStep::Write ? ENOSPC : 0; };
  form->Save_->trigger();
  ASSERT_EQ(messages.size(), 1);
  EXPECT_TRUE(messages[0].contains(QStringLiteral("нет места на диске")));
  EXPECT_FALSE(messages[0].contains(QStringLiteral("расходятся")));
  EXPECT_FALSE(fs::exists(archive() / "МЛТ67М26_12_07_09_05_03.pul"));
}

// Doing what the message says after a save that stopped after the archive
// copy: the retry writes the missing last copy and no second archive
// record, also when the patient's name was corrected in between.
TEST_F(Registering, RetryAfterAFailedLastCopyCompletesThatSave) {
  const struct {
    QString retryName;
    const char* file;
  } cases[] = {{QStringLiteral("МЛТ"), "МЛТ67М26_12_07_09_05_03.pul"},
               {QStringLiteral("Орлов"), "Орлов67М26_12_07_09_05_03.pul"}};
  for (const auto& c : cases) {
    fs::remove_all(archive());
    PutLast();
    now = At(9, 5, 3);
    form->session().setConclusionShown(true);
    form->Regis_->trigger();
    Type(QStringLiteral("МЛТ"), QStringLiteral("67"), QStringLiteral("М"));
    int writes = 0;
    actions->context().writeFault = [&](WriteStep s) {
      if (s == WriteStep::CreateTemporary) ++writes;
      return writes == 2 && s == WriteStep::Write ? ENOSPC : 0;
    };
    messages.clear();
    form->Save_->trigger();
    ASSERT_EQ(messages.size(), 1);
    actions->context().writeFault = {};
    now = At(9, 7, 30);
    form->Edit1->setText(c.retryName);
    messages.clear();
    form->Save_->trigger();
    EXPECT_TRUE(messages.isEmpty()) << messages.join('\n').toStdString();
    EXPECT_EQ(FilesIn(archive()), (std::vector<std::string>{"DatInt", c.file})) << c.file;
    EXPECT_EQ(FilesIn(last()), std::vector<std::string>{c.file});
    EXPECT_EQ(Snapshot().at(std::string("DataMLT/") + c.file),
              Snapshot().at(std::string("DataMLT/DatInt/") + c.file));
    EXPECT_EQ(form->session().ConclusionShown(), 0);
  }
}

// A file where DataMLT/DatInt should be is named as the cause, not the disk.
TEST_F(Registering, AFileInPlaceOfTheLastFolderIsNamedAsTheCause) {
  fs::remove_all(last());
  fs::create_directories(archive());
  std::ofstream(last()) << "not a folder";
  form->Regis_->trigger();
  form->Save_->trigger();
  ASSERT_EQ(messages.size(), 1);
  EXPECT_TRUE(messages[0].contains(QStringLiteral("на её месте лежит файл")))
      << messages[0].toStdString();
  EXPECT_TRUE(messages[0].contains(QStringLiteral("Переименуйте или перенесите этот файл")));
  EXPECT_FALSE(messages[0].contains(QStringLiteral("место на диске")));
}

}  // namespace
}  // namespace sfigmo::test
