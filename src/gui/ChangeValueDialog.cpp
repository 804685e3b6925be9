#include "ChangeValueDialog.h"

#include <QApplication>
#include <QEvent>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPushButton>
#include <QVBoxLayout>

namespace q5::gui {

namespace {

class ClickFilter : public QObject {
 public:
  ClickFilter(QObject* parent, std::function<void()> press)
      : QObject(parent), press_(std::move(press)) {}

 protected:
  bool eventFilter(QObject* watched, QEvent* e) override {
    if (e->type() == QEvent::MouseButtonRelease &&
        static_cast<QMouseEvent*>(e)->button() == Qt::LeftButton) {
      auto* w = qobject_cast<QWidget*>(watched);
      if (w && w->rect().contains(static_cast<QMouseEvent*>(e)->position().toPoint())) press_();
    }
    return false;
  }

 private:
  std::function<void()> press_;
};

}  // namespace

void PressOnClick(QWidget* w, std::function<void()> press) {
  w->installEventFilter(new ClickFilter(w, std::move(press)));
}

ChangeValueDialog::ChangeValueDialog(pages::frmChangeValue& model, ui::UserDialogs& dialogs,
                                     QWidget* parent)
    : QDialog(parent),
      model_(model),
      dialogs_(dialogs),
      binder_(new ControlBinder([&model](pages::ControlVisitor& v) { model.visitControls(v); },
                                this)) {
  setObjectName("frmChangeValue");
  setModal(false);
  setWindowTitle(QString::fromStdString(model_.caption));

  auto* grid = new QGridLayout;
  const int em = fontMetrics().horizontalAdvance(QLatin1Char('0'));
  for (int i = 0; i < pages::frmChangeValue::kValues; ++i) {
    auto* label = new QLabel(this);
    auto* box = new QLineEdit(this);
    box->setFixedWidth(em * 10);
    box->setAlignment(Qt::AlignRight);
    label->setBuddy(box);
    binder_->bindLabel(pages::Indexed("lblCh", i), label);
    binder_->bindText(pages::Indexed("txtParData", i), box);
    grid->addWidget(label, i, 0);
    grid->addWidget(box, i, 1);
  }
  auto* change = new QPushButton(this);
  change->setDefault(true);
  binder_->bindButton("cmdSet1", change);

  auto* col = new QVBoxLayout(this);
  col->addLayout(grid);
  col->addWidget(change, 0, Qt::AlignRight);
  // Wide enough for the title bar to show "Change Value" whole beside the window
  // manager's buttons (the boxes alone would make it a few letters wide).
  const QFontMetrics title(QApplication::font("QMdiSubWindowTitleBar"));
  col->addSpacerItem(new QSpacerItem(
      title.horizontalAdvance(QString::fromStdString(model_.caption)) + title.height() * 8, 0,
      QSizePolicy::Minimum, QSizePolicy::Fixed));
  col->setSizeConstraint(QLayout::SetFixedSize);

  connect(binder_, &ControlBinder::clicked, this, [this](const QString& name) {
    model_.Press(name.toStdString(), dialogs_);
    refresh();
  });
  refresh();
}

void ChangeValueDialog::done(int result) {
  model_.Unload();
  QDialog::done(result);
}

void ChangeValueDialog::refresh() {
  setWindowTitle(QString::fromStdString(model_.caption));
  binder_->refresh();
}

}  // namespace q5::gui
