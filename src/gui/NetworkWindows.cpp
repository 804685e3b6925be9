#include "NetworkWindows.h"

#include <QCloseEvent>
#include <QTimer>
#include <QVBoxLayout>

#include "PageView.h"

namespace q5::gui {

namespace {

QString Q(const std::string& s) { return QString::fromStdString(s); }

// How often the widgets follow the states while the dialog is open: a sequence changes
// them between waits for the unit, and the waits run the event loop.
constexpr int kFollowMs = 100;

}  // namespace

NetworkDialog::NetworkDialog(netpages::NetworkWindow& window, QWidget* parent)
    : QDialog(parent), window_(window) {
  setObjectName(Q(std::string(window.name())));
  setWindowTitle(Q(window.caption));
  setModal(true);

  auto* col = new QVBoxLayout(this);
  col->setContentsMargins(0, 0, 0, 0);
  view_ = new PageView(window_, this);
  col->addWidget(view_);
  // The window's buttons run as sequences that talk to the unit: the dialog follows the
  // states while they wait, and closes once Exit hid the window.
  view_->pressHandler = [this](const QString& name) {
    ++busy_;
    window_.Press(name.toStdString());
    --busy_;
  };
  connect(view_, &PageView::pressed, this, [this] {
    if (!window_.visible) accept();
  });

  follow_ = new QTimer(this);
  follow_->setInterval(kFollowMs);
  connect(follow_, &QTimer::timeout, this, [this] {
    if (busy_ > 0) refresh();
  });
  follow_->start();
  refresh();
  setFixedSize(sizeHint());
}

ControlBinder& NetworkDialog::binder() { return view_->binder(); }

QWidget* NetworkDialog::control(const std::string& name) const { return view_->control(name); }

void NetworkDialog::refresh() { view_->refresh(); }

void NetworkDialog::closeEvent(QCloseEvent* e) {
  // Not while a sequence talks to the unit: its controls are still in use.
  if (busy_ > 0) {
    e->ignore();
    return;
  }
  QDialog::closeEvent(e);
}

void NetworkDialog::reject() {
  if (busy_ == 0) QDialog::reject();
}

}  // namespace q5::gui
