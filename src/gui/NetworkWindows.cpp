#include "NetworkWindows.h"

#include <QCloseEvent>
#include <QComboBox>
#include <QFontDatabase>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>
#include <QVBoxLayout>

#include "netpages/frmDeviceNet.h"

namespace q5::gui {

namespace {

QString Q(const std::string& s) { return QString::fromStdString(s); }

std::string Indexed(const char* name, int i) { return pages::Indexed(name, i); }

// How often the widgets follow the states while the dialog is open: a sequence changes
// them between waits for the unit, and the waits run the event loop.
constexpr int kFollowMs = 100;

QLabel* Caption(const QString& text, QWidget* parent) {
  auto* l = new QLabel(text, parent);
  l->setObjectName("caption");
  return l;
}

QLineEdit* Box(int chars, QWidget* parent) {
  auto* e = new QLineEdit(parent);
  const int w = e->fontMetrics().horizontalAdvance(QString(chars, QLatin1Char('0')));
  e->setFixedWidth(w + 16);
  e->setAlignment(Qt::AlignRight);
  return e;
}

}  // namespace

NetworkDialog::NetworkDialog(netpages::NetworkWindow& window, QWidget* parent)
    : QDialog(parent), window_(window) {
  setObjectName(Q(std::string(window.name())));
  setWindowTitle(Q(window.caption));
  setModal(true);
  binder_ = new ControlBinder([this](pages::ControlVisitor& v) { window_.visitControls(v); }, this);
  connect(binder_, &ControlBinder::clicked, this, &NetworkDialog::press);
  connect(binder_, &ControlBinder::edited, this, &NetworkDialog::edited);

  auto* col = new QVBoxLayout(this);
  const std::string_view name = window.name();
  if (name == "frmEthernet") buildEthernet();
  else if (name == "frmDeviceNet") buildDeviceNet();
  else if (name == "frmCClinkIEField") buildCCLink();
  else buildModbus();

  auto* buttons = new QHBoxLayout;
  buttons->addStretch(1);
  for (const char* b : {"btnUpload", "btnDownload", "btnExit"}) {
    auto* w = new QPushButton(this);
    binder_->bindButton(b, w);
    w->setAutoDefault(false);
    buttons->addWidget(w);
  }
  col->addLayout(buttons);

  follow_ = new QTimer(this);
  follow_->setInterval(kFollowMs);
  connect(follow_, &QTimer::timeout, this, [this] {
    if (busy_ > 0) refresh();
  });
  follow_->start();
  refresh();
  setFixedSize(sizeHint());
}

void NetworkDialog::buildEthernet() {
  auto* col = static_cast<QVBoxLayout*>(layout());
  auto* grid = new QGridLayout;
  grid->setHorizontalSpacing(8);
  grid->setColumnStretch(2, 1);
  int row = 0;
  // A dotted address: box 3 holds the first number. The dots show and hide with the
  // boxes they stand between.
  auto address = [&](const char* name, QWidget* caption) {
    grid->addWidget(caption, row, 0);
    auto* boxes = new QHBoxLayout;
    boxes->setSpacing(2);
    for (int k = 0; k < 4; ++k) {
      auto* box = Box(3, this);
      binder_->bindText(Indexed(name, 3 - k), box);
      boxes->addWidget(box);
      if (k < 3) {
        auto* dot = new QLabel(QStringLiteral("."), this);
        binder_->bindCompanion(Indexed(name, 3 - k), dot);
        boxes->addWidget(dot);
      }
    }
    grid->addLayout(boxes, row, 1);
    ++row;
  };
  address("txtIP", Caption(QStringLiteral("IP Address"), this));
  address("txtSNM", Caption(QStringLiteral("Subnet Mask"), this));
  auto* label1 = new QLabel(this);
  binder_->bindLabel("Label1", label1);
  address("txtDGW", label1);

  grid->addWidget(Caption(QStringLiteral("Time Out"), this), row, 0);
  auto* timeoutRow = new QHBoxLayout;
  auto* timeout = Box(5, this);
  binder_->bindText("txtTimeout(0)", timeout);
  timeoutRow->addWidget(timeout);
  timeoutRow->addWidget(Caption(QStringLiteral("x0.1s (0 to 32767)"), this));
  timeoutRow->addStretch(1);
  grid->addLayout(timeoutRow, row, 1);
  ++row;

  // The MAC address comes in two halves.
  grid->addWidget(Caption(QStringLiteral("MAC Address"), this), row, 0);
  auto* mac = new QHBoxLayout;
  mac->setSpacing(0);
  for (int i = 0; i < 2; ++i) {
    auto* l = new QLabel(this);
    l->setTextInteractionFlags(Qt::TextSelectableByMouse);
    binder_->bindLabel(Indexed("lblMac", i), l);
    mac->addWidget(l);
    if (i == 0) mac->addWidget(new QLabel(QStringLiteral("-"), this));
  }
  mac->addStretch(1);
  grid->addLayout(mac, row, 1);
  ++row;

  auto* dhcpLabel = new QLabel(this);
  binder_->bindLabel("lblDHCP", dhcpLabel);
  grid->addWidget(dhcpLabel, row, 0);
  auto* dhcpRow = new QHBoxLayout;
  auto* dhcp = new QComboBox(this);
  binder_->bindCombo("cmbDHCP", dhcp);
  dhcpRow->addWidget(dhcp);
  dhcpRow->addStretch(1);
  grid->addLayout(dhcpRow, row, 1);
  ++row;
  col->addLayout(grid);

  // The sockets of the plain Ethernet model.
  auto* frame = new QGroupBox(this);
  binder_->bindFrame("Frame4", frame);
  auto* sockets = new QGridLayout(frame);
  for (int i = 0; i < 4; ++i) {
    auto* caption = new QLabel(frame);
    caption->setAlignment(Qt::AlignCenter);
    binder_->bindLabel(Indexed("Label4", i), caption);
    sockets->addWidget(caption, 0, 1 + i);
    auto* port = Box(5, frame);
    binder_->bindText(Indexed("txtPort", i + 1), port);
    sockets->addWidget(port, 1, 1 + i);
    auto* linger = Box(5, frame);
    binder_->bindText(Indexed("txtTimeout", i + 1), linger);
    sockets->addWidget(linger, 2, 1 + i);
    auto* unit = new QLabel(frame);
    unit->setAlignment(Qt::AlignCenter);
    binder_->bindLabel(Indexed("Label4", 5 + i), unit);
    sockets->addWidget(unit, 3, 1 + i);
  }
  sockets->addWidget(Caption(QStringLiteral("Port No."), frame), 1, 0);
  auto* lingerCaption = new QLabel(frame);
  binder_->bindLabel("Label4(4)", lingerCaption);
  sockets->addWidget(lingerCaption, 2, 0);
  auto* range = new QLabel(frame);
  binder_->bindLabel("lblLongerTimer", range);
  sockets->addWidget(range, 3, 0);
  col->addWidget(frame);
}

void NetworkDialog::buildDeviceNet() {
  auto* grid = new QGridLayout;
  grid->addWidget(Caption(QStringLiteral("Status"), this), 0, 0);
  auto* status = new QComboBox(this);
  binder_->bindCombo("cmbStatus", status);
  grid->addWidget(status, 0, 1);
  grid->addWidget(Caption(QStringLiteral("Serial ID"), this), 1, 0);
  auto* serial = new QLineEdit(this);
  serial->setReadOnly(true);
  binder_->bindText("txtSerial", serial);
  grid->addWidget(serial, 1, 1);
  grid->addWidget(Caption(QStringLiteral("Time Out"), this), 2, 0);
  auto* timeout = Box(5, this);
  binder_->bindText("txtTimeout", timeout);
  grid->addWidget(timeout, 2, 1);
  grid->addWidget(Caption(QStringLiteral("x0.1s (0 to 32767)"), this), 2, 2);
  static_cast<QVBoxLayout*>(layout())->addLayout(grid);
}

void NetworkDialog::buildCCLink() {
  auto* grid = new QGridLayout;
  grid->addWidget(Caption(QStringLiteral("Net Work No."), this), 0, 0);
  auto* number = Box(3, this);
  binder_->bindText("txtNetWorkNo", number);
  grid->addWidget(number, 0, 1);
  grid->addWidget(Caption(QStringLiteral("(1 to 239)"), this), 0, 2);
  int row = 1;
  for (const auto& [name, caption] :
       {std::pair{"lblID", "Station ID"}, {"lblMac", "MAC Address"}, {"lblStatus", "Link Status"}}) {
    grid->addWidget(Caption(QString::fromLatin1(caption), this), row, 0);
    auto* l = new QLabel(this);
    l->setTextInteractionFlags(Qt::TextSelectableByMouse);
    binder_->bindLabel(name, l);
    grid->addWidget(l, row, 1, 1, 2);
    ++row;
  }
  static_cast<QVBoxLayout*>(layout())->addLayout(grid);
}

void NetworkDialog::buildModbus() {
  auto* grid = new QGridLayout;
  int row = 0;
  for (const auto& [name, caption] :
       {std::pair{"cmbBaudRate", "Baud Rate"}, {"cmbParity", "Parity"}, {"cmbStopBit", "Stop Bit"},
        {"cmbByteOder", "Word Order"}}) {
    grid->addWidget(Caption(QString::fromLatin1(caption), this), row, 0);
    auto* c = new QComboBox(this);
    binder_->bindCombo(name, c);
    grid->addWidget(c, row, 1);
    ++row;
  }
  static_cast<QVBoxLayout*>(layout())->addLayout(grid);
}

void NetworkDialog::refresh() {
  binder_->refresh();
  // The DeviceNet time-out box: locked or editable, white or grey.
  if (auto* dn = dynamic_cast<netpages::frmDeviceNet*>(&window_)) {
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
}

void NetworkDialog::press(const QString& name) {
  ++busy_;
  window_.Press(name.toStdString());
  --busy_;
  refresh();
  // Exit hid the window.
  if (!window_.visible) accept();
}

void NetworkDialog::edited(const QString& name) {
  // The typing rules may cut the text; the caret stays where it was.
  auto* box = qobject_cast<QLineEdit*>(control(name.toStdString()));
  const int caret = box ? box->cursorPosition() : 0;
  window_.Edited(name.toStdString());
  refresh();
  if (box) box->setCursorPosition(std::min(caret, static_cast<int>(box->text().size())));
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
