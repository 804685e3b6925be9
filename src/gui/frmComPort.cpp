#include "frmComPort.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "catalogue/Catalogue.h"
#include "pages/PageRegistry.h"
#include "qtlink/PortList.h"

namespace q5::gui {

namespace {

// What a new user reads beside a simulated unit: the kind of module it carries.
QString KindDescription(int kind) {
  if (const pages::PageKindEntry* entry = pages::FindPageKind(kind))
    return QString::fromUtf8(entry->description.data(),
                             static_cast<int>(entry->description.size()));
  return QStringLiteral("module kind %1").arg(kind);
}

}  // namespace

std::vector<std::string> SimulatedUnits() {
  return {"sim:Q5W3NEIP-BI32",     "sim:Q5Z3UECT-1-BO32A", "sim:Q5Z3UECT-1-BIO32",
          "sim:Q5W3NEIP-BI16",     "sim:Q5W3NEIP-BO16",    "sim:Q5W3UD-BIO16",
          "sim:Q5T3NML3-6-AI4",    "sim:Q5T3NML3-6-AINF4", "sim:Q5T3NML-6-AIF8N",
          "sim:Q5Z3UECT-1-AIMF8N", "sim:Q5T3NML3-6-TC4",  "sim:Q5T3NML3-6-RT4",
          "sim:Q5T3NML3-6-OV2",    "sim:Q5T3NML3-6-OC2",   "sim:Q5T3NML3-6-OCF4",
          "sim:Q5T3NML3-6-OVF4",   "sim:Q5Z3UECT-1-OVF4",  "sim:Q5T3NML3-6-SG2A",
          "sim:Q5T3SECT-SG2-A/F1", "sim:Q5T3NML3-6-LNRIO1"};
}

std::vector<PortChoice> DefaultPortChoices() {
  std::vector<PortChoice> choices;
  for (const auto& p : qtlink::ListPorts())
    choices.push_back({QString::fromStdString(p.label), p.location});
  for (const auto& sim : SimulatedUnits()) {
    const std::string model = sim.substr(4);
    std::int16_t kind = catalogue::kNotIdentified;
    catalogue::ModuleKindOf(catalogue::ModulePartOf(model), kind);
    const QString label = QStringLiteral("Simulated unit %1, %2 (%3)")
                              .arg(QString::fromStdString(model), KindDescription(kind),
                                   QString::fromStdString(sim));
    choices.push_back({label, sim});
  }
  return choices;
}

std::string PortNameFromText(const QString& text) {
  const QString t = text.trimmed();
  if (t.endsWith(QLatin1Char(')'))) {
    const int open = t.lastIndexOf(QLatin1Char('('));
    if (open >= 0) return t.mid(open + 1, t.size() - open - 2).trimmed().toStdString();
  }
  return t.toStdString();
}

frmComPort::frmComPort(std::vector<PortChoice> choices, QWidget* parent) : QDialog(parent) {
  setObjectName("frmComPort");
  setWindowTitle(QStringLiteral("Com Setting"));
  setWindowFlag(Qt::WindowContextHelpButtonHint, false);
  setModal(true);

  auto* layout = new QVBoxLayout(this);
  fraPortNo = new QGroupBox(QStringLiteral("Port No."), this);
  fraPortNo->setObjectName("fraPortNo");
  auto* frameLayout = new QHBoxLayout(fraPortNo);
  cmbComPort = new QComboBox(fraPortNo);
  cmbComPort->setObjectName("cmbComPort");
  // Any port path can be typed, e.g. a pseudo-terminal /dev/pts/N.
  cmbComPort->setEditable(true);
  cmbComPort->setInsertPolicy(QComboBox::NoInsert);
  cmbComPort->setSizeAdjustPolicy(QComboBox::AdjustToContents);
  cmbComPort->setMinimumContentsLength(32);
  cmbComPort->lineEdit()->setPlaceholderText(QStringLiteral("/dev/ttyUSB0"));
  cmbComPort->setToolTip(
      QStringLiteral("Choose a port or a simulated unit, or type a port path (/dev/pts/3)"));
  frameLayout->addWidget(cmbComPort);
  layout->addWidget(fraPortNo);

  btnExit = new QPushButton(QStringLiteral("OK"), this);
  btnExit->setObjectName("btnExit");
  btnExit->setDefault(true);
  lblScan = new QLabel(this);
  lblScan->setObjectName("lblScan");
  lblScan->hide();
  layout->addWidget(lblScan);
  btnScan = new QPushButton(QStringLiteral("Scan"), this);
  btnScan->setObjectName("btnScan");
  btnScan->setToolTip(QStringLiteral("Look for units on the listed ports, one after another"));
  btnScan->hide();
  chkScanSim = new QCheckBox(QStringLiteral("Simulated units too"), this);
  chkScanSim->setObjectName("chkScanSim");
  chkScanSim->hide();
  auto* buttons = new QHBoxLayout;
  buttons->addWidget(btnScan);
  buttons->addWidget(chkScanSim);
  buttons->addStretch();
  buttons->addWidget(btnExit);
  layout->addLayout(buttons);

  // On load: the list, its first entry selected; with no entries at all the button
  // reads "CANCEL".
  for (const auto& c : choices)
    cmbComPort->addItem(c.label, QString::fromStdString(c.port));
  empty_ = choices.empty();
  if (!empty_) {
    cmbComPort->setCurrentIndex(0);
  } else {
    btnExit->setText(QStringLiteral("CANCEL"));
  }
  connect(btnExit, &QPushButton::clicked, this, &frmComPort::btnExit_Click);
  connect(btnScan, &QPushButton::clicked, this, [this] {
    if (!scanner_) return;
    btnScan->setEnabled(false);
    btnExit->setEnabled(false);
    scanner_(*this);
    btnScan->setEnabled(true);
    btnExit->setEnabled(true);
  });
  if (empty_) {
    // A typed port path makes the button an "OK" again.
    connect(cmbComPort, &QComboBox::editTextChanged, this, [this](const QString& t) {
      btnExit->setText(t.trimmed().isEmpty() ? QStringLiteral("CANCEL") : QStringLiteral("OK"));
    });
  }
}

void frmComPort::setScanner(std::function<void(frmComPort&)> scanner) {
  scanner_ = std::move(scanner);
  btnScan->setVisible(static_cast<bool>(scanner_));
  chkScanSim->setVisible(static_cast<bool>(scanner_));
}

bool frmComPort::scanSimulated() const { return chkScanSim->isChecked(); }

void frmComPort::setScanSummary(const QString& text) {
  lblScan->setText(text);
  lblScan->setVisible(!text.isEmpty());
}

std::string frmComPort::chosenPort() const {
  const int i = cmbComPort->currentIndex();
  // A listed entry opens what it stands for; a typed text names its port itself.
  if (i >= 0 && cmbComPort->currentText() == cmbComPort->itemText(i))
    return cmbComPort->itemData(i).toString().toStdString();
  return PortNameFromText(cmbComPort->currentText());
}

void frmComPort::btnExit_Click() {
  const std::string port = chosenPort();
  if (empty_ && port.empty()) {
    reject();
    return;
  }
  btnExit->setEnabled(false);
  if (!port.empty()) emit portChosen(QString::fromStdString(port));
  accept();
}

}  // namespace q5::gui
