#include "TrendView.h"

#include <QChart>
#include <QChartView>
#include <QElapsedTimer>
#include <QHBoxLayout>
#include <QIcon>
#include <QPixmap>
#include <QLabel>
#include <QLineSeries>
#include <QListWidget>
#include <QPushButton>
#include <QSpinBox>
#include <QTimer>
#include <QValueAxis>
#include <QVBoxLayout>
#include <algorithm>
#include <cmath>
#include <limits>

namespace q5::gui {

namespace {

// Samples older than the longest window that can be chosen are dropped.
constexpr int kMaxMinutes = 60;
// The plot is redrawn at most once a second, and never takes more than about 1 % of the
// time: after each redraw the next waits a hundred times as long as it took.
constexpr int kRedrawMs = 1000;
constexpr int kRedrawShare = 100;
constexpr int kRedrawMaxMs = 10000;
// Points per line at most; more are thinned to the lowest and highest of each stretch.
constexpr int kMaxPoints = 800;

double Number(const std::string& text) {
  if (text.empty()) return std::numeric_limits<double>::quiet_NaN();
  char* end = nullptr;
  const double v = std::strtod(text.c_str(), &end);
  while (end && *end == ' ') ++end;
  return end && *end == '\0' ? v : std::numeric_limits<double>::quiet_NaN();
}

// Ten colours that stay apart on a white plot; further columns repeat them.
QColor ColumnColour(int i) {
  static const QRgb kColours[] = {0x1f77b4, 0xff7f0e, 0x2ca02c, 0xd62728, 0x9467bd,
                                  0x8c564b, 0xe377c2, 0x7f7f7f, 0xbcbd22, 0x17becf};
  return QColor(kColours[i % 10]);
}

}  // namespace

QString TrendView::ColumnLabel(const session::LiveColumn& c) {
  // As the page heads and captions it: "CH 0 Data", "CH 3 Value"; a point of a discrete
  // page by its number; the control's name only when the page gives it no words.
  QString label = QString::fromStdString(c.channel);
  const QString caption = QString::fromStdString(c.caption).trimmed();
  if (!caption.isEmpty() && caption != label)
    label = label.isEmpty() ? caption : label + QLatin1Char(' ') + caption;
  if (!c.unit.empty()) label += QStringLiteral(" [%1]").arg(QString::fromStdString(c.unit));
  return label.trimmed().isEmpty() ? QString::fromStdString(c.name) : label.trimmed();
}

TrendView::TrendView(QWidget* parent) : QWidget(parent, Qt::Window) {
  setObjectName("frmTrend");
  setWindowTitle(QStringLiteral("Trend"));
  auto* layout = new QHBoxLayout(this);

  chart_ = new QChart;
  // The channel list beside the plot names the lines in their colours.
  chart_->legend()->setVisible(false);
  chart_->setAnimationOptions(QChart::NoAnimation);
  axisX_ = new QValueAxis;
  axisX_->setTitleText(QStringLiteral("seconds"));
  axisX_->setLabelFormat(QStringLiteral("%.0f"));
  axisY_ = new QValueAxis;
  chart_->addAxis(axisX_, Qt::AlignBottom);
  chart_->addAxis(axisY_, Qt::AlignLeft);
  chartView = new QChartView(chart_, this);
  chartView->setObjectName("chtTrend");
  // Without antialiasing a redraw costs a fraction.
  chartView->setRenderHint(QPainter::Antialiasing, false);
  chartView->setMinimumSize(560, 360);
  layout->addWidget(chartView, 1);

  auto* side = new QVBoxLayout;
  auto* minutesRow = new QHBoxLayout;
  minutesRow->addWidget(new QLabel(QStringLiteral("Last"), this));
  spnMinutes = new QSpinBox(this);
  spnMinutes->setObjectName("spnMinutes");
  spnMinutes->setRange(1, kMaxMinutes);
  spnMinutes->setValue(5);
  spnMinutes->setSuffix(QStringLiteral(" min"));
  minutesRow->addWidget(spnMinutes);
  side->addLayout(minutesRow);
  btnPause = new QPushButton(QStringLiteral("Pause"), this);
  btnPause->setObjectName("btnPause");
  btnPause->setCheckable(true);
  side->addWidget(btnPause);
  lstChannels = new QListWidget(this);
  lstChannels->setObjectName("lstChannels");
  lstChannels->setMaximumWidth(180);
  side->addWidget(lstChannels, 1);
  btnRecord = new QPushButton(QStringLiteral("Record…"), this);
  btnRecord->setObjectName("btnRecord");
  side->addWidget(btnRecord);
  lblStatus = new QLabel(this);
  lblStatus->setObjectName("lblStatus");
  lblStatus->setWordWrap(true);
  lblStatus->setMaximumWidth(180);
  side->addWidget(lblStatus);
  layout->addLayout(side);

  connect(btnPause, &QPushButton::toggled, this, [this](bool on) {
    btnPause->setText(on ? QStringLiteral("Resume") : QStringLiteral("Pause"));
    if (!on) redraw();
  });
  connect(spnMinutes, &QSpinBox::valueChanged, this, [this] { redraw(); });
  connect(btnRecord, &QPushButton::clicked, this, &TrendView::recordClicked);
  connect(lstChannels, &QListWidget::itemChanged, this, [this](QListWidgetItem* item) {
    columnToggled(lstChannels->row(item), item->checkState() == Qt::Checked);
  });
  timer_ = new QTimer(this);
  timer_->setInterval(kRedrawMs);
  connect(timer_, &QTimer::timeout, this, [this] {
    if (dirty_ && isVisible() && !paused()) redraw();
  });
  timer_->start();
  resize(820, 440);
}

TrendView::~TrendView() = default;

bool TrendView::paused() const { return btnPause->isChecked(); }

QLineSeries* TrendView::series(int column) const {
  return column >= 0 && column < static_cast<int>(series_.size()) ? series_[column] : nullptr;
}

void TrendView::reset(const std::vector<session::LiveColumn>& columns, const QString& title) {
  for (QLineSeries* s : series_) {
    chart_->removeSeries(s);
    delete s;
  }
  series_.clear();
  columns_ = columns;
  times_.clear();
  values_.assign(columns_.size(), {});
  chart_->setTitle(title);
  const QSignalBlocker block(lstChannels);
  lstChannels->clear();
  for (std::size_t i = 0; i < columns_.size(); ++i) {
    const auto& c = columns_[i];
    auto* s = new QLineSeries;
    const QString label = ColumnLabel(c);
    s->setName(label);
    s->setColor(ColumnColour(static_cast<int>(i)));
    chart_->addSeries(s);
    s->attachAxis(axisX_);
    s->attachAxis(axisY_);
    series_.push_back(s);
    auto* item = new QListWidgetItem(label, lstChannels);
    // The control's name for people who script (q5cfg-cli monitor --csv heads it so).
    item->setToolTip(QString::fromStdString(c.name));
    // The list is the legend: each entry carries its line's colour.
    QPixmap swatch(12, 12);
    swatch.fill(ColumnColour(static_cast<int>(i)));
    item->setIcon(QIcon(swatch));
    item->setFlags(item->flags() | Qt::ItemIsUserCheckable);
    item->setCheckState(Qt::Checked);
  }
  dirty_ = true;
  redraw();
}

void TrendView::addPass(double seconds, const std::vector<std::string>& values) {
  times_.push_back(seconds);
  for (std::size_t i = 0; i < values_.size(); ++i)
    values_[i].push_back(Number(i < values.size() ? values[i] : std::string()));
  // Keep at most the longest window.
  while (!times_.empty() && times_.back() - times_.front() > kMaxMinutes * 60.0) {
    times_.pop_front();
    for (auto& v : values_) v.pop_front();
  }
  dirty_ = true;
}

void TrendView::columnToggled(int column, bool on) {
  if (QLineSeries* s = series(column)) s->setVisible(on);
  // A hidden series no longer counts for the value axis.
  dirty_ = true;
  redraw();
}

void TrendView::redraw() {
  QElapsedTimer took;
  took.start();
  draw();
  // Drawn now, while the monitoring loop waits for the unit, not at some later moment.
  if (isVisible()) chartView->viewport()->repaint();
  const qint64 ms = took.elapsed();
  timer_->setInterval(static_cast<int>(std::clamp<qint64>(ms * kRedrawShare, kRedrawMs, kRedrawMaxMs)));
}

void TrendView::draw() {
  dirty_ = false;
  if (times_.empty()) {
    axisX_->setRange(-spnMinutes->value() * 60.0, 0);
    axisY_->setRange(0, 1);
    lblStatus->setText(QStringLiteral("Waiting for monitoring…"));
    return;
  }
  const double now = times_.back();
  const double from = now - spnMinutes->value() * 60.0;
  double low = std::numeric_limits<double>::max(), high = std::numeric_limits<double>::lowest();
  int lane = 0;
  for (std::size_t c = 0; c < columns_.size(); ++c) {
    const bool discrete = columns_[c].discrete;
    // One lane per discrete point, so steps of different points do not overlap.
    const double offset = discrete ? 1.5 * lane++ : 0.0;
    QList<QPointF> points;
    double previous = std::numeric_limits<double>::quiet_NaN();
    // Long windows are thinned: per stretch of samples its lowest and highest value.
    std::size_t first = 0;
    while (first < times_.size() && times_[first] < from) ++first;
    const std::size_t shown = times_.size() - first;
    const std::size_t stretch = discrete ? 1 : std::max<std::size_t>(1, shown / (kMaxPoints / 2));
    for (std::size_t i = first; i < times_.size(); i += stretch) {
      if (stretch == 1) {
        const double v = values_[c][i];
        if (std::isnan(v)) continue;
        const double x = times_[i] - now;
        if (discrete && !std::isnan(previous) && previous != v) points.append(QPointF(x, previous + offset));
        points.append(QPointF(x, v + offset));
        previous = v;
        continue;
      }
      const std::size_t end = std::min(times_.size(), i + stretch);
      std::size_t lo = end, hi = end;
      for (std::size_t k = i; k < end; ++k) {
        const double v = values_[c][k];
        if (std::isnan(v)) continue;
        if (lo == end || v < values_[c][lo]) lo = k;
        if (hi == end || v > values_[c][hi]) hi = k;
      }
      if (lo == end) continue;
      for (std::size_t k : {std::min(lo, hi), std::max(lo, hi)}) points.append(QPointF(times_[k] - now, values_[c][k]));
    }
    series_[c]->replace(points);
    if (!series_[c]->isVisible()) continue;
    for (const QPointF& p : points) {
      low = std::min(low, p.y());
      high = std::max(high, p.y());
    }
  }
  if (low > high) {
    low = 0;
    high = 1;
  }
  const double margin = high > low ? (high - low) * 0.05 : 1.0;
  const double span = now - std::max(from, times_.front());
  axisX_->setRange(-span, 0);
  const QString format = span < 10 ? QStringLiteral("%.1f") : QStringLiteral("%.0f");
  if (axisX_->labelFormat() != format) axisX_->setLabelFormat(format);
  axisY_->setRange(low - margin, high + margin);
  lblStatus->setText(QStringLiteral("%1 passes").arg(times_.size()));
}

}  // namespace q5::gui
