#include "NetworkWindows.h"

#include <QCloseEvent>
#include <QLineEdit>
#include <QTimer>
#include <QVBoxLayout>

#include "PageView.h"
#include "netpages/frmDeviceNet.h"

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
    paintDeviceNet();
    if (!window_.visible) accept();
  });
  connect(view_, &PageView::edited, this, [this] { paintDeviceNet(); });

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

void NetworkDialog::refresh() {
  view_->refresh();
  paintDeviceNet();
}

void NetworkDialog::paintDeviceNet() {
  auto* dn = dynamic_cast<netpages::frmDeviceNet*>(&window_);
  if (!dn) return;
  if (auto* box = qobject_cast<QLineEdit*>(control("txtTimeout"))) {
    box->setReadOnly(dn->txtTimeoutLocked);
    QPalette p = box->palette();
    p.setColor(QPalette::Base, QColor::fromRgb(dn->txtTimeoutBackColor));
    box->setPalette(p);
  }
  // The values the window declares shown only (the unit's status and serial number).
  struct ShownOnly : pages::ControlVisitor {
    std::vector<std::string> names;
    void text(const pages::ControlInfo& info, pages::TextBox&) override { note(info); }
    void combo(const pages::ControlInfo& info, pages::ComboBox&) override { note(info); }
    void note(const pages::ControlInfo& info) {
      if (info.role == pages::Role::ShownOnly) names.push_back(info.name);
    }
  } shown;
  window_.visitControls(shown);
  for (const std::string& name : shown.names) {
    if (QWidget* w = control(name)) {
      QPalette p = w->palette();
      p.setColor(QPalette::Base, QColor::fromRgb(netpages::frmDeviceNet::kShownOnlyColor));
      w->setPalette(p);
    }
  }
}

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
