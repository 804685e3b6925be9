#include "netpages/NetworkWindow.h"

#include <cmath>
#include <cstdlib>

#include "catalogue/Catalogue.h"
#include "link/TextRoutines.h"
#include "pages/Selections.h"
#include "netpages/frmCClinkIEField.h"
#include "netpages/frmDeviceNet.h"
#include "netpages/frmEthernet.h"
#include "netpages/frmModbus.h"

namespace q5::netpages {

NetworkWindow::NetworkWindow(NetworkContext& ctx) : ctx_(ctx) {
  btnUpload.caption = "Upload";
  btnDownload.caption = "Download";
  btnExit.caption = "Exit";
}

void NetworkWindow::btnExit_Click() {
  visible = false;
  if (ctx_.reconnect) ctx_.reconnect();
}

void NetworkWindow::visitControls(pages::ControlVisitor& v) {
  v.button("btnUpload", btnUpload);
  v.button("btnDownload", btnDownload);
  v.button("btnExit", btnExit);
}

bool NetworkWindow::Press(std::string_view name) {
  const bool pressed = (name == "btnUpload" && btnUpload.enabled) ||
                       (name == "btnDownload" && btnDownload.enabled) ||
                       (name == "btnExit" && btnExit.enabled);
  if (pressed && ctx_.buttonPressed) ctx_.buttonPressed();
  if (name == "btnUpload" && btnUpload.enabled) {
    btnUpload_Click();
    return true;
  }
  if (name == "btnDownload" && btnDownload.enabled) {
    incompleteShown_ = false;
    // After an incomplete read a list may have nothing selected: nothing is written.
    const std::string unselected =
        pages::UnselectedList([this](pages::ControlVisitor& v) { visitControls(v); });
    if (!unselected.empty()) {
      ctx_.dialogs.message("Downloading incomplete\r\nNothing is selected for " + unselected +
                               ". Nothing was written: Upload again first.",
                           "Downloading", ui::Icon::Error);
      return true;
    }
    const bool done = btnDownload_Click();
    // Writes the unit refused while the window went on: the box names them, after the
    // window has read the unit's settings back.
    const link::Link::Failures& f = link().failures();
    if (!done && !incompleteShown_ && f.failedWrites > 0) {
      link::Link::Failures writes;
      writes.failedWrites = f.failedWrites;
      writes.lastFailed = f.lastFailed;
      ctx_.dialogs.message("Downloading incomplete\r\n" + writes.describe() +
                               ".\r\nThe window shows what the unit holds now.",
                           "Downloading", ui::Icon::Error);
    }
    return true;
  }
  if (name == "btnExit" && btnExit.enabled) {
    btnExit_Click();
    return true;
  }
  return false;
}

void NetworkWindow::UploadIncomplete() {
  incompleteShown_ = true;
  ctx_.dialogs.message("Uploading incomplete", "Uploading", ui::Icon::Error);
}

void NetworkWindow::DownloadIncomplete() {
  incompleteShown_ = true;
  ctx_.dialogs.message("Downloading incomplete", "Downloading", ui::Icon::Error);
}

void NetworkWindow::RefuseEntry(const std::string& text) {
  Warn(text);
  DownloadIncomplete();
}

void NetworkWindow::Warn(const std::string& text) {
  ctx_.dialogs.message(text, std::string(link::kProgramTitle), ui::Icon::Information);
}

std::optional<double> NumericValue(std::string_view text) {
  const auto b = text.find_first_not_of(' ');
  if (b == std::string_view::npos) return std::nullopt;
  const auto e = text.find_last_not_of(' ');
  const std::string s(text.substr(b, e - b + 1));
  if (s.find_first_not_of("0123456789.eE+-") != std::string::npos) return std::nullopt;
  char* end = nullptr;
  const double d = std::strtod(s.c_str(), &end);
  if (end != s.c_str() + s.size() || !std::isfinite(d)) return std::nullopt;
  return d;
}

std::optional<int> IndexValue(std::string_view text) {
  const auto v = NumericValue(text);
  if (!v || *v < -32768.5 || *v > 32767.5) return std::nullopt;
  return static_cast<int>(std::lround(*v));
}

std::optional<long> WholeNumber(std::string_view text) {
  if (text.empty() || text.size() > 5) return std::nullopt;
  long v = 0;
  for (char c : text) {
    if (c < '0' || c > '9') return std::nullopt;
    v = v * 10 + (c - '0');
  }
  return v;
}

std::unique_ptr<NetworkWindow> CreateNetworkWindow(int networkType, NetworkContext& ctx) {
  switch (networkType) {
    case catalogue::kNetDeviceNet:
      return std::make_unique<frmDeviceNet>(ctx);
    case catalogue::kNetEthernet:
      return std::make_unique<frmEthernet>(ctx);
    case catalogue::kNetCCLinkIEField:
      return std::make_unique<frmCClinkIEField>(ctx);
    case catalogue::kNetModbus:
      return std::make_unique<frmModbus>(ctx);
    default:
      return nullptr;
  }
}

}  // namespace q5::netpages
