#include "CompareDialog.h"

#include <QFileInfo>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

namespace q5::gui {

namespace {
QString Q(const std::string& s) { return QString::fromStdString(s); }
}  // namespace

CompareDialog::CompareDialog(const config::Comparison& c, const QString& file, QWidget* parent)
    : QDialog(parent) {
  setObjectName("frmCompare");
  setWindowTitle(QStringLiteral("Compare with file"));
  setWindowFlag(Qt::WindowContextHelpButtonHint, false);
  auto* layout = new QVBoxLayout(this);

  lblSummary = new QLabel(this);
  lblSummary->setObjectName("lblSummary");
  lblSummary->setWordWrap(true);
  QString summary = QStringLiteral("Page: %1    File: %2 (%3)")
                        .arg(Q(c.firstModel), QFileInfo(file).fileName(), Q(c.secondModel));
  if (c.pagesDiffer) {
    summary += QStringLiteral("\nThe file is for a module with another page; its settings cannot be "
                              "compared with this page.");
  } else if (c.same()) {
    summary += QStringLiteral("\nNo differences: the page holds the file's values.");
  } else {
    summary += QStringLiteral("\n%1 %2.").arg(c.differences.size()).arg(
        c.differences.size() == 1 ? QStringLiteral("difference") : QStringLiteral("differences"));
  }
  lblSummary->setText(summary);
  layout->addWidget(lblSummary);

  grdDifferences = new QTableWidget(static_cast<int>(c.differences.size()), 4, this);
  grdDifferences->setObjectName("grdDifferences");
  // The setting as the page names it ("CH 0 Zero scale"); the control's name, which the
  // command line takes, in the last column.
  grdDifferences->setHorizontalHeaderLabels({QStringLiteral("Setting"), QStringLiteral("Unit value"),
                                             QStringLiteral("File value"),
                                             QStringLiteral("Control")});
  grdDifferences->setEditTriggers(QAbstractItemView::NoEditTriggers);
  grdDifferences->setSelectionBehavior(QAbstractItemView::SelectRows);
  grdDifferences->verticalHeader()->setVisible(false);
  grdDifferences->horizontalHeader()->setStretchLastSection(true);
  for (int row = 0; row < static_cast<int>(c.differences.size()); ++row) {
    const auto& d = c.differences[static_cast<std::size_t>(row)];
    QString setting = Q(d.caption).trimmed();
    if (!d.channel.empty()) setting = Q(d.channel) + QLatin1Char(' ') + setting;
    if (setting.trimmed().isEmpty()) setting = Q(d.name);
    const QString cells[] = {setting.trimmed(), Q(d.first), Q(d.second), Q(d.name)};
    for (int col = 0; col < 4; ++col) grdDifferences->setItem(row, col, new QTableWidgetItem(cells[col]));
  }
  grdDifferences->resizeColumnsToContents();
  layout->addWidget(grdDifferences, 1);

  btnLoad = new QPushButton(QStringLiteral("Load file values"), this);
  btnLoad->setObjectName("btnLoad");
  btnLoad->setToolTip(QStringLiteral("Put the file's values on the page; Download then writes them"));
  btnLoad->setEnabled(!c.same());
  btnClose = new QPushButton(QStringLiteral("Close"), this);
  btnClose->setObjectName("btnClose");
  btnClose->setDefault(true);
  auto* buttons = new QHBoxLayout;
  buttons->addWidget(btnLoad);
  buttons->addStretch();
  buttons->addWidget(btnClose);
  layout->addLayout(buttons);
  connect(btnLoad, &QPushButton::clicked, this, [this] {
    load_ = true;
    accept();
  });
  connect(btnClose, &QPushButton::clicked, this, &QDialog::reject);
  resize(720, 420);
}

}  // namespace q5::gui
