#include "DiagnosticsDialogs.h"

#include <QFontDatabase>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace q5::gui {

namespace {
QString Q(const std::string& s) { return QString::fromStdString(s); }
}  // namespace

DebugInfoDialog::DebugInfoDialog(const link::Link& link, bool debugMode, QWidget* parent)
    : QDialog(parent) {
  setObjectName("frmDebugInfo");
  form_.Form_Load(link, debugMode);
  setWindowTitle(Q(form_.caption));
  auto* col = new QVBoxLayout(this);
  auto* label = new QLabel(this);
  label->setObjectName("lblDebugLog");
  // A fixed-pitch font, so that the colons of the two counter lines stand one above the
  // other; the lines end in CR LF, which a label shows as one line break.
  label->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
  label->setText(Q(form_.lblDebugLog.caption).replace(QStringLiteral("\r\n"), QStringLiteral("\n")));
  label->setTextInteractionFlags(Qt::TextSelectableByMouse);
  label->setMinimumWidth(label->fontMetrics().horizontalAdvance(QString(40, QLatin1Char('M'))));
  col->addWidget(label);
}

VersionDialog::VersionDialog(QWidget* parent) : QDialog(parent) {
  setObjectName("frmVersion");
  form_.Form_Load();
  setWindowTitle(Q(form_.caption));
  auto* binder =
      new ControlBinder([this](pages::ControlVisitor& v) { form_.visitControls(v); }, this);
  auto* col = new QVBoxLayout(this);
  auto* row = new QHBoxLayout;
  auto* title = new QLabel(this);
  binder->bindLabel("lblTitle", title);
  QFont bold = title->font();
  bold.setBold(true);
  title->setFont(bold);
  auto* name = new QLabel(this);
  binder->bindLabel("lblName(1)", name);
  row->addWidget(title);
  row->addSpacing(12);
  row->addWidget(name);
  row->addStretch(1);
  col->addLayout(row);
  auto* ok = new QPushButton(this);
  binder->bindButton("cmdOK", ok);
  ok->setDefault(true);
  connect(binder, &ControlBinder::clicked, this, [this](const QString& n) {
    if (n == QLatin1String("cmdOK")) accept();
  });
  auto* buttons = new QHBoxLayout;
  buttons->addStretch(1);
  buttons->addWidget(ok);
  col->addLayout(buttons);
  binder->refresh();
  setFixedSize(sizeHint().expandedTo(QSize(240, 0)));
}

}  // namespace q5::gui
