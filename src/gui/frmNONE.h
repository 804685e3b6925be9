#pragma once
// The placeholder page shown for a unit whose module has no page in this version.
#include <QWidget>

class QLabel;

namespace q5::gui {

class frmNONE : public QWidget {
  Q_OBJECT
 public:
  explicit frmNONE(QWidget* parent = nullptr);
  QLabel* lblMessage;
  QLabel* lblAddress;
};

// Where the latest version of the tool is published.
inline constexpr const char* kDownloadAddress = "https://q5cfg.example.org/download";

}  // namespace q5::gui
