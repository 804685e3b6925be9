// The pulse, PWM and AC current pages in the main window: a 32-channel page shows one
// group of channels at a time and fits the page area across, the encoder page shows
// only the channel a one-channel unit has and has room for its longest numbers, a preset
// button writes and reads back.
#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QMdiSubWindow>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>

#include "../core/TestDialogs.h"
#include "PageView.h"
#include "frmComPort.h"
#include "frmQ5Con.h"

using q5::gui::frmComPort;
using q5::gui::frmQ5Con;
using q5::gui::PageView;

namespace {

std::vector<q5::gui::PortChoice> Units() {
  std::vector<q5::gui::PortChoice> out;
  for (const char* s : {"sim:Q5V3UM-AC32", "sim:Q5T3NML3-6-PI1/A", "sim:Q5Z3UECT-1-PI8A"})
    out.push_back({QString::fromLatin1(s), s});
  return out;
}

template <typename W>
W* Control(frmQ5Con& w, const QString& name) {
  PageView* v = w.currentPageView();
  return v ? qobject_cast<W*>(v->control(name.toStdString())) : nullptr;
}

}  // namespace

class PulsePwmAcViewTest : public QObject {
  Q_OBJECT

  QTemporaryDir folder_;
  TestDialogs dialogs_;

  frmQ5Con::Setup setup() {
    frmQ5Con::Setup s;
    s.dialogs = &dialogs_;
    s.portChoices = Units;
    s.applicationFolder = folder_.path().toStdString();
    return s;
  }

  static void Connect(frmQ5Con& w, const std::string& port) {
    QTimer::singleShot(0, &w, [port] {
      auto* dlg = qobject_cast<frmComPort*>(QApplication::activeModalWidget());
      QVERIFY(dlg);
      const int i = dlg->cmbComPort->findData(QString::fromStdString(port));
      QVERIFY(i >= 0);
      dlg->cmbComPort->setCurrentIndex(i);
      dlg->btnExit->click();
    });
    w.btnSetting->click();
  }

 private slots:
  void acCurrentPageShowsOneGroupAtATime() {
    frmQ5Con w(setup());
    w.show();
    Connect(w, "sim:Q5V3UM-AC32");
    QVERIFY(dialogs_.messages.empty());
    PageView* view = w.currentPageView();
    QVERIFY(view);
    QCOMPARE(view->objectName(), QStringLiteral("frmAC32"));
    auto shown = [&](int i) {
      auto* box = Control<QLineEdit>(w, QStringLiteral("txtZScale(%1)").arg(i));
      return box && box->isVisibleTo(view);
    };
    QVERIFY(shown(0) && shown(3) && !shown(4) && !shown(31));
    auto* group = Control<QComboBox>(w, QStringLiteral("cmbChGrp"));
    QVERIFY(group);
    group->setCurrentIndex(7);
    QVERIFY(!shown(0) && shown(28) && shown(31));
    auto* value = Control<QLineEdit>(w, QStringLiteral("txtParData(30)"));
    QVERIFY(value && value->isVisibleTo(view) && !value->text().isEmpty());
    // Four channels across fit the page area without a horizontal scroll bar.
    QVERIFY(view->sizeHint().width() <= w.currentSubWindow()->width());
  }

  void oneChannelEncoderPage() {
    frmQ5Con w(setup());
    w.show();
    Connect(w, "sim:Q5T3NML3-6-PI1/A");
    PageView* view = w.currentPageView();
    QVERIFY(view);
    QCOMPARE(view->objectName(), QStringLiteral("frmPI2"));
    auto* min0 = Control<QLineEdit>(w, QStringLiteral("txtMin(0)"));
    auto* min1 = Control<QLineEdit>(w, QStringLiteral("txtMin(1)"));
    QVERIFY(min0 && min1);
    QVERIFY(min0->isVisibleTo(view));
    QVERIFY(!min1->isVisibleTo(view));
    QCOMPARE(min0->text(), QStringLiteral("-2100000000"));
    QVERIFY(min0->width() > min0->fontMetrics().horizontalAdvance(min0->text()));
    auto* speed = Control<QPushButton>(w, QStringLiteral("Command9"));
    QVERIFY(speed);
    QCOMPARE(speed->text(), QStringLiteral("DISPLAY SPEED DATA"));
    speed->click();
    QCOMPARE(speed->text(), QStringLiteral("DISPLAY POSITION DATA"));
    QVERIFY(!min0->isVisibleTo(view));
  }

  void counterPresetButton() {
    frmQ5Con w(setup());
    w.show();
    Connect(w, "sim:Q5Z3UECT-1-PI8A");
    PageView* view = w.currentPageView();
    QVERIFY(view);
    QCOMPARE(view->objectName(), QStringLiteral("frmPI8"));
    // The unit reports 16 channels; the page serves 8.
    QVERIFY(Control<QLineEdit>(w, QStringLiteral("txtPA(7)")));
    auto* preset = Control<QLineEdit>(w, QStringLiteral("txtPreset(5)"));
    auto* button = Control<QPushButton>(w, QStringLiteral("cmdPreset(5)"));
    QVERIFY(preset && button);
    QCOMPARE(button->text(), QStringLiteral("CH 5"));
    preset->setText(QStringLiteral("00123"));
    button->click();
    QCOMPARE(preset->text(), QStringLiteral("123"));
    QCOMPARE(Control<QLineEdit>(w, QStringLiteral("txtPA(5)"))->text(), QStringLiteral("123"));
  }
};

QTEST_MAIN(PulsePwmAcViewTest)
#include "PulsePwmAcViewTest.moc"
