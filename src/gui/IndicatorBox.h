#pragma once
// A live-value box: a framed, filled rectangle with a short centred caption (a discrete
// point's lamp, green when set and red when clear).
#include <QLabel>
#include <cstdint>

namespace q5::gui {

class IndicatorBox : public QLabel {
  Q_OBJECT
 public:
  explicit IndicatorBox(QWidget* parent = nullptr);
  void setColour(std::uint32_t rgb);
  std::uint32_t colour() const { return rgb_; }
  QSize sizeHint() const override;
  QSize minimumSizeHint() const override { return sizeHint(); }

 protected:
  void paintEvent(QPaintEvent* e) override;

 private:
  std::uint32_t rgb_ = 0xFFFFFFFF;  // not painted yet: the box keeps the window colour
};

}  // namespace q5::gui
