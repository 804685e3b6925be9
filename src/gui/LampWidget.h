#pragma once
// The circular connection lamp of the main window.
#include <QWidget>
#include <cstdint>

namespace q5::gui {

class LampWidget : public QWidget {
  Q_OBJECT
 public:
  explicit LampWidget(QWidget* parent = nullptr);
  void setColour(std::uint32_t rgb);
  std::uint32_t colour() const { return rgb_; }
  QSize sizeHint() const override;

 protected:
  void paintEvent(QPaintEvent* e) override;

 private:
  std::uint32_t rgb_ = 0x000080;
};

}  // namespace q5::gui
